#include "renderrun.h"

#include <dlfcn.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <ctime>
#include <filesystem>
#include <new>

#include "checked.h"
#include "drawnpicture.h"
#include "ephemeristable.h"
#include "featurereport.h"
#include "instantseries.h"
#include "outputfile.h"
#include "pictureerror.h"
#include "picturemodule.h"
#include "sun.h"
#include "textfields.h"
#include "unicodetext.h"

namespace helidisk {

namespace {

// The rows rise in time: the first and the last show whether the chosen
// theory serves them all, before any is computed.
void RequireServedSeries(const InstantSeries& series, const EphemerisChoice& ephemeris) {
  if (series.count == 0) return;
  for (const UtcMinute& instant : {series.first, InstantAt(series, series.count - 1)}) {
    const double julianDay = JulianDayOfInstant(instant);
    if (!ChoiceServes(ephemeris, julianDay)) {
      throw EphemerisRangeError(OutsidePreciseRangeMessage(julianDay));
    }
  }
}

// The whole table is computed before anything is written, so that a row
// the theory cannot serve leaves nothing behind.
int RenderTable(const RenderOptions& options, std::FILE* out, std::FILE* err) {
  std::string table;
  try {
    const InstantSeries series =
        SeriesFromTo(options.tableFrom, options.tableTo, options.tableStepMinutes);
    RequireServedSeries(series, options.ephemeris);
    if (const auto year = YearOfUnknownAccuracy(series)) WarnOfUnknownAccuracy(err, *year);
    table = EphemerisTable(series, options.tableFormat, options.ephemeris);
  } catch (const RunError& error) {
    PrintTo(err, std::string(kRendererName) + ": the table failed: " + error.what() + "\n");
    return kExitFailure;
  }
  return WriteResult(options.outputPath, table, out, err);
}

// The readout, JSON or a located point of one instant, without a picture.
int RenderText(const RenderOptions& options, std::FILE* out, std::FILE* err) {
  if (!AccuracyKnownFor(options.year)) WarnOfUnknownAccuracy(err, options.year);
  WarnOfUnknownAccuracyAtRotation(options, err);
  const RedrawResult result = InstantResultsOf(options);
  if (const int failed = FailUnlessPlausible(result.sun, err)) return failed;
  const std::string text = TextOf(options, result, options.orientation, std::nullopt);
  return text.empty() ? 0 : WriteToStandardOutput(out, err, text);
}

// The drawn disk as a PNG or an SVG drawing, made without loading Qt.
int RenderDrawnPicture(const RenderOptions& options, std::FILE* out, std::FILE* err) {
  WarnOfUnknownAccuracyOfPicture(options, err);
  RedrawResult result;
  const std::string picture = DrawnPictureBytes(options, options.format, result);
  return WritePictureAndTexts(
      options, result, picture,
      [&] { return TextOf(options, result, options.orientation, std::nullopt); }, out, err);
}

// The picture module beside the program (in the build) or in the program's
// own library folder (installed).
std::filesystem::path PictureModulePath() {
  std::error_code error;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
  const std::filesystem::path folder = program.parent_path();
  std::filesystem::path beside = folder / HELIDISK_PICTURE_MODULE;
  if (std::filesystem::exists(beside, error)) return beside;
  return (folder / HELIDISK_PICTURE_MODULE_FROM_PROGRAM / HELIDISK_PICTURE_MODULE)
      .lexically_normal();
}

int RunPictureModule(const RenderOptions& options, std::FILE* out, std::FILE* err) {
  const std::filesystem::path path = PictureModulePath();
  void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  const auto entry = module == nullptr
                         ? nullptr
                         : reinterpret_cast<PictureModuleEntry>(dlsym(module, kPictureModuleEntry));
  if (entry == nullptr) {
    const char* reason = dlerror();
    PrintTo(err, std::string(kRendererName) + ": cannot load the picture module '" + path.string() +
                     "': " + (reason != nullptr ? reason : "no entry point") + "\n");
    return kExitFailure;
  }
  // The module stays loaded to the end: Qt's clean-up runs at exit.
  return entry(HELIDISK_VERSION_TEXT, sizeof(RenderOptions), &options, out, err);
}

std::int32_t CurrentLocalYear() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  constexpr std::int32_t kTmYearBase = 1900;
  return local.tm_year + kTmYearBase;
}

}  // namespace

int ReportingFailures(std::FILE* err, const std::function<int()>& work) {
  const std::string program(kRendererName);
  try {
    return work();
  } catch (const RunError& error) {
    PrintTo(err, program + ": the redraw failed: " + error.what() + "\n");
  } catch (const PictureError& error) {
    PrintTo(err, program + ": " + error.what() + "\n");
  } catch (const EphemerisRangeError& error) {
    PrintTo(err, program + ": " + error.what() + "\n");
    return kExitUsage;
  } catch (const std::bad_alloc&) {
    PrintTo(err, program + ": not enough memory\n");
  } catch (const std::exception& error) {
    PrintTo(err, program + ": " + error.what() + "\n");
  }
  return kExitFailure;
}

void PrintTo(std::FILE* stream, const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), stream);
}

