#include "pngwriter.h"

#include <zlib.h>

#include <algorithm>
#include <array>
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
void AppendChunk(QByteArray& png, const char (&type)[5], std::string_view data) {
  std::string head;
  AppendBigEndian(head, static_cast<std::uint32_t>(data.size()));
  png.append(head.data(), static_cast<qsizetype>(head.size()));
  uLong crc = crc32(0, reinterpret_cast<const Bytef*>(type), 4);
  // zlib takes a null buffer for a request for the initial value.
  if (!data.empty()) crc = crc32_z(crc, reinterpret_cast<const Bytef*>(data.data()), data.size());
  png.append(type, 4);
  png.append(data.data(), static_cast<qsizetype>(data.size()));
  std::string tail;
  AppendBigEndian(tail, static_cast<std::uint32_t>(crc));
  png.append(tail.data(), static_cast<qsizetype>(tail.size()));
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

}  // namespace

QByteArray WritePng(const PngImage& image, std::span<const PngText> texts) {
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
  QByteArray png;
  png.reserve(static_cast<qsizetype>(size));
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

}  // namespace helidisk
