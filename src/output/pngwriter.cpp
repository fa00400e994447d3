#include "pngwriter.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <optional>
#include <string_view>
#include <system_error>
#include <thread>

#include "pictureerror.h"

namespace helidisk {

namespace {

// zlib's fastest level: the drawn disk's flat colours compress well at any
// level, and the default level takes longer than the whole redraw.
constexpr int kCompressionLevel = 1;
// A part is worth a thread of its own from about this much image data on;
// a design-size picture stays on one.
constexpr std::size_t kBytesPerPart = std::size_t{2} << 20;
constexpr std::size_t kMostParts = 4;
constexpr std::size_t kOutputBlockBytes = std::size_t{1} << 16;
constexpr std::size_t kLongestKeyword = 79;
// The zlib stream's header: deflate with a 32 KiB window, the fastest
// level, no dictionary; a multiple of 31 as a big-endian number.
constexpr std::array<char, 2> kZlibHeader = {0x78, 0x01};
constexpr std::array<unsigned char, 8> kSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};

void AppendBigEndian(std::string& out, std::uint32_t value) {
  for (const int shift : {24, 16, 8, 0}) out += static_cast<char>((value >> shift) & 0xffU);
}

// Length, type, data and the CRC-32 of type and data.
void AppendChunk(std::string& png, const char (&type)[5], std::string_view data) {
  std::string head;
  AppendBigEndian(head, static_cast<std::uint32_t>(data.size()));
  png += head;
  uLong crc = crc32(0, reinterpret_cast<const Bytef*>(type), 4);
  // zlib takes a null buffer for a request for the initial value.
  if (!data.empty()) crc = crc32_z(crc, reinterpret_cast<const Bytef*>(data.data()), data.size());
  png.append(type, 4);
  png += data;
  std::string tail;
  AppendBigEndian(tail, static_cast<std::uint32_t>(crc));
  png += tail;
}

std::string HeaderData(const PngImage& image) {
  constexpr char kBitDepth = 8;
  constexpr char kRgb = 2;
  constexpr char kPaletted = 3;
  std::string data;
  AppendBigEndian(data, image.widthPx);
  AppendBigEndian(data, image.heightPx);
  // Deflate, adaptive filtering, no interlace.
  data += {kBitDepth, image.palette.empty() ? kRgb : kPaletted, 0, 0, 0};
  return data;
}

std::string TextData(const PngText& text) {
  const bool keywordAllowed =
      !text.keyword.empty() && text.keyword.size() <= kLongestKeyword &&
      std::none_of(text.keyword.begin(), text.keyword.end(),
                   [](char c) { return static_cast<unsigned char>(c) < ' '; }) &&
      text.keyword.front() != ' ' && text.keyword.back() != ' ';
  if (!keywordAllowed || text.text.find('\0') != std::string::npos) {
    throw PictureError("'" + text.keyword + "' cannot be a PNG text chunk");
  }
  return text.keyword + '\0' + text.text;
}

struct DeflatedPart {
  std::string bytes;
  uLong adler = 0;
  std::size_t length = 0;
  bool failed = false;
};

// Rows first ... end - 1 as raw deflate data, ended on a byte boundary or,
// for the last part, finished; the first part begins with the zlib header.
DeflatedPart DeflateRows(const PngImage& image, std::uint32_t first, std::uint32_t end, bool last) {
  DeflatedPart part;
  if (first == 0) part.bytes.assign(kZlibHeader.data(), kZlibHeader.size());
  part.adler = adler32(0, nullptr, 0);
  z_stream stream{};
  if (deflateInit2(&stream, kCompressionLevel, Z_DEFLATED, -MAX_WBITS, MAX_MEM_LEVEL - 1,
                   Z_DEFAULT_STRATEGY) != Z_OK) {
    part.failed = true;
    return part;
  }
  std::vector<std::uint8_t> row(image.RowBytes());
  std::vector<Bytef> block(kOutputBlockBytes);
  for (std::uint32_t y = first; y < end && !part.failed; ++y) {
    image.filteredRow(y, row.data());
    part.adler = adler32_z(part.adler, row.data(), row.size());
    part.length += row.size();
    stream.next_in = row.data();
    stream.avail_in = static_cast<uInt>(row.size());
    const int flush = y + 1 < end ? Z_NO_FLUSH : (last ? Z_FINISH : Z_SYNC_FLUSH);
    do {
      stream.next_out = block.data();
      stream.avail_out = static_cast<uInt>(block.size());
      if (deflate(&stream, flush) == Z_STREAM_ERROR) part.failed = true;
      part.bytes.append(reinterpret_cast<const char*>(block.data()),
                        block.size() - stream.avail_out);
    } while (stream.avail_out == 0 && !part.failed);
  }
  deflateEnd(&stream);
  return part;
}

// The rows split into parts deflated side by side.
std::vector<DeflatedPart> DeflateInParts(const PngImage& image) {
  const std::size_t bytes = image.RowBytes() * image.heightPx;
  const std::size_t count = std::clamp<std::size_t>(bytes / kBytesPerPart, 1, kMostParts);
  std::vector<DeflatedPart> parts(count);
  const auto rowOf = [&](std::size_t part) {
    return static_cast<std::uint32_t>(image.heightPx * part / count);
  };
  const auto deflatePart = [&](std::size_t part) {
    try {
      parts[part] = DeflateRows(image, rowOf(part), rowOf(part + 1), part + 1 == count);
    } catch (...) {
      // Out of memory on a worker: reported as zlib's failure.
      parts[part].failed = true;
    }
  };
  {
    std::vector<std::jthread> workers;
    for (std::size_t part = 1; part < count; ++part) {
      try {
        workers.emplace_back(deflatePart, part);
      } catch (const std::system_error&) {
        // No thread to be had: this one deflates the part itself.
        deflatePart(part);
      }
    }
    deflatePart(0);
  }
  return parts;
}

constexpr int kPaletteSize = 256;

std::uint8_t Red(std::uint32_t pixel) { return static_cast<std::uint8_t>(pixel >> 16U); }
std::uint8_t Green(std::uint32_t pixel) { return static_cast<std::uint8_t>(pixel >> 8U); }
std::uint8_t Blue(std::uint32_t pixel) { return static_cast<std::uint8_t>(pixel); }

// An image's colours where at most 256 occur, in the order they first
// occur.
struct Palette {
  std::array<std::uint32_t, kPaletteSize> colours{};
  int count = 0;

