#include "obstime.h"

#include <cstdint>

#include "astronom.h"

namespace helidisk {

namespace {

struct CivilInstant {
  std::int32_t year = 0, month = 0, day = 0;
  std::int32_t hour = 0, minute = 0;
  double second = 0;
};

// A cursor over a text that reads fixed-width fields and fails for good on
// the first mismatch.
class FieldReader {
 public:
  explicit FieldReader(std::string_view text) : text_(text) {}

  bool Digits(std::size_t count, std::int32_t& value) {
    if (text_.size() < count) return Fail();
    value = 0;
    for (std::size_t i = 0; i < count; ++i) {
      const char c = text_[i];
      if (c < '0' || c > '9') return Fail();
      value = value * 10 + (c - '0');
    }
    text_.remove_prefix(count);
    return ok_;
  }

  bool Literal(char expected) {
    if (text_.empty() || text_.front() != expected) return Fail();
    text_.remove_prefix(1);
    return ok_;
  }

  bool Next(char c) const { return ok_ && !text_.empty() && text_.front() == c; }

  // A decimal fraction after the point: ".5", ".123456".
  bool Fraction(double& value) {
    if (!Literal('.')) return false;
    double scale = 0.1;
    std::size_t count = 0;
    value = 0;
    while (!text_.empty() && text_.front() >= '0' && text_.front() <= '9') {
      value += (text_.front() - '0') * scale;
      scale /= 10;
      text_.remove_prefix(1);
      ++count;
    }
    return count > 0 ? ok_ : Fail();
  }

  bool AtEnd() const { return ok_ && text_.empty(); }

 private:
  bool Fail() {
    ok_ = false;
    return false;
  }
  std::string_view text_;
  bool ok_ = true;
};

// Leap years as the program's calendar counts them: Julian up to 1582,
// Gregorian after.
bool IsLeapYear(std::int32_t year) {
  if (year % 4 != 0) return false;
  return year <= 1582 || year % 100 != 0 || year % 400 == 0;
}

std::int32_t DaysInMonth(std::int32_t year, std::int32_t month) {
  constexpr std::int32_t kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

bool IsValid(const CivilInstant& t) {
  return t.month >= 1 && t.month <= 12 && t.day >= 1 && t.day <= DaysInMonth(t.year, t.month) &&
         t.hour >= 0 && t.hour <= 23 && t.minute >= 0 && t.minute <= 59 && t.second >= 0 &&
         t.second < 61;  // a leap second reads 60
}

std::optional<double> JulianDayOf(const CivilInstant& t) {
  if (!IsValid(t)) return std::nullopt;
  double julianDay = 0;
  DateToJulianDay(t.year, t.month, t.day, t.hour, t.minute, t.second, julianDay);
  return julianDay;
}

// "hh:mm[:ss[.s...]]" up to the end of the reader's text.
bool ReadClock(FieldReader& reader, CivilInstant& t, bool secondsRequired) {
  std::int32_t second = 0;
  if (!reader.Digits(2, t.hour) || !reader.Literal(':') || !reader.Digits(2, t.minute)) {
    return false;
  }
  if (!secondsRequired && !reader.Next(':')) return true;
  if (!reader.Literal(':') || !reader.Digits(2, second)) return false;
  t.second = second;
  double fraction = 0;
  if (reader.Next('.')) {
    if (!reader.Fraction(fraction)) return false;
    t.second += fraction;
  }
  return true;
}

// "DD/MM/YY", the form before 1999 (years 1900-1999).
bool ReadOldDate(std::string_view text, CivilInstant& t) {
  FieldReader reader(text);
  std::int32_t yearOfCentury = 0;
  if (!reader.Digits(2, t.day) || !reader.Literal('/') || !reader.Digits(2, t.month) ||
      !reader.Literal('/') || !reader.Digits(2, yearOfCentury) || !reader.AtEnd()) {
    return false;
  }
  t.year = 1900 + yearOfCentury;
  return true;
}

// "YYYY-MM-DD[Thh:mm[:ss[.s]]][Z]"; `hasClock` tells whether a time followed.
bool ReadIsoDate(std::string_view text, CivilInstant& t, bool& hasClock) {
  if (!text.empty() && text.back() == 'Z') text.remove_suffix(1);
  FieldReader reader(text);
  if (!reader.Digits(4, t.year) || !reader.Literal('-') || !reader.Digits(2, t.month) ||
      !reader.Literal('-') || !reader.Digits(2, t.day)) {
    return false;
  }
  hasClock = reader.Next('T') || reader.Next(' ');
  if (hasClock) {
    reader.Literal(reader.Next('T') ? 'T' : ' ');
    if (!ReadClock(reader, t, false)) return false;
  }
  return reader.AtEnd();
}

}  // namespace

std::optional<double> ParseFitsDateTime(std::string_view date, std::string_view time) {
  date = TrimBlanks(date);
  time = TrimBlanks(time);
  CivilInstant t;
  bool hasClock = false;
  if (!ReadIsoDate(date, t, hasClock) && !ReadOldDate(date, t)) return std::nullopt;
  if (!hasClock && !time.empty()) {
    FieldReader reader(time);
    if (!ReadClock(reader, t, true) || !reader.AtEnd()) return std::nullopt;
  }
  return JulianDayOf(t);
}

std::optional<ObservationTime> ObservationTimeFromHeader(const FitsHeader& header) {
  std::optional<std::string> date = HeaderText(header, "DATE-OBS");
  if (!date) date = HeaderText(header, "DATE_OBS");
  if (!date) return std::nullopt;
  std::optional<std::string> time = HeaderText(header, "TIME-OBS");
  if (!time) time = HeaderText(header, "TIME_OBS");
  const std::optional<double> julianDay = ParseFitsDateTime(*date, time.value_or(""));
  if (!julianDay) return std::nullopt;
  return ObservationTime{*julianDay, ClockKind::Universal};
}

std::optional<ObservationTime> ParseExifDateTime(std::string_view dateTime,
                                                 std::string_view offset) {
  FieldReader reader(TrimBlanks(dateTime));
  CivilInstant t;
  if (!reader.Digits(4, t.year) || !reader.Literal(':') || !reader.Digits(2, t.month) ||
      !reader.Literal(':') || !reader.Digits(2, t.day) || !reader.Literal(' ') ||
      !ReadClock(reader, t, true) || !reader.AtEnd()) {
    return std::nullopt;
  }
  const std::optional<double> localJulianDay = JulianDayOf(t);
  if (!localJulianDay) return std::nullopt;

  // Offsets run from -12:00 to +14:00 on the Earth's clocks.
  offset = TrimBlanks(offset);
  FieldReader offsetReader(offset.empty() ? offset : offset.substr(1));
  std::int32_t hours = 0;
  std::int32_t minutes = 0;
  const bool offsetRead = !offset.empty() && (offset.front() == '+' || offset.front() == '-') &&
                          offsetReader.Digits(2, hours) && offsetReader.Literal(':') &&
                          offsetReader.Digits(2, minutes) && offsetReader.AtEnd() && hours <= 14 &&
                          minutes <= 59;
  if (!offsetRead) return ObservationTime{*localJulianDay, ClockKind::LocalOffsetUnknown};
  const double offsetDays = (offset.front() == '-' ? -1 : 1) * (hours + minutes / 60.0) / 24;
  return ObservationTime{*localJulianDay - offsetDays, ClockKind::Universal};
}

}  // namespace helidisk
