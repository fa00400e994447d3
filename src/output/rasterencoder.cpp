#include "rasterencoder.h"

#include <cstddef>
#include <cstdio>

// libjpeg's header needs the C library's FILE and size_t declared first.
#include <jpeglib.h>

#include <algorithm>
#include <array>
#include <csetjmp>
#include <cstdint>
#include <utility>
#include <vector>

#include "pictureerror.h"
#include "pngwriter.h"

namespace helidisk {

namespace {

constexpr int kPaletteSize = 256;
constexpr int kJpegQuality = 92;

// The pixels as palette indices where at most 256 colours occur.
struct PalettedPixels {
  std::vector<PngColour> palette;
  std::vector<unsigned char> indices;
};

bool TryPalette(const QImage& rgb, PalettedPixels& out) {
  std::array<QRgb, kPaletteSize> colours{};
  int colourCount = 0;
  // Reserved, not filled: a photograph shows its many colours within its
  // first rows, and the pages of the rows not reached are never touched.
  out.indices.reserve(static_cast<std::size_t>(rgb.width()) * rgb.height());
  for (int y = 0; y < rgb.height(); ++y) {
    out.indices.resize(out.indices.size() + static_cast<std::size_t>(rgb.width()));
    unsigned char* target = out.indices.data() + out.indices.size() - rgb.width();
    const auto* source = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
    QRgb lastColour = colourCount == 0 ? ~source[0] : colours[0];
    unsigned char lastIndex = 0;
    for (int x = 0; x < rgb.width(); ++x) {
      if (source[x] != lastColour) {
        int index = 0;
        while (index < colourCount && colours[index] != source[x]) ++index;
        if (index == colourCount) {
          if (colourCount == kPaletteSize) return false;
          colours[colourCount++] = source[x];
        }
        lastColour = source[x];
        lastIndex = static_cast<unsigned char>(index);
      }
      *target++ = lastIndex;
    }
  }
  out.palette.resize(colourCount);
  for (int index = 0; index < colourCount; ++index) {
    out.palette[index] = {static_cast<std::uint8_t>(qRed(colours[index])),
                          static_cast<std::uint8_t>(qGreen(colours[index])),
                          static_cast<std::uint8_t>(qBlue(colours[index]))};
  }
  return true;
}

struct JpegFailure {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void JpegFailed(j_common_ptr jpeg) {
  auto* failure = reinterpret_cast<JpegFailure*>(jpeg->err);
  failure->manager.format_message(jpeg, failure->message);
  std::longjmp(failure->jump, 1);
}

// libjpeg reports errors by a long jump back here, so this frame holds no
// object with a destructor.  The encoded bytes are
// libjpeg's own buffer, freed by the caller.
bool WriteJpeg(const QImage& rgb, JpegFailure& failure, unsigned char*& buffer,
               unsigned long& size) {
  jpeg_compress_struct jpeg{};
  jpeg.err = jpeg_std_error(&failure.manager);
  failure.manager.error_exit = JpegFailed;
  if (setjmp(failure.jump)) {
    jpeg_destroy_compress(&jpeg);
    return false;
  }
  jpeg_create_compress(&jpeg);
  jpeg_mem_dest(&jpeg, &buffer, &size);
  jpeg.image_width = static_cast<JDIMENSION>(rgb.width());
  jpeg.image_height = static_cast<JDIMENSION>(rgb.height());
  // libjpeg-turbo reads QImage's RGB32 rows as they lie.
  jpeg.input_components = 4;
  jpeg.in_color_space = JCS_EXT_BGRX;
  jpeg_set_defaults(&jpeg);
  jpeg_set_quality(&jpeg, kJpegQuality, TRUE);
  jpeg_start_compress(&jpeg, TRUE);
  while (jpeg.next_scanline < jpeg.image_height) {
    auto* row = const_cast<JSAMPROW>(rgb.constScanLine(static_cast<int>(jpeg.next_scanline)));
    jpeg_write_scanlines(&jpeg, &row, 1);
  }
  jpeg_finish_compress(&jpeg);
  jpeg_destroy_compress(&jpeg);
  return true;
}

constexpr std::uint8_t kFilterNone = 0;
constexpr std::uint8_t kFilterSub = 1;

// A photograph's row as 8-bit RGB, each byte less the same colour's byte of
// the pixel before (PNG's Sub filter): smooth skies become runs of small
// differences, which deflate codes in few bits.
void SubFilteredRgb(const QRgb* pixels, int width, std::uint8_t* row) {
  row[0] = kFilterSub;
  std::uint8_t* out = row + 1;
  QRgb before = 0;
  for (int x = 0; x < width; ++x) {
    const QRgb pixel = pixels[x];
    *out++ = static_cast<std::uint8_t>(qRed(pixel) - qRed(before));
    *out++ = static_cast<std::uint8_t>(qGreen(pixel) - qGreen(before));
    *out++ = static_cast<std::uint8_t>(qBlue(pixel) - qBlue(before));
    before = pixel;
  }
}

// The image as 0xffRRGGBB pixels, without a copy where it is one already.
QImage AsRgb32(const QImage& image) {
  const bool opaqueRgb =
      image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32;
  QImage rgb = opaqueRgb ? image : image.convertToFormat(QImage::Format_RGB32);
  if (rgb.isNull()) throw PictureError("not enough memory to encode the picture");
  return rgb;
}

void CheckEncodable(const QImage& image, const char* format) {
  if (image.isNull() || image.width() <= 0 || image.height() <= 0) {
    throw PictureError(std::string("cannot encode an empty picture as ") + format);
  }
}

}  // namespace

QByteArray EncodePng(const QImage& image, std::span<const PngText> texts) {
  CheckEncodable(image, "PNG");
  const QImage rgb = AsRgb32(image);
  PalettedPixels paletted;
  PngImage png;
  png.widthPx = static_cast<std::uint32_t>(rgb.width());
  png.heightPx = static_cast<std::uint32_t>(rgb.height());
  if (TryPalette(rgb, paletted)) {
    png.palette = std::move(paletted.palette);
    // Flat colours repeat along the row as they are.
    png.filteredRow = [&paletted, width = png.widthPx](std::uint32_t y, std::uint8_t* row) {
      row[0] = kFilterNone;
      std::copy_n(paletted.indices.data() + static_cast<std::size_t>(y) * width, width, row + 1);
    };
  } else {
    png.filteredRow = [&rgb](std::uint32_t y, std::uint8_t* row) {
      SubFilteredRgb(reinterpret_cast<const QRgb*>(rgb.constScanLine(static_cast<int>(y))),
                     rgb.width(), row);
    };
  }
  return WritePng(png, texts);
}

QByteArray EncodeJpeg(const QImage& image) {
  CheckEncodable(image, "JPEG");
  const QImage rgb = AsRgb32(image);
  JpegFailure failure{};
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  const bool written = WriteJpeg(rgb, failure, buffer, size);
  QByteArray bytes;
  if (written)
    bytes = QByteArray(reinterpret_cast<const char*>(buffer), static_cast<qsizetype>(size));
  std::free(buffer);
  if (!written) throw PictureError(std::string("cannot encode the JPEG: ") + failure.message);
  return bytes;
}

QByteArray EncodeRaster(const QImage& image, PictureFormat format) {
  switch (format) {
    case PictureFormat::Png:
      return EncodePng(image);
    case PictureFormat::Jpeg:
      return EncodeJpeg(image);
    default:
      throw PictureError("a raster picture is a PNG or a JPEG");
  }
}

std::string_view BytesOf(const QByteArray& bytes) {
  return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

}  // namespace helidisk
