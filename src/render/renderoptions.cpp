// The command line read option by option: each value checked as it is
// taken, the rules between options applied once all are read.
#include "renderoptions.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "checked.h"
#include "optionparser.h"
#include "redraw.h"
#include "unicodetext.h"

namespace helidisk {

namespace optionparsing {

namespace {

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

// "U+0007": a character named without writing it to the terminal.
std::string CodePointName(char32_t character) {
  char name[16];
  std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(character));
  return name;
}

}  // namespace

std::string Quoted(const std::string& text) { return "'" + text + "'"; }

// The table format that a file name's extension names, if any.
std::optional<TableFormat> TableFormatOfFileName(const std::string& fileName) {
  const std::string suffix = SuffixOf(fileName);
  if (suffix == "csv") return TableFormat::Csv;
  if (suffix == "json") return TableFormat::Json;
  return std::nullopt;
}

Parser::Parser(std::int32_t currentYear, const std::string& localeDecimalSeparator) {
  line_.options.year = currentYear;
  line_.options.decimalSeparator = localeDecimalSeparator;
}

CommandLine Parser::Parse(const std::vector<std::string>& arguments) {
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

void Parser::TakeValues(const OptionSpec& option, const std::vector<std::string>& arguments,
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

void Parser::TakeYear(const OptionSpec& option, const std::string& value) {
  const auto year = ParseWholeNumber(value);
  if (!year || *year < INT32_MIN || *year > INT32_MAX) return RejectValue(option, value);
  line_.options.year = static_cast<std::int32_t>(*year);
}

void Parser::TakeHour(const OptionSpec& option, const std::string& value) {
  const auto hour = ParseWholeNumber(value);
  if (!hour || *hour < 0 || *hour > kLastHourPosition) return RejectValue(option, value);
  line_.options.hourPosition = static_cast<double>(*hour);
}

void Parser::TakeInstant(const OptionSpec& option, const std::string& value) {
  const std::optional<InstantText> parsed = InstantIn(option, value, false);
  if (!parsed) return;
  line_.options.year = parsed->instant.year;
  // A year beyond the calendar fails in the redraw with the calendar's
  // run-time error, as it does when given with --year.
  line_.options.hourPosition =
      parsed->fault == InstantTextFault::BeyondTheCalendar ? 0 : HoursSinceNewYear(parsed->instant);
  line_.options.instantGiven = true;
}

void Parser::TakeTable(const OptionSpec& /*option*/, const std::string& /*value*/) {
  line_.options.printTable = true;
}

void Parser::TakeTableFrom(const OptionSpec& option, const std::string& value) {
  const std::optional<InstantText> parsed = InstantIn(option, value, true);
  if (parsed) tableFrom_ = parsed->instant;
}

void Parser::TakeTableTo(const OptionSpec& option, const std::string& value) {
  const std::optional<InstantText> parsed = InstantIn(option, value, true);
  if (parsed) tableTo_ = parsed->instant;
}

void Parser::TakeTableStep(const OptionSpec& option, const std::string& value) {
  const std::optional<std::int64_t> minutes = ParseStepMinutes(value);
  if (!minutes) return RejectValue(option, value);
  line_.options.tableStepMinutes = *minutes;
}

void Parser::TakeGrid(const OptionSpec& option, const std::string& value) {
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

void Parser::TakeOrientation(const OptionSpec& option, const std::string& value) {
  const std::optional<Orientation> orientation = OrientationNamed(value);
  if (!orientation) return RejectValue(option, value);
  line_.options.orientation = *orientation;
  line_.options.orientationGiven = true;
}

void Parser::TakeImage(const OptionSpec& option, const std::string& value) {
  if (value.empty()) return RejectValue(option, value);
  line_.options.imagePath = value;
}

void Parser::TakeRotation(const OptionSpec& option, const std::string& value) {
  const auto degrees = ParseFiniteReal(value);
  if (!degrees || std::fabs(*degrees) > kLargestRotationDeg) return RejectValue(option, value);
  line_.options.rotationDeg = *degrees;
}

void Parser::TakeSite(const OptionSpec& option, const std::string& value) {
  const std::size_t comma = value.find(',');
  if (comma == std::string::npos) return RejectValue(option, value);
  const auto latitude = ParseFiniteReal(value.substr(0, comma));
  const auto longitude = ParseFiniteReal(value.substr(comma + 1));
  if (!latitude || !longitude || std::fabs(*latitude) > 90 || std::fabs(*longitude) > 180) {
    return RejectValue(option, value);
  }
  line_.options.site = Site{*latitude, *longitude};
}

void Parser::TakeSize(const OptionSpec& option, const std::string& value) {
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

void Parser::TakeAlignedSide(const OptionSpec& option, const std::string& value) {
  const auto side = ParseWholeNumber(value);
  if (!side || *side < kSmallestAlignedSide || *side > kLargestAlignedSide) {
    return RejectValue(option, value);
  }
  line_.options.alignSidePx = static_cast<std::int32_t>(*side);
  alignedSideGiven_ = true;
}

void Parser::TakeImages(const OptionSpec& option, const std::string& value) {
  if (value.empty()) return RejectValue(option, value);
  line_.options.imagePaths.push_back(value);
}

void Parser::TakeAlign(const OptionSpec& /*option*/, const std::string& /*value*/) {
  line_.options.align = true;
}

void Parser::TakeMovie(const OptionSpec& option, const std::string& value) {
  if (value.empty()) return RejectValue(option, value);
  line_.options.moviePath = value;
}

void Parser::TakeOutput(const OptionSpec& option, const std::string& value) {
  if (value.empty()) return RejectValue(option, value);
  line_.options.outputPath = value;
}

void Parser::TakeFormat(const OptionSpec& option, const std::string& value) {
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

void Parser::TakeDiameter(const OptionSpec& option, const std::string& value) {
  const std::optional<double> diameterMm = ParseLengthMm(value);
  if (!diameterMm || !(*diameterMm > 0)) return RejectValue(option, value);
  line_.options.page.diameterMm = *diameterMm;
}

void Parser::TakePage(const OptionSpec& option, const std::string& value) {
  const std::optional<PaperSize> paper = PaperSizeNamed(value);
  if (!paper) return RejectValue(option, value);
  line_.options.page.paper = *paper;
}

void Parser::TakeTemplateB0(const OptionSpec& option, const std::string& value) {
  constexpr double kPoleDeg = 90;
  const std::optional<double> b0Deg = ParseFiniteReal(value);
  if (!b0Deg || std::abs(*b0Deg) > kPoleDeg) return RejectValue(option, value);
  line_.options.templateB0Deg = *b0Deg;
}

void Parser::TakeEphemeris(const OptionSpec& option, const std::string& value) {
  const std::optional<EphemerisTheory> theory = EphemerisTheoryNamed(value);
  if (!theory) return RejectValue(option, value);
  line_.options.ephemeris.theory = *theory;
}

void Parser::TakeAberration(const OptionSpec& /*option*/, const std::string& /*value*/) {
  line_.options.ephemeris.stellarAberration = true;
}

void Parser::TakeReadout(const OptionSpec& /*option*/, const std::string& /*value*/) {
  line_.options.printReadout = true;
}

void Parser::TakeLocate(const OptionSpec& option, const std::string& value) {
  const std::size_t comma = value.find(',');
  if (comma == std::string::npos) return RejectValue(option, value);
  const auto x = ParseFiniteReal(value.substr(0, comma));
  const auto y = ParseFiniteReal(value.substr(comma + 1));
  if (!x || !y) return RejectValue(option, value);
  line_.options.locate = PixelQuery{*x, *y};
}

void Parser::TakeFeature(const OptionSpec& option, const std::string& value) {
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

void Parser::TakeRotateTo(const OptionSpec& option, const std::string& value) {
  const std::optional<InstantText> parsed = InstantIn(option, value, false);
  if (!parsed) return;
  // Beyond the calendar the redraw at that instant fails with the
  // calendar's run-time error, as --at does.
  const double hours =
      parsed->fault == InstantTextFault::BeyondTheCalendar ? 0 : HoursSinceNewYear(parsed->instant);
  line_.options.rotateTo = YearHours{parsed->instant.year, hours};
}

void Parser::TakeModel(const OptionSpec& option, const std::string& value) {
  if (RotationModelNamed(value) == nullptr) return RejectValue(option, value);
  line_.options.rotationModel = value;
}

void Parser::TakeJson(const OptionSpec& /*option*/, const std::string& /*value*/) {
  line_.options.printJson = true;
}

void Parser::TakeDecimalSeparator(const OptionSpec& option, const std::string& value) {
  const std::optional<char32_t> single = SingleCodePoint(value);
  if (!single) return RejectValue(option, value);
  const char32_t character = *single;
  if (!IsPrintable(character)) {
    return Reject(option.name + ": " + CodePointName(character) + " is not a printable character");
  }
  if (!UsableAsDecimalSeparator(character)) {
    const bool plainAscii = character > U' ' && character < 0x7F;
    return Reject(option.name + ": " + (plainAscii ? Quoted(value) : CodePointName(character)) +
                  " cannot separate the decimals: digits, signs, blanks, line breaks and "
                  "combining marks would change or split the number");
  }
  line_.options.decimalSeparator = value;
}

void Parser::TakeDetect(const OptionSpec& /*option*/, const std::string& /*value*/) {
  line_.options.spots.detect = true;
}

void Parser::TakeTableFormat(const OptionSpec& option, const std::string& value) {
  if (value == "csv") {
    line_.options.spots.tableFormat = TableFormat::Csv;
  } else if (value == "json") {
    line_.options.spots.tableFormat = TableFormat::Json;
  } else {
    RejectValue(option, value);
  }
}

void Parser::TakeFraction(const OptionSpec& option, const std::string& value, double& fraction) {
  const auto parsed = ParseFiniteReal(value);
  if (!parsed || !(*parsed > 0 && *parsed < 1)) return RejectValue(option, value);
  fraction = *parsed;
}

void Parser::TakePenumbra(const OptionSpec& option, const std::string& value) {
  TakeFraction(option, value, line_.options.spots.detection.penumbraFraction);
}

void Parser::TakeUmbra(const OptionSpec& option, const std::string& value) {
  TakeFraction(option, value, line_.options.spots.detection.umbraFraction);
}

void Parser::TakeMinimumSpot(const OptionSpec& option, const std::string& value) {
  constexpr std::int64_t kLargestMinimumPx = 100000;
  const auto pixels = ParseWholeNumber(value);
  if (!pixels || *pixels < 1 || *pixels > kLargestMinimumPx) return RejectValue(option, value);
  line_.options.spots.detection.minimumSpotPx = static_cast<int>(*pixels);
}

void Parser::TakeGroupDistance(const OptionSpec& option, const std::string& value) {
  constexpr double kWidestLinkDeg = 30;
  const auto degrees = ParseFiniteReal(value);
  if (!degrees || !(*degrees > 0) || *degrees > kWidestLinkDeg) return RejectValue(option, value);
  line_.options.spots.linkDistanceDeg = *degrees;
}

void Parser::TakeK(const OptionSpec& option, const std::string& value) {
  constexpr double kLargestK = 10;
  const auto k = ParseFiniteReal(value);
  if (!k || !(*k > 0) || *k > kLargestK) return RejectValue(option, value);
  line_.options.spots.k = *k;
}

void Parser::TakeReportLine(const OptionSpec& /*option*/, const std::string& /*value*/) {
  line_.options.spots.printReportLine = true;
}

void Parser::TakeObserver(const OptionSpec& option, const std::string& value) {
  constexpr std::size_t kLongestCode = 16;
  const bool plain = !value.empty() && value.size() <= kLongestCode &&
                     std::all_of(value.begin(), value.end(), [](unsigned char c) {
                       return std::isalnum(c) != 0 || c == '-' || c == '_';
                     });
  if (!plain) return RejectValue(option, value);
  line_.options.spots.observerCode = value;
}

void Parser::TakeSeeing(const OptionSpec& option, const std::string& value) {
  const auto seeing = ParseWholeNumber(value);
  if (!seeing || *seeing < 1 || *seeing > 5) return RejectValue(option, value);
  line_.options.spots.seeing = static_cast<int>(*seeing);
}

void Parser::TakeMonthFile(const OptionSpec& option, const std::string& value) {
  if (value.empty()) return RejectValue(option, value);
  line_.options.spots.monthFilePath = value;
}

void Parser::TakeGroupTable(const OptionSpec& option, const std::string& value) {
  const std::optional<TableFormat> format = TableFormatOfFileName(value);
  if (!format) return RejectValue(option, value);
  line_.options.spots.groupTablePath = value;
  line_.options.spots.groupTableFormat = *format;
}

void Parser::TakeObservationFile(const OptionSpec& option, const std::string& value) {
  if (value.empty()) return RejectValue(option, value);
  line_.options.spots.observationPath = value;
}

void Parser::TakeHelp(const OptionSpec& /*option*/, const std::string& /*value*/) {
  line_.action = CommandAction::ShowHelp;
}

void Parser::TakeVersion(const OptionSpec& /*option*/, const std::string& /*value*/) {
  line_.action = CommandAction::ShowVersion;
}

const OptionSpec* Parser::Find(const std::string& name) {
  for (const OptionSection& section : OptionTable()) {
    for (const OptionSpec& option : section.options) {
      if (option.name == name) return &option;
    }
  }
  return nullptr;
}

void Parser::Reject(const std::string& error) {
  line_.action = CommandAction::Reject;
  line_.error = error;
}

void Parser::RejectValue(const OptionSpec& option, const std::string& value) {
  Reject(option.name + ": " + Quoted(value) + " is not " + option.accepts);
}

std::optional<InstantText> Parser::InstantIn(const OptionSpec& option, const std::string& value,
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

}  // namespace optionparsing

CommandLine ParseCommandLine(const std::vector<std::string>& arguments, std::int32_t currentYear,
                             const std::string& localeDecimalSeparator) {
  return optionparsing::Parser(currentYear, localeDecimalSeparator).Parse(arguments);
}

}  // namespace helidisk
