#include "ephemeristable.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <future>
#include <thread>
#include <type_traits>
#include <vector>

#include "fixedtext.h"
#include "recordjson.h"
#include "sun.h"
#include "textfields.h"

namespace helidisk {

namespace {

constexpr const char* kColumnGap = "  ";
constexpr std::string_view kJsonRowEnd = ",\n";

// Room for `bytes` in all.  The kernel maps memory in on first touch, a page
// at a time, 4 KB by default: a table of hundreds of megabytes would take
// tens of thousands of such faults, which cost more than computing its rows.
// Advised so, it maps 2 MB pages where it can; the advice changes nothing
// else and is ignored where huge pages are not offered.
void ReserveWithHugePages(std::string& text, std::size_t bytes) {
  text.reserve(bytes);
  const auto pageBytes = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
  const std::size_t misalignment = reinterpret_cast<std::uintptr_t>(text.data()) % pageBytes;
  const std::size_t lead = misalignment == 0 ? 0 : pageBytes - misalignment;
  if (text.capacity() > lead + pageBytes) {
    ::madvise(text.data() + lead, (text.capacity() - lead) / pageBytes * pageBytes, MADV_HUGEPAGE);
  }
}

// Room for `rows` rows, twice the length of the first row each: the rows
// differ by a few characters, and growing a table of hundreds of megabytes
// step by step would copy it over and over.  Room never written takes no
// memory.
void ReserveForRows(std::string& text, std::size_t firstRowBytes, std::int64_t rows) {
  ReserveWithHugePages(text, text.size() + 2 * firstRowBytes * static_cast<std::size_t>(rows));
}

// Appends the row of every instant of the series to `text`, in order, with
// room made for `roomRows` rows in all.
template <typename AppendRow>
void AppendRows(std::string& text, const InstantSeries& series, std::int64_t roomRows,
                const EphemerisChoice& ephemeris, const AppendRow& appendRow) {
  for (std::int64_t index = 0; index < series.count; ++index) {
    const std::size_t rowStart = text.size();
    appendRow(text, RecordOfInstant(InstantAt(series, index), ephemeris));
    if (index == 0) ReserveForRows(text, text.size() - rowStart, roomRows - 1);
  }
}

// The series cut into consecutive parts, one a processor, so that a long
// table is computed on all of them at once; a short one stays whole.  Each
// part counts its instants in whole minutes from its own first, which is an
// instant of the series: the parts' instants are the series' exactly.
std::vector<InstantSeries> PartsOf(const InstantSeries& series) {
  constexpr std::int64_t kRowsWorthAThread = 4096;
  constexpr std::int64_t kMostThreads = 8;
  const std::int64_t processors = std::thread::hardware_concurrency();
  const std::int64_t parts = std::clamp(std::min(series.count / kRowsWorthAThread, processors),
                                        std::int64_t{1}, kMostThreads);
  std::vector<InstantSeries> result;
  result.reserve(static_cast<std::size_t>(parts));
  for (std::int64_t part = 0; part < parts; ++part) {
    const std::int64_t begin = series.count * part / parts;
    const std::int64_t end = series.count * (part + 1) / parts;
    result.push_back({InstantAt(series, begin), series.stepMinutes, end - begin});
  }
  return result;
}

// `make(part, index)` for every part of the series at once, the results in
// the parts' order.  An error raised for a part is raised here, the earliest
// part's first.
template <typename Make>
auto ForEachPart(const InstantSeries& series, const Make& make) {
  using Result = std::invoke_result_t<Make, const InstantSeries&, std::size_t>;
  const std::vector<InstantSeries> parts = PartsOf(series);
  std::vector<std::future<Result>> pending;
  pending.reserve(parts.size());
  for (std::size_t index = 0; index < parts.size(); ++index) {
    pending.push_back(std::async(std::launch::async, make, std::cref(parts[index]), index));
  }
  std::vector<Result> results;
  results.reserve(parts.size());
  for (std::future<Result>& part : pending) results.push_back(part.get());
  return results;
}

// The head, the rows of the series and the tail.  The first part's text
// starts with the head and has room for all rows, so that only the later
// parts are copied once more.
template <typename AppendRow>
std::string JoinedRows(const std::string& head, const InstantSeries& series,
                       const EphemerisChoice& ephemeris, const AppendRow& appendRow,
                       const std::string& tail) {
  std::vector<std::string> parts =
      ForEachPart(series, [&](const InstantSeries& part, std::size_t index) {
        std::string text = index == 0 ? head : std::string();
        AppendRows(text, part, index == 0 ? series.count : part.count, ephemeris, appendRow);
        return text;
      });
  std::string table = std::move(parts.front());
  for (std::size_t index = 1; index < parts.size(); ++index) table += parts[index];
  table += tail;
  return table;
}

// The figure in full: the text as it is, a real in its shortest exact form.
std::string ExactText(const RecordField& field) {
  return std::visit(
      [](auto value) -> std::string {
        using Value = decltype(value);
        if constexpr (std::is_same_v<Value, std::string_view>) {
          return std::string(value);
        } else if constexpr (std::is_same_v<Value, double>) {
          return ExactNumber(value);
        } else {
          return std::to_string(value);
        }
      },
      field.value);
}

// The figure for people: a real rounded to the field's decimals.
std::string ReadableText(const RecordField& field) {
  if (const auto* real = std::get_if<double>(&field.value)) {
    return FormatFixed(*real, 0, field.textDecimals);
  }
  return ExactText(field);
}

std::array<const char*, kRecordFieldCount> ColumnNames() {
  std::array<const char*, kRecordFieldCount> names{};
  const EphemerisRecord blank;
  const auto fields = RecordFields(blank);
  std::transform(fields.begin(), fields.end(), names.begin(),
                 [](const RecordField& field) { return field.name; });
  return names;
}

// Numbers never need quotes; the instant's text goes through the quoting
// rules like any text.
void AppendCsvRow(std::string& table, const EphemerisRecord& record) {
  const auto fields = RecordFields(record);
  for (std::size_t column = 0; column < kRecordFieldCount; ++column) {
    if (column > 0) table += ',';
    const auto* text = std::get_if<std::string_view>(&fields[column].value);
    table += text != nullptr ? CsvField(std::string(*text)) : ExactText(fields[column]);
  }
  table += "\r\n";
}

std::string CsvTable(const InstantSeries& series, const EphemerisChoice& ephemeris) {
  const auto names = ColumnNames();
  return JoinedRows(CsvRecord({names.begin(), names.end()}), series, ephemeris, AppendCsvRow, "");
}

// One object a line.  Each row's object is made once for its part and only
// its values change from row to row.
std::string JsonTable(const InstantSeries& series, const EphemerisChoice& ephemeris) {
  std::string table = JoinedRows(
      "[\n", series, ephemeris,
      [](std::string& text, const EphemerisRecord& record) {
        thread_local nlohmann::ordered_json row = nlohmann::ordered_json::object();
        FillRecordJson(row, record);
        text += "  ";
        text += row.dump();
        text += kJsonRowEnd;
      },
      "");
  // The last object takes no comma.
  if (series.count > 0) table.resize(table.size() - kJsonRowEnd.size());
  table += "\n]\n";
  return table;
}

// The instant reads from the left, the numbers line up on the right.
void AppendCell(std::string& table, std::string_view text, std::size_t width, std::size_t column) {
  const std::size_t padding = width - text.size();
  if (column > 0) table.append(kColumnGap).append(padding, ' ');
  table += text;
  if (column == 0) table.append(padding, ' ');
  if (column == kRecordFieldCount - 1) table += '\n';
}

// A part of the text table, formatted but not yet aligned: its cells one
// after the other with their lengths, and the widest cell of each column.
struct TextCells {
  std::string cells;
  std::vector<std::uint16_t> lengths;
  std::array<std::size_t, kRecordFieldCount> widths{};
};

TextCells TextCellsOf(const InstantSeries& part, const EphemerisChoice& ephemeris) {
  TextCells text;
  text.lengths.reserve(static_cast<std::size_t>(part.count) * kRecordFieldCount);
  AppendRows(text.cells, part, part.count, ephemeris,
             [&text](std::string& cells, const EphemerisRecord& record) {
               for (const RecordField& field : RecordFields(record)) {
                 const std::string cell = ReadableText(field);
                 std::size_t& width = text.widths[text.lengths.size() % kRecordFieldCount];
                 width = std::max(width, cell.size());
                 cells += cell;
                 text.lengths.push_back(static_cast<std::uint16_t>(cell.size()));
               }
             });
  return text;
}

// The widths are known only once every row is formatted.
std::string TextTable(const InstantSeries& series, const EphemerisChoice& ephemeris) {
  const std::vector<TextCells> parts =
      ForEachPart(series, [&ephemeris](const InstantSeries& part, std::size_t) {
        return TextCellsOf(part, ephemeris);
      });
  const auto names = ColumnNames();
  std::array<std::size_t, kRecordFieldCount> widths{};
  std::size_t bytes = 0;
  for (std::size_t column = 0; column < kRecordFieldCount; ++column) {
    widths[column] = std::strlen(names[column]);
    for (const TextCells& part : parts)
      widths[column] = std::max(widths[column], part.widths[column]);
    bytes += widths[column] + std::strlen(kColumnGap);
  }

  std::string table;
  ReserveWithHugePages(table, bytes * static_cast<std::size_t>(series.count + 1));
  for (std::size_t column = 0; column < kRecordFieldCount; ++column) {
    AppendCell(table, names[column], widths[column], column);
  }
  for (const TextCells& part : parts) {
    std::size_t offset = 0;
    for (std::size_t cell = 0; cell < part.lengths.size(); ++cell) {
      const std::size_t column = cell % kRecordFieldCount;
      AppendCell(table, std::string_view(part.cells).substr(offset, part.lengths[cell]),
                 widths[column], column);
      offset += part.lengths[cell];
    }
  }
  return table;
}

}  // namespace

std::array<RecordField, kRecordFieldCount> RecordFields(const EphemerisRecord& record) {
  return {{
      {"utc", std::string_view(record.utc), 0},
      {"jd", record.jd, 5},
      {"ra_hours", record.raHours, 4},
      {"dec_deg", record.decDeg, 2},
      {"distance_au", record.distanceAu, 5},
      {"semidiameter_arcsec", record.semidiameterArcsec, 1},
      {"p_deg", record.pDeg, 2},
      {"b0_deg", record.b0Deg, 2},
      {"l0_deg", record.l0Deg, 2},
      {"carrington_rotation", record.carringtonRotation, 0},
      {"carrington_fraction", record.carringtonFraction, 4},
  }};
}

void FillRecordJson(nlohmann::ordered_json& json, const EphemerisRecord& record) {
  for (const RecordField& field : RecordFields(record)) {
    std::visit([&json, &field](auto value) { json[field.name] = value; }, field.value);
  }
}

nlohmann::ordered_json RecordJson(const EphemerisRecord& record) {
  nlohmann::ordered_json json = nlohmann::ordered_json::object();
  FillRecordJson(json, record);
  return json;
}

EphemerisRecord RecordOfInstant(const UtcMinute& instant, const EphemerisChoice& ephemeris) {
  const double julianDay = JulianDayOfInstant(instant);
  const SunEphemeris sun = ComputeSunWith(ephemeris, julianDay);
  if (!PlausibleSunDistance(sun.distanceAu)) {
    throw ImplausibleSunError("the solar theory fails for " + InstantTextOf(instant) +
                              ": it puts the Sun " + ExactNumber(sun.distanceAu) +
                              " AU from the Earth");
  }
  return EphemerisRecordOf(CalendarInstantOf(julianDay), sun);
}

// The rows' years rise, so a row outside the years of known accuracy makes
// the first row or the last one lie outside them.
std::optional<std::int32_t> YearOfUnknownAccuracy(const InstantSeries& series) {
  if (series.count == 0) return std::nullopt;
  if (!AccuracyKnownFor(series.first.year)) return series.first.year;
  const std::int32_t lastYear = InstantAt(series, series.count - 1).year;
  if (!AccuracyKnownFor(lastYear)) return lastYear;
  return std::nullopt;
}

std::string EphemerisTable(const InstantSeries& series, TableFormat format,
                           const EphemerisChoice& ephemeris) {
  switch (format) {
    case TableFormat::Csv:
      return CsvTable(series, ephemeris);
    case TableFormat::Json:
      return JsonTable(series, ephemeris);
    case TableFormat::Text:
      break;
  }
  return TextTable(series, ephemeris);
}

}  // namespace helidisk
