#include "geometryexport.h"

#include <dlfcn.h>
#include <fitsio.h>

#include <QFile>
#include <QTemporaryDir>
#include <cmath>
#include <memory>
#include <optional>

#include "imageerror.h"
#include "pictureerror.h"
#include "rasterencoder.h"
#include "trigfunc.h"

namespace helidisk {

namespace {

// cfitsio's writing functions, loaded as the reader loads its own (see
// fitsfile.cpp): the same library, opened once more by its run-time name.
struct CfitsioWriter {
  decltype(&ffdkinit) createDiskFile = nullptr;
  decltype(&ffcrim) createImage = nullptr;
  decltype(&ffukys) updateString = nullptr;
  decltype(&ffukyd) updateNumber = nullptr;
  decltype(&ffphis) writeHistory = nullptr;
  decltype(&ffpprb) writeBytes = nullptr;
  decltype(&ffclos) closeFile = nullptr;
  decltype(&ffgerr) errorText = nullptr;
  decltype(&ffcmsg) clearMessages = nullptr;
};

template <typename Function>
bool Bind(void* library, const char* name, Function& function) {
  function = reinterpret_cast<Function>(dlsym(library, name));
  return function != nullptr;
}

std::optional<CfitsioWriter> LoadedWriter() {
  void* library = dlopen(HELIDISK_CFITSIO_LIBRARY, RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) return std::nullopt;
  CfitsioWriter writer;
  const bool complete =
      Bind(library, "ffdkinit", writer.createDiskFile) &&
      Bind(library, "ffcrim", writer.createImage) && Bind(library, "ffukys", writer.updateString) &&
      Bind(library, "ffukyd", writer.updateNumber) &&
      Bind(library, "ffphis", writer.writeHistory) && Bind(library, "ffpprb", writer.writeBytes) &&
      Bind(library, "ffclos", writer.closeFile) && Bind(library, "ffgerr", writer.errorText) &&
      Bind(library, "ffcmsg", writer.clearMessages);
  if (!complete) return std::nullopt;
  return writer;
}

const CfitsioWriter& WriterFor(const QString& path) {
  static const std::optional<CfitsioWriter> writer = LoadedWriter();
  if (!writer) {
    ThrowImageError(path, QStringLiteral("FITS files need the cfitsio library (%1), which "
                                         "cannot be loaded")
                              .arg(QString::fromLatin1(HELIDISK_CFITSIO_LIBRARY)));
  }
  return *writer;
}

// The picture's planes, bottom row first: one of grey, or red, green and
// blue one after the other.
std::vector<unsigned char> FitsPlanes(const QImage& picture, bool grey) {
  const auto width = static_cast<std::size_t>(picture.width());
  const auto height = static_cast<std::size_t>(picture.height());
  const std::size_t planeSize = width * height;
  std::vector<unsigned char> planes(grey ? planeSize : 3 * planeSize);
  for (std::size_t fitsRow = 0; fitsRow < height; ++fitsRow) {
    const int shownRow = static_cast<int>(height - 1 - fitsRow);
    const uchar* line = picture.constScanLine(shownRow);
    unsigned char* target = planes.data() + fitsRow * width;
    if (grey) {
      std::copy(line, line + width, target);
      continue;
    }
    const auto* pixels = reinterpret_cast<const QRgb*>(line);
    for (std::size_t x = 0; x < width; ++x) {
      target[x] = static_cast<unsigned char>(qRed(pixels[x]));
      target[planeSize + x] = static_cast<unsigned char>(qGreen(pixels[x]));
      target[2 * planeSize + x] = static_cast<unsigned char>(qBlue(pixels[x]));
    }
  }
  return planes;
}

void WriteCards(const CfitsioWriter& cfitsio, fitsfile* file,
                const std::vector<GeometryCard>& cards, int& status) {
  constexpr int kSignificantDigits = -15;  // negative: cfitsio's G format
  for (const GeometryCard& card : cards) {
    const char* comment = card.comment.empty() ? nullptr : card.comment.c_str();
    if (const auto* text = std::get_if<std::string>(&card.value)) {
      cfitsio.updateString(file, card.keyword.c_str(), text->c_str(), comment, &status);
    } else {
      cfitsio.updateNumber(file, card.keyword.c_str(), std::get<double>(card.value),
                           kSignificantDigits, comment, &status);
    }
  }
}

[[noreturn]] void ThrowWriteError(const CfitsioWriter& cfitsio, const QString& path, int status) {
  char text[FLEN_STATUS] = {};
  cfitsio.errorText(status, text);
  cfitsio.clearMessages();
  ThrowImageError(
      path,
      QStringLiteral("cannot write the FITS file (cfitsio: %1)").arg(QString::fromLatin1(text)));
}

}  // namespace

void WriteFitsPicture(const QImage& picture, const std::vector<GeometryCard>& cards,
                      const std::vector<std::string>& history, const QString& path) {
  const CfitsioWriter& cfitsio = WriterFor(path);
  const bool grey = picture.format() == QImage::Format_Grayscale8;
  const QImage pixels = grey ? picture : picture.convertToFormat(QImage::Format_RGB32);
  const std::vector<unsigned char> planes = FitsPlanes(pixels, grey);
  const QString partial = path + QStringLiteral(".part");
  QFile::remove(partial);

  int status = 0;
  fitsfile* file = nullptr;
  cfitsio.createDiskFile(&file, QFile::encodeName(partial).constData(), &status);
  if (status != 0) ThrowWriteError(cfitsio, path, status);
  long axes[3] = {pixels.width(), pixels.height(), 3};
  cfitsio.createImage(file, BYTE_IMG, grey ? 2 : 3, axes, &status);
  WriteCards(cfitsio, file, cards, status);
  for (const std::string& line : history) cfitsio.writeHistory(file, line.c_str(), &status);
  // cfitsio's byte writer takes a non-const pointer but only reads it.
  cfitsio.writeBytes(file, 0, 1, static_cast<LONGLONG>(planes.size()),
                     const_cast<unsigned char*>(planes.data()), &status);
  int closeStatus = 0;
  cfitsio.closeFile(file, &closeStatus);
  if (status == 0) status = closeStatus;
  if (status != 0) {
    QFile::remove(partial);
    ThrowWriteError(cfitsio, path, status);
  }
  QFile::remove(path);
  if (!QFile::rename(partial, path)) {
    QFile::remove(partial);
    ThrowImageError(path, QStringLiteral("cannot move the written FITS file into place"));
  }
}

std::string FitsPictureBytes(const QImage& picture, const std::vector<GeometryCard>& cards,
                             const std::vector<std::string>& history, const QString& path) {
  const QTemporaryDir folder;
  if (!folder.isValid()) {
    ThrowImageError(path, QStringLiteral("no temporary folder to write the FITS file in"));
  }
  const QString written = folder.filePath(QStringLiteral("picture.fits"));
  try {
    WriteFitsPicture(picture, cards, history, written);
  } catch (const ImageError& error) {
    // Named by the file the caller writes, not by the temporary one.
    ThrowImageError(path, QString::fromUtf8(error.what()).mid(written.size() + 2));
  }
  QFile file(written);
  if (!file.open(QIODevice::ReadOnly)) {
    ThrowImageError(path, QStringLiteral("cannot read back the written FITS file"));
  }
  return file.readAll().toStdString();
}

std::string PngWithGeometry(const QImage& picture, const std::vector<GeometryCard>& cards,
                            const QString& path) {
  std::vector<PngText> texts;
  texts.reserve(cards.size());
  for (const GeometryCard& card : cards) texts.push_back({card.keyword, CardValueText(card)});
  try {
    return EncodePng(picture, texts);
  } catch (const PictureError& error) {
    ThrowImageError(path,
                    QStringLiteral("cannot encode the PNG: ") + QString::fromUtf8(error.what()));
  }
}

std::optional<PictureGeometry> OverlayGeometry(const QImage& picture, const DiskFrame& frame,
                                               const SunEphemeris& sun) {
  if (frame.xx * frame.yy - frame.xy * frame.yx < 0) return std::nullopt;
  return PictureGeometry{picture.width(),
                         picture.height(),
                         frame.centreXPx,
                         frame.centreYPx,
                         frame.radiusPx,
                         std::atan2(-frame.xy, frame.yy) * RadToDeg,
                         sun};
}

std::string SaveOverlay(const QImage& picture, const DiskFrame& frame, const SunEphemeris& sun,
                        PictureFormat format, const std::vector<std::string>& history,
                        const QString& path) {
  const std::optional<PictureGeometry> geometry = OverlayGeometry(picture, frame, sun);
  switch (format) {
    case PictureFormat::Fits:
      if (!geometry) {
        ThrowImageError(path, QStringLiteral("a mirrored view has no FITS geometry; write a PNG "
                                             "or a JPEG, or choose an unmirrored view"));
      }
      return FitsPictureBytes(picture, GeometryCards(*geometry), history, path);
    case PictureFormat::Png:
      if (geometry) return PngWithGeometry(picture, GeometryCards(*geometry), path);
      break;
    default:
      break;
  }
  try {
    return EncodeRaster(picture, format);
  } catch (const PictureError& error) {
    ThrowImageError(
        path, QStringLiteral("cannot encode the picture: ") + QString::fromUtf8(error.what()));
  }
}

}  // namespace helidisk
