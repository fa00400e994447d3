#include "solarimage.h"

#include <libexif/exif-data.h>

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <utility>

#include "fitsfile.h"
#include "jpegfile.h"
#include "largepicture.h"
#include "stretch.h"
#include "tiffexif.h"

namespace helidisk {

namespace {

// An 8192 x 8192 image of four 16-bit channels, the largest any decoder
// needs for an image the program opens.
constexpr int kAllocationLimitMb = 512;

struct ExifReleaser {
  void operator()(ExifData* data) const { exif_data_unref(data); }
};

std::string ExifText(ExifData* data, ExifIfd ifd, ExifTag tag) {
  ExifEntry* entry = exif_content_get_entry(data->ifd[ifd], tag);
  if (entry == nullptr || entry->format != EXIF_FORMAT_ASCII || entry->data == nullptr) return {};
  const auto* text = reinterpret_cast<const char*>(entry->data);
  std::string value(text, entry->size);
  value.erase(std::min(value.size(), value.find('\0')));
  return value;
}

// DateTimeOriginal with OffsetTimeOriginal from a JPEG's EXIF segment.
std::optional<ObservationTime> ExifDataTime(ExifData* data) {
  return ParseExifDateTime(ExifText(data, EXIF_IFD_EXIF, EXIF_TAG_DATE_TIME_ORIGINAL),
                           ExifText(data, EXIF_IFD_EXIF, EXIF_TAG_OFFSET_TIME_ORIGINAL));
}

std::optional<ObservationTime> JpegObservationTime(const QString& path) {
  const std::unique_ptr<ExifData, ExifReleaser> data(
      exif_data_new_from_file(QFile::encodeName(path).constData()));
  if (!data) return std::nullopt;
  return ExifDataTime(data.get());
}

// How the camera held the picture: 1 as stored, 2 ... 8 mirrored or turned.
int ExifOrientation(ExifData* data) {
  ExifEntry* entry = exif_content_get_entry(data->ifd[EXIF_IFD_0], EXIF_TAG_ORIENTATION);
  if (entry == nullptr || entry->format != EXIF_FORMAT_SHORT || entry->size < 2) return 1;
  return exif_get_short(entry->data, exif_data_get_byte_order(data));
}

// A JPEG as it is stored, decoded by libjpeg-turbo itself (jpegfile.h says
// why); nothing for any other file, for a picture the camera held turned,
// which Qt's reader turns upright, and for what DecodeJpeg leaves to Qt.
std::optional<SolarImage> DirectlyDecodedJpeg(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  const uchar* mapped = file.map(0, file.size());
  if (mapped == nullptr) return std::nullopt;
  const std::span<const std::uint8_t> bytes(mapped, static_cast<std::size_t>(file.size()));
  if (bytes.size() < 3 || bytes[0] != 0xff || bytes[1] != 0xd8 || bytes[2] != 0xff) {
    return std::nullopt;
  }
  const std::unique_ptr<ExifData, ExifReleaser> exif(
      exif_data_new_from_data(mapped, static_cast<unsigned int>(bytes.size())));
  if (exif && ExifOrientation(exif.get()) != 1) return std::nullopt;
  std::optional<QImage> picture = DecodeJpeg(bytes, kMaxImageSidePx);
  if (!picture) return std::nullopt;
  SolarImage image;
  image.path = path;
  image.kind = ImageKind::Photograph;
  image.formatName = QStringLiteral("JPEG");
  image.display = std::move(*picture);
  if (exif) image.observed = ExifDataTime(exif.get());
  return image;
}

// The same tags from a TIFF file's own directories or a PNG's eXIf chunk.
// The file is mapped rather than read: only its directories are touched.
std::optional<ObservationTime> TiffStructuredObservationTime(const QString& path, bool png) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  const uchar* mapped = file.map(0, file.size());
  if (mapped == nullptr) return std::nullopt;
  const std::span<const std::uint8_t> bytes(mapped, static_cast<std::size_t>(file.size()));
  std::optional<std::span<const std::uint8_t>> tiff = bytes;
  if (png) tiff = PngExifChunk(bytes);
  if (!tiff) return std::nullopt;
  const std::optional<ExifTimeTexts> times = ExifTimesFromTiff(*tiff);
  if (!times) return std::nullopt;
  return ParseExifDateTime(times->dateTimeOriginal, times->offsetTimeOriginal);
}

// The camera's time from the EXIF tags of a photograph in the formats that
// carry them; Qt's format name says which.
std::optional<ObservationTime> ExifObservationTime(const QString& path, const QByteArray& format) {
  if (format == "jpeg") return JpegObservationTime(path);
  if (format == "tiff") return TiffStructuredObservationTime(path, false);
  if (format == "png") return TiffStructuredObservationTime(path, true);
  return std::nullopt;
}

void RequireSideLimit(const QString& path, QSize size) {
  if (size.width() > kMaxImageSidePx || size.height() > kMaxImageSidePx) {
    ThrowImageError(path, QStringLiteral("the image is %1 x %2 pixels; up to %3 x %3 can be opened")
                              .arg(size.width())
                              .arg(size.height())
                              .arg(kMaxImageSidePx));
  }
}

SolarImage LoadPhotograph(const QString& path) {
  if (std::optional<SolarImage> jpeg = DirectlyDecodedJpeg(path)) return std::move(*jpeg);
  QImageReader::setAllocationLimit(kAllocationLimitMb);
  QImageReader reader(path);
  reader.setAutoTransform(true);
  if (!reader.canRead()) {
    ThrowImageError(path, QStringLiteral("not an image in a format the program reads (") +
                              reader.errorString() + QStringLiteral(")"));
  }
  RequireSideLimit(path, reader.size());
  SolarImage image;
  image.path = path;
  image.kind = ImageKind::Photograph;
  const QByteArray format = reader.format();
  image.formatName = QString::fromLatin1(format).toUpper();
  // Qt's readers decode into a picture of the right size and format given
  // to them, here one on a large buffer.
  image.display = LargePicture(reader.size().width(), reader.size().height(), reader.imageFormat());
  if (!reader.read(&image.display) || image.display.isNull()) {
    ThrowImageError(path, QStringLiteral("cannot decode the image (") + reader.errorString() +
                              QStringLiteral(")"));
  }
  RequireSideLimit(path, image.display.size());
  image.observed = ExifObservationTime(path, format);
  return image;
}

SolarImage LoadFits(const QString& path) {
  const FitsPixels pixels = ReadFitsImage(path);
  const std::optional<StretchLimits> limits = RobustLimits(pixels.Values());
  if (!limits) ThrowImageError(path, QStringLiteral("every pixel of the FITS image is undefined"));
  SolarImage image;
  image.path = path;
  image.kind = ImageKind::Fits;
  image.formatName = QStringLiteral("FITS");
  image.display = StretchToGrey(pixels.Values(), pixels.widthPx, pixels.heightPx, *limits, true);
  if (image.display.isNull()) {
    ThrowImageError(path, QStringLiteral("not enough memory for the image"));
  }
  image.observed = ObservationTimeFromHeader(pixels.header);
  image.header = SolarGeometryFromHeader(pixels.header, pixels.heightPx);
  return image;
}

}  // namespace

