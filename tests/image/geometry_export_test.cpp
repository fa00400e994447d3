// Pictures written with their geometry are placed again from it: by this
// program's own header reader, and by astropy's WCS where python3 has it.
#include "geometryexport.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QImageReader>
#include <QProcess>
#include <QTemporaryDir>
#include <cmath>

#include "fitsfile.h"
#include "solarimage.h"
#include "solarwcs.h"
#include "trigfunc.h"

namespace helidisk {
namespace {

constexpr double kDay = 2460400.3125;  // 2024-03-31 19:30 UT
// Debian's python3-astropy installs for the system's interpreter.
const QString kPython = QStringLiteral("/usr/bin/python3");

struct Placement {
  const char* name;
  int widthPx;
  int heightPx;
  double centreXPx;
  double centreYPx;
  double radiusPx;
  double northTurnDeg;
  bool grey;
};

const Placement kPlacements[] = {
    {"aligned frame", 512, 512, 255.5, 255.5, 225.28, 0, true},
    {"off-centre, turned", 640, 480, 301.25, 257.75, 190.5, 33.5, false},
    {"turned the other way", 300, 400, 140.0, 210.0, 120.0, -121.0, true},
};

QImage PictureOf(const Placement& placement) {
  QImage picture(placement.widthPx, placement.heightPx,
                 placement.grey ? QImage::Format_Grayscale8 : QImage::Format_RGB32);
  // A gradient, so that an image flipped on the way would differ.
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x) picture.setPixel(x, y, qRgb(x % 256, y % 256, 90));
  }
  if (placement.grey) {
    for (int y = 0; y < picture.height(); ++y) {
      uchar* row = picture.scanLine(y);
      for (int x = 0; x < picture.width(); ++x) row[x] = static_cast<uchar>((x + 2 * y) % 256);
    }
  }
  return picture;
}

PictureGeometry GeometryOf(const Placement& placement) {
  return {placement.widthPx,  placement.heightPx,     placement.centreXPx, placement.centreYPx,
          placement.radiusPx, placement.northTurnDeg, ComputeSun(kDay)};
}

class GeometryExport : public ::testing::TestWithParam<Placement> {
 protected:
  QTemporaryDir directory_;
};

TEST_P(GeometryExport, FitsIsPlacedAgainByTheHeaderReader) {
  const Placement& placement = GetParam();
  const QString path = directory_.filePath("picture.fits");
  const QImage picture = PictureOf(placement);
  WriteFitsPicture(picture, GeometryCards(GeometryOf(placement)), {"written by a test"}, path);

  const SolarImage image = LoadSolarImage(path);
  ASSERT_TRUE(image.header.centre);
  ASSERT_TRUE(image.header.radiusPx);
  EXPECT_TRUE(image.header.alignedToSolarNorth);
  EXPECT_FALSE(image.header.mirrored);
  EXPECT_NEAR(image.header.centre->xPx, placement.centreXPx, 1e-6);
  EXPECT_NEAR(image.header.centre->yPx, placement.centreYPx, 1e-6);
  EXPECT_NEAR(*image.header.radiusPx, placement.radiusPx, 1e-6);
  EXPECT_NEAR(image.header.rotationDeg, placement.northTurnDeg, 1e-9);
  ASSERT_TRUE(image.observed);
  EXPECT_NEAR(image.observed->julianDay, kDay, 1e-8);
  // The pixels come back the right way up (a colour picture as its red
  // plane, the first of the cube).
  const FitsPixels pixels = ReadFitsImage(path);
  ASSERT_EQ(pixels.widthPx, placement.widthPx);
  const int topRowInFits = placement.heightPx - 1;
  const float topLeft = pixels.Values()[static_cast<std::size_t>(topRowInFits) *
                                            static_cast<std::size_t>(placement.widthPx) +
                                        7];
  EXPECT_EQ(topLeft, placement.grey ? qGray(picture.pixel(7, 0)) : qRed(picture.pixel(7, 0)));
}

TEST_P(GeometryExport, PngCarriesTheSameKeywordsInTextChunks) {
  const Placement& placement = GetParam();
  const QString path = directory_.filePath("picture.png");
  const std::vector<GeometryCard> cards = GeometryCards(GeometryOf(placement));
  const std::string png = PngWithGeometry(PictureOf(placement), cards, path);
  QImage read;
  ASSERT_TRUE(read.loadFromData(QByteArrayView(png), "png"));
  for (const GeometryCard& card : cards) {
    EXPECT_EQ(read.text(QString::fromStdString(card.keyword)).toStdString(), CardValueText(card))
        << card.keyword;
  }
  // The text gives the numbers back to the last digit the file keeps.
  EXPECT_NEAR(read.text("CRPIX1").toDouble() - 1, placement.centreXPx, 1e-9);
  EXPECT_NEAR(read.text("CROTA2").toDouble(), -placement.northTurnDeg, 1e-9);
}

// astropy's own reading of the header: the pixel of helioprojective
// (0", 0") and the distance to the pixel of (0", RSUN_OBS), in its pixels
// (from 0, rows upward).
TEST_P(GeometryExport, AstropyWcsFindsTheSameDiskCentreAndRadius) {
  QProcess probe;
  probe.start(kPython, {"-c", "import astropy.wcs"});
  if (!probe.waitForFinished(30000) || probe.exitCode() != 0) {
    GTEST_SKIP() << "python3 with astropy is not available";
  }
  const Placement& placement = GetParam();
  const QString path = directory_.filePath("picture.fits");
  WriteFitsPicture(PictureOf(placement), GeometryCards(GeometryOf(placement)), {}, path);
  const char* script = R"(
import sys, math, warnings
from astropy.io import fits
from astropy.wcs import WCS
warnings.simplefilter('ignore')
header = fits.getheader(sys.argv[1])
wcs = WCS(header).celestial
r = header['RSUN_OBS'] / 3600
cx, cy = wcs.all_world2pix([[0, 0]], 0)[0]
nx, ny = wcs.all_world2pix([[0, r]], 0)[0]
print(repr(cx), repr(cy), repr(math.hypot(nx - cx, ny - cy)),
      repr(math.degrees(math.atan2(-(nx - cx), ny - cy))))
)";
  QProcess python;
  python.start(kPython, {"-c", script, path});
  ASSERT_TRUE(python.waitForFinished(60000));
  ASSERT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
  const QStringList figures = QString::fromUtf8(python.readAllStandardOutput()).split(' ');
  ASSERT_EQ(figures.size(), 4);
  EXPECT_NEAR(figures[0].toDouble(), placement.centreXPx, 1e-6);
  EXPECT_NEAR(placement.heightPx - 1 - figures[1].toDouble(), placement.centreYPx, 1e-6);
  EXPECT_NEAR(figures[2].toDouble(), placement.radiusPx, 1e-4);
  EXPECT_NEAR(figures[3].toDouble(), placement.northTurnDeg, 1e-6);
}

INSTANTIATE_TEST_SUITE_P(Placements, GeometryExport, ::testing::ValuesIn(kPlacements),
                         [](const ::testing::TestParamInfo<Placement>& info) {
                           std::string name = info.param.name;
                           for (char& c : name) {
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           }
                           return name;
                         });

}  // namespace
}  // namespace helidisk
