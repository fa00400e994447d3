// Writes FITS files for tests and benchmarks through cfitsio: one image HDU
// of the given BITPIX with header cards, raw values written unscaled.
#pragma once

#include <fitsio.h>

#include <algorithm>
#include <string>
#include <variant>
#include <vector>

namespace helidisk::fakes {

struct Card {
  std::string keyword;
  std::variant<double, std::string> value;
};

// Writes the raw values (cast to the BITPIX's type, BSCALE and BZERO not
// applied) of a width x height image, bottom row first, with the cards; a
// path ending in "[compress]" makes a tile-compressed image.  Returns cfitsio's
// status (0 when written).  With `emptyPrimary` the image goes into the
// first extension behind a primary HDU without data.  A width of 0 makes
// an HDU without an image (NAXIS = 0).
inline int WriteFits(const std::string& path, int bitpix, long widthPx, long heightPx,
                     const std::vector<double>& rawValues, const std::vector<Card>& cards,
                     bool emptyPrimary = false) {
  int status = 0;
  fitsfile* file = nullptr;
  fits_create_file(&file, ("!" + path).c_str(), &status);
  if (emptyPrimary) fits_create_img(file, 8, 0, nullptr, &status);
  long axes[2] = {widthPx, heightPx};
  fits_create_img(file, bitpix, widthPx > 0 ? 2 : 0, axes, &status);
  for (const Card& card : cards) {
    if (const auto* number = std::get_if<double>(&card.value)) {
      double value = *number;
      fits_update_key(file, TDOUBLE, card.keyword.c_str(), &value, nullptr, &status);
    } else {
      std::string text = std::get<std::string>(card.value);
      fits_update_key(file, TSTRING, card.keyword.c_str(), text.data(), nullptr, &status);
    }
  }
  const bool scaled = std::any_of(cards.begin(), cards.end(), [](const Card& card) {
    return card.keyword == "BSCALE" || card.keyword == "BZERO";
  });
  if (!rawValues.empty()) {
    if (scaled) fits_set_bscale(file, 1, 0, &status);
    // Written in the type BITPIX names: cfitsio converts no types into a
    // compressed image.
    const auto count = static_cast<LONGLONG>(rawValues.size());
    if (bitpix == SHORT_IMG) {
      std::vector<short> values(rawValues.begin(), rawValues.end());
      fits_write_img(file, TSHORT, 1, count, values.data(), &status);
    } else {
      std::vector<double> values = rawValues;
      fits_write_img(file, TDOUBLE, 1, count, values.data(), &status);
    }
  }
  fits_close_file(file, &status);
  return status;
}

}  // namespace helidisk::fakes
