#include "renderer.h"

#include <QBuffer>
#include <QImageWriter>
#include <QList>
#include <QString>
#include <cmath>
#include <string_view>

#include "alignrun.h"
#include "geometryexport.h"
#include "imageerror.h"
#include "instantseries.h"
#include "overlay.h"
#include "pdfpage.h"
#include "qimagecanvas.h"
#include "solarimage.h"
#include "stonyhurst.h"
#include "sun.h"
#include "svgcanvas.h"
#include "trigfunc.h"

namespace helidisk {

namespace {

// The redraw paints a handful of flat colours, without antialiasing, so
// the picture fits a palette: the same pixels, encoded several times
// faster and smaller than 24-bit RGB.  An image of more colours than a
// palette holds stays as it is.
QImage WithPalette(const QImage& image) {
  constexpr qsizetype kPaletteSize = 256;
  QImage indexed(image.size(), QImage::Format_Indexed8);
  if (indexed.isNull()) return image;
  QList<QRgb> palette;
  for (int y = 0; y < image.height(); ++y) {
    const auto* source = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    uchar* target = indexed.scanLine(y);
    QRgb lastColor = palette.isEmpty() ? ~source[0] : palette.front();
    uchar lastIndex = 0;
    for (int x = 0; x < image.width(); ++x) {
      if (source[x] != lastColor) {
        qsizetype index = palette.indexOf(source[x]);
        if (index < 0) {
          if (palette.size() == kPaletteSize) return image;
          index = palette.size();
          palette.append(source[x]);
        }
        lastColor = source[x];
        lastIndex = static_cast<uchar>(index);
      }
      target[x] = lastIndex;
    }
  }
  indexed.setColorTable(palette);
  return indexed;
}

QByteArray EncodePng(const QImage& image) {
  // Qt's PNG writer maps quality 0 ... 100 onto zlib's levels 9 ... 0; 80
  // gives level 1, the fastest that still compresses.  A flat-coloured
  // picture compresses well at any level, and the default level takes longer
  // than the whole redraw.
  constexpr int kFastCompressionQuality = 80;
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "png");
  writer.setQuality(kFastCompressionQuality);
  if (!writer.write(WithPalette(image.convertToFormat(QImage::Format_RGB32)))) {
    throw PictureError("cannot encode the PNG: " + writer.errorString().toStdString());
  }
  return bytes;
}

QByteArray EncodeJpeg(const QImage& image) {
  constexpr int kJpegQuality = 92;
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "jpeg");
  writer.setQuality(kJpegQuality);
  if (!writer.write(image)) {
    throw PictureError("cannot encode the JPEG: " + writer.errorString().toStdString());
  }
  return bytes;
}

// A template has no instant, so its record stays empty.
void DrawPicture(const RenderOptions& options, Canvas& canvas, RedrawResult& result) {
  if (options.templateB0Deg) {
    DrawStonyhurstTemplate(canvas, GeometryFor(options), *options.templateB0Deg * DegToRad);
  } else {
    result = RenderOnto(options, canvas);
  }
}

}  // namespace

QByteArray EncodeRaster(const QImage& image, PictureFormat format) {
  return format == PictureFormat::Jpeg ? EncodeJpeg(image) : EncodePng(image);
}

std::string_view BytesOf(const QByteArray& bytes) {
  return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

QImage RenderImage(const RenderOptions& options, RedrawResult& result) {
  QImageCanvas canvas;
  canvas.SetWidth(ImageWidthFor(options));
  canvas.SetHeight(ImageHeightFor(options));
  if (canvas.Image().isNull()) {
    if (canvas.Width() <= 0 || canvas.Height() <= 0) {
      throw PictureError("a picture control of " + std::to_string(options.controlWidth) + "x" +
                         std::to_string(options.controlHeight) + " leaves the image no pixels");
    }
    throw PictureError("not enough memory for an image of " + std::to_string(canvas.Width()) + "x" +
                       std::to_string(canvas.Height()) + " pixels");
  }
  DrawPicture(options, canvas, result);
  return canvas.Image();
}

QByteArray RenderPicture(const RenderOptions& options, RedrawResult& result) {
  if (options.format == PictureFormat::Pdf) return RenderPdfPage(options, result);
  if (options.format == PictureFormat::Svg) {
    SvgCanvas canvas(ImageWidthFor(options), ImageHeightFor(options));
    DrawPicture(options, canvas, result);
    const std::string document = canvas.Document();
    return {document.data(), static_cast<qsizetype>(document.size())};
  }
  return EncodePng(RenderImage(options, result));
}

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

// Solar north on the image as shown, counterclockwise from up: where the
// frame puts the rotation axis.  Nothing for a mirrored view, which the
// helioprojective keywords of an unmirrored image cannot describe.
std::optional<double> NorthTurnDeg(const DiskFrame& frame) {
  if (frame.xx * frame.yy - frame.xy * frame.yx < 0) return std::nullopt;
  return std::atan2(-frame.xy, frame.yy) * RadToDeg;
}

// A PNG carries the image's geometry in its text chunks, as an aligned
// frame does; a JPEG has no place for it.
QByteArray EncodeOverlaid(const QImage& overlaid, const ImageJob& job, const RedrawResult& result,
                          const RenderOptions& options) {
  const std::optional<double> northTurnDeg = NorthTurnDeg(result.frame);
  if (options.format != PictureFormat::Png || !northTurnDeg) {
    return EncodeRaster(overlaid, options.format);
  }
  const PictureGeometry geometry{overlaid.width(),   overlaid.height(), job.disk.centreXPx,
                                 job.disk.centreYPx, job.disk.radiusPx, *northTurnDeg,
                                 result.sun};
  return PngWithGeometry(overlaid, GeometryCards(geometry),
                         QString::fromStdString(options.outputPath));
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
  const bool hasInstant = !options.templateB0Deg;
  if (hasInstant && !AccuracyKnownFor(options.year)) WarnOfUnknownAccuracy(err, options.year);
  const bool writesPage = options.format == PictureFormat::Pdf && !options.outputPath.empty();
  const std::unique_ptr<QGuiApplication> fonts = writesPage ? StartFontSession() : nullptr;
  RedrawResult result;
  QByteArray picture;
  if (job) {
    result = RedrawRecordOf(options);
    job->disk = LocateDisk(job->image);
    job->view = ViewOfImage(*job, options, result.sun);
    result.frame = ImageDiskFrame(job->disk, result.sun, job->view);
    if (!options.outputPath.empty()) {
      const QImage overlaid = OverlaidImage(job->image.display, result.frame,
                                            options.differentialGrid, options.hourPosition, 1.0);
      picture = EncodeOverlaid(overlaid, *job, result, options);
    }
  } else if (options.outputPath.empty()) {
    result = RedrawRecordOf(options);
  } else {
    picture = RenderPicture(options, result);
  }
  if (hasInstant) {
    if (const int failed = FailUnlessPlausible(result.sun, err)) return failed;
  }

  if (!options.outputPath.empty() &&
      WriteResult(options.outputPath, BytesOf(picture), out, err) != 0) {
    return kExitFailure;
  }

  const std::string text = job ? TextOf(options, result, job->view.orientation, ReportOf(*job))
                               : TextOf(options, result, options.orientation, std::nullopt);
  return text.empty() ? 0 : WriteToStandardOutput(out, err, text);
}

}  // namespace helidisk
