// PNG files (ISO/IEC 15948) written with zlib.  The chunks are simple; the
// image data, one zlib stream, is deflated in parts on several threads at
// once, as pigz does: each part a raw deflate stream that ends on a byte
// boundary (Z_SYNC_FLUSH), the last one finished, their Adler-32 sums
// combined.  libpng deflates on one thread, which left a photograph's PNG
// waiting on zlib for most of its time.  No toolkit is needed: helidisk-render
// writes its design-size PNG without loading Qt.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace helidisk {

// A PNG text chunk: a Latin-1 keyword of 1 to 79 characters and its text.
struct PngText {
  std::string keyword;
  std::string text;
};

struct PngColour {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
};

// An 8-bit image, paletted or RGB, whose rows come filtered from its source.
struct PngImage {
  std::uint32_t widthPx = 0;
  std::uint32_t heightPx = 0;
  // Empty for RGB pixels.
  std::vector<PngColour> palette;
  // Writes row y as the image data holds it, RowBytes() bytes: the filter
  // type, then the filtered pixels.  Called from several threads at once.
  std::function<void(std::uint32_t y, std::uint8_t* row)> filteredRow;

  std::size_t RowBytes() const {
    return 1 + (palette.empty() ? std::size_t{3} : std::size_t{1}) * widthPx;
  }
};

// The file's bytes.  Raises PictureError for a text chunk PNG does not
// allow and when zlib fails.
std::string WritePng(const PngImage& image, std::span<const PngText> texts);

// Opaque 0xffRRGGBB pixels (the layout of Qt's RGB32), row y beginning
// rowStride pixels after row y - 1.
struct RgbPixels {
  const std::uint32_t* pixels = nullptr;
  std::size_t rowStride = 0;
  std::uint32_t widthPx = 0;
  std::uint32_t heightPx = 0;

  const std::uint32_t* Row(std::uint32_t y) const { return pixels + y * rowStride; }
};

// The pixels as a PNG: with a palette where their colours fit one (the
// drawn disk's handful of flat colours), otherwise as 8-bit RGB; compressed
// at zlib's fastest level, a large image on several threads.  Raises
// PictureError for an empty picture and as WritePng does.
std::string EncodePngPixels(const RgbPixels& rgb, std::span<const PngText> texts = {});

}  // namespace helidisk