SolarImage LoadSolarImage(const QString& path) {
  const QFileInfo info(path);
  if (!info.exists()) ThrowImageError(path, QStringLiteral("no such file"));
  if (!info.isFile()) ThrowImageError(path, QStringLiteral("not a file"));
  if (info.size() == 0) ThrowImageError(path, QStringLiteral("the file is empty"));
  return LooksLikeFits(path) ? LoadFits(path) : LoadPhotograph(path);
}

ImageDisk LocateDisk(const SolarImage& image) {
  const HeaderGeometry& header = image.header;
  std::optional<double> radiusPx = header.radiusPx;
  if (!radiusPx && header.arcsecPerPx && image.observed &&
      image.observed->clock == ClockKind::Universal) {
    radiusPx = EphemerisRadiusPx(*header.arcsecPerPx, image.observed->julianDay);
  }
  if (header.centre && radiusPx) {
    return {header.centre->xPx, header.centre->yPx, *radiusPx, DiskSource::Header, 0, 0};
  }
  try {
    const LimbFit fit = FitLimb(image.display);
    return {fit.centreXPx, fit.centreYPx, fit.radiusPx, DiskSource::Fit, fit.rmsPx, fit.edgePoints};
  } catch (const ImageError& error) {
    ThrowImageError(image.path, QString::fromStdString(error.what()));
  }
}

}  // namespace helidisk
