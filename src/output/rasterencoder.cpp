#include "rasterencoder.h"

// libjpeg's header needs the C library's FILE and size_t declared first.
#include <jpeglib.h>
#include <png.h>
#include <zlib.h>

#include <array>
#include <csetjmp>
#include <cstdio>
#include <vector>

#include "pictureerror.h"

namespace helidisk {

namespace {

constexpr int kPaletteSize = 256;
constexpr int kJpegQuality = 92;
// zlib's fastest level: the drawn disk's flat colours compress well at any
// level, and the default level takes longer than the whole redraw.
constexpr int kPngCompressionLevel = 1;

// The pixels as palette indices where at most 256 colours occur.
struct PalettedPixels {
  std::vector<png_color> palette;
  std::vector<unsigned char> indices;
};

bool TryPalette(const QImage& rgb, PalettedPixels& out) {
  std::array<QRgb, kPaletteSize> colours{};
  int colourCount = 0;
  out.indices.resize(static_cast<std::size_t>(rgb.width()) * rgb.height());
  unsigned char* target = out.indices.data();
  for (int y = 0; y < rgb.height(); ++y) {
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
    out.palette[index] = {static_cast<png_byte>(qRed(colours[index])),
                          static_cast<png_byte>(qGreen(colours[index])),
                          static_cast<png_byte>(qBlue(colours[index]))};
  }
  return true;
}

struct PngJob {
  const QImage* rgb;  // Format_RGB32
  const PalettedPixels* paletted;
  std::span<const PngText> texts;
  QByteArray* bytes;
  char message[200];
};

void AppendPngBytes(png_structp png, png_bytep data, png_size_t length) {
  auto* job = static_cast<PngJob*>(png_get_io_ptr(png));
  job->bytes->append(reinterpret_cast<const char*>(data), static_cast<qsizetype>(length));
}

void FlushNothing(png_structp /*png*/) {}

[[noreturn]] void PngFailed(png_structp png, png_const_charp message) {
  auto* job = static_cast<PngJob*>(png_get_error_ptr(png));
  std::snprintf(job->message, sizeof job->message, "%s", message);
  std::longjmp(png_jmpbuf(png), 1);
}

void PngWarning(png_structp /*png*/, png_const_charp /*message*/) {}

// libpng reports errors by a long jump back here, so this frame holds no
// object with a destructor; returns false with the job's message set.
bool WritePng(PngJob& job) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &job, PngFailed, PngWarning);
  if (png == nullptr) return false;
  png_infop info = png_create_info_struct(png);
  if (info == nullptr || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_set_write_fn(png, &job, AppendPngBytes, FlushNothing);
  png_set_compression_level(png, kPngCompressionLevel);
  const auto width = static_cast<png_uint_32>(job.rgb->width());
  const auto height = static_cast<png_uint_32>(job.rgb->height());
  if (job.paletted != nullptr) {
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_PLTE(png, info, job.paletted->palette.data(),
                 static_cast<int>(job.paletted->palette.size()));
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
  } else {
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
    // A photograph's SUB-filtered rows repeat mostly as short runs, which
    // zlib's run-length strategy finds without searching for longer matches.
    png_set_compression_strategy(png, Z_RLE);
  }
  for (const PngText& text : job.texts) {
    png_text chunk{};
    chunk.compression = PNG_TEXT_COMPRESSION_NONE;
    chunk.key = const_cast<char*>(text.keyword.c_str());
    chunk.text = const_cast<char*>(text.text.c_str());
    chunk.text_length = text.text.size();
    png_set_text(png, info, &chunk, 1);
  }
  png_write_info(png, info);
  if (job.paletted != nullptr) {
    for (png_uint_32 y = 0; y < height; ++y) {
      png_write_row(png, job.paletted->indices.data() + static_cast<std::size_t>(y) * width);
    }
  } else {
    // QImage's RGB32 is 0xffRRGGBB: blue, green, red and the unused byte in
    // memory on a little-endian machine, which libpng reorders as it writes.
    png_set_bgr(png);
    png_set_filler(png, 0, PNG_FILLER_AFTER);
    for (png_uint_32 y = 0; y < height; ++y) {
      png_write_row(png, job.rgb->constScanLine(static_cast<int>(y)));
    }
  }
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
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

// As WritePng: libjpeg's errors jump back here.  The encoded bytes are
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

QByteArray EncodePng(const QImage& image, std::span<const PngText> texts) {
  CheckEncodable(image, "PNG");
  const QImage rgb = AsRgb32(image);
  PalettedPixels paletted;
  const bool fitsPalette = TryPalette(rgb, paletted);
  if (!fitsPalette) paletted = {};
  QByteArray bytes;
  PngJob job{&rgb, fitsPalette ? &paletted : nullptr, texts, &bytes, "no memory for the encoder"};
  if (!WritePng(job)) throw PictureError(std::string("cannot encode the PNG: ") + job.message);
  return bytes;
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
  return format == PictureFormat::Jpeg ? EncodeJpeg(image) : EncodePng(image);
}

std::string_view BytesOf(const QByteArray& bytes) {
  return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

}  // namespace helidisk
