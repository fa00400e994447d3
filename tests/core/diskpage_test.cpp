#include "diskpage.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>

#include "diskgeometry.h"
#include "recording_canvas.h"
#include "redraw.h"

namespace helidisk {
namespace {

TEST(DiskPageTest, LengthsWithTheirUnits) {
  struct Case {
    const char* text;
    std::optional<double> millimetres;
  };
  const Case cases[] = {
      {"150mm", 150},
      {"15cm", 150},
      {"6in", 152.4},
      {"0.5in", 12.7},
      {"99.95mm", 99.95},
      {"-3mm", -3},
      {"0mm", 0},
      {"150", std::nullopt},
      {"mm", std::nullopt},
      {"150 mm", std::nullopt},
      {"150MM", std::nullopt},
      {"1e2mm", std::nullopt},
      {"infmm", std::nullopt},
      {"nanmm", std::nullopt},
      {"150mmm", std::nullopt},
      {"15pt", std::nullopt},
      {"", std::nullopt},
  };
  for (const Case& c : cases) {
    const std::optional<double> parsed = ParseLengthMm(c.text);
    ASSERT_EQ(parsed.has_value(), c.millimetres.has_value()) << c.text;
    if (parsed) {
      EXPECT_DOUBLE_EQ(*parsed, *c.millimetres) << c.text;
    }
  }
}

TEST(DiskPageTest, PaperNamesInAnyLetterCase) {
  EXPECT_EQ(PaperSizeNamed("A4"), PaperSize::A4);
  EXPECT_EQ(PaperSizeNamed("a3"), PaperSize::A3);
  EXPECT_EQ(PaperSizeNamed("LETTER"), PaperSize::Letter);
  EXPECT_EQ(PaperSizeNamed("A5"), std::nullopt);
  EXPECT_EQ(PaperSizeNamed(""), std::nullopt);
}

// The limb line's outer edge, 1 px beyond the limb, measures the diameter.
TEST(DiskPageTest, LimbLineMeasuresTheDiameter) {
  for (const std::int32_t radiusPx : {287, 301, 306}) {
    EXPECT_DOUBLE_EQ((2 * radiusPx + 2) * MillimetresPerPixel(150, radiusPx), 150);
  }
}

// Up to the largest diameter the page reports, the whole picture (where the
// compass stands) lies on the paper above the texts, and the texts above
// the bottom margin, for the disk at the Sun's least and greatest distance;
// a little more is refused with the largest size quoted.
TEST(DiskPageTest, LargestDiskKeepsPictureAndTextsOnThePaper) {
  const DiskGeometry page = DiskGeometryOfPicture(kPageControlSidePx, kPageControlSidePx);
  for (const PaperSize paper : kPaperSizes) {
    const PageSizeMm sheet = PageSizeOf(paper);
    for (const int rows : {kInstantPageRowCount, kTemplatePageRowCount}) {
      const std::string name = PaperSizeName(paper) + ", " + std::to_string(rows) + " rows";
      const double largestMm = LargestDiskDiameterMm(sheet, rows);
      ASSERT_GT(largestMm, 150) << name;
      EXPECT_EQ(DiskPageMisfit(sheet, largestMm, rows), std::nullopt) << name;
      const DiskPageLayout layout = LayOutDiskPage(sheet, largestMm);
      EXPECT_DOUBLE_EQ(layout.diskCentreXMm, sheet.widthMm / 2) << name;
      for (const double distanceAu : {0.95, 1.0, 1.05}) {
        const std::int32_t radiusPx = DiskRadiusOf(page, distanceAu);
        const double halfSideMm = page.CentreX * MillimetresPerPixel(largestMm, radiusPx);
        EXPECT_GE(layout.diskCentreXMm - halfSideMm, 0) << name;
        EXPECT_LE(layout.diskCentreXMm + halfSideMm, sheet.widthMm) << name;
        EXPECT_GE(layout.diskCentreYMm - halfSideMm, 0) << name;
        EXPECT_LE(layout.diskCentreYMm + halfSideMm, layout.textTopMm) << name;
      }
      EXPECT_LE(layout.textTopMm + rows * layout.rowHeightMm, sheet.heightMm) << name;

      const std::optional<std::string> misfit = DiskPageMisfit(sheet, largestMm + 0.1, rows);
      ASSERT_TRUE(misfit) << name;
      const double quotedMm = std::floor(largestMm * 10) / 10;
      char quoted[32];
      std::snprintf(quoted, sizeof quoted, "at most %.1f mm", quotedMm);
      EXPECT_NE(misfit->find(quoted), std::string::npos) << *misfit;
    }
  }
  for (const double diameterMm : {0.0, -1.0, std::nan("")}) {
    EXPECT_TRUE(DiskPageMisfit(PageSizeOf(PaperSize::A4), diameterMm, 1)) << diameterMm;
  }
}

TEST(DiskPageTest, InstantRowsHoldTheReadoutRotationAndView) {
  fakes::FakeForm form;
  form.year = 2021;
  form.scrollPosition = 4417;
  const RedrawResult result = Redraw(form);
  const std::vector<PageTextRow> rows =
      InstantPageRows(result, Orientation::Mirror, "Stonyhurst grid");
  ASSERT_EQ(rows.size(), std::size_t{kInstantPageRowCount});
  EXPECT_EQ(rows[0].left, "Instant UT: 2021-07-04T01:00Z");
  EXPECT_EQ(rows[0].right.rfind("Carr.Rot. : 2245.", 0), 0U) << rows[0].right;
  const ReadoutLabel left[] = {ReadoutLabel::JD, ReadoutLabel::Datum, ReadoutLabel::Zeit,
                               ReadoutLabel::RAapp, ReadoutLabel::DEapp};
  const ReadoutLabel right[] = {ReadoutLabel::Distanz, ReadoutLabel::Halbmesser, ReadoutLabel::P,
                                ReadoutLabel::B0, ReadoutLabel::L0};
  for (std::size_t row = 0; row < 5; ++row) {
    EXPECT_EQ(rows[row + 1].left, form.Caption(left[row]));
    EXPECT_EQ(rows[row + 1].right, form.Caption(right[row]));
  }
  EXPECT_EQ(rows[6].left, "View      : mirror (north up, east right), Stonyhurst grid");
}

TEST(DiskPageTest, TemplateRowNamesItsB0) {
  struct Case {
    double b0Deg;
    const char* text;
  };
  for (const Case& c : {Case{3, "B0 = +3°"}, Case{-3, "B0 = -3°"}, Case{-0.0, "B0 = 0°"},
                        Case{7.25, "B0 = +7.25°"}}) {
    const std::vector<PageTextRow> rows = TemplatePageRows(c.b0Deg);
    ASSERT_EQ(rows.size(), std::size_t{kTemplatePageRowCount});
    EXPECT_EQ(rows[0].left, c.text);
  }
}

}  // namespace
}  // namespace helidisk
