// Numbers and fields as files and the clipboard take them: the shortest
// exact text of a double, and RFC 4180 CSV rows.
#pragma once

#include <string>
#include <vector>

namespace helidisk {

// The shortest text that reads back as the same double, with a full stop
// as decimal point whatever the locale.
std::string ExactNumber(double value);

// One field of a CSV file (RFC 4180): quoted, with its quotes doubled, when
// it holds a comma, a quote or a line break.
std::string CsvField(const std::string& text);

// The fields as one CSV record, ended by CR LF.
std::string CsvRecord(const std::vector<std::string>& fields);

// The fields separated by tabs, ended by a line feed; tabs and line breaks
// inside a field become blanks.
std::string TabSeparatedLine(const std::vector<std::string>& fields);

}  // namespace helidisk