  int IndexOf(std::uint32_t colour) const {
    int index = 0;
    while (index < count && colours[index] != colour) ++index;
    return index;
  }
};

// A photograph shows its many colours within its first rows, which is as
// far as the search goes.
std::optional<Palette> PaletteOf(const RgbPixels& rgb) {
  Palette palette;
  for (std::uint32_t y = 0; y < rgb.heightPx; ++y) {
    const std::uint32_t* source = rgb.Row(y);
    std::uint32_t lastColour = palette.count == 0 ? ~source[0] : palette.colours[0];
    for (std::uint32_t x = 0; x < rgb.widthPx; ++x) {
      if (source[x] == lastColour) continue;
      lastColour = source[x];
      if (palette.IndexOf(lastColour) < palette.count) continue;
      if (palette.count == kPaletteSize) return std::nullopt;
      palette.colours[palette.count++] = lastColour;
    }
  }
  return palette;
}

// A row of colours that are all in the palette as their indices, found
// again for each run of one colour rather than kept for the whole image.
void IndexedRow(const Palette& palette, const std::uint32_t* source, std::uint32_t width,
                std::uint8_t* target) {
  std::uint32_t lastColour = ~source[0];
  std::uint8_t lastIndex = 0;
  for (std::uint32_t x = 0; x < width; ++x) {
    if (source[x] != lastColour) {
      lastColour = source[x];
      lastIndex = static_cast<std::uint8_t>(palette.IndexOf(lastColour));
    }
    target[x] = lastIndex;
  }
}

constexpr std::uint8_t kFilterNone = 0;
constexpr std::uint8_t kFilterSub = 1;

// A photograph's row as 8-bit RGB, each byte less the same colour's byte of
// the pixel before (PNG's Sub filter): smooth skies become runs of small
// differences, which deflate codes in few bits.
void SubFilteredRgb(const std::uint32_t* pixels, std::uint32_t width, std::uint8_t* row) {
  row[0] = kFilterSub;
  std::uint8_t* out = row + 1;
  std::uint32_t before = 0;
  for (std::uint32_t x = 0; x < width; ++x) {
    const std::uint32_t pixel = pixels[x];
    *out++ = static_cast<std::uint8_t>(Red(pixel) - Red(before));
    *out++ = static_cast<std::uint8_t>(Green(pixel) - Green(before));
    *out++ = static_cast<std::uint8_t>(Blue(pixel) - Blue(before));
    before = pixel;
  }
}

}  // namespace

