// The command line's parser, shared by the files that hold its option
// table, the rules between options and the parsing of each value.
#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "instanttext.h"
#include "renderoptions.h"

namespace helidisk::optionparsing {

// Camera angles are given within a turn either way.
constexpr int kLargestRotationDeg = 360;

// 'text': a value as an error message quotes it.
std::string Quoted(const std::string& text);

// The table format that a file name's extension names, if any.
std::optional<TableFormat> TableFormatOfFileName(const std::string& fileName);

class Parser;

// One option of the command line: everything about it is said here once, for
// the parser, its error messages and the help text.
struct OptionSpec {
  std::string name;
  // The value's placeholder in the help text; empty for a flag.
  std::string valueName;
  // What a good value is, for the message that refuses a bad one.
  std::string accepts;
  std::string help;
  // Takes the value (or the flag); refuses it through Parser::RejectValue.
  void (Parser::*take)(const OptionSpec& option, const std::string& value);
  // Takes every argument up to the next option, each as a value.
  bool manyValues = false;

  bool TakesValue() const { return !valueName.empty(); }
};

struct OptionSection {
  std::string heading;
  std::vector<OptionSpec> options;
};

// Every option in the order of the help text, in sections.
const std::vector<OptionSection>& OptionTable();

class Parser {
 public:
  Parser(std::int32_t currentYear, const std::string& localeDecimalSeparator);

  CommandLine Parse(const std::vector<std::string>& arguments);

  // The values of an option that takes several: the one after "=", then
  // every argument up to the next option; `i` ends on the last one taken.
  void TakeValues(const OptionSpec& option, const std::vector<std::string>& arguments,
                  const std::optional<std::string>& joined, std::size_t& i);

  void TakeYear(const OptionSpec& option, const std::string& value);

  void TakeHour(const OptionSpec& option, const std::string& value);

  void TakeInstant(const OptionSpec& option, const std::string& value);

  void TakeTable(const OptionSpec& /*option*/, const std::string& /*value*/);

  void TakeTableFrom(const OptionSpec& option, const std::string& value);

  void TakeTableTo(const OptionSpec& option, const std::string& value);

  void TakeTableStep(const OptionSpec& option, const std::string& value);

  void TakeGrid(const OptionSpec& option, const std::string& value);

  void TakeOrientation(const OptionSpec& option, const std::string& value);

  void TakeImage(const OptionSpec& option, const std::string& value);

  void TakeRotation(const OptionSpec& option, const std::string& value);

  void TakeSite(const OptionSpec& option, const std::string& value);

  void TakeSize(const OptionSpec& option, const std::string& value);

  // --size N: the side of an aligned sequence's square frames.
  void TakeAlignedSide(const OptionSpec& option, const std::string& value);

  void TakeImages(const OptionSpec& option, const std::string& value);

  void TakeAlign(const OptionSpec& /*option*/, const std::string& /*value*/);

  void TakeMovie(const OptionSpec& option, const std::string& value);

  void TakeOutput(const OptionSpec& option, const std::string& value);

  // One option names the format of either result: png and svg are
  // pictures, csv, json and text tables; which one fits is decided once the
  // whole command line is read.
  void TakeFormat(const OptionSpec& option, const std::string& value);

  void TakeDiameter(const OptionSpec& option, const std::string& value);

  void TakePage(const OptionSpec& option, const std::string& value);

  void TakeTemplateB0(const OptionSpec& option, const std::string& value);

  void TakeEphemeris(const OptionSpec& option, const std::string& value);

  void TakeAberration(const OptionSpec& /*option*/, const std::string& /*value*/);

  void TakeReadout(const OptionSpec& /*option*/, const std::string& /*value*/);

  void TakeLocate(const OptionSpec& option, const std::string& value);

  void TakeFeature(const OptionSpec& option, const std::string& value);

  void TakeRotateTo(const OptionSpec& option, const std::string& value);

  void TakeModel(const OptionSpec& option, const std::string& value);

