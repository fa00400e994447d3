#include "renderoptions.h"

#include <QList>
#include <QString>
#include <algorithm>
#include <cctype>
#include <charconv>
#include <set>

#include "astronom.h"
#include "checked.h"

namespace helidisk {

namespace {

constexpr std::int32_t kHoursPerDay = 24;
constexpr double kMinutesPerHour = 60.0;
constexpr int kMonthsPerYear = 12;
constexpr int kLongestMonthDays = 31;
constexpr int kLastHourOfDay = 23;
constexpr int kLastMinuteOfHour = 59;
// A PNG cannot hold an image without pixels, and the image is two pixels
// narrower and shorter than the control.
constexpr std::int32_t kSmallestControlSideForPng = 3;

struct OptionSpec {
  const char* name;
  bool takesValue;
};

constexpr OptionSpec kOptions[] = {
    {"--year", true},   {"--hour", true},     {"--at", true},
    {"--grid", true},   {"--size", true},     {"--output", true},
    {"--format", true}, {"--readout", false}, {"--decimal-separator", true},
    {"--help", false},  {"--version", false},
};

const OptionSpec* FindOption(const std::string& name) {
  for (const OptionSpec& option : kOptions) {
    if (name == option.name) return &option;
  }
  return nullptr;
}

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

bool IsDigits(const std::string& text, std::size_t first, std::size_t count) {
  if (first + count > text.size()) return false;
  return std::all_of(text.begin() + static_cast<std::ptrdiff_t>(first),
                     text.begin() + static_cast<std::ptrdiff_t>(first + count),
                     [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; });
}

std::int32_t TwoDigitsAt(const std::string& text, std::size_t first) {
  return (text[first] - '0') * 10 + (text[first + 1] - '0');
}

std::string Quoted(const std::string& text) { return "'" + text + "'"; }

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
      const OptionSpec* option = FindOption(name);
      if (option == nullptr) {
        Reject("unknown option " + Quoted(name));
      } else if (!seen_.insert(name).second) {
        Reject(name + " is given twice");
      } else if (!option->takesValue) {
        if (equals != std::string::npos) {
          Reject(name + " takes no value");
        } else {
          TakeFlag(name);
        }
      } else if (equals != std::string::npos) {
        TakeValue(name, argument.substr(equals + 1));
      } else if (i + 1 < arguments.size()) {
        TakeValue(name, arguments[++i]);
      } else {
        Reject(name + " needs a value: " + ValueDescription(name));
      }
    }
    if (!Finished()) CheckCombination();
    return line_;
  }

 private:
  bool Finished() const { return line_.action != CommandAction::Render; }

  void Reject(const std::string& error) {
    line_.action = CommandAction::Reject;
    line_.error = error;
  }

  static std::string ValueDescription(const std::string& name) {
    if (name == "--year") return "a whole year, -2147483648 to 2147483647";
    if (name == "--hour") return "a whole hour 0 to " + std::to_string(kLastHourPosition);
    if (name == "--at") return "an instant in UT as YYYY-MM-DDTHH:MM";
    if (name == "--grid") return "diff or fixed";
    if (name == "--size") {
      return "WIDTHxHEIGHT, each 1 to " + std::to_string(kLargestControlSide);
    }
    if (name == "--output") return "a file name ending in .png or .svg, or - for standard output";
    if (name == "--format") return "png or svg";
    return "exactly one character";  // --decimal-separator
  }

  void RejectValue(const std::string& name, const std::string& value) {
    Reject(name + ": " + Quoted(value) + " is not " + ValueDescription(name));
  }

  void TakeFlag(const std::string& name) {
    if (name == "--help") {
      line_.action = CommandAction::ShowHelp;
    } else if (name == "--version") {
      line_.action = CommandAction::ShowVersion;
    } else {
      line_.options.printReadout = true;
    }
  }

  void TakeValue(const std::string& name, const std::string& value) {
    if (name == "--year") {
      TakeYear(name, value);
    } else if (name == "--hour") {
      TakeHour(name, value);
    } else if (name == "--at") {
      TakeInstant(name, value);
    } else if (name == "--grid") {
      TakeGrid(name, value);
    } else if (name == "--size") {
      TakeSize(name, value);
    } else if (name == "--output") {
      if (value.empty()) RejectValue(name, value);
      line_.options.outputPath = value;
    } else if (name == "--format") {
      TakeFormat(name, value);
    } else {
      TakeDecimalSeparator(name, value);
    }
  }

  void TakeYear(const std::string& name, const std::string& value) {
    const auto year = ParseWholeNumber(value);
    if (!year || *year < INT32_MIN || *year > INT32_MAX) return RejectValue(name, value);
    line_.options.year = static_cast<std::int32_t>(*year);
  }

  void TakeHour(const std::string& name, const std::string& value) {
    const auto hour = ParseWholeNumber(value);
    if (!hour || *hour < 0 || *hour > kLastHourPosition) return RejectValue(name, value);
    line_.options.hourPosition = static_cast<double>(*hour);
  }

  // YYYY-MM-DDTHH:MM, the year with any number of digits and an optional
  // sign (astronomical numbering).  The date must exist in the calendar
  // that the Julian-day routines reckon in: Julian up to 4 October 1582,
  // Gregorian from 15 October 1582.
  void TakeInstant(const std::string& name, const std::string& value) {
    const std::size_t yearEnd = value.find('-', value.empty() || value[0] != '-' ? 0 : 1);
    constexpr std::size_t kTailLength = 12;  // "-MM-DDTHH:MM"
    if (yearEnd == std::string::npos || value.size() - yearEnd != kTailLength ||
        !IsDigits(value, yearEnd + 1, 2) || value[yearEnd + 3] != '-' ||
        !IsDigits(value, yearEnd + 4, 2) || value[yearEnd + 6] != 'T' ||
        !IsDigits(value, yearEnd + 7, 2) || value[yearEnd + 9] != ':' ||
        !IsDigits(value, yearEnd + 10, 2)) {
      return RejectValue(name, value);
    }
    const auto year = ParseWholeNumber(value.substr(0, yearEnd));
    if (!year || *year < INT32_MIN || *year > INT32_MAX) return RejectValue(name, value);
    const std::int32_t month = TwoDigitsAt(value, yearEnd + 1);
    const std::int32_t day = TwoDigitsAt(value, yearEnd + 4);
    const std::int32_t hour = TwoDigitsAt(value, yearEnd + 7);
    const std::int32_t minute = TwoDigitsAt(value, yearEnd + 10);
    if (month < 1 || month > kMonthsPerYear || day < 1 || day > kLongestMonthDays ||
        hour > kLastHourOfDay || minute > kLastMinuteOfHour) {
      return Reject(name + ": " + Quoted(value) +
                    " is not a valid instant (month 01-12, day 01-31, hour 00-23, minute 00-59)");
    }
    const auto daysSinceNewYear = DaysSinceNewYear(static_cast<std::int32_t>(*year), month, day);
    if (!daysSinceNewYear) {
      return Reject(name + ": " + Quoted(value) +
                    " is not a day of the calendar (Julian up to 1582-10-04, Gregorian from "
                    "1582-10-15)");
    }
    line_.options.year = static_cast<std::int32_t>(*year);
    // Whole days are exact differences of Julian days at 0 h, so a whole
    // hour gives exactly the scroll position of that hour.
    line_.options.hourPosition = *daysSinceNewYear * kHoursPerDay + hour + minute / kMinutesPerHour;
  }

  // The days from 1 January to the date, both at 0 h UT, if the date exists.
  static std::optional<double> DaysSinceNewYear(std::int32_t year, std::int32_t month,
                                                std::int32_t day) {
    try {
      double newYear = 0;
      double date = 0;
      DateToJulianDay(year, 1, 1, 0.0, 0.0, 0.0, newYear);
      DateToJulianDay(year, month, day, 0.0, 0.0, 0.0, date);
      std::int32_t backYear = 0, backMonth = 0, backDay = 0;
      double hours = 0, minutes = 0, seconds = 0;
      JulianDayToDate(backYear, backMonth, backDay, hours, minutes, seconds, date);
      if (backYear != year || backMonth != month || backDay != day) return std::nullopt;
      return date - newYear;
    } catch (const RunError&) {
      return std::nullopt;
    }
  }

  void TakeGrid(const std::string& name, const std::string& value) {
    if (value == "diff") {
      line_.options.differentialGrid = true;
    } else if (value == "fixed") {
      line_.options.differentialGrid = false;
    } else {
      RejectValue(name, value);
    }
  }

  void TakeSize(const std::string& name, const std::string& value) {
    const std::size_t cross = value.find('x');
    if (cross == std::string::npos) return RejectValue(name, value);
    const auto width = ParseWholeNumber(value.substr(0, cross));
    const auto height = ParseWholeNumber(value.substr(cross + 1));
    const auto fits = [](const std::optional<std::int64_t>& side) {
      return side && *side >= 1 && *side <= kLargestControlSide;
    };
    if (!fits(width) || !fits(height)) return RejectValue(name, value);
    line_.options.controlWidth = static_cast<std::int32_t>(*width);
    line_.options.controlHeight = static_cast<std::int32_t>(*height);
  }

  void TakeFormat(const std::string& name, const std::string& value) {
    if (value == "png") {
      format_ = PictureFormat::Png;
    } else if (value == "svg") {
      format_ = PictureFormat::Svg;
    } else {
      RejectValue(name, value);
    }
  }

  void TakeDecimalSeparator(const std::string& name, const std::string& value) {
    const QString separator = QString::fromUtf8(value);
    const bool validUtf8 = separator.toUtf8().toStdString() == value;
    const QList<uint> characters = separator.toUcs4();
    if (!validUtf8 || characters.size() != 1 || !QChar::isPrint(characters[0])) {
      return RejectValue(name, value);
    }
    line_.options.decimalSeparator = value;
  }

  void CheckCombination() {
    RenderOptions& options = line_.options;
    if (seen_.count("--at") != 0 && (seen_.count("--year") != 0 || seen_.count("--hour") != 0)) {
      Reject(
          "--at names the year and the hour itself; it cannot be combined with --year or "
          "--hour");
      return;
    }
    if (options.outputPath.empty()) {
      if (format_) {
        Reject("--format only applies together with --output");
      } else if (!options.printReadout) {
        Reject("nothing to do: give --output FILE, --readout, or both");
      }
      return;
    }
    if (options.outputPath == "-") {
      if (!format_) {
        Reject("--output -: standard output needs --format png or --format svg");
        return;
      }
      if (options.printReadout) {
        Reject("--readout cannot share standard output with --output -");
        return;
      }
    }
    if (!format_) format_ = FormatOfFileName(options.outputPath);
    if (!format_) {
      Reject("--output: " + Quoted(options.outputPath) +
             " has an unknown extension; use .png or .svg, or give --format png|svg");
      return;
    }
    options.format = *format_;
    if (options.format == PictureFormat::Png &&
        (options.controlWidth < kSmallestControlSideForPng ||
         options.controlHeight < kSmallestControlSideForPng)) {
      Reject(
          "--size: a PNG needs a picture control of at least 3x3, since the image is two "
          "pixels narrower and shorter than the control and a PNG cannot be empty");
    }
  }

  CommandLine line_;
  std::set<std::string> seen_;
  std::optional<PictureFormat> format_;
};

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& arguments, std::int32_t currentYear,
                             const std::string& localeDecimalSeparator) {
  return Parser(currentYear, localeDecimalSeparator).Parse(arguments);
}

