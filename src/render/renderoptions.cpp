#include "renderoptions.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <set>

#include "checked.h"
#include "instanttext.h"
#include "redraw.h"
#include "unicodetext.h"

namespace helidisk {

namespace {

// A PNG cannot hold an image without pixels, and the image is two pixels
// narrower and shorter than the control.
constexpr std::int32_t kSmallestControlSideForPng = 3;
// Camera angles are given within a turn either way.
constexpr int kLargestRotationDeg = 360;

// The whole text as a decimal integer: digits with an optional leading "-",
// nothing else.
std::optional<std::int64_t> ParseWholeNumber(const std::string& text) {
  if (text.empty() || text.size() > 19) return std::nullopt;
  std::int64_t value = 0;
  const char* end = text.data() + text.size();
  const auto result = std::from_chars(text.data(), end, value);
  if (result.ec != std::errc() || result.ptr != end) return std::nullopt;
  return value;
}

// The whole text as a finite real number in decimal notation.
std::optional<double> ParseFiniteReal(const std::string& text) {
  double value = 0;
  const char* end = text.data() + text.size();
  const auto result = std::from_chars(text.data(), end, value, std::chars_format::fixed);
  if (text.empty() || result.ec != std::errc() || result.ptr != end || !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

std::string Quoted(const std::string& text) { return "'" + text + "'"; }

// "U+0007": a character named without writing it to the terminal.
std::string CodePointName(char32_t character) {
  char name[16];
  std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(character));
  return name;
}

// The table format that a file name's extension names, if any.
std::optional<TableFormat> TableFormatOfFileName(const std::string& fileName) {
  const std::string suffix = SuffixOf(fileName);
  if (suffix == "csv") return TableFormat::Csv;
  if (suffix == "json") return TableFormat::Json;
  return std::nullopt;
}

class Parser;

// "one of sky, mirror, ...", for the message that refuses a bad name.
std::string OrientationChoices() {
  std::string choices = "one of";
  for (const Orientation orientation : kOrientations) {
    choices += (orientation == kOrientations[0] ? " " : ", ") + OrientationName(orientation);
  }
  return choices;
}

// "one of rigid, howard, ...", for the message that refuses a bad name.
std::string RotationModelChoices() {
  std::string choices = "one of";
  for (const RotationModel& model : RotationModels()) {
    choices += (&model == RotationModels().data() ? " " : ", ") + std::string(model.name);
  }
  return choices;
}

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

const std::vector<OptionSection>& OptionTable();

class Parser {
 public:
  Parser(std::int32_t currentYear, const std::string& localeDecimalSeparator) {
    line_.options.year = currentYear;
    line_.options.decimalSeparator = localeDecimalSeparator;
  }

  CommandLine Parse(const std::vector<std::string>& arguments) {
    for (std::size_t i = 0; i < arguments.size() && !Finished(); ++i) {
      const std::string& argument = arguments[i];
      if (argument.rfind("--", 0) != 0 || argument == "--") {
        Reject("unexpected argument " + Quoted(argument) + "; options begin with --");
        break;
      }
      const std::size_t equals = argument.find('=');
      const std::string name = argument.substr(0, equals);
      const OptionSpec* option = Find(name);
      if (option == nullptr) {
        Reject("unknown option " + Quoted(name));
      } else if (!seen_.insert(name).second) {
        Reject(name + " is given twice");
      } else if (option->manyValues) {
        TakeValues(*option, arguments,
                   equals == std::string::npos
                       ? std::nullopt
                       : std::optional<std::string>(argument.substr(equals + 1)),
                   i);
      } else if (!option->TakesValue()) {
        if (equals != std::string::npos) {
          Reject(name + " takes no value");
        } else {
          (this->*option->take)(*option, {});
        }
      } else if (equals != std::string::npos) {
        (this->*option->take)(*option, argument.substr(equals + 1));
      } else if (i + 1 < arguments.size()) {
        (this->*option->take)(*option, arguments[++i]);
      } else {
        Reject(name + " needs a value: " + option->accepts);
      }
    }
    if (!Finished()) CheckCombination();
    if (!Finished()) CheckEphemeris();
    return line_;
  }

  // The values of an option that takes several: the one after "=", then
  // every argument up to the next option; `i` ends on the last one taken.
  void TakeValues(const OptionSpec& option, const std::vector<std::string>& arguments,
                  const std::optional<std::string>& joined, std::size_t& i) {
    bool any = false;
    if (joined) {
      (this->*option.take)(option, *joined);
      any = true;
    }
    while (!Finished() && i + 1 < arguments.size() && arguments[i + 1].rfind("--", 0) != 0) {
      (this->*option.take)(option, arguments[++i]);
      any = true;
    }
    if (!any && !Finished()) Reject(option.name + " needs a value: " + option.accepts);
  }

  void TakeYear(const OptionSpec& option, const std::string& value) {
    const auto year = ParseWholeNumber(value);
    if (!year || *year < INT32_MIN || *year > INT32_MAX) return RejectValue(option, value);
    line_.options.year = static_cast<std::int32_t>(*year);
  }

  void TakeHour(const OptionSpec& option, const std::string& value) {
    const auto hour = ParseWholeNumber(value);
    if (!hour || *hour < 0 || *hour > kLastHourPosition) return RejectValue(option, value);
    line_.options.hourPosition = static_cast<double>(*hour);
  }

  void TakeInstant(const OptionSpec& option, const std::string& value) {
    const std::optional<InstantText> parsed = InstantIn(option, value, false);
    if (!parsed) return;
    line_.options.year = parsed->instant.year;
    // A year beyond the calendar fails in the redraw with the calendar's
    // run-time error, as it does when given with --year.
    line_.options.hourPosition = parsed->fault == InstantTextFault::BeyondTheCalendar
                                     ? 0
                                     : HoursSinceNewYear(parsed->instant);
    line_.options.instantGiven = true;
  }

  void TakeTable(const OptionSpec& /*option*/, const std::string& /*value*/) {
    line_.options.printTable = true;
  }

  void TakeTableFrom(const OptionSpec& option, const std::string& value) {
    const std::optional<InstantText> parsed = InstantIn(option, value, true);
    if (parsed) tableFrom_ = parsed->instant;
  }

  void TakeTableTo(const OptionSpec& option, const std::string& value) {
    const std::optional<InstantText> parsed = InstantIn(option, value, true);
    if (parsed) tableTo_ = parsed->instant;
  }

  void TakeTableStep(const OptionSpec& option, const std::string& value) {
    const std::optional<std::int64_t> minutes = ParseStepMinutes(value);
    if (!minutes) return RejectValue(option, value);
    line_.options.tableStepMinutes = *minutes;
  }

  void TakeGrid(const OptionSpec& option, const std::string& value) {
    if (value == "diff") {
      line_.options.differentialGrid = true;
    } else if (value == "fixed") {
      line_.options.differentialGrid = false;
    } else if (value == "stonyhurst") {
      line_.options.stonyhurstGrid = true;
    } else {
      RejectValue(option, value);
    }
  }

  void TakeOrientation(const OptionSpec& option, const std::string& value) {
    const std::optional<Orientation> orientation = OrientationNamed(value);
    if (!orientation) return RejectValue(option, value);
    line_.options.orientation = *orientation;
    line_.options.orientationGiven = true;
  }

  void TakeImage(const OptionSpec& option, const std::string& value) {
    if (value.empty()) return RejectValue(option, value);
    line_.options.imagePath = value;
  }

  void TakeRotation(const OptionSpec& option, const std::string& value) {
    const auto degrees = ParseFiniteReal(value);
    if (!degrees || std::fabs(*degrees) > kLargestRotationDeg) return RejectValue(option, value);
    line_.options.rotationDeg = *degrees;
  }

  void TakeSite(const OptionSpec& option, const std::string& value) {
    const std::size_t comma = value.find(',');
    if (comma == std::string::npos) return RejectValue(option, value);
    const auto latitude = ParseFiniteReal(value.substr(0, comma));
    const auto longitude = ParseFiniteReal(value.substr(comma + 1));
    if (!latitude || !longitude || std::fabs(*latitude) > 90 || std::fabs(*longitude) > 180) {
      return RejectValue(option, value);
    }
    line_.options.site = Site{*latitude, *longitude};
  }

  void TakeSize(const OptionSpec& option, const std::string& value) {
    const std::size_t cross = value.find('x');
    if (cross == std::string::npos) return TakeAlignedSide(option, value);
    const auto width = ParseWholeNumber(value.substr(0, cross));
    const auto height = ParseWholeNumber(value.substr(cross + 1));
    const auto fits = [](const std::optional<std::int64_t>& side) {
      return side && *side >= 1 && *side <= kLargestControlSide;
    };
    if (!fits(width) || !fits(height)) return RejectValue(option, value);
    line_.options.controlWidth = static_cast<std::int32_t>(*width);
    line_.options.controlHeight = static_cast<std::int32_t>(*height);
  }

  // --size N: the side of an aligned sequence's square frames.
  void TakeAlignedSide(const OptionSpec& option, const std::string& value) {
    const auto side = ParseWholeNumber(value);
    if (!side || *side < kSmallestAlignedSide || *side > kLargestAlignedSide) {
      return RejectValue(option, value);
    }
    line_.options.alignSidePx = static_cast<std::int32_t>(*side);
    alignedSideGiven_ = true;
  }

  void TakeImages(const OptionSpec& option, const std::string& value) {
    if (value.empty()) return RejectValue(option, value);
    line_.options.imagePaths.push_back(value);
  }

  void TakeAlign(const OptionSpec& /*option*/, const std::string& /*value*/) {
    line_.options.align = true;
  }

  void TakeMovie(const OptionSpec& option, const std::string& value) {
    if (value.empty()) return RejectValue(option, value);
    line_.options.moviePath = value;
  }

  void TakeOutput(const OptionSpec& option, const std::string& value) {
    if (value.empty()) return RejectValue(option, value);
    line_.options.outputPath = value;
  }

  // One option names the format of either result: png and svg are
  // pictures, csv, json and text tables; which one fits is decided once the
  // whole command line is read.
  void TakeFormat(const OptionSpec& option, const std::string& value) {
    formatName_ = value;
    if (const std::optional<PictureFormat> format = PictureFormatNamed(value)) {
      format_ = format;
    } else if (value == "csv") {
      tableFormat_ = TableFormat::Csv;
    } else if (value == "json") {
      tableFormat_ = TableFormat::Json;
    } else if (value == "text") {
      tableFormat_ = TableFormat::Text;
    } else {
      RejectValue(option, value);
    }
  }

  void TakeDiameter(const OptionSpec& option, const std::string& value) {
    const std::optional<double> diameterMm = ParseLengthMm(value);
    if (!diameterMm || !(*diameterMm > 0)) return RejectValue(option, value);
    line_.options.page.diameterMm = *diameterMm;
  }

  void TakePage(const OptionSpec& option, const std::string& value) {
    const std::optional<PaperSize> paper = PaperSizeNamed(value);
    if (!paper) return RejectValue(option, value);
    line_.options.page.paper = *paper;
  }

  void TakeTemplateB0(const OptionSpec& option, const std::string& value) {
    constexpr double kPoleDeg = 90;
    const std::optional<double> b0Deg = ParseFiniteReal(value);
    if (!b0Deg || std::abs(*b0Deg) > kPoleDeg) return RejectValue(option, value);
    line_.options.templateB0Deg = *b0Deg;
  }

  void TakeEphemeris(const OptionSpec& option, const std::string& value) {
    const std::optional<EphemerisTheory> theory = EphemerisTheoryNamed(value);
    if (!theory) return RejectValue(option, value);
    line_.options.ephemeris.theory = *theory;
  }

  void TakeAberration(const OptionSpec& /*option*/, const std::string& /*value*/) {
    line_.options.ephemeris.stellarAberration = true;
  }

  void TakeReadout(const OptionSpec& /*option*/, const std::string& /*value*/) {
    line_.options.printReadout = true;
  }

  void TakeLocate(const OptionSpec& option, const std::string& value) {
    const std::size_t comma = value.find(',');
    if (comma == std::string::npos) return RejectValue(option, value);
    const auto x = ParseFiniteReal(value.substr(0, comma));
    const auto y = ParseFiniteReal(value.substr(comma + 1));
    if (!x || !y) return RejectValue(option, value);
    line_.options.locate = PixelQuery{*x, *y};
  }

  void TakeFeature(const OptionSpec& option, const std::string& value) {
    constexpr double kPoleDeg = 90;
    constexpr double kFullTurnDeg = 360;
    const std::size_t comma = value.find(',');
    if (comma == std::string::npos) return RejectValue(option, value);
    const auto latitude = ParseFiniteReal(value.substr(0, comma));
    const auto longitude = ParseFiniteReal(value.substr(comma + 1));
    if (!latitude || !longitude || std::fabs(*latitude) > kPoleDeg || *longitude < 0 ||
        *longitude > kFullTurnDeg) {
      return RejectValue(option, value);
    }
    line_.options.feature = HeliographicPosition{*latitude, *longitude};
  }

  void TakeRotateTo(const OptionSpec& option, const std::string& value) {
    const std::optional<InstantText> parsed = InstantIn(option, value, false);
    if (!parsed) return;
    // Beyond the calendar the redraw at that instant fails with the
    // calendar's run-time error, as --at does.
    const double hours = parsed->fault == InstantTextFault::BeyondTheCalendar
                             ? 0
                             : HoursSinceNewYear(parsed->instant);
    line_.options.rotateTo = YearHours{parsed->instant.year, hours};
  }

  void TakeModel(const OptionSpec& option, const std::string& value) {
    if (RotationModelNamed(value) == nullptr) return RejectValue(option, value);
    line_.options.rotationModel = value;
  }

  void TakeJson(const OptionSpec& /*option*/, const std::string& /*value*/) {
    line_.options.printJson = true;
  }

  // One character that reads as a decimal separator: not a digit or a sign
  // (it would turn the Julian day into another number), not a blank or a
  // line break (they would split the readout line), not invisible.
  void TakeDecimalSeparator(const OptionSpec& option, const std::string& value) {
    const std::optional<char32_t> single = SingleCodePoint(value);
    if (!single) return RejectValue(option, value);
    const char32_t character = *single;
    if (!IsPrintable(character)) {
      return Reject(option.name + ": " + CodePointName(character) +
                    " is not a printable character");
    }
    if (!UsableAsDecimalSeparator(character)) {
      const bool plainAscii = character > U' ' && character < 0x7F;
      return Reject(option.name + ": " + (plainAscii ? Quoted(value) : CodePointName(character)) +
                    " cannot separate the decimals: digits, signs, blanks, line breaks and "
                    "combining marks would change or split the number");
    }
    line_.options.decimalSeparator = value;
  }

  void TakeDetect(const OptionSpec& /*option*/, const std::string& /*value*/) {
    line_.options.spots.detect = true;
  }

  void TakeTableFormat(const OptionSpec& option, const std::string& value) {
    if (value == "csv") {
      line_.options.spots.tableFormat = TableFormat::Csv;
    } else if (value == "json") {
      line_.options.spots.tableFormat = TableFormat::Json;
    } else {
      RejectValue(option, value);
    }
  }

  // A fraction of the quiet disk's level, strictly between 0 and 1.
  void TakeFraction(const OptionSpec& option, const std::string& value, double& fraction) {
    const auto parsed = ParseFiniteReal(value);
    if (!parsed || !(*parsed > 0 && *parsed < 1)) return RejectValue(option, value);
    fraction = *parsed;
  }

  void TakePenumbra(const OptionSpec& option, const std::string& value) {
    TakeFraction(option, value, line_.options.spots.detection.penumbraFraction);
  }

  void TakeUmbra(const OptionSpec& option, const std::string& value) {
    TakeFraction(option, value, line_.options.spots.detection.umbraFraction);
  }

  void TakeMinimumSpot(const OptionSpec& option, const std::string& value) {
    constexpr std::int64_t kLargestMinimumPx = 100000;
    const auto pixels = ParseWholeNumber(value);
    if (!pixels || *pixels < 1 || *pixels > kLargestMinimumPx) return RejectValue(option, value);
    line_.options.spots.detection.minimumSpotPx = static_cast<int>(*pixels);
  }

  void TakeGroupDistance(const OptionSpec& option, const std::string& value) {
    constexpr double kWidestLinkDeg = 30;
    const auto degrees = ParseFiniteReal(value);
    if (!degrees || !(*degrees > 0) || *degrees > kWidestLinkDeg) return RejectValue(option, value);
    line_.options.spots.linkDistanceDeg = *degrees;
  }

  void TakeK(const OptionSpec& option, const std::string& value) {
    constexpr double kLargestK = 10;
    const auto k = ParseFiniteReal(value);
    if (!k || !(*k > 0) || *k > kLargestK) return RejectValue(option, value);
    line_.options.spots.k = *k;
  }

  void TakeReportLine(const OptionSpec& /*option*/, const std::string& /*value*/) {
    line_.options.spots.printReportLine = true;
  }

  // A code of letters and digits, as the reporting bodies hand them out.
  void TakeObserver(const OptionSpec& option, const std::string& value) {
    constexpr std::size_t kLongestCode = 16;
    const bool plain = !value.empty() && value.size() <= kLongestCode &&
                       std::all_of(value.begin(), value.end(), [](unsigned char c) {
                         return std::isalnum(c) != 0 || c == '-' || c == '_';
                       });
    if (!plain) return RejectValue(option, value);
    line_.options.spots.observerCode = value;
  }

  void TakeSeeing(const OptionSpec& option, const std::string& value) {
    const auto seeing = ParseWholeNumber(value);
    if (!seeing || *seeing < 1 || *seeing > 5) return RejectValue(option, value);
    line_.options.spots.seeing = static_cast<int>(*seeing);
  }

  void TakeMonthFile(const OptionSpec& option, const std::string& value) {
    if (value.empty()) return RejectValue(option, value);
    line_.options.spots.monthFilePath = value;
  }

  void TakeGroupTable(const OptionSpec& option, const std::string& value) {
    const std::optional<TableFormat> format = TableFormatOfFileName(value);
    if (!format) return RejectValue(option, value);
    line_.options.spots.groupTablePath = value;
    line_.options.spots.groupTableFormat = *format;
  }

  void TakeObservationFile(const OptionSpec& option, const std::string& value) {
    if (value.empty()) return RejectValue(option, value);
    line_.options.spots.observationPath = value;
  }

  void TakeHelp(const OptionSpec& /*option*/, const std::string& /*value*/) {
    line_.action = CommandAction::ShowHelp;
  }

  void TakeVersion(const OptionSpec& /*option*/, const std::string& /*value*/) {
    line_.action = CommandAction::ShowVersion;
  }

 private:
  static const OptionSpec* Find(const std::string& name) {
    for (const OptionSection& section : OptionTable()) {
      for (const OptionSpec& option : section.options) {
        if (option.name == name) return &option;
      }
    }
    return nullptr;
  }

  bool Finished() const { return line_.action != CommandAction::Render; }

  void Reject(const std::string& error) {
    line_.action = CommandAction::Reject;
    line_.error = error;
  }

  void RejectValue(const OptionSpec& option, const std::string& value) {
    Reject(option.name + ": " + Quoted(value) + " is not " + option.accepts);
  }

  // The image options go together, and the image brings its own instant
  // unless --at names one.
  bool CheckImageOptions() {
    const RenderOptions& options = line_.options;
    if (options.imagePath.empty()) {
      if (options.rotationDeg || options.site) {
        Reject("--rotation and --site apply to an image: give --image FILE");
        return false;
      }
      return true;
    }
    if (seen_.count("--year") != 0 || seen_.count("--hour") != 0 || seen_.count("--size") != 0) {
      Reject(
          "--image takes its instant from the file (or from --at) and its size from the image; "
          "it cannot be combined with --year, --hour or --size");
      return false;
    }
    if (options.rotationDeg && options.site) {
      Reject("--rotation and --site both set the camera's angle; give one of them");
      return false;
    }
    return true;
  }

  // The instant of YYYY-MM-DDTHH:MM (or YYYY-MM-DD where the time may be
  // left out), also in a year beyond the calendar; empty when refused.
  std::optional<InstantText> InstantIn(const OptionSpec& option, const std::string& value,
                                       bool timeOptional) {
    const InstantText parsed = ParseInstantText(value, timeOptional);
    switch (parsed.fault) {
      case InstantTextFault::Malformed:
        RejectValue(option, value);
        return std::nullopt;
      case InstantTextFault::FieldOutOfRange:
        Reject(option.name + ": " + Quoted(value) +
               " is not a valid instant (month 01-12, day 01-31, hour 00-23, minute 00-59)");
        return std::nullopt;
      case InstantTextFault::NotACalendarDay:
        Reject(option.name + ": " + Quoted(value) +
               " is not a day of the calendar (Julian up to 1582-10-04, Gregorian from "
               "1582-10-15)");
        return std::nullopt;
      case InstantTextFault::BeyondTheCalendar:
      case InstantTextFault::None:
        break;
    }
    return parsed;
  }

  // Stellar aberration is a choice of the precise theory; the standard
  // theory's longitude always includes it.
  void CheckEphemeris() {
    const EphemerisChoice& ephemeris = line_.options.ephemeris;
    if (ephemeris.stellarAberration && ephemeris.theory != EphemerisTheory::Precise) {
      Reject(
          "--aberration applies to --ephemeris precise; the standard theory always includes "
          "aberration");
    }
  }

  // The options of a picture or of a single instant that a table has no use
  // for, and the table's own options without --table; true when refused.
  bool RejectMisplacedOptions() {
    static const char* const kSingleInstantOnly[] = {
        "--hour",   "--at",       "--readout",   "--json",        "--locate",
        "--grid",   "--size",     "--image",     "--rotation",    "--site",
        "--b0",     "--diameter", "--page",      "--orientation", "--decimal-separator",
        "--detect", "--feature",  "--rotate-to", "--model"};
    static const char* const kTableOnly[] = {"--from", "--to", "--step"};
    const bool table = line_.options.printTable;
    for (const char* name : kSingleInstantOnly) {
      if (table && seen_.count(name) != 0) {
        Reject(std::string(name) + " does not apply to --table");
        return true;
      }
    }
    for (const char* name : kTableOnly) {
      if (!table && seen_.count(name) != 0) {
        Reject(std::string(name) + " only applies together with --table");
        return true;
      }
    }
    if (table && format_) {
      Reject("--format " + formatName_ + " is a picture format; a table is csv, json or text");
      return true;
    }
    if (!table && tableFormat_) {
      Reject("--format " + formatName_ +
             " is a table format and needs --table; a picture is png, svg, pdf or jpeg");
      return true;
    }
    return false;
  }

  // Without --from and --to the table covers a whole year: that of --year,
  // else that of --from, else the current one.
  void CheckTable() {
    RenderOptions& options = line_.options;
    if (seen_.count("--year") != 0 && tableFrom_ && tableTo_) {
      Reject(
          "--year names the year of a table without --from or --to; with both given it names "
          "nothing");
      return;
    }
    const std::int32_t year =
        seen_.count("--year") == 0 && tableFrom_ ? tableFrom_->year : options.year;
    options.tableFrom = tableFrom_.value_or(UtcMinute{year, 1, 1, 0, 0});
    options.tableTo = tableTo_.value_or(UtcMinute{year, 12, 31, 23, 59});
    options.tableFormat = tableFormat_.value_or(
        TableFormatOfFileName(options.outputPath).value_or(TableFormat::Text));
    std::int64_t rows = 0;
    try {
      rows = SeriesFromTo(options.tableFrom, options.tableTo, options.tableStepMinutes).count;
    } catch (const RunError&) {
      // The run fails with the calendar's error, as a picture of that year
      // does.
      return;
    }
    const std::string range =
        InstantTextOf(options.tableFrom) + " to " + InstantTextOf(options.tableTo);
    if (rows == 0) {
      Reject("the table from " + range + " is empty: --to comes before --from");
    } else if (rows > kMostTableRows) {
      Reject("the table from " + range + " would have " + std::to_string(rows) +
             " rows, more than " + std::to_string(kMostTableRows) +
             "; shorten the range or lengthen --step");
    }
  }

  bool Seen(const char* name) const { return seen_.count(name) != 0; }

  // An aligned sequence's options; true when the command line is one
  // (accepted or refused), false when it asks for anything else.
  bool CheckAlignedSequence() {
    const RenderOptions& options = line_.options;
    if (!options.align) {
      for (const char* option : {"--images", "--movie"}) {
        if (Seen(option)) {
          Reject(std::string(option) + " belongs to an aligned sequence: give --align");
          return true;
        }
      }
      if (alignedSideGiven_) {
        Reject(
            "--size N sets an aligned sequence's frames: give --align, or WIDTHxHEIGHT for "
            "the picture control");
      }
      return alignedSideGiven_;
    }
    static const char* const kNotWithAlign[] = {"--image",     "--year",
                                                "--hour",      "--at",
                                                "--readout",   "--json",
                                                "--locate",    "--table",
                                                "--format",    "--grid",
                                                "--b0",        "--diameter",
                                                "--page",      "--decimal-separator",
                                                "--feature",   "--ephemeris",
                                                "--aberration"};
    for (const char* option : kNotWithAlign) {
      if (Seen(option)) {
        Reject(std::string(option) + " does not apply to --align");
        return true;
      }
    }
    if (options.imagePaths.empty()) {
      Reject("--align needs the images: give --images FILE...");
    } else if (options.outputPath.empty() || options.outputPath == "-") {
      Reject("--align writes its frames into a folder: give --output DIR/");
    } else if (Seen("--size") && !alignedSideGiven_) {
      Reject("--size: an aligned frame is square; give its side N, " +
             std::to_string(kSmallestAlignedSide) + " to " + std::to_string(kLargestAlignedSide));
    } else if (options.rotationDeg && options.site) {
      Reject("--rotation and --site both set the camera's angle; give one of them");
    } else if (Seen("--model") && !options.rotateTo) {
      Reject("--model names the law that --rotate-to de-rotates the frames by");
    } else if (!options.moviePath.empty() && SuffixOf(options.moviePath) != "webp") {
      Reject("--movie: " + Quoted(options.moviePath) +
             " is not a .webp file; the movie is an animated WebP (an MP4 would need a video "
             "encoder, which this program does not have)");
    }
    return true;
  }

  void CheckCombination() {
    RenderOptions& options = line_.options;
    if (CheckAlignedSequence()) return;
    if (RejectMisplacedOptions()) return;
    if (options.printTable) {
      CheckTable();
      return;
    }
    if (seen_.count("--at") != 0 && (seen_.count("--year") != 0 || seen_.count("--hour") != 0)) {
      Reject(
          "--at names the year and the hour itself; it cannot be combined with --year or "
          "--hour");
      return;
    }
    if (!CheckImageOptions()) return;
    if (options.spots.detect || AnySpotOptionSeen()) {
      CheckDetect();
      return;
    }
    if (!CheckTemplate()) return;
    if (!CheckFeatureOptions()) return;
    if (options.printJson && options.printReadout) {
      Reject("--json replaces the readout; give --json or --readout, not both");
      return;
    }
    const bool printsText =
        options.printReadout || options.printJson || options.locate || options.feature;
    if (options.outputPath.empty()) {
      if (format_) {
        Reject("--format only applies together with --output");
      } else if (!printsText) {
        Reject(
            "nothing to do: give --output FILE, --readout, --json, --locate X,Y, --feature B,L "
            "or --table");
      }
      return;
    }
    if (options.outputPath == "-") {
      if (!format_) {
        Reject("--output -: standard output needs --format png, --format svg or --format pdf");
        return;
      }
      if (printsText) {
        Reject(
            "--readout, --json, --locate and --feature cannot share standard output with "
            "--output -");
        return;
      }
    }
    if (!format_) format_ = FormatOfFileName(options.outputPath);
    if (!format_) {
      Reject("--output: " + Quoted(options.outputPath) +
             " has an unknown extension; use .png, .svg, .pdf or .jpg, or give --format");
      return;
    }
    options.format = *format_;
    const bool overImage = !options.imagePath.empty();
    if (!Holds(InfoOf(options.format),
               overImage ? PictureKind::ImageOverlay : PictureKind::DrawnDisk)) {
      Reject(options.imagePath.empty()
                 ? "--output: a JPEG is written only for --image, the drawn disk as PNG, SVG or PDF"
                 : "--output: the grid over an image is written as PNG or JPEG");
      return;
    }
    if (!CheckPage()) return;
    if (options.format == PictureFormat::Png &&
        (options.controlWidth < kSmallestControlSideForPng ||
         options.controlHeight < kSmallestControlSideForPng)) {
      Reject(
          "--size: a PNG needs a picture control of at least 3x3, since the image is two "
          "pixels narrower and shorter than the control and a PNG cannot be empty");
    }
  }

  static constexpr const char* kSpotOptions[] = {
      "--table-format",   "--penumbra",   "--umbra",       "--min-spot",
      "--group-distance", "--k",          "--report-line", "--observer",
      "--seeing",         "--month-file", "--observation", "--group-table"};

  bool AnySpotOptionSeen() const {
    return std::any_of(std::begin(kSpotOptions), std::end(kSpotOptions),
                       [this](const char* name) { return Seen(name); });
  }

  // --detect reads spots off an image; its --output is the spot table.
  void CheckDetect() {
    RenderOptions& options = line_.options;
    if (!options.spots.detect) {
      for (const char* name : kSpotOptions) {
        if (Seen(name)) return Reject(std::string(name) + " only applies together with --detect");
      }
    }
    if (options.imagePath.empty()) {
      return Reject("--detect finds the spots on an observer's image: give --image FILE");
    }
    for (const char* name : {"--readout", "--locate", "--format", "--grid", "--b0"}) {
      if (Seen(name)) return Reject(std::string(name) + " does not apply to --detect");
    }
    const DetectionSettings& detection = options.spots.detection;
    if (!(detection.umbraFraction < detection.penumbraFraction)) {
      return Reject("--umbra must be darker than --penumbra: a fraction below it");
    }
    if (options.printJson && options.spots.printReportLine) {
      return Reject("--json and --report-line both print on standard output; give one of them");
    }
    if (!options.outputPath.empty()) {
      if (options.outputPath == "-" && (options.printJson || options.spots.printReportLine)) {
        return Reject("--output - cannot share standard output with --json or --report-line");
      }
      if (!Seen("--table-format")) {
        const std::optional<TableFormat> format = TableFormatOfFileName(options.outputPath);
        if (!format) {
          return Reject("--output: " + Quoted(options.outputPath) +
                        " names no spot table; use .csv or .json, or give --table-format");
        }
        options.spots.tableFormat = *format;
      }
    }
    const bool doesSomething =
        options.printJson || options.spots.printReportLine || !options.outputPath.empty() ||
        !options.spots.monthFilePath.empty() || !options.spots.observationPath.empty() ||
        !options.spots.groupTablePath.empty();
    if (!doesSomething) {
      Reject(
          "nothing to do: --detect needs --json, --output FILE, --group-table FILE, "
          "--report-line, --month-file FILE or --observation FILE");
    }
  }

  // One point at a time is carried through time.
  bool CheckFeatureOptions() {
    const RenderOptions& options = line_.options;
    if (options.feature && options.locate) {
      Reject("--feature and --locate each name a point; give one of them");
      return false;
    }
    if (!options.feature && !options.locate) {
      for (const char* option : {"--rotate-to", "--model"}) {
        if (Seen(option)) {
          Reject(std::string(option) +
                 " carries a point through time: give --feature B,L or --locate X,Y");
          return false;
        }
      }
    }
    if (options.locate && Seen("--model") && !options.rotateTo) {
      Reject("--model names the law that --rotate-to carries the located point by");
      return false;
    }
    return true;
  }

  // A template has no instant: nothing may name one or ask about one.
  bool CheckTemplate() {
    if (!line_.options.templateB0Deg) return true;
    if (!line_.options.stonyhurstGrid) {
      Reject("--b0 draws a Stonyhurst template; it needs --grid stonyhurst");
      return false;
    }
    for (const char* option : {"--year", "--hour", "--at", "--orientation", "--readout", "--json",
                               "--locate", "--feature", "--rotate-to", "--model"}) {
      if (Seen(option)) {
        Reject(std::string("--b0 draws a template for that B0 alone, without an instant and with "
                           "solar north up; it cannot be combined with ") +
               option);
        return false;
      }
    }
    if (line_.options.outputPath.empty()) {
      Reject("nothing to do: --b0 needs --output FILE");
      return false;
    }
    return true;
  }

  // The page options belong to a PDF, whose disk they size; the picture
  // control's size belongs to the other formats.
  bool CheckPage() {
    const RenderOptions& options = line_.options;
    if (!InfoOf(options.format).holdsPage) {
      for (const char* option : {"--diameter", "--page"}) {
        if (Seen(option)) {
          Reject(std::string(option) + " only applies to a PDF page");
          return false;
        }
      }
      return true;
    }
    if (Seen("--size")) {
      Reject("--size does not apply to a PDF page, whose disk --diameter sizes");
      return false;
    }
    const int rows = options.templateB0Deg ? kTemplatePageRowCount : kInstantPageRowCount;
    if (const auto misfit =
            DiskPageMisfit(PageSizeOf(options.page.paper), options.page.diameterMm, rows)) {
      Reject("--diameter: " + *misfit + " on " + PaperSizeName(options.page.paper));
      return false;
    }
    return true;
  }

  CommandLine line_;
  std::set<std::string> seen_;
  std::optional<PictureFormat> format_;
  std::optional<TableFormat> tableFormat_;
  std::string formatName_;
  std::optional<UtcMinute> tableFrom_;
  std::optional<UtcMinute> tableTo_;
  bool alignedSideGiven_ = false;
};

const std::vector<OptionSection>& OptionTable() {
  static const std::vector<OptionSection> table = {
      {"Choosing the instant (UT):",
       {
           {"--year", "Y", "a whole year, -2147483648 to 2147483647",
            "the year whose 1 January, 0 h UT, is hour 0 (default: the year of the local "
            "clock); any whole year, numbered astronomically (0 = 1 BC); a year beyond the "
            "reach of the calendar routines fails with their run-time error",
            &Parser::TakeYear},
           {"--hour", "H", "a whole hour 0 to " + std::to_string(kLastHourPosition),
            "whole hours since then, 0 to " + std::to_string(kLastHourPosition) +
                " (default 0), as the window's scroll bar",
            &Parser::TakeHour},
           {"--at", "YYYY-MM-DDTHH:MM", "an instant in UT as YYYY-MM-DDTHH:MM",
            "any instant to the minute instead; the year is the instant's and the hours "
            "since its 1 January, 0 h UT, are a real number; cannot be combined with --year "
            "or --hour",
            &Parser::TakeInstant},
       }},
      {"The picture:",
       {
           {"--grid", "diff|fixed|stonyhurst", "diff, fixed or stonyhurst",
            "differentially rotating (default) or rigid heliographic grid, or the Stonyhurst "
            "grid fixed to the observer: meridians every 10 degrees of central-meridian "
            "distance, the central meridian thick, parallels every 10 degrees, at the "
            "instant's B0 and P in the chosen orientation",
            &Parser::TakeGrid},
           {"--orientation", "NAME", OrientationChoices(),
            "how the picture is meant to be read: sky (north up, east left; the default), "
            "mirror (north up, east right, as a star diagonal shows it), inverted (south up, "
            "east right, as a telescope or a projection screen shows it), inverted-mirror "
            "(south up, east left), or solar-north (the rotation axis upright; the readout "
            "still gives the true P)",
            &Parser::TakeOrientation},
           {"--size", "WxH", "WIDTHxHEIGHT, each 1 to " + std::to_string(kLargestControlSide),
            "size of the window's picture control, each side 1 to " +
                std::to_string(kLargestControlSide) + " (default " +
                std::to_string(kDesignControlWidth) + "x" + std::to_string(kDesignControlHeight) +
                "); the image is two pixels narrower and shorter and the disk sits where the "
                "window puts it; with --align, N alone: the side of the square frames",
            &Parser::TakeSize},
           {"--output", "FILE",
            "a file name ending in .png, .svg or .pdf, or - for standard output",
            "write the picture: FILE.png as a raster image, FILE.svg as a vector drawing "
            "with one element per drawing operation, FILE.pdf as a page with the disk at its "
            "true size and the readout below it; --output - writes to standard output and "
            "then needs --format; with --align, the folder DIR/ the frames go into",
            &Parser::TakeOutput},
           {"--format", "png|svg|pdf|jpeg|csv|json|text",
            "png, svg, pdf or jpeg for a picture, csv, json or text for a table",
            "the picture format (png, svg or pdf, or jpeg for --image), overriding the file "
            "name's extension; or, with "
            "--table, the table's: csv (RFC 4180 with a header line, every number exact with "
            "a full stop whatever the locale), json (one array of objects) or text (aligned "
            "columns for reading, degrees to two decimals; the default unless FILE ends in "
            ".csv or .json)",
            &Parser::TakeFormat},
       }},
      {"An observer's image:",
       {
           {"--image", "FILE", "a PNG, JPEG, TIFF or FITS file (also gzipped or tile-compressed)",
            "draw the grid over this solar image, scaled to its disk: the disk from a FITS "
            "header's solar coordinates where it has them, otherwise fitted to the limb; the "
            "instant from the file (FITS DATE-OBS, the photograph's EXIF time with its "
            "offset) unless --at gives it; a helioprojective FITS image is read with solar "
            "north up, turned by its CROTA2, unless --orientation, --rotation or --site say "
            "otherwise; --output writes the image with the grid at its full size as PNG or "
            "JPEG, and --locate X,Y takes a pixel of the image",
            &Parser::TakeImage},
           {"--rotation", "DEG",
            "an angle in degrees, -" + std::to_string(kLargestRotationDeg) + " to " +
                std::to_string(kLargestRotationDeg),
            "the image is turned counterclockwise by DEG from the orientation (a camera not "
            "aligned with north)",
            &Parser::TakeRotation},
           {"--site", "LAT,LON",
            "LAT,LON in degrees, latitude -90 to 90 (north positive), "
            "longitude -180 to 180 (east positive)",
            "the image was taken on an alt-azimuth mount with the zenith up at this site: its "
            "angle follows from the Sun's parallactic angle at the instant",
            &Parser::TakeSite},
       }},
      {"Sunspots on the image:",
       {
           {"--detect", "", "",
            "find the sunspots on the --image: regions darker than --penumbra times the quiet "
            "disk's level at their place (its centre-to-limb curve fitted), umbrae darker than "
            "--umbra times it; each spot's place (pixel, latitude, Carrington longitude, "
            "central-meridian distance, mu, position angle) and area in millionths of the "
            "hemisphere corrected pixel by pixel for foreshortening; groups by single linkage "
            "within --group-distance; counts g, f (each umbra a spot, a pore one) and "
            "R = 10g + f, also north and south; with --json on standard output, with --output "
            "FILE the spot table",
            &Parser::TakeDetect},
           {"--table-format", "csv|json", "csv or json",
            "the spot table's format for --output (default: by the file's extension)",
            &Parser::TakeTableFormat},
           {"--penumbra", "F", "a fraction between 0 and 1",
            "a spot is darker than F times the quiet disk (default 0.85)", &Parser::TakePenumbra},
           {"--umbra", "F", "a fraction between 0 and 1",
            "an umbra is darker than F times the quiet disk (default 0.55)", &Parser::TakeUmbra},
           {"--min-spot", "PX", "a whole number of pixels, 1 to 100000",
            "smaller dark regions are ignored as noise or dust (default 5)",
            &Parser::TakeMinimumSpot},
           {"--group-distance", "DEG", "degrees, greater than 0 and at most 30",
            "spots whose centroids lie within DEG on the sphere belong to one group, and so do "
            "chains of them (default 6)",
            &Parser::TakeGroupDistance},
           {"--k", "K", "a factor greater than 0 and at most 10",
            "the observer's personal factor: kR is reported beside R (default 1)", &Parser::TakeK},
           {"--group-table", "FILE", "a file name ending in .csv or .json",
            "write one row a group (group, hemisphere, latitude_deg, longitude_deg, "
            "cm_distance_deg, longitude_extent_deg, spots, area_msh, zurich, mcintosh, region) "
            "as CSV or JSON by the file's extension",
            &Parser::TakeGroupTable},
           {"--report-line", "", "",
            "print the day's report line (CSV with its header: Date, UT, Seeing, g, f, R, Ng, "
            "Nf, Sg, Sf, k, Obs)",
            &Parser::TakeReportLine},
           {"--observer", "CODE", "letters, digits, - and _, at most 16",
            "the observer's code in the report line", &Parser::TakeObserver},
           {"--seeing", "N", "a whole number 1 to 5",
            "the seeing, 1 excellent to 5 very poor, in the report line", &Parser::TakeSeeing},
           {"--month-file", "FILE", "a file name",
            "put the day's report line into this month file (made when missing; the line of the "
            "same date, UT and observer replaced)",
            &Parser::TakeMonthFile},
           {"--observation", "FILE", "a file name",
            "write the observation file (JSON: the image and its SHA-256, the time, the disk, "
            "spots, groups and counts); a file there that is not an observation is refused",
            &Parser::TakeObservationFile},
       }},
      {"An aligned sequence of images:",
       {
           {"--images", "FILE...", "one or more PNG, JPEG, TIFF or FITS files",
            "the observer's images of a sequence, in the order the frames should follow; "
            "every argument up to the next option is one",
            &Parser::TakeImages, true},
           {"--align", "", "",
            "write each of --images as a square frame into the folder --output DIR/: the disk "
            "centred, with one radius for all, solar north up, stamped with its time, as "
            "NAME-aligned.png (the geometry in text chunks) and NAME-aligned.fits (DATE-OBS, "
            "CRPIX, CDELT, CROTA2, RSUN_OBS, DSUN_OBS, HGLT_OBS, HGLN_OBS, CRLN_OBS); the disk, "
            "the instant and the camera's angle are read as for --image, and --orientation, "
            "--rotation or --site apply to every image; an image whose disk or time cannot be "
            "read is reported and skipped, and the run then ends with status 1; --rotate-to T "
            "with --model NAME de-rotates every frame to the instant T; --size N sets "
            "the frames' side (default " +
                std::to_string(kDefaultAlignedSide) + ")",
            &Parser::TakeAlign},
           {"--movie", "FILE.webp", "a file name ending in .webp",
            "with --align, also gather the frames into an animated WebP, ten frames a second",
            &Parser::TakeMovie},
       }},
      {"The printed page (PDF):",
       {
           {"--diameter", "LENGTH",
            "a length greater than 0 with its unit mm, cm or in, such as 150mm",
            "the disk's diameter on paper, the outer edge of its limb line, with its unit: "
            "150mm, 15cm or 5.9in (default 150mm); the page refuses a disk that does not fit "
            "it with the texts below",
            &Parser::TakeDiameter},
           {"--page", "A4|A3|Letter", "A4, A3 or Letter", "the paper, portrait (default A4)",
            &Parser::TakePage},
           {"--b0", "DEG", "a latitude in degrees, -90 to 90",
            "with --grid stonyhurst only: a template for this B0 alone, without an instant: "
            "the Stonyhurst grid with solar north up, and on a page \"B0 = ...\" below it "
            "instead of the readout",
            &Parser::TakeTemplateB0},
       }},
      {"The ephemeris:",
       {
           {"--ephemeris", "standard|precise", "standard or precise",
            "standard (the default): the window's low-precision theory, P and B0 to about "
            "0.01 deg, L0 to 0.15 deg, any instant; precise: ERFA's Earth (eraEpv00), IAU "
            "2006/2000B precession-nutation and the IAU rotation elements of the Sun, P, B0 "
            "and L0 to well under 1 arc second for 1900-01-01 to 2100-12-31 (UTC) only, as "
            "SunPy's sunpy.coordinates.sun: light time from the Sun's near surface, no "
            "stellar aberration in L0 and B0.  Its time scale: TAI - UTC from the "
            "leap-second table; before 1960 and after the table Delta T from Espenak & "
            "Meeus (NASA 2006), good to under a second before 1960 but a prediction after "
            "the table, uncertain by up to a minute or more by 2100 (L0 moves 0.59 arc "
            "seconds per second of time)",
            &Parser::TakeEphemeris},
           {"--aberration", "", "",
            "with --ephemeris precise: L0 and B0 with stellar aberration, as the "
            "Astronomical Almanac prints them (L0 about 20.5 arc seconds lower)",
            &Parser::TakeAberration},
       }},
      {"The readout:",
       {
           {"--readout", "", "",
            "print the ten readout texts, one a line, UTF-8, in the order JD, date, time, "
            "RA, Dec, distance, semi-diameter, P, B0, L0",
            &Parser::TakeReadout},
           {"--json", "", "",
            "print the instant as one JSON object instead of the readout texts: utc, jd, "
            "ra_hours, dec_deg, distance_au, semidiameter_arcsec, p_deg, b0_deg, l0_deg, "
            "carrington_rotation, carrington_fraction, orientation, the disk (cx, cy, radius "
            "in the picture's pixels) and, with --locate, the point, with --feature the feature",
            &Parser::TakeJson},
           {"--locate", "X,Y", "a pixel X,Y of the picture, two real numbers",
            "print what the pixel X,Y of the picture shows (x to the right, y downward, 0,0 "
            "the centre of the top-left pixel, at the chosen --size and --orientation): "
            "on_disk, latitude_deg, longitude_deg, cm_distance_deg (east negative), mu, rho "
            "(distance from the centre in disk radii) and position_angle_deg (from north "
            "through east), one name: value line each, - where undefined off the disk; the "
            "projection is the grid's own orthographic one",
            &Parser::TakeLocate},
           {"--feature", "B,L", "B,L in degrees, latitude -90 to 90, Carrington longitude 0 to 360",
            "print a feature at heliographic latitude B and Carrington longitude L at the "
            "instant: where the rotation law puts it at --rotate-to (latitude_deg, "
            "longitude_deg, cm_distance_deg, mu, x and y in the pixels of the picture at that "
            "instant, whose disk disk_cx, disk_cy and disk_radius give, visible on the "
            "hemisphere facing the Earth) and when it next crosses the central meridian and "
            "the west limb; with --json as the object \"feature\"",
            &Parser::TakeFeature},
           {"--rotate-to", "YYYY-MM-DDTHH:MM", "an instant in UT as YYYY-MM-DDTHH:MM",
            "carry the --feature, or the point under the --locate pixel, from the instant to "
            "this one (earlier or later) by the rotation law; the observer's view there comes "
            "from the ephemeris of that instant. --locate then adds the point's rotated_ "
            "lines, with --json the object \"rotated\" in \"point\"; with --align, the instant "
            "every frame is de-rotated to",
            &Parser::TakeRotateTo},
           {"--model", "NAME", RotationModelChoices(),
            "the rotation law: rigid (the Carrington rate), howard (the default), snodgrass "
            "or allen",
            &Parser::TakeModel},
           {"--decimal-separator", "C", "exactly one character",
            "the Julian day's decimal separator, one character (default: that of the user's "
            "locale)",
            &Parser::TakeDecimalSeparator},
       }},
      {"The ephemeris table:",
       {
           {"--table", "", "",
            "print the ephemeris for a run of instants instead of a picture, one row an "
            "instant, with the figures and names of --json (utc, jd, ra_hours, dec_deg, "
            "distance_au, semidiameter_arcsec, p_deg, b0_deg, l0_deg, carrington_rotation, "
            "carrington_fraction), at most " +
                std::to_string(kMostTableRows) +
                " rows; to standard output, or with --output FILE into that file",
            &Parser::TakeTable},
           {"--from", "YYYY-MM-DD[THH:MM]", "a date YYYY-MM-DD or an instant YYYY-MM-DDTHH:MM",
            "the first row's instant in UT (default: 1 January, 0 h, of the year of --year or "
            "of the local clock)",
            &Parser::TakeTableFrom},
           {"--to", "YYYY-MM-DD[THH:MM]", "a date YYYY-MM-DD or an instant YYYY-MM-DDTHH:MM",
            "the last instant the rows may reach, included (default: the end of 31 December "
            "of the year of --year, or else of --from, or else of the local clock)",
            &Parser::TakeTableTo},
           {"--step", "N{m|h|d}",
            "a whole number of at least 1 followed by m, h or d, such as 30m, 6h or 1d",
            "the time from one row to the next: N minutes, hours or days (default 1d); every "
            "row falls on a whole minute, counted from --from",
            &Parser::TakeTableStep},
       }},
      {"",
       {
           {"--help", "", "", "show this text", &Parser::TakeHelp},
           {"--version", "", "", "show the program's version", &Parser::TakeVersion},
       }},
  };
  return table;
}

constexpr std::size_t kHelpWidth = 78;
constexpr std::size_t kHelpIndent = 20;

// The words of `text` filled into lines of at most kHelpWidth columns,
// each indented by kHelpIndent, the first one following `lead`.
std::string FilledParagraph(const std::string& lead, const std::string& text) {
  std::string result = lead;
  std::size_t column = lead.size();
  // help2man and readers both need two blanks between an option and its
  // text.
  if (column + 2 > kHelpIndent) {
    result += "\n";
    column = 0;
  }
  bool lineEmpty = true;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find(' ', start);
    if (end == std::string::npos) end = text.size();
    const std::string word = text.substr(start, end - start);
    start = end + 1;
    if (!lineEmpty && column + 1 + word.size() > kHelpWidth) {
      result += "\n";
      column = 0;
      lineEmpty = true;
    }
    if (lineEmpty) {
      result.append(kHelpIndent - column, ' ');
      column = kHelpIndent;
    } else {
      result += ' ';
      ++column;
    }
    result += word;
    column += word.size();
    lineEmpty = false;
  }
  return result + "\n";
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& arguments, std::int32_t currentYear,
                             const std::string& localeDecimalSeparator) {
  return Parser(currentYear, localeDecimalSeparator).Parse(arguments);
}

std::string HelpText() {
  std::string text =
      "Usage: helidisk-render [options]\n\n"
      "Draws the Sun's disk with its heliographic grid, and the readout of the\n"
      "Julian day, date, time, RA, Dec, distance, semi-diameter, P, B0 and L0, for\n"
      "one instant -- the same picture and texts as the helidisk window.\n";
  for (const OptionSection& section : OptionTable()) {
    text += "\n";
    if (!section.heading.empty()) text += section.heading + "\n";
    for (const OptionSpec& option : section.options) {
      const std::string lead =
          "  " + option.name + (option.TakesValue() ? " " + option.valueName : "");
      text += FilledParagraph(lead, option.help);
    }
  }
  text +=
      "\nAt least one of --output, --readout, --json, --locate, --feature and --table is\n"
      "needed.\n"
      "A control narrower or shorter than 3 pixels leaves an image without pixels:\n"
      "a PNG is then refused, an SVG is written with width and height 0 and still\n"
      "lists every drawing operation.  A regular file is written to a temporary\n"
      "file beside it and renamed into place only when complete, keeping the\n"
      "permissions of the file it replaces; a named pipe or a device is written\n"
      "into directly.\n\n"
      "Exit status: 0 done, 1 the picture or table could not be computed or written,\n"
      "2 bad command line or an instant the chosen ephemeris does not serve\n"
      "(nothing is written), 141 the reader of standard output closed it before\n"
      "the end (as SIGPIPE would, without a message).\n";
  return text;
}

}  // namespace helidisk
