#include "readout.h"

#include <cstddef>

#include "divprocs.h"
#include "fixedtext.h"
#include "trigfunc.h"

namespace helidisk {

namespace {

// The Julian day is rounded to this many significant digits before its two
// decimals are taken.
constexpr int kJulianDaySignificantDigits = 16;
constexpr const char* kDegreeSign = "°";

std::string CaptionOf(ReadoutLabel label) {
  return kReadoutCaptions[static_cast<std::size_t>(label)];
}

void ReplaceAll(std::string& text, char from, const std::string& to) {
  for (std::size_t i = text.find(from); i != std::string::npos;
       i = text.find(from, i + to.size())) {
    text.replace(i, 1, to);
  }
}

std::string JulianDayText(double julianDay, const std::string& decimalSeparator) {
  std::string field = FormatFixed(julianDay, 0, 2, kJulianDaySignificantDigits);
  ReplaceAll(field, '.', decimalSeparator);
  return CaptionOf(ReadoutLabel::JD) + field;
}

// Month, day, hours and minutes as two digits, a leading blank made "0".
std::string TwoDigits(std::string field) {
  ZeroFillFrom(field, 0);
  return field;
}

std::string DateText(const CalendarInstant& instant) {
  return CaptionOf(ReadoutLabel::Datum) + FormatInteger(instant.year) + "-" +
         TwoDigits(FormatInteger(instant.month, 2)) + "-" +
         TwoDigits(FormatInteger(instant.day, 2));
}

std::string TimeText(const CalendarInstant& instant) {
  return CaptionOf(ReadoutLabel::Zeit) + TwoDigits(FormatFixed(instant.hours, 2, 0)) + ":" +
         TwoDigits(FormatFixed(instant.minutes, 2, 0));
}

// The blank that the sexagesimal text puts before the sign is dropped, so
// the sign stands right after the colon.
std::string SexagesimalText(ReadoutLabel label, double value) {
  std::string field;
  FormatSexagesimal(0, value, field);
  return CaptionOf(label) + field.erase(0, 1);
}

std::string SemiDiameterText(double distanceAu) {
  std::string field;
  FormatMinSec(SemiDiameterArcMinutes(distanceAu), field);
  return CaptionOf(ReadoutLabel::Halbmesser) + field;
}

std::string DegreesText(ReadoutLabel label, double radians) {
  return CaptionOf(label) + FormatFixed(radians * RadToDeg, 7, 2) + kDegreeSign;
}

SunEphemeris EphemerisOf(const ViewState& state) {
  SunEphemeris sun;
  sun.julianDay = state.JulianDay;
  sun.raRad = state.SunRA;
  sun.decRad = state.SunDec;
  sun.distanceAu = state.SunDistance;
  sun.pRad = state.SunP;
  sun.b0Rad = state.SunB0;
  sun.l0Rad = state.SunL0;
  return sun;
}

CalendarInstant InstantOf(const ViewState& state) {
  return {state.Year, state.Month, state.Day, state.Hours, state.Minutes, state.Seconds};
}

}  // namespace

std::string ReadoutText(ReadoutLabel label, const CalendarInstant& instant, const SunEphemeris& sun,
                        const std::string& decimalSeparator) {
  switch (label) {
    case ReadoutLabel::JD:
      return JulianDayText(sun.julianDay, decimalSeparator);
    case ReadoutLabel::Datum:
      return DateText(instant);
    case ReadoutLabel::Zeit:
      return TimeText(instant);
    case ReadoutLabel::RAapp:
      return SexagesimalText(label, sun.raRad * RadToHours);
    case ReadoutLabel::DEapp:
      return SexagesimalText(label, sun.decRad * RadToDeg);
    case ReadoutLabel::Distanz:
      return CaptionOf(label) + FormatFixed(sun.distanceAu, 9, 5);
    case ReadoutLabel::Halbmesser:
      return SemiDiameterText(sun.distanceAu);
    case ReadoutLabel::P:
      return DegreesText(label, sun.pRad);
    case ReadoutLabel::B0:
      return DegreesText(label, sun.b0Rad);
    case ReadoutLabel::L0:
      return DegreesText(label, sun.l0Rad);
  }
  return {};
}

ReadoutTexts FormatReadout(const CalendarInstant& instant, const SunEphemeris& sun,
                           const std::string& decimalSeparator) {
  ReadoutTexts texts;
  for (std::size_t index = 0; index < texts.size(); ++index) {
    texts[index] = ReadoutText(static_cast<ReadoutLabel>(index), instant, sun, decimalSeparator);
  }
  return texts;
}

// Each label is captioned as soon as its text is made, so that a failed
// check leaves the labels before it written.
ReadoutTexts FillReadout(ViewState& state) {
  const CalendarInstant instant = InstantOf(state);
  const SunEphemeris sun = EphemerisOf(state);
  const std::string decimalSeparator = state.Form->DecimalSeparator();
  ReadoutTexts texts;
  for (std::size_t index = 0; index < texts.size(); ++index) {
    const auto label = static_cast<ReadoutLabel>(index);
    state.ReadoutText = ReadoutText(label, instant, sun, decimalSeparator);
    state.Form->SetReadoutCaption(label, state.ReadoutText);
    texts[index] = state.ReadoutText;
  }
  return texts;
}

}  // namespace helidisk