std::optional<PictureFormat> FormatOfFileName(const std::string& fileName) {
  const QString suffix = QString::fromUtf8(fileName).section('.', -1).toLower();
  if (!fileName.empty() && fileName.find('.') != std::string::npos) {
    if (suffix == "png") return PictureFormat::Png;
    if (suffix == "svg") return PictureFormat::Svg;
  }
  return std::nullopt;
}

std::string HelpText() {
  return R"(Usage: helidisk-render [options]

Draws the Sun's disk with its heliographic grid, and the readout of the
Julian day, date, time, RA, Dec, distance, semi-diameter, P, B0 and L0, for
one instant -- the same picture and texts as the helidisk window.

Choosing the instant (UT):
  --year Y          the year whose 1 January, 0 h UT, is hour 0 (default: the
                    year of the local clock); any whole year, numbered
                    astronomically (0 = 1 BC); a year beyond the reach of the
                    calendar routines fails with their run-time error
  --hour H          whole hours since then, 0 to 8736 (default 0), as the
                    window's scroll bar
  --at YYYY-MM-DDTHH:MM
                    any instant to the minute instead; the year is the
                    instant's and the hours since its 1 January, 0 h UT, are
                    a real number; cannot be combined with --year or --hour

The picture:
  --grid diff|fixed differentially rotating (default) or rigid grid
  --size WxH        size of the window's picture control, each side 1 to
                    20000 (default 1000x628); the image is two pixels
                    narrower and shorter (998x626 by default) and the disk
                    sits where the window puts it
  --output FILE     write the picture: FILE.png as a raster image, FILE.svg as
                    a vector drawing with one element per drawing operation;
                    - writes to standard output and then needs --format
  --format png|svg  the picture format, overriding the file name's extension
  A control narrower or shorter than 3 pixels leaves an image without
  pixels: a PNG is then refused (exit status 2), an SVG is written with
  width and height 0 and still lists every drawing operation.

The readout:
  --readout         print the ten readout texts, one a line, UTF-8, in the
                    order JD, date, time, RA, Dec, distance, semi-diameter,
                    P, B0, L0
  --decimal-separator C
                    the Julian day's decimal separator, one character
                    (default: that of the user's locale)

  --help            show this text
  --version         show the program's version

At least one of --output and --readout is needed.  A file is written to a
temporary file beside it and renamed into place only when complete.

Exit status: 0 done, 1 the picture could not be computed or written,
2 bad command line (nothing is written).
)";
}

}  // namespace helidisk
