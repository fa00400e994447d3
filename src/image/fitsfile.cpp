#include "fitsfile.h"

#include <dlfcn.h>
#include <fitsio.h>

#include <QFile>
#include <cmath>
#include <limits>
#include <memory>
#include <new>
#include <optional>

#include "imageerror.h"

namespace helidisk {

namespace {

// A file has at most one primary HDU and a handful of extensions; this
// bounds the search for an image in a damaged file.
constexpr int kMaxHdusSearched = 1000;

// cfitsio, loaded when the first FITS file is opened.  Linked into the
// programs, it would bring its network libraries (curl, TLS, Kerberos,
// LDAP) into every start of both of them, some fifteen milliseconds, though
// most runs never read a FITS file.  The functions are cfitsio's own names
// behind the fits_* macros.
struct Cfitsio {
  decltype(&ffdkopn) openDiskFile = nullptr;
  decltype(&ffclos) closeFile = nullptr;
  decltype(&ffgerr) errorText = nullptr;
  decltype(&ffcmsg) clearMessages = nullptr;
  decltype(&fits_is_compressed_image) isCompressedImage = nullptr;
  decltype(&ffcnvthdr2str) compressedHeaderText = nullptr;
  decltype(&ffhdr2str) headerText = nullptr;
  decltype(&fffree) freeMemory = nullptr;
  decltype(&ffghdt) hduType = nullptr;
  decltype(&ffgidm) imageDimensions = nullptr;
  decltype(&ffgiszll) imageSize = nullptr;
  decltype(&ffmrhd) moveToRelativeHdu = nullptr;
  decltype(&ffghdn) hduNumber = nullptr;
  decltype(&ffgpv) readPixels = nullptr;
};

template <typename Function>
bool Bind(void* library, const char* name, Function& function) {
  function = reinterpret_cast<Function>(dlsym(library, name));
  return function != nullptr;
}

// Empty where the library or one of its functions is missing.
std::optional<Cfitsio> LoadedCfitsio() {
  void* library = dlopen(HELIDISK_CFITSIO_LIBRARY, RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) return std::nullopt;
  Cfitsio cfitsio;
  const bool complete =
      Bind(library, "ffdkopn", cfitsio.openDiskFile) &&
      Bind(library, "ffclos", cfitsio.closeFile) && Bind(library, "ffgerr", cfitsio.errorText) &&
      Bind(library, "ffcmsg", cfitsio.clearMessages) &&
      Bind(library, "fits_is_compressed_image", cfitsio.isCompressedImage) &&
      Bind(library, "ffcnvthdr2str", cfitsio.compressedHeaderText) &&
      Bind(library, "ffhdr2str", cfitsio.headerText) &&
      Bind(library, "fffree", cfitsio.freeMemory) && Bind(library, "ffghdt", cfitsio.hduType) &&
      Bind(library, "ffgidm", cfitsio.imageDimensions) &&
      Bind(library, "ffgiszll", cfitsio.imageSize) &&
      Bind(library, "ffmrhd", cfitsio.moveToRelativeHdu) &&
      Bind(library, "ffghdn", cfitsio.hduNumber) && Bind(library, "ffgpv", cfitsio.readPixels);
  if (!complete) return std::nullopt;
  return cfitsio;
}

// Loaded once, for the whole process; raises ImageError naming the file when
// cfitsio is not installed.
const Cfitsio& CfitsioFor(const QString& path) {
  static const std::optional<Cfitsio> cfitsio = LoadedCfitsio();
  if (!cfitsio) {
    ThrowImageError(path, QStringLiteral("FITS files need the cfitsio library (%1), which "
                                         "cannot be loaded")
                              .arg(QString::fromLatin1(HELIDISK_CFITSIO_LIBRARY)));
  }
  return *cfitsio;
}

struct FitsCloser {
  const Cfitsio* cfitsio;
  void operator()(fitsfile* file) const {
    int status = 0;
    cfitsio->closeFile(file, &status);
  }
};
using FitsHandle = std::unique_ptr<fitsfile, FitsCloser>;

QString StatusText(const Cfitsio& cfitsio, int status) {
  char text[FLEN_STATUS] = {};
  cfitsio.errorText(status, text);
  cfitsio.clearMessages();
  return QString::fromLatin1(text);
}

[[noreturn]] void ThrowFitsError(const Cfitsio& cfitsio, const QString& path, const QString& what,
                                 int status) {
  ThrowImageError(path, what + QStringLiteral(" (cfitsio: ") + StatusText(cfitsio, status) +
                            QStringLiteral(")"));
}

// The current HDU's cards, of a compressed image those of the image it holds.
FitsHeader CurrentHeader(const Cfitsio& cfitsio, fitsfile* file, const QString& path) {
  int status = 0;
  char* text = nullptr;
  int cardCount = 0;
  if (cfitsio.isCompressedImage(file, &status)) {
    cfitsio.compressedHeaderText(file, 1, nullptr, 0, &text, &cardCount, &status);
  } else {
    cfitsio.headerText(file, 1, nullptr, 0, &text, &cardCount, &status);
  }
  if (status != 0) {
    ThrowFitsError(cfitsio, path, QStringLiteral("cannot read the FITS header"), status);
  }
  FitsHeader header =
      ParseFitsHeader(std::string_view(text, static_cast<std::size_t>(cardCount) * kFitsCardChars));
  cfitsio.freeMemory(text, &status);
  return header;
}

bool CurrentHduHasImage(const Cfitsio& cfitsio, fitsfile* file) {
  int status = 0;
  int type = 0;
  int axisCount = 0;
  LONGLONG sides[2] = {0, 0};
  cfitsio.hduType(file, &type, &status);
  cfitsio.imageDimensions(file, &axisCount, &status);
  if (status != 0 || type != IMAGE_HDU || axisCount < 2) return false;
  cfitsio.imageSize(file, 2, sides, &status);
  return status == 0 && sides[0] > 0 && sides[1] > 0;
}

// Moves to the first HDU with an image of at least two axes.
void MoveToImage(const Cfitsio& cfitsio, fitsfile* file, const QString& path) {
  for (int hdu = 1; !CurrentHduHasImage(cfitsio, file); ++hdu) {
    int status = 0;
    int type = 0;
    if (hdu == kMaxHdusSearched || cfitsio.moveToRelativeHdu(file, 1, &type, &status) != 0) {
      cfitsio.clearMessages();
      ThrowImageError(path, QStringLiteral("the FITS file holds no image"));
    }
  }
}

}  // namespace

bool LooksLikeFits(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return false;
  const QByteArray start = file.read(9);
  // Archives hand out FITS files gzipped (.fits.gz), which cfitsio unpacks
  // as it opens them; a tile-compressed file (.fz) is FITS from its first
  // card.  No photograph format starts as gzip does.
  return start == "SIMPLE  =" || start.startsWith("\x1f\x8b");
}

FitsPixels ReadFitsImage(const QString& path) {
  const Cfitsio& cfitsio = CfitsioFor(path);
  int status = 0;
  fitsfile* opened = nullptr;
  // The disk-file form takes the name as it is, without cfitsio's
  // extended file-name syntax ("[1]", "+2", "*.gz"...).
  cfitsio.openDiskFile(&opened, QFile::encodeName(path).constData(), READONLY, &status);
  if (status != 0) {
    ThrowFitsError(cfitsio, path, QStringLiteral("not a readable FITS file"), status);
  }
  const FitsHandle file(opened, FitsCloser{&cfitsio});
  const FitsHeader primary = CurrentHeader(cfitsio, file.get(), path);
  MoveToImage(cfitsio, file.get(), path);

  FitsPixels pixels;
  int hdu = 0;
  cfitsio.hduNumber(file.get(), &hdu);
  pixels.header =
      hdu == 1 ? primary : MergeFitsHeaders(CurrentHeader(cfitsio, file.get(), path), primary);

  LONGLONG axes[2] = {0, 0};
  cfitsio.imageSize(file.get(), 2, axes, &status);
  if (status != 0) {
    ThrowFitsError(cfitsio, path, QStringLiteral("cannot read the image size"), status);
  }
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
  cfitsio.readPixels(file.get(), TFLOAT, 1, static_cast<LONGLONG>(count), &undefined,
                     pixels.values.get(), &anyUndefined, &status);
  if (status == NUM_OVERFLOW) {
    status = 0;
    cfitsio.clearMessages();
  }
  if (status != 0) {
    ThrowFitsError(cfitsio, path, QStringLiteral("cannot read the image's pixels"), status);
  }
  return pixels;
}

}  // namespace helidisk
