#include "rasterencoder.h"

#include <cstddef>
#include <cstdio>

// libjpeg's header needs the C library's FILE and size_t declared first.
#include <jpeglib.h>

#include <csetjmp>
#include <cstdint>
#include <cstdlib>

#include "pictureerror.h"
#include "pngwriter.h"

namespace helidisk {

namespace {

constexpr int kJpegQuality = 92;

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

std::string EncodePng(const QImage& image, std::span<const PngText> texts) {
  CheckEncodable(image, "PNG");
  const QImage rgb = AsRgb32(image);
  return EncodePngPixels(
      {reinterpret_cast<const std::uint32_t*>(rgb.constBits()),
       static_cast<std::size_t>(rgb.bytesPerLine()) / sizeof(QRgb),
       static_cast<std::uint32_t>(rgb.width()), static_cast<std::uint32_t>(rgb.height())},
      texts);
}

std::string EncodeJpeg(const QImage& image) {
  CheckEncodable(image, "JPEG");
  const QImage rgb = AsRgb32(image);
  JpegFailure failure{};
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  const bool written = WriteJpeg(rgb, failure, buffer, size);
  std::string bytes;
  if (written) bytes.assign(reinterpret_cast<const char*>(buffer), size);
  std::free(buffer);
  if (!written) throw PictureError(std::string("cannot encode the JPEG: ") + failure.message);
  return bytes;
}

std::string EncodeRaster(const QImage& image, PictureFormat format) {
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
