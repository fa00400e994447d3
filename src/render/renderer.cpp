#include "renderer.h"

#include <QString>
#include <cmath>
#include <memory>
#include <utility>

#include "alignrun.h"
#include "geometryexport.h"
#include "imageerror.h"
#include "instantseries.h"
#include "overlay.h"
#include "pdfpage.h"
#include "picture.h"
#include "rasterencoder.h"
#include "renderrun.h"
#include "solarimage.h"
#include "spotrun.h"
#include "sun.h"
#include "trigfunc.h"

namespace helidisk {

namespace {

// An observer's image to draw over: the file, its disk, the view the grid
// is drawn in.
struct ImageJob {
  SolarImage image;
  ImageDisk disk;
  ImageView view;
};

// The instant the file gives, as the year and the hours since its new year
// that the redraw counts; a time the file does not give in UT must come
// from --at.
void TakeInstantFromImage(const SolarImage& image, RenderOptions& options) {
  if (!image.observed) {
    ThrowImageError(image.path, QStringLiteral("the file gives no time of observation; give --at"));
  }
  if (image.observed->clock == ClockKind::LocalOffsetUnknown) {
    ThrowImageError(image.path,
                    QStringLiteral("the camera's time has no offset from UT; give --at in UT"));
  }
  const YearHours instant = YearHoursOf(image.observed->julianDay);
  options.year = instant.year;
  options.hourPosition = instant.hours;
}

// The header's view where it fixes one, unless the command line chooses;
// the camera's angle from --rotation, or from the site's parallactic angle.
ImageView ViewOfImage(const ImageJob& job, const RenderOptions& options, const SunEphemeris& sun) {
  const std::optional<ImageView> fromHeader = ViewFromHeader(job.image.header);
  const bool chosen = options.orientationGiven || options.rotationDeg || options.site;
  if (fromHeader && !chosen) return *fromHeader;
  ImageView view{options.orientation, options.rotationDeg.value_or(0)};
  if (options.site) {
    view.rotationDeg = ZenithUpRotationDeg(options.orientation, sun, options.site->latitudeDeg,
                                           options.site->longitudeDeg);
  }
  return view;
}

ImageReport ReportOf(const ImageJob& job) {
  return {job.image.display.width(),
          job.image.display.height(),
          job.disk.centreXPx,
          job.disk.centreYPx,
          job.disk.radiusPx,
          job.view.rotationDeg,
          job.disk.source == DiskSource::Header,
          job.disk.fitRmsPx};
}

std::string TextOfRun(const RenderOptions& options, const RedrawResult& result,
                      const std::optional<ImageJob>& job) {
  if (!job) return TextOf(options, result, options.orientation, std::nullopt);
  // The same image's disk at another instant, the camera as it was set:
  // turned by the same angle, or with the zenith up at the site then.
  const auto imageFrameAt = [&job, &options](const SunEphemeris& sun) {
    return ImageDiskFrame(job->disk, sun, ViewOfImage(*job, options, sun));
  };
  return TextOf(options, result, job->view.orientation, ReportOf(*job), imageFrameAt);
}

}  // namespace

int RenderPictures(const RenderOptions& given, std::FILE* out, std::FILE* err) {
  if (given.align) return RenderAlignedSequence(given, err);
  RenderOptions options = given;
  std::optional<ImageJob> job;
  if (!options.imagePath.empty()) {
    job = ImageJob{LoadSolarImage(QString::fromStdString(options.imagePath)), {}, {}};
    if (!options.instantGiven) TakeInstantFromImage(job->image, options);
  }
  WarnOfUnknownAccuracyOfPicture(options, err);
  const bool writesPage = InfoOf(options.format).holdsPage && !options.outputPath.empty();
  const std::unique_ptr<QGuiApplication> fonts = writesPage ? StartFontSession() : nullptr;
  RedrawResult result;
  std::string picture;
  if (job) {
    result = InstantResultsOf(options);
    job->disk = LocateDisk(job->image);
    job->view = ViewOfImage(*job, options, result.sun);
    result.frame = ImageDiskFrame(job->disk, result.sun, job->view);
    if (options.spots.detect) {
      if (const int failed = FailUnlessPlausible(result.sun, err)) return failed;
      return ReportSpots(job->image, ReportOf(*job), result, job->view.orientation, options, out,
                         err);
    }
    if (!options.outputPath.empty()) {
      // Drawn on the decoded image itself: one full-size buffer besides the
      // encoder's output.
      job->image.display = OverlaidImage(std::move(job->image.display), result.frame,
                                         options.differentialGrid, options.hourPosition, 1.0);
      picture = SaveOverlay(job->image.display, result.frame, result.sun, options.format,
                            {"helidisk-render: the grid over " + options.imagePath},
                            QString::fromStdString(options.outputPath));
    }
  } else if (options.outputPath.empty()) {
    result = InstantResultsOf(options);
  } else {
    picture = RenderPicture(options, options.format, options.page, result);
  }
  return WritePictureAndTexts(
      options, result, picture, [&] { return TextOfRun(options, result, job); }, out, err);
}

}  // namespace helidisk
