// The ephemeris for a run of instants, one row an instant, with the figures
// and names of --json: as CSV and JSON for programs, as aligned text for
// people.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>

#include "ephemerischoice.h"
#include "ephemerisrecord.h"
#include "instantseries.h"

namespace helidisk {

inline constexpr std::int64_t kMostTableRows = 1'000'000;

enum class TableFormat { Csv, Json, Text };

// One figure of a record under its --json name, with the decimals a reader
// of the text table needs.
struct RecordField {
  const char* name;
  std::variant<std::string_view, double, std::int32_t> value;
  int textDecimals;
};

inline constexpr std::size_t kRecordFieldCount = 11;

// The record's figures in the order --json gives them.  The text views
// refer into the record.
std::array<RecordField, kRecordFieldCount> RecordFields(const EphemerisRecord& record);

// A row whose instant the solar theory cannot serve: it puts the Sun at a
// distance no orbit of the Earth has.
class ImplausibleSunError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The figures of an instant, from the same Julian day as the window and
// --json compute for it, so that they agree to the last bit.  Raises
// ImplausibleSunError, and RunError where the calendar routines fail.
// The chosen theory computes it; EphemerisRangeError where it cannot.
EphemerisRecord RecordOfInstant(const UtcMinute& instant, const EphemerisChoice& ephemeris = {});

// The earliest year of the series for which the theory's accuracy is not
// known, if any.
std::optional<std::int32_t> YearOfUnknownAccuracy(const InstantSeries& series);

// The whole table in the format:
// - Csv: RFC 4180, a header line of the names, CR LF line ends, every number
//   in its shortest exact form with a full stop whatever the locale;
// - Json: one array of objects, one a line, keyed as --json;
// - Text: columns aligned under their names, two blanks apart, the numbers
//   rounded for reading (degrees to two decimals, as in the readout).
// Raises as RecordOfInstant does; nothing of the table is kept then.
std::string EphemerisTable(const InstantSeries& series, TableFormat format,
                           const EphemerisChoice& ephemeris = {});

}  // namespace helidisk
