#include "diskpage.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <iterator>

#include "carrington.h"
#include "ephemerisrecord.h"
#include "fixedtext.h"
#include "pointerreadout.h"
#include "textfields.h"

namespace helidisk {

namespace {

constexpr double kPageMarginMm = 10;
constexpr double kTextGapMm = 6;
constexpr double kRowHeightMm = 5;
// How far the picture's square reaches beyond the disk's radius, at most:
// half its side, 313 px, against a disk of 287 px and its limb line at
// 1.05 AU, the greatest distance the solar theory is trusted with.
constexpr double kPictureReachOverDiskRadius = 1.09;

struct LengthUnit {
  const char* name;
  double millimetres;
};
constexpr LengthUnit kLengthUnits[] = {{"mm", 1}, {"cm", 10}, {"in", kMillimetresPerInch}};

std::string Lowercase(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

// The readout texts in the order the page shows them: the instant and the
// Sun's place on the left, its size and orientation on the right.
constexpr ReadoutLabel kLeftColumn[] = {ReadoutLabel::JD, ReadoutLabel::Datum, ReadoutLabel::Zeit,
                                        ReadoutLabel::RAapp, ReadoutLabel::DEapp};
constexpr ReadoutLabel kRightColumn[] = {ReadoutLabel::Distanz, ReadoutLabel::Halbmesser,
                                         ReadoutLabel::P, ReadoutLabel::B0, ReadoutLabel::L0};

const std::string& ReadoutOf(const RedrawResult& result, ReadoutLabel label) {
  return result.readout[static_cast<std::size_t>(label)];
}

}  // namespace

PageSizeMm PageSizeOf(PaperSize paper) {
  switch (paper) {
    case PaperSize::A4:
      return {210, 297};
    case PaperSize::A3:
      return {297, 420};
    case PaperSize::Letter:
      return {8.5 * kMillimetresPerInch, 11 * kMillimetresPerInch};
  }
  return {};
}

std::string PaperSizeName(PaperSize paper) {
  switch (paper) {
    case PaperSize::A4:
      return "A4";
    case PaperSize::A3:
      return "A3";
    case PaperSize::Letter:
      return "Letter";
  }
  return {};
}

std::optional<PaperSize> PaperSizeNamed(const std::string& name) {
  for (const PaperSize paper : kPaperSizes) {
    if (Lowercase(PaperSizeName(paper)) == Lowercase(name)) return paper;
  }
  return std::nullopt;
}

std::optional<double> ParseLengthMm(const std::string& text) {
  for (const LengthUnit& unit : kLengthUnits) {
    const std::string suffix = unit.name;
    if (text.size() <= suffix.size() || !text.ends_with(suffix)) continue;
    const char* begin = text.data();
    const char* end = text.data() + text.size() - suffix.size();
    double value = 0;
    const auto parsed = std::from_chars(begin, end, value, std::chars_format::fixed);
    if (parsed.ec != std::errc() || parsed.ptr != end || !std::isfinite(value)) return std::nullopt;
    return value * unit.millimetres;
  }
  return std::nullopt;
}

double LargestDiskDiameterMm(PageSizeMm page, int textRows) {
  const double heightForPicture =
      page.heightMm - 2 * kPageMarginMm - kTextGapMm - textRows * kRowHeightMm;
  return std::min(page.widthMm, heightForPicture) / kPictureReachOverDiskRadius;
}

std::optional<std::string> DiskPageMisfit(PageSizeMm page, double diameterMm, int textRows) {
  if (!(diameterMm > 0)) return "a disk needs a diameter greater than 0 mm";
  const double largestMm = LargestDiskDiameterMm(page, textRows);
  if (diameterMm <= largestMm) return std::nullopt;
  const std::string pageText =
      FormatFixed(page.widthMm, 0, 1) + " x " + FormatFixed(page.heightMm, 0, 1) + " mm";
  // The largest diameter quoted is one that fits.
  const double quotedMm = std::floor(largestMm * 10) / 10;
  if (!(quotedMm > 0)) return "a page of " + pageText + " has no room for a disk with its texts";
  return "a disk of " + FormatFixed(diameterMm, 0, 1) + " mm does not fit a page of " + pageText +
         " with its margins and texts; at most " + FormatFixed(quotedMm, 0, 1) + " mm";
}

DiskPageLayout LayOutDiskPage(PageSizeMm page, double diameterMm) {
  const double pictureReachMm = kPictureReachOverDiskRadius * diameterMm / 2;
  DiskPageLayout layout;
  layout.diskCentreXMm = page.widthMm / 2;
  layout.diskCentreYMm = kPageMarginMm + pictureReachMm;
  layout.textTopMm = layout.diskCentreYMm + pictureReachMm + kTextGapMm;
  layout.rowHeightMm = kRowHeightMm;
  return layout;
}

double MillimetresPerPixel(double diameterMm, std::int32_t diskRadiusPx) {
  return diameterMm / (2.0 * diskRadiusPx + 2.0);
}

std::vector<PageTextRow> InstantPageRows(const RedrawResult& result, Orientation orientation,
                                         const std::string& gridName) {
  const CarringtonRotation rotation = CarringtonRotationOf(result.sun.julianDay, result.sun.l0Rad);
  std::vector<PageTextRow> rows;
  rows.push_back(
      {"Instant UT: " + UtcMinuteText(result.instant), CarringtonRotationText(rotation)});
  for (std::size_t row = 0; row < std::size(kLeftColumn); ++row) {
    rows.push_back({ReadoutOf(result, kLeftColumn[row]), ReadoutOf(result, kRightColumn[row])});
  }
  rows.push_back({"View      : " + OrientationDescription(orientation) + ", " + gridName, ""});
  return rows;
}

std::vector<PageTextRow> TemplatePageRows(double b0Deg) {
  const std::string sign = b0Deg > 0 ? "+" : "";
  return {{"B0 = " + sign + ExactNumber(b0Deg + 0.0) + "°", ""}};
}

std::string OrientationDescription(Orientation orientation) {
  switch (orientation) {
    case Orientation::Sky:
      return "sky (north up, east left)";
    case Orientation::Mirror:
      return "mirror (north up, east right)";
    case Orientation::Inverted:
      return "inverted (south up, east right)";
    case Orientation::InvertedMirror:
      return "inverted mirror (south up, east left)";
    case Orientation::SolarNorth:
      return "solar north up";
  }
  return {};
}

}  // namespace helidisk
