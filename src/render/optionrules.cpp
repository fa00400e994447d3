// The rules between options: which go together, which exclude each other,
// and what a combination implies once the whole command line is read.
#include <algorithm>

#include "checked.h"
#include "optionparser.h"

namespace helidisk::optionparsing {

namespace {

// A PNG cannot hold an image without pixels, and the image is two pixels
// narrower and shorter than the control.
constexpr std::int32_t kSmallestControlSideForPng = 3;

}  // namespace

bool Parser::CheckImageOptions() {
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

void Parser::CheckEphemeris() {
  const EphemerisChoice& ephemeris = line_.options.ephemeris;
  if (ephemeris.stellarAberration && ephemeris.theory != EphemerisTheory::Precise) {
    Reject(
        "--aberration applies to --ephemeris precise; the standard theory always includes "
        "aberration");
  }
}

bool Parser::RejectMisplacedOptions() {
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
           " is a table format and needs --table; a picture is png, svg, pdf, jpeg or fits");
    return true;
  }
  return false;
}

void Parser::CheckTable() {
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
  options.tableFormat =
      tableFormat_.value_or(TableFormatOfFileName(options.outputPath).value_or(TableFormat::Text));
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
    Reject("the table from " + range + " would have " + std::to_string(rows) + " rows, more than " +
           std::to_string(kMostTableRows) + "; shorten the range or lengthen --step");
  }
}

bool Parser::CheckAlignedSequence() {
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

void Parser::CheckCombination() {
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
      Reject(
          "--output -: standard output needs --format png, --format svg or --format pdf (with "
          "--image also jpeg or fits)");
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
           " has an unknown extension; use .png, .svg, .pdf, .jpg or .fits, or give --format");
    return;
  }
  options.format = *format_;
  const bool overImage = !options.imagePath.empty();
  if (!Holds(InfoOf(options.format),
             overImage ? PictureKind::ImageOverlay : PictureKind::DrawnDisk)) {
    Reject(options.imagePath.empty()
               ? "--output: a JPEG or FITS file is written only for --image, the drawn disk as "
                 "PNG, SVG or PDF"
               : "--output: the grid over an image is written as PNG, JPEG or FITS");
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

bool Parser::AnySpotOptionSeen() const {
  return std::any_of(std::begin(kSpotOptions), std::end(kSpotOptions),
                     [this](const char* name) { return Seen(name); });
}

void Parser::CheckDetect() {
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
  const bool doesSomething = options.printJson || options.spots.printReportLine ||
                             !options.outputPath.empty() || !options.spots.monthFilePath.empty() ||
                             !options.spots.observationPath.empty() ||
                             !options.spots.groupTablePath.empty();
  if (!doesSomething) {
    Reject(
        "nothing to do: --detect needs --json, --output FILE, --group-table FILE, "
        "--report-line, --month-file FILE or --observation FILE");
  }
}

bool Parser::CheckFeatureOptions() {
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

bool Parser::CheckTemplate() {
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

bool Parser::CheckPage() {
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

}  // namespace helidisk::optionparsing
