// A printed page of the disk at its true size: the paper, the disk's
// diameter on it, where the picture and the texts go, and the texts.
//
// The page holds the picture of a square picture control, the disk in its
// middle, scaled so that the disk with its limb line measures the chosen
// diameter, centred across the page in its upper part; rows of text follow
// below it.  Lengths are millimetres from the paper's top-left corner.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "diskframe.h"
#include "redraw.h"

namespace helidisk {

enum class PaperSize { A4, A3, Letter };

inline constexpr PaperSize kPaperSizes[] = {PaperSize::A4, PaperSize::A3, PaperSize::Letter};

struct PageSizeMm {
  double widthMm = 0;
  double heightMm = 0;
};

// Portrait.
PageSizeMm PageSizeOf(PaperSize paper);
// "A4", "A3", "Letter".
std::string PaperSizeName(PaperSize paper);
// The paper of a name in any letter case.
std::optional<PaperSize> PaperSizeNamed(const std::string& name);

inline constexpr double kDefaultDiskDiameterMm = 150;

// A page's choices: the disk's diameter on paper and the paper.
struct PageOptions {
  double diameterMm = kDefaultDiskDiameterMm;
  PaperSize paper = PaperSize::A4;
};
inline constexpr double kMillimetresPerInch = 25.4;

// A length with its unit and nothing else: "150mm", "15cm", "5.9in", in
// millimetres; nothing for any other text, infinite values included.
std::optional<double> ParseLengthMm(const std::string& text);

// The side of the picture control a page shows: the window's picture
// height, so that the disk at one astronomical unit keeps the picture's
// 12 px margin all round.
inline constexpr std::int32_t kPageControlSidePx = 628;

// One row of text: a left column and, for most rows, a right one; UTF-8.
struct PageTextRow {
  std::string left;
  std::string right;
};

struct DiskPageLayout {
  double diskCentreXMm = 0;
  double diskCentreYMm = 0;
  // The top of the first text row, and the distance between rows.
  double textTopMm = 0;
  double rowHeightMm = 0;
};

// How many rows InstantPageRows and TemplatePageRows give.
inline constexpr int kInstantPageRowCount = 7;
inline constexpr int kTemplatePageRowCount = 1;

// The largest diameter whose page fits the paper with that many text rows:
// the picture's square (the disk and the margin the compass stands in)
// within the paper's width, and the page margins, the square, the gap and
// the rows within its height.  Zero or less when nothing fits.
double LargestDiskDiameterMm(PageSizeMm page, int textRows);

// Why a disk of that diameter cannot go on the page with that many text
// rows, or nothing when it can.
std::optional<std::string> DiskPageMisfit(PageSizeMm page, double diameterMm, int textRows);

// The layout for a disk of at most LargestDiskDiameterMm.
DiskPageLayout LayOutDiskPage(PageSizeMm page, double diameterMm);

// Millimetres on paper per pixel of the picture, for a disk of the given
// radius in pixels: its limb line, 2 px wide and centred on the limb,
// reaches 1 px beyond it, and that outer edge measures the diameter.
double MillimetresPerPixel(double diameterMm, std::int32_t diskRadiusPx);

// The rows below an instant's disk: the instant in UT and the Carrington
// rotation, the ten readout texts in two columns of five, and how the
// picture is to be read with the grid it shows.
std::vector<PageTextRow> InstantPageRows(const RedrawResult& result, Orientation orientation,
                                         const std::string& gridName);

// The one row below a template: "B0 = +3°".
std::vector<PageTextRow> TemplatePageRows(double b0Deg);

// "sky (north up, east left)", "solar north up", ...
std::string OrientationDescription(Orientation orientation);

}  // namespace helidisk
