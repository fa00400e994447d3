#include "tiffexif.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace helidisk {

namespace {

// TIFF 6.0 and EXIF 2.32: a directory is a 16-bit entry count, then
// 12-byte entries (tag, type, count, value or offset of the value).
constexpr std::size_t kTiffHeaderBytes = 8;
constexpr std::size_t kEntryBytes = 12;
constexpr std::uint16_t kExifDirectoryTag = 0x8769;
constexpr std::uint16_t kDateTimeOriginalTag = 0x9003;
constexpr std::uint16_t kOffsetTimeOriginalTag = 0x9011;
constexpr std::uint16_t kAsciiType = 2;
constexpr std::uint16_t kLongType = 4;
constexpr std::uint16_t kDirectoryType = 13;  // EXIF's IFD type, a LONG offset
// A value of at most four bytes sits in the entry itself.
constexpr std::uint32_t kInlineValueBytes = 4;

class TiffBlock {
 public:
  TiffBlock(std::span<const std::uint8_t> bytes, bool bigEndian)
      : bytes_(bytes), bigEndian_(bigEndian) {}

  bool Holds(std::size_t offset, std::size_t length) const {
    return offset <= bytes_.size() && length <= bytes_.size() - offset;
  }

  // Callers check Holds(offset, 2 or 4) first.
  std::uint16_t U16(std::size_t offset) const {
    const auto a = bytes_[offset];
    const auto b = bytes_[offset + 1];
    return static_cast<std::uint16_t>(bigEndian_ ? (a << 8U) | b : (b << 8U) | a);
  }
  std::uint32_t U32(std::size_t offset) const {
    const std::uint32_t first = U16(offset);
    const std::uint32_t second = U16(offset + 2);
    return bigEndian_ ? (first << 16U) | second : (second << 16U) | first;
  }

  std::span<const std::uint8_t> Bytes(std::size_t offset, std::size_t length) const {
    return bytes_.subspan(offset, length);
  }

 private:
  std::span<const std::uint8_t> bytes_;
  bool bigEndian_;
};

// The offset of the entry with the tag in the directory at `directory`.
std::optional<std::size_t> FindEntry(const TiffBlock& block, std::size_t directory,
                                     std::uint16_t tag) {
  if (!block.Holds(directory, 2)) return std::nullopt;
  const std::size_t count = block.U16(directory);
  const std::size_t first = directory + 2;
  if (!block.Holds(first, count * kEntryBytes)) return std::nullopt;
  for (std::size_t index = 0; index < count; ++index) {
    const std::size_t entry = first + index * kEntryBytes;
    if (block.U16(entry) == tag) return entry;
  }
  return std::nullopt;
}

// An ASCII value up to its first NUL; empty when the entry is missing or of
// another type.
std::string AsciiValue(const TiffBlock& block, std::optional<std::size_t> entry) {
  if (!entry || block.U16(*entry + 2) != kAsciiType) return {};
  const std::uint32_t length = block.U32(*entry + 4);
  const std::size_t at = length <= kInlineValueBytes ? *entry + 8 : block.U32(*entry + 8);
  if (!block.Holds(at, length)) return {};
  const std::span<const std::uint8_t> text = block.Bytes(at, length);
  const auto end = std::find(text.begin(), text.end(), std::uint8_t{0});
  return {text.begin(), end};
}

}  // namespace

std::optional<ExifTimeTexts> ExifTimesFromTiff(std::span<const std::uint8_t> tiff) {
  if (tiff.size() < kTiffHeaderBytes) return std::nullopt;
  const bool little = tiff[0] == 'I' && tiff[1] == 'I' && tiff[2] == 42 && tiff[3] == 0;
  const bool big = tiff[0] == 'M' && tiff[1] == 'M' && tiff[2] == 0 && tiff[3] == 42;
  if (!little && !big) return std::nullopt;
  const TiffBlock block(tiff, big);

  const std::optional<std::size_t> pointer = FindEntry(block, block.U32(4), kExifDirectoryTag);
  if (!pointer) return std::nullopt;
  const std::uint16_t type = block.U16(*pointer + 2);
  if (type != kLongType && type != kDirectoryType) return std::nullopt;
  const std::size_t exif = block.U32(*pointer + 8);

  ExifTimeTexts times;
  times.dateTimeOriginal = AsciiValue(block, FindEntry(block, exif, kDateTimeOriginalTag));
  if (times.dateTimeOriginal.empty()) return std::nullopt;
  times.offsetTimeOriginal = AsciiValue(block, FindEntry(block, exif, kOffsetTimeOriginalTag));
  return times;
}

std::optional<std::span<const std::uint8_t>> PngExifChunk(std::span<const std::uint8_t> png) {
  constexpr std::array<std::uint8_t, 8> kSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (png.size() < kSignature.size() ||
      !std::equal(kSignature.begin(), kSignature.end(), png.begin())) {
    return std::nullopt;
  }
  const TiffBlock chunks(png, true);  // PNG numbers are big-endian
  // A chunk is its data's length, a four-letter type, the data and a CRC.
  // eXIf belongs before the pixels, but some writers append it, so the
  // walk goes on to IEND.
  constexpr std::size_t kChunkFrameBytes = 12;
  for (std::size_t at = kSignature.size(); chunks.Holds(at, kChunkFrameBytes);) {
    const std::size_t length = chunks.U32(at);
    if (!chunks.Holds(at + 8, length)) return std::nullopt;
    const std::span<const std::uint8_t> type = png.subspan(at + 4, 4);
    const auto is = [&type](const char* name) {
      return std::equal(type.begin(), type.end(), name);
    };
    if (is("eXIf")) return png.subspan(at + 8, length);
    if (is("IEND")) return std::nullopt;
    at += kChunkFrameBytes + length;
  }
  return std::nullopt;
}

}  // namespace helidisk
