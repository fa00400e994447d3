// The camera's time from EXIF tags stored in TIFF form: in a TIFF file,
// whose own header and first directory carry the EXIF directory, and in a
// PNG file's eXIf chunk, which holds the same structure.  libexif reads
// only the first 64 KiB of such a block (a JPEG segment's size), while a
// TIFF writer usually puts its directories behind the pixels, so these few
// tags are read here, every offset checked against the block.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace helidisk {

struct ExifTimeTexts {
  std::string dateTimeOriginal;    // "YYYY:MM:DD hh:mm:ss"
  std::string offsetTimeOriginal;  // "+hh:mm", empty when the file has none
};

// DateTimeOriginal and OffsetTimeOriginal from the EXIF directory that the
// first directory of a TIFF-structured block ("II*\0" or "MM\0*") points
// to.  Nothing for a block that is no TIFF, has no EXIF directory or no
// DateTimeOriginal, or whose offsets lead outside the block.
std::optional<ExifTimeTexts> ExifTimesFromTiff(std::span<const std::uint8_t> tiff);

// The data of a PNG file's eXIf chunk; nothing for a file that is no PNG,
// has no such chunk, or whose chunks run past the file's end.
std::optional<std::span<const std::uint8_t>> PngExifChunk(std::span<const std::uint8_t> png);

}  // namespace helidisk