  void TakeJson(const OptionSpec& /*option*/, const std::string& /*value*/);

  // One character that reads as a decimal separator: not a digit or a sign
  // (it would turn the Julian day into another number), not a blank or a
  // line break (they would split the readout line), not invisible.
  void TakeDecimalSeparator(const OptionSpec& option, const std::string& value);

  void TakeDetect(const OptionSpec& /*option*/, const std::string& /*value*/);

  void TakeTableFormat(const OptionSpec& option, const std::string& value);

  // A fraction of the quiet disk's level, strictly between 0 and 1.
  void TakeFraction(const OptionSpec& option, const std::string& value, double& fraction);

  void TakePenumbra(const OptionSpec& option, const std::string& value);

  void TakeUmbra(const OptionSpec& option, const std::string& value);

  void TakeMinimumSpot(const OptionSpec& option, const std::string& value);

  void TakeGroupDistance(const OptionSpec& option, const std::string& value);

  void TakeK(const OptionSpec& option, const std::string& value);

  void TakeReportLine(const OptionSpec& /*option*/, const std::string& /*value*/);

  // A code of letters and digits, as the reporting bodies hand them out.
  void TakeObserver(const OptionSpec& option, const std::string& value);

  void TakeSeeing(const OptionSpec& option, const std::string& value);

  void TakeMonthFile(const OptionSpec& option, const std::string& value);

  void TakeGroupTable(const OptionSpec& option, const std::string& value);

  void TakeObservationFile(const OptionSpec& option, const std::string& value);

  void TakeHelp(const OptionSpec& /*option*/, const std::string& /*value*/);

  void TakeVersion(const OptionSpec& /*option*/, const std::string& /*value*/);

 private:
  static const OptionSpec* Find(const std::string& name);

  bool Finished() const { return line_.action != CommandAction::Render; }

  void Reject(const std::string& error);

  void RejectValue(const OptionSpec& option, const std::string& value);

  // The image options go together, and the image brings its own instant
  // unless --at names one.
  bool CheckImageOptions();

  // The instant of YYYY-MM-DDTHH:MM (or YYYY-MM-DD where the time may be
  // left out), also in a year beyond the calendar; empty when refused.
  std::optional<InstantText> InstantIn(const OptionSpec& option, const std::string& value,
                                       bool timeOptional);

  // Stellar aberration is a choice of the precise theory; the standard
  // theory's longitude always includes it.
  void CheckEphemeris();

  // The options of a picture or of a single instant that a table has no use
  // for, and the table's own options without --table; true when refused.
  bool RejectMisplacedOptions();

  // Without --from and --to the table covers a whole year: that of --year,
  // else that of --from, else the current one.
  void CheckTable();

  bool Seen(const char* name) const { return seen_.count(name) != 0; }

  // An aligned sequence's options; true when the command line is one
  // (accepted or refused), false when it asks for anything else.
  bool CheckAlignedSequence();

  void CheckCombination();

  static constexpr const char* kSpotOptions[] = {
      "--table-format",   "--penumbra",   "--umbra",       "--min-spot",
      "--group-distance", "--k",          "--report-line", "--observer",
      "--seeing",         "--month-file", "--observation", "--group-table"};

  bool AnySpotOptionSeen() const;

  // --detect reads spots off an image; its --output is the spot table.
  void CheckDetect();

  // One point at a time is carried through time.
  bool CheckFeatureOptions();

  // A template has no instant: nothing may name one or ask about one.
  bool CheckTemplate();

  // The page options belong to a PDF, whose disk they size; the picture
  // control's size belongs to the other formats.
  bool CheckPage();

  CommandLine line_;
  std::set<std::string> seen_;
  std::optional<PictureFormat> format_;
  std::optional<TableFormat> tableFormat_;
  std::string formatName_;
  std::optional<UtcMinute> tableFrom_;
  std::optional<UtcMinute> tableTo_;
  bool alignedSideGiven_ = false;
};

}  // namespace helidisk::optionparsing
