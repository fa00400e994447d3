// Feeds arbitrary bytes to the readers of FITS headers and time texts: as
// header cards, whose solar WCS and date are then read, and, split at the
// first line break, as a date and time pair and an EXIF date and offset.
// The same bytes go to the readers of EXIF tags in TIFF form, as a TIFF
// block and as a PNG file.  Besides the sanitizers' findings, a placement that is not finite, a
// scale or radius that is not positive, or a Julian day outside the years
// 0-9999 is a fault.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <span>
#include <string_view>

#include "fitsheader.h"
#include "obstime.h"
#include "solarwcs.h"
#include "tiffexif.h"

namespace helidisk {
namespace {

// 1 January of the year 0, 0 h, and 1 January 10000, 0 h.
constexpr double kFirstJulianDay = 1721057.5;
constexpr double kLastJulianDay = 5373484.5;

void Require(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "header fuzzer: %s\n", what);
    __builtin_trap();
  }
}

void CheckJulianDay(std::optional<double> julianDay) {
  if (julianDay) {
    Require(*julianDay >= kFirstJulianDay && *julianDay <= kLastJulianDay, "Julian day range");
  }
}

void CheckGeometry(const HeaderGeometry& geometry) {
  if (geometry.centre) {
    Require(std::isfinite(geometry.centre->xPx) && std::isfinite(geometry.centre->yPx),
            "centre not finite");
  }
  if (geometry.arcsecPerPx) {
    Require(std::isfinite(*geometry.arcsecPerPx) && *geometry.arcsecPerPx > 0, "scale");
  }
  if (geometry.solarRadiusArcsec) Require(*geometry.solarRadiusArcsec > 0, "solar radius");
  if (geometry.radiusPx)
    Require(*geometry.radiusPx >= 0 && !std::isnan(*geometry.radiusPx), "radius");
  Require(std::isfinite(geometry.rotationDeg) && std::abs(geometry.rotationDeg) <= 180, "rotation");
}

}  // namespace
}  // namespace helidisk

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace helidisk;
  const std::string_view input(reinterpret_cast<const char*>(data), size);

  const FitsHeader header = ParseFitsHeader(input);
  for (const FitsCard& card : header.cards) {
    Require(!card.keyword.empty() && card.keyword.size() <= 8, "keyword length");
    if (const std::optional<double> number = ParseFitsNumber(card.value)) {
      Require(std::isfinite(*number), "number not finite");
    }
  }
  CheckGeometry(SolarGeometryFromHeader(header, static_cast<int>(size % 8192) + 1));
  if (const std::optional<ObservationTime> time = ObservationTimeFromHeader(header)) {
    CheckJulianDay(time->julianDay);
  }

  const std::size_t lineBreak = std::min(input.find('\n'), input.size());
  const std::string_view first = input.substr(0, lineBreak);
  const std::string_view second = input.substr(std::min(lineBreak + 1, input.size()));
  CheckJulianDay(ParseFitsDateTime(first, second));
  if (const std::optional<ObservationTime> time = ParseExifDateTime(first, second)) {
    // A UTC offset moves the day by at most 14 hours past the years' ends.
    Require(time->julianDay >= kFirstJulianDay - 1 && time->julianDay <= kLastJulianDay + 1,
            "EXIF Julian day range");
  }

  const std::span<const std::uint8_t> bytes(data, size);
  if (const std::optional<ExifTimeTexts> times = ExifTimesFromTiff(bytes)) {
    Require(!times->dateTimeOriginal.empty() && times->dateTimeOriginal.size() < size &&
                times->offsetTimeOriginal.size() < size,
            "EXIF texts longer than the block");
  }
  if (const std::optional<std::span<const std::uint8_t>> chunk = PngExifChunk(bytes)) {
    Require(chunk->data() >= data && chunk->data() + chunk->size() <= data + size,
            "eXIf chunk outside the file");
  }
  return 0;
}
