// Builds TIFF-structured EXIF blocks for tests: a TIFF header, a first
// directory pointing to an EXIF directory with DateTimeOriginal and, when
// given, OffsetTimeOriginal.  With pixels it is a whole uncompressed 8-bit
// grey TIFF file whose directories follow the pixels, as libtiff writes
// them; without, the block a PNG's eXIf chunk holds.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace helidisk::fakes {

struct ExifTiffRequest {
  bool bigEndian = false;
  int widthPx = 0;  // 0: no pixels, the EXIF block alone
  int heightPx = 0;
  std::string dateTimeOriginal;
  std::string offsetTimeOriginal;  // empty: no such tag
};

class ExifTiffWriter {
 public:
  explicit ExifTiffWriter(bool bigEndian) : bigEndian_(bigEndian) {}

  void U16(std::uint32_t value) {
    const auto high = static_cast<std::uint8_t>(value >> 8U);
    const auto low = static_cast<std::uint8_t>(value & 0xFFU);
    bytes_.push_back(bigEndian_ ? high : low);
    bytes_.push_back(bigEndian_ ? low : high);
  }
  void U32(std::uint32_t value) {
    if (bigEndian_) {
      U16(value >> 16U);
      U16(value & 0xFFFFU);
    } else {
      U16(value & 0xFFFFU);
      U16(value >> 16U);
    }
  }
  // A SHORT entry's value sits in the first two of its four value bytes.
  void ShortEntry(std::uint16_t tag, std::uint16_t value) {
    U16(tag);
    U16(3);
    U32(1);
    U16(value);
    U16(0);
  }
  void Entry(std::uint16_t tag, std::uint16_t type, std::uint32_t count, std::uint32_t value) {
    U16(tag);
    U16(type);
    U32(count);
    U32(value);
  }
  std::vector<std::uint8_t>& Bytes() { return bytes_; }

 private:
  bool bigEndian_;
  std::vector<std::uint8_t> bytes_;
};

inline std::vector<std::uint8_t> ExifTiff(const ExifTiffRequest& request) {
  ExifTiffWriter out(request.bigEndian);
  const bool image = request.widthPx > 0;
  const auto pixelBytes = static_cast<std::uint32_t>(request.widthPx * request.heightPx);
  const std::uint32_t imageEntries = image ? 8 : 0;
  const std::uint32_t firstDirectory = 8 + pixelBytes;
  const std::uint32_t exifDirectory = firstDirectory + 2 + (imageEntries + 1) * 12 + 4;
  const std::uint32_t exifEntries = request.offsetTimeOriginal.empty() ? 1 : 2;
  const std::uint32_t dateAt = exifDirectory + 2 + exifEntries * 12 + 4;
  const auto dateBytes = static_cast<std::uint32_t>(request.dateTimeOriginal.size() + 1);
  const std::uint32_t offsetAt = dateAt + dateBytes;
  const auto offsetBytes = static_cast<std::uint32_t>(request.offsetTimeOriginal.size() + 1);

  auto& bytes = out.Bytes();
  const std::uint8_t order = request.bigEndian ? 'M' : 'I';
  bytes.push_back(order);
  bytes.push_back(order);
  out.U16(42);
  out.U32(firstDirectory);
  bytes.insert(bytes.end(), pixelBytes, std::uint8_t{128});

  out.U16(imageEntries + 1);
  if (image) {
    out.Entry(256, 4, 1, static_cast<std::uint32_t>(request.widthPx));   // ImageWidth
    out.Entry(257, 4, 1, static_cast<std::uint32_t>(request.heightPx));  // ImageLength
    out.ShortEntry(258, 8);                                              // BitsPerSample
    out.ShortEntry(259, 1);                                              // no compression
    out.ShortEntry(262, 1);                                              // black is zero
    out.Entry(273, 4, 1, 8);                                             // StripOffsets
    out.Entry(278, 4, 1, static_cast<std::uint32_t>(request.heightPx));  // RowsPerStrip
    out.Entry(279, 4, 1, pixelBytes);                                    // StripByteCounts
  }
  out.Entry(0x8769, 4, 1, exifDirectory);
  out.U32(0);

  out.U16(exifEntries);
  out.Entry(0x9003, 2, dateBytes, dateAt);
  if (!request.offsetTimeOriginal.empty()) out.Entry(0x9011, 2, offsetBytes, offsetAt);
  out.U32(0);
  bytes.insert(bytes.end(), request.dateTimeOriginal.begin(), request.dateTimeOriginal.end());
  bytes.push_back(0);
  if (!request.offsetTimeOriginal.empty()) {
    bytes.insert(bytes.end(), request.offsetTimeOriginal.begin(), request.offsetTimeOriginal.end());
    bytes.push_back(0);
  }
  return bytes;
}

}  // namespace helidisk::fakes
