// A whole redraw on the raster canvas, checked pixel by pixel where the
// projection says the disk, the limb, the coloured meridians and the axis
// markers must be.
#include <gtest/gtest.h>

#include <QImage>
#include <array>
#include <cmath>

#include "disk_orientation.h"
#include "diskgeometry.h"
#include "grids.h"
#include "projection.h"
#include "qimagecanvas.h"
#include "redraw.h"

namespace helidisk {
namespace {

constexpr double kDegree = 3600;  // arc seconds

class PictureWindow : public FormView {
 public:
  PictureWindow(std::int32_t controlWidth, std::int32_t controlHeight)
      : geometry(DiskGeometryOfPicture(controlWidth, controlHeight)) {
    canvas.SetWidth(ImageWidthOf(geometry));
    canvas.SetHeight(ImageHeightOf(geometry));
  }

  Canvas& ImageCanvas() override { return canvas; }
  DiskGeometry PictureGeometry() const override { return geometry; }
  double HourPosition() const override { return position; }
  bool DiffRotChecked() const override { return differential; }
  void SetReadoutCaption(ReadoutLabel /*label*/, const std::string& /*caption*/) override {}
  std::int32_t CurrentYear() const override { return 2021; }
  std::string DecimalSeparator() const override { return "."; }

  QRgb Pixel(std::int32_t x, std::int32_t y) const { return canvas.Image().pixel(x, y); }

  // Whether a pixel of the colour lies within `reach` pixels of (x, y).
  bool ColourNear(std::int32_t x, std::int32_t y, QRgb colour, int reach = 1) const {
    for (int dy = -reach; dy <= reach; ++dy) {
      for (int dx = -reach; dx <= reach; ++dx) {
        if (canvas.Image().valid(x + dx, y + dy) && Pixel(x + dx, y + dy) == colour) return true;
      }
    }
    return false;
  }

  DiskGeometry geometry;
  QImageCanvas canvas;
  std::int32_t position = 0;
  bool differential = false;
};

using fakes::Pixel;
using fakes::PixelOf;

const QRgb kBlackPixel = qRgb(0, 0, 0);
const QRgb kWhitePixel = qRgb(255, 255, 255);
const QRgb kYellowPixel = qRgb(255, 255, 0);
const QRgb kGreyPixel = qRgb(128, 128, 128);
const QRgb kRedPixel = qRgb(255, 0, 0);
const QRgb kBluePixel = qRgb(0, 0, 255);

TEST(RedrawPixels, BackgroundDiskAndLimbAtDesignSize) {
  PictureWindow window(1000, 628);
  const RedrawResult drawn = Redraw(window);
  ASSERT_EQ(window.canvas.Image().size(), QSize(998, 626));
  for (const auto& [x, y] : {std::pair{0, 0}, {997, 0}, {0, 625}, {997, 625}}) {
    EXPECT_EQ(window.Pixel(x, y), kBlackPixel) << x << ", " << y;
  }
  const std::int32_t radius = drawn.diskRadiusPx;
  ASSERT_EQ(radius, 306);
  // Inside grid cells the disk shows its yellow.
  for (const auto& [longitude, latitude] : {std::pair{285.0, 5.0}, {255.0, -15.0}, {305.0, 45.0}}) {
    const Pixel inCell = PixelOf(drawn.frame, longitude, latitude);
    EXPECT_EQ(window.Pixel(inCell.x, inCell.y), kYellowPixel) << longitude << ", " << latitude;
  }
  // The limb is a black ring just at the radius, with black sky beyond it.
  EXPECT_TRUE(window.ColourNear(499 + radius, 313, kBlackPixel));
  EXPECT_TRUE(window.ColourNear(499, 313 - radius, kBlackPixel));
  EXPECT_EQ(window.Pixel(499 + radius - 8, 313 + 20), kYellowPixel);
  // The centre cross.
  EXPECT_EQ(window.Pixel(499 + 4, 313), kBlackPixel);
}

TEST(RedrawPixels, ColouredMeridiansWhereTheProjectionPutsThem) {
  struct Case {
    std::int32_t position;
    double longitudeDeg;
    QRgb colour;
  };
  // New Year 2021 looks at L0 = 280 deg; two weeks later at about 100 deg.
  for (const Case c : {Case{0, 280, kRedPixel}, Case{330, 100, kBluePixel}}) {
    SCOPED_TRACE(c.position);
    PictureWindow window(1000, 628);
    window.position = c.position;
    const DiskFrame frame = Redraw(window).frame;
    for (const double latitude : {-45.0, -15.0, 15.0, 45.0}) {
      const Pixel onMeridian = PixelOf(frame, c.longitudeDeg, latitude);
      ASSERT_GT(onMeridian.depth, 0.5);
      EXPECT_TRUE(window.ColourNear(onMeridian.x, onMeridian.y, c.colour)) << latitude;
    }
  }
}

TEST(RedrawPixels, MarkersPointWhiteToNorthAndBlackToSouth) {
  for (const bool differential : {false, true}) {
    SCOPED_TRACE(differential ? "differential" : "fixed");
    PictureWindow window(1000, 628);
    window.differential = differential;
    const DiskFrame frame = Redraw(window).frame;
    // At new year both grids coincide; markers 1 and 2 sit on the red
    // meridian, near the central one.
    for (const double latitude : {-25.0, 25.0}) {
      const Pixel centre = PixelOf(frame, -80, latitude);
      ASSERT_GT(centre.depth, 0.2);
      EXPECT_EQ(window.Pixel(centre.x, centre.y), kGreyPixel) << latitude;
      const Pixel north = PixelOf(frame, -80, latitude + 2.5);
      const Pixel south = PixelOf(frame, -80, latitude - 2.5);
      EXPECT_EQ(window.Pixel(north.x, north.y), kWhitePixel) << latitude;
      EXPECT_EQ(window.Pixel(south.x, south.y), kBlackPixel) << latitude;
    }
  }
}

TEST(RedrawPixels, DifferentialMeridianBendsWithTheShift) {
  PictureWindow window(1000, 628);
  window.differential = true;
  window.position = 8736;
  const DiskFrame frame = Redraw(window).frame;
  // Wherever the red meridian now runs on the near side, it runs shifted;
  // the latitudes keep clear of parallels and markers drawn over it.
  int checked = 0;
  for (const double latitude : {-45.0, -35.0, -15.0, 15.0, 35.0, 45.0}) {
    const double shift = DifferentialShiftArcSeconds(latitude * kDegree, 8736) / kDegree;
    const Pixel shifted = PixelOf(frame, 280 + shift, latitude);
    if (shifted.depth < 0.3) continue;
    ++checked;
    EXPECT_TRUE(window.ColourNear(shifted.x, shifted.y, kRedPixel)) << latitude;
  }
  EXPECT_GE(checked, 1);
}

TEST(RedrawPixels, TinyPicturesDrawWithoutFailing) {
  for (const auto& [width, height] : {std::pair{0, 0}, {1, 1}, {2, 2}, {3, 3}, {50, 24}}) {
    SCOPED_TRACE(::testing::Message() << width << " x " << height);
    PictureWindow window(width, height);
    for (const bool differential : {false, true}) {
      window.differential = differential;
      EXPECT_NO_THROW(Redraw(window));
    }
  }
}

}  // namespace
}  // namespace helidisk