int WriteToStandardOutput(std::FILE* out, std::FILE* err, std::string_view bytes) {
  if (std::fwrite(bytes.data(), 1, bytes.size(), out) != bytes.size() || std::fflush(out) != 0) {
    // A reader that has read enough (`| head -1`) closes the pipe: the run
    // ends quietly, with the status of a program that SIGPIPE stopped.
    if (errno == EPIPE) return kExitReaderGone;
    PrintTo(err, std::string(kRendererName) + ": cannot write to standard output\n");
    return kExitFailure;
  }
  return 0;
}

int WriteResult(const std::string& path, std::string_view bytes, std::FILE* out, std::FILE* err) {
  if (path.empty() || path == "-") return WriteToStandardOutput(out, err, bytes);
  std::string reason;
  if (!WriteOutputFile(path, bytes, reason)) {
    PrintTo(err, std::string(kRendererName) + ": cannot write '" + path + "': " + reason + "\n");
    return kExitFailure;
  }
  return 0;
}

void WarnOfUnknownAccuracyAtRotation(const RenderOptions& options, std::FILE* err) {
  if (options.rotateTo && !AccuracyKnownFor(options.rotateTo->year)) {
    WarnOfUnknownAccuracy(err, options.rotateTo->year);
  }
}

void WarnOfUnknownAccuracyOfPicture(const RenderOptions& options, std::FILE* err) {
  if (!options.templateB0Deg && !AccuracyKnownFor(options.year)) {
    WarnOfUnknownAccuracy(err, options.year);
  }
  WarnOfUnknownAccuracyAtRotation(options, err);
}

void WarnOfUnknownAccuracy(std::FILE* err, std::int32_t year) {
  PrintTo(err, std::string(kRendererName) +
                   ": warning: the accuracy of the solar theory is unknown for the year " +
                   std::to_string(year) + " (known for " +
                   std::to_string(kFirstYearOfKnownAccuracy) + " to " +
                   std::to_string(kLastYearOfKnownAccuracy) + ")\n");
}

int FailUnlessPlausible(const SunEphemeris& sun, std::FILE* err) {
  if (PlausibleSunDistance(sun.distanceAu)) return 0;
  PrintTo(err, std::string(kRendererName) + ": the solar theory fails for this instant: it puts " +
                   "the Sun " + ExactNumber(sun.distanceAu) + " AU from the Earth\n");
  return kExitFailure;
}

int WritePictureAndTexts(const RenderOptions& options, const RedrawResult& result,
                         std::string_view picture, const std::function<std::string()>& textsOf,
                         std::FILE* out, std::FILE* err) {
  // A template has no instant whose Sun could fail.
  if (!options.templateB0Deg) {
    if (const int failed = FailUnlessPlausible(result.sun, err)) return failed;
  }
  // The texts first: a run that cannot compute them writes no picture.
  const std::string text = textsOf();
  if (!options.outputPath.empty()) {
    if (const int failed = WriteResult(options.outputPath, picture, out, err)) return failed;
  }
  return text.empty() ? 0 : WriteToStandardOutput(out, err, text);
}

std::string TextOf(const RenderOptions& options, const RedrawResult& result,
                   Orientation orientation, const std::optional<ImageReport>& image,
                   const FrameAtInstant& frameAt) {
  const std::optional<FeatureReport> feature = FeatureReportOf(options, result, frameAt);
  if (options.printJson) return JsonText(result, orientation, options.locate, image, feature);
  std::string text;
  if (options.printReadout) {
    for (const std::string& line : result.readout) text += line + "\n";
  }
  if (options.locate) {
    text += LocateText(*options.locate, Locate(result.frame, options.locate->x, options.locate->y));
  }
  if (feature) text += FeatureText(*feature);
  return text;
}

bool DrawsDiskWithoutQt(const RenderOptions& options) {
  const PictureFormatInfo& format = InfoOf(options.format);
  return !options.printTable && !options.outputPath.empty() && options.imagePath.empty() &&
         !options.align && format.holdsDrawnDisk && !format.holdsPage;
}

bool NeedsPictureModule(const RenderOptions& options) {
  return !options.printTable && !DrawsDiskWithoutQt(options) &&
         (!options.outputPath.empty() || !options.imagePath.empty());
}

int RunRenderer(const std::vector<std::string>& arguments, std::FILE* out, std::FILE* err) {
  const CommandLine line =
      ParseCommandLine(arguments, CurrentLocalYear(), LocaleDecimalSeparator());
  switch (line.action) {
    case CommandAction::ShowHelp:
      return WriteToStandardOutput(out, err, HelpText());
    case CommandAction::ShowVersion:
      return WriteToStandardOutput(out, err,
                                   std::string(kRendererName) + " " + HELIDISK_VERSION_TEXT + "\n");
    case CommandAction::Reject:
      PrintTo(err, std::string(kRendererName) + ": " + line.error + "\nTry '" + kRendererName +
                       " --help' for the options and their ranges.\n");
      return kExitUsage;
    case CommandAction::Render:
      break;
  }
  const RenderOptions& options = line.options;
  if (options.printTable) {
    return ReportingFailures(err, [&] { return RenderTable(options, out, err); });
  }
  if (DrawsDiskWithoutQt(options)) {
    return ReportingFailures(err, [&] { return RenderDrawnPicture(options, out, err); });
  }
  if (NeedsPictureModule(options)) return RunPictureModule(options, out, err);
  return ReportingFailures(err, [&] { return RenderText(options, out, err); });
}

}  // namespace helidisk
