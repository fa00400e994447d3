#include "diskpage.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>

#include "diskgeometry.h"

namespace helidisk {
namespace {

// Up to the largest diameter the page allows, the whole picture (where the
// compass stands) lies on the paper above the texts, and the texts above
// its foot, for the disk at the Sun's least and greatest distance; a tenth
// of a millimetre more is refused, quoting the largest size.
TEST(DiskPageTest, LargestDiskKeepsPictureAndTextsOnThePaper) {
  const DiskGeometry page = DiskGeometryOfPicture(kPageControlSidePx, kPageControlSidePx);
  for (const PaperSize paper : kPaperSizes) {
    const PageSizeMm sheet = PageSizeOf(paper);
    for (const int rows : {kInstantPageRowCount, kTemplatePageRowCount}) {
      const std::string name = PaperSizeName(paper) + ", " + std::to_string(rows) + " rows";
      const double largestMm = LargestDiskDiameterMm(sheet, rows);
      ASSERT_GT(largestMm, 150) << name;
      EXPECT_FALSE(DiskPageMisfit(sheet, largestMm, rows)) << name;
      const DiskPageLayout layout = LayOutDiskPage(sheet, largestMm);
      for (const double distanceAu : {0.95, 1.05}) {
        const double halfSideMm =
            page.CentreX * MillimetresPerPixel(largestMm, DiskRadiusOf(page, distanceAu));
        EXPECT_GE(layout.diskCentreXMm - halfSideMm, 0) << name;
        EXPECT_LE(layout.diskCentreXMm + halfSideMm, sheet.widthMm) << name;
        EXPECT_GE(layout.diskCentreYMm - halfSideMm, 0) << name;
        EXPECT_LE(layout.diskCentreYMm + halfSideMm, layout.textTopMm) << name;
      }
      EXPECT_LE(layout.textTopMm + rows * layout.rowHeightMm, sheet.heightMm) << name;
      const std::optional<std::string> misfit = DiskPageMisfit(sheet, largestMm + 0.1, rows);
      ASSERT_TRUE(misfit) << name;
      char quoted[32];
      std::snprintf(quoted, sizeof quoted, "at most %.1f mm", std::floor(largestMm * 10) / 10);
      EXPECT_NE(misfit->find(quoted), std::string::npos) << *misfit;
    }
  }
  EXPECT_TRUE(DiskPageMisfit(PageSizeOf(PaperSize::A4), 0, 1));
}

}  // namespace
}  // namespace helidisk
