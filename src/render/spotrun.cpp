#include "spotrun.h"

#include <QFile>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

#include "ephemerisrecord.h"
#include "observationfile.h"
#include "outputfile.h"
#include "renderrun.h"
#include "spotimage.h"
#include "spotreport.h"
#include "trigfunc.h"

namespace helidisk {

namespace {

using Json = nlohmann::ordered_json;

struct SpotResult {
  Detection detection;
  std::vector<SpotGroup> groups;
  SunspotCounts counts;
};

// What already stands at a path: nothing (empty), or its bytes.  A file
// that is there but cannot be read raises SpotError, so that it is not
// taken for a new one and replaced.
std::optional<std::string> ExistingFile(const std::string& path) {
  std::error_code error;
  if (!std::filesystem::exists(path, error)) return std::nullopt;
  if (!std::filesystem::is_regular_file(path, error)) return std::nullopt;
  std::ifstream file(path, std::ios::binary);
  if (!file.is_open()) throw SpotError("it cannot be read");
  std::stringstream bytes;
  bytes << file.rdbuf();
  if (file.bad()) throw SpotError("it cannot be read");
  return bytes.str();
}

DailyReport ReportOf(const RedrawResult& result, const RenderOptions& options,
                     const SunspotCounts& counts) {
  const std::string utc = UtcMinuteText(result.instant);
  const std::size_t t = utc.find('T');
  return {utc.substr(0, t), utc.substr(t + 1, utc.size() - t - 2), options.spots.seeing, counts,
          options.spots.observerCode};
}

SunspotObservation ObservationOf(const SolarImage& image, const RedrawResult& result,
                                 Orientation orientation, const ImageReport& imageReport,
                                 const RenderOptions& options, const SpotResult& spots) {
  SunspotObservation observation;
  observation.imagePath = std::filesystem::absolute(image.path.toStdString()).string();
  observation.imageSha256 = FileSha256(image.path);
  observation.imageWidthPx = imageReport.widthPx;
  observation.imageHeightPx = imageReport.heightPx;
  observation.utc = UtcMinuteText(result.instant);
  observation.julianDay = result.sun.julianDay;
  observation.disk = {imageReport.centreXPx,        imageReport.centreYPx,
                      imageReport.radiusPx,         result.sun.pRad * RadToDeg,
                      result.sun.b0Rad * RadToDeg,  result.sun.l0Rad * RadToDeg,
                      OrientationName(orientation), imageReport.rotationDeg};
  observation.detection = options.spots.detection;
  observation.linkDistanceDeg = options.spots.linkDistanceDeg;
  observation.spots = spots.detection.spots;
  observation.groups = spots.groups;
  observation.counts = spots.counts;
  observation.observerCode = options.spots.observerCode;
  observation.seeing = options.spots.seeing;
  return observation;
}

Json QuietDiskJson(const QuietDiskProfile& quiet) {
  return {{"law", quiet.fitted ? "fitted cubic in mu" : "Allen 0.55 um"},
          {"coefficients", quiet.coefficients}};
}

// One file to write, its contents made before any is written.
struct PendingFile {
  std::string path;
  std::string bytes;
};

int Refuse(std::FILE* err, const std::string& text) {
  PrintTo(err, std::string(kRendererName) + ": " + text + "\n");
  return kExitFailure;
}

}  // namespace

int ReportSpots(const SolarImage& image, const ImageReport& imageReport, const RedrawResult& result,
                Orientation orientation, const RenderOptions& options, std::FILE* out,
                std::FILE* err) {
  const std::string imageName = image.path.toStdString();
  const SpotRunOptions& spotOptions = options.spots;
  SpotResult spots;
  std::vector<PendingFile> files;
  std::string printed;
  try {
    const QImage grey = BrightestChannel(image.display);
    spots.detection = DetectSpots(GreyViewOf(grey), result.frame, spotOptions.detection);
    spots.groups = GroupSpots(spots.detection.spots, spotOptions.linkDistanceDeg);
    spots.counts = CountSunspots(spots.groups, spotOptions.k);
    const DailyReport report = ReportOf(result, options, spots.counts);
    if (!spotOptions.monthFilePath.empty()) {
      try {
        const std::string existing = ExistingFile(spotOptions.monthFilePath).value_or("");
        files.push_back({spotOptions.monthFilePath, MergeIntoMonthFile(existing, report)});
      } catch (const SpotError& error) {
        return Refuse(err,
                      spotOptions.monthFilePath + ": " + error.what() + "; it is left as it is");
      }
    }
    if (!spotOptions.observationPath.empty()) {
      try {
        if (const auto existing = ExistingFile(spotOptions.observationPath)) {
          ParseObservation(*existing);
        }
      } catch (const SpotError& error) {
        return Refuse(err,
                      spotOptions.observationPath + ": " + error.what() + "; it is not replaced");
      }
      files.push_back({spotOptions.observationPath,
                       ObservationText(ObservationOf(image, result, orientation, imageReport,
                                                     options, spots))});
    }
    if (!options.outputPath.empty()) {
      files.push_back({options.outputPath, spotOptions.tableFormat == TableFormat::Json
                                               ? SpotsJson(spots.detection.spots).dump(2) + "\n"
                                               : SpotsCsv(spots.detection.spots)});
    }
    if (!spotOptions.groupTablePath.empty()) {
      files.push_back({spotOptions.groupTablePath, spotOptions.groupTableFormat == TableFormat::Json
                                                       ? GroupsJson(spots.groups).dump(2) + "\n"
                                                       : GroupsCsv(spots.groups)});
    }
    if (options.printJson) {
      Json json = JsonObject(result, orientation, std::nullopt, imageReport);
      json["quiet_disk"] = QuietDiskJson(spots.detection.quiet);
      json["spots"] = SpotsJson(spots.detection.spots);
      json["groups"] = GroupsJson(spots.groups);
      json["counts"] = CountsJson(spots.counts);
      printed = json.dump(2) + "\n";
    } else if (spotOptions.printReportLine) {
      printed = DailyReportHeader() + DailyReportLine(report);
    }
  } catch (const SpotError& error) {
    return Refuse(err, imageName + ": " + error.what());
  }
  for (const PendingFile& file : files) {
    if (WriteResult(file.path, file.bytes, out, err) != 0) return kExitFailure;
  }
  return printed.empty() ? 0 : WriteToStandardOutput(out, err, printed);
}

}  // namespace helidisk