std::string WritePng(const PngImage& image, std::span<const PngText> texts) {
  std::vector<DeflatedPart> parts = DeflateInParts(image);
  uLong adler = adler32(0, nullptr, 0);
  for (const DeflatedPart& part : parts) {
    if (part.failed) throw PictureError("zlib could not compress the image data");
    adler = adler32_combine(adler, part.adler, static_cast<z_off_t>(part.length));
  }
  AppendBigEndian(parts.back().bytes, static_cast<std::uint32_t>(adler));

  // The signature, IHDR's 13 bytes, the palette, the texts and the parts,
  // each chunk framed by 12 bytes of length, type and CRC.
  constexpr std::size_t kChunkFrameBytes = 12;
  constexpr std::size_t kHeaderBytes = 13;
  std::size_t size = kSignature.size() + kHeaderBytes + 3 * image.palette.size() +
                     (3 + texts.size() + parts.size()) * kChunkFrameBytes;
  for (const DeflatedPart& part : parts) size += part.bytes.size();
  for (const PngText& text : texts) size += text.keyword.size() + 1 + text.text.size();
  std::string png;
  png.reserve(size);
  png.append(reinterpret_cast<const char*>(kSignature.data()), kSignature.size());
  AppendChunk(png, "IHDR", HeaderData(image));
  if (!image.palette.empty()) {
    std::string colours;
    for (const PngColour& colour : image.palette) {
      colours += {static_cast<char>(colour.red), static_cast<char>(colour.green),
                  static_cast<char>(colour.blue)};
    }
    AppendChunk(png, "PLTE", colours);
  }
  for (const PngText& text : texts) AppendChunk(png, "tEXt", TextData(text));
  // Each part an IDAT chunk of its own: the decoder reads their data as one
  // stream.
  for (const DeflatedPart& part : parts) AppendChunk(png, "IDAT", part.bytes);
  AppendChunk(png, "IEND", {});
  return png;
}

std::string EncodePngPixels(const RgbPixels& rgb, std::span<const PngText> texts) {
  if (rgb.widthPx == 0 || rgb.heightPx == 0) {
    throw PictureError("cannot encode an empty picture as PNG");
  }
  PngImage png;
  png.widthPx = rgb.widthPx;
  png.heightPx = rgb.heightPx;
  if (const std::optional<Palette> palette = PaletteOf(rgb)) {
    for (int index = 0; index < palette->count; ++index) {
      const std::uint32_t colour = palette->colours[index];
      png.palette.push_back({Red(colour), Green(colour), Blue(colour)});
    }
    // Flat colours repeat along the row as they are.
    png.filteredRow = [&rgb, &palette](std::uint32_t y, std::uint8_t* row) {
      row[0] = kFilterNone;
      IndexedRow(*palette, rgb.Row(y), rgb.widthPx, row + 1);
    };
    return WritePng(png, texts);
  }
  png.filteredRow = [&rgb](std::uint32_t y, std::uint8_t* row) {
    SubFilteredRgb(rgb.Row(y), rgb.widthPx, row);
  };
  return WritePng(png, texts);
}

}  // namespace helidisk
