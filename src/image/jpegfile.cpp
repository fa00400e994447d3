#include "jpegfile.h"

#include <csetjmp>
#include <cstddef>
#include <cstdio>

// libjpeg's header needs the C library's FILE and size_t declared first.
#include <jpeglib.h>

#include "largepicture.h"

namespace helidisk {

namespace {

struct JpegFailure {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
};

[[noreturn]] void JpegFailed(j_common_ptr jpeg) {
  std::longjmp(reinterpret_cast<JpegFailure*>(jpeg->err)->jump, 1);
}

// A warning means damaged data that libjpeg would paper over.
void JpegWarned(j_common_ptr jpeg, int level) {
  if (level < 0) JpegFailed(jpeg);
}

// libjpeg reports errors by a long jump back here, so this frame holds no
// object with a destructor; `picture` is the caller's.
bool Decode(std::span<const std::uint8_t> file, int maxSidePx, QImage& picture) {
  jpeg_decompress_struct jpeg{};
  JpegFailure failure{};
  jpeg.err = jpeg_std_error(&failure.manager);
  failure.manager.error_exit = JpegFailed;
  failure.manager.emit_message = JpegWarned;
  if (setjmp(failure.jump)) {
    jpeg_destroy_decompress(&jpeg);
    return false;
  }
  jpeg_create_decompress(&jpeg);
  jpeg_mem_src(&jpeg, file.data(), static_cast<unsigned long>(file.size()));
  jpeg_read_header(&jpeg, TRUE);
  const bool grey = jpeg.jpeg_color_space == JCS_GRAYSCALE;
  const bool colour = jpeg.jpeg_color_space == JCS_YCbCr || jpeg.jpeg_color_space == JCS_RGB;
  if ((!grey && !colour) || jpeg.image_width > static_cast<JDIMENSION>(maxSidePx) ||
      jpeg.image_height > static_cast<JDIMENSION>(maxSidePx)) {
    jpeg_destroy_decompress(&jpeg);
    return false;
  }
  // QImage's RGB32 is 0xffRRGGBB: blue, green, red and 0xff in memory on a
  // little-endian machine.
  jpeg.out_color_space = grey ? JCS_GRAYSCALE : JCS_EXT_BGRA;
  jpeg_start_decompress(&jpeg);
  picture = LargePicture(static_cast<int>(jpeg.output_width), static_cast<int>(jpeg.output_height),
                         grey ? QImage::Format_Grayscale8 : QImage::Format_RGB32);
  if (picture.isNull()) {
    jpeg_destroy_decompress(&jpeg);
    return false;
  }
  while (jpeg.output_scanline < jpeg.output_height) {
    JSAMPROW row = picture.scanLine(static_cast<int>(jpeg.output_scanline));
    jpeg_read_scanlines(&jpeg, &row, 1);
  }
  jpeg_finish_decompress(&jpeg);
  jpeg_destroy_decompress(&jpeg);
  return true;
}

}  // namespace

std::optional<QImage> DecodeJpeg(std::span<const std::uint8_t> file, int maxSidePx) {
  QImage picture;
  if (!Decode(file, maxSidePx, picture)) return std::nullopt;
  return picture;
}

}  // namespace helidisk
