#include "fitsfile.h"

#include <fitsio.h>

#include <QFile>
#include <cmath>
#include <limits>
#include <memory>
#include <new>

#include "imageerror.h"

namespace helidisk {

namespace {

// A file has at most one primary HDU and a handful of extensions; this
// bounds the search for an image in a damaged file.
constexpr int kMaxHdusSearched = 1000;

struct FitsCloser {
  void operator()(fitsfile* file) const {
    int status = 0;
    fits_close_file(file, &status);
  }
};
using FitsHandle = std::unique_ptr<fitsfile, FitsCloser>;

QString StatusText(int status) {
  char text[FLEN_STATUS] = {};
  fits_get_errstatus(status, text);
  fits_clear_errmsg();
  return QString::fromLatin1(text);
}

[[noreturn]] void ThrowFitsError(const QString& path, const QString& what, int status) {
  ThrowImageError(path,
                  what + QStringLiteral(" (cfitsio: ") + StatusText(status) + QStringLiteral(")"));
}

// The current HDU's cards, of a compressed image those of the image it holds.
FitsHeader CurrentHeader(fitsfile* file, const QString& path) {
  int status = 0;
  char* text = nullptr;
  int cardCount = 0;
  if (fits_is_compressed_image(file, &status)) {
    fits_convert_hdr2str(file, 1, nullptr, 0, &text, &cardCount, &status);
  } else {
    fits_hdr2str(file, 1, nullptr, 0, &text, &cardCount, &status);
  }
  if (status != 0) ThrowFitsError(path, QStringLiteral("cannot read the FITS header"), status);
  FitsHeader header =
      ParseFitsHeader(std::string_view(text, static_cast<std::size_t>(cardCount) * kFitsCardChars));
  fits_free_memory(text, &status);
  return header;
}

bool CurrentHduHasImage(fitsfile* file) {
  int status = 0;
  int type = 0;
  int axisCount = 0;
  LONGLONG sides[2] = {0, 0};
  fits_get_hdu_type(file, &type, &status);
  fits_get_img_dim(file, &axisCount, &status);
  if (status != 0 || type != IMAGE_HDU || axisCount < 2) return false;
  fits_get_img_sizell(file, 2, sides, &status);
  return status == 0 && sides[0] > 0 && sides[1] > 0;
}

// Moves to the first HDU with an image of at least two axes.
void MoveToImage(fitsfile* file, const QString& path) {
  for (int hdu = 1; !CurrentHduHasImage(file); ++hdu) {
    int status = 0;
    int type = 0;
    if (hdu == kMaxHdusSearched || fits_movrel_hdu(file, 1, &type, &status) != 0) {
      fits_clear_errmsg();
      ThrowImageError(path, QStringLiteral("the FITS file holds no image"));
    }
  }
}

}  // namespace

bool LooksLikeFits(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) && file.read(9) == "SIMPLE  =";
}

FitsPixels ReadFitsImage(const QString& path) {
  int status = 0;
  fitsfile* opened = nullptr;
  // The disk-file form takes the name as it is, without cfitsio's
  // extended file-name syntax ("[1]", "+2", "*.gz"...).
  fits_open_diskfile(&opened, QFile::encodeName(path).constData(), READONLY, &status);
  if (status != 0) ThrowFitsError(path, QStringLiteral("not a readable FITS file"), status);
  const FitsHandle file(opened);
  const FitsHeader primary = CurrentHeader(file.get(), path);
  MoveToImage(file.get(), path);

  FitsPixels pixels;
  int hdu = 0;
  fits_get_hdu_num(file.get(), &hdu);
  pixels.header = hdu == 1 ? primary : MergeFitsHeaders(CurrentHeader(file.get(), path), primary);

  LONGLONG axes[2] = {0, 0};
  fits_get_img_sizell(file.get(), 2, axes, &status);
  if (status != 0) ThrowFitsError(path, QStringLiteral("cannot read the image size"), status);
  if (axes[0] > kMaxImageSidePx || axes[1] > kMaxImageSidePx) {
    ThrowImageError(path, QStringLiteral("the FITS image is %1 x %2 pixels; up to %3 x %3 can be "
                                         "opened")
                              .arg(axes[0])
                              .arg(axes[1])
                              .arg(kMaxImageSidePx));
  }
  pixels.widthPx = static_cast<int>(axes[0]);
  pixels.heightPx = static_cast<int>(axes[1]);
  const auto count = static_cast<std::size_t>(axes[0] * axes[1]);
  try {
    pixels.values = std::make_unique_for_overwrite<float[]>(count);
  } catch (const std::bad_alloc&) {
    ThrowImageError(path, QStringLiteral("not enough memory for the FITS image"));
  }

  // Undefined pixels (BLANK, or NaN in a floating-point image) come back
  // as NaN; values beyond the range of float are clipped by cfitsio, which
  // reports the clipping as an overflow that does not spoil the image.
  float undefined = std::numeric_limits<float>::quiet_NaN();
  int anyUndefined = 0;
  fits_read_img(file.get(), TFLOAT, 1, static_cast<LONGLONG>(count), &undefined,
                pixels.values.get(), &anyUndefined, &status);
  if (status == NUM_OVERFLOW) {
    status = 0;
    fits_clear_errmsg();
  }
  if (status != 0) ThrowFitsError(path, QStringLiteral("cannot read the image's pixels"), status);
  return pixels;
}

}  // namespace helidisk
