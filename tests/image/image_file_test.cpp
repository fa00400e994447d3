// Opening files: FITS pixels of every BITPIX with their scaling, the rows
// turned the right way up, the first image extension, a level-1 header
// placing the disk, photographs and their EXIF time, and bad files.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "exif_jpeg.h"
#include "fits_writer.h"
#include "solarimage.h"
#include "synthetic_sun.h"

namespace helidisk {
namespace {

using fakes::JpegWithExif;

using fakes::Card;
using fakes::WriteFits;

class ImageFile : public ::testing::Test {
 protected:
  QString PathOf(const char* name) const { return directory_.filePath(QString::fromLatin1(name)); }
  std::string StdPath(const char* name) const { return PathOf(name).toStdString(); }

  void WriteBytes(const char* name, const QByteArray& bytes) const {
    QFile file(PathOf(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }

  // The message LoadSolarImage raises for the file, empty when it opens.
  std::string LoadError(const char* name) const {
    try {
      LoadSolarImage(PathOf(name));
    } catch (const ImageError& error) {
      return error.what();
    }
    return {};
  }

 private:
  QTemporaryDir directory_;
};

// Three levels: the lower 60 % of the FITS rows at `low`, the upper 40 % at
// `high` (the top of the image as shown), one pixel at `mid` at FITS
// (column 3, row 2), which is shown at (2, height - 2).
std::vector<double> ThreeLevels(int width, int height, double low, double mid, double high) {
  const auto at = [width](int x, int row) {
    return static_cast<std::size_t>(row) * static_cast<std::size_t>(width) +
           static_cast<std::size_t>(x);
  };
  std::vector<double> raw(at(0, height), low);
  for (int row = height * 6 / 10; row < height; ++row) {
    for (int x = 0; x < width; ++x) raw[at(x, row)] = high;
  }
  raw[at(2, 1)] = mid;
  return raw;
}

TEST_F(ImageFile, FitsOfEveryPixelTypeIsScaledStretchedAndFlipped) {
  struct Case {
    int bitpix;
    double bscale, bzero;
    double rawLow, rawMid, rawHigh;  // physical 1000, 2200, 3000
  };
  const Case cases[] = {
      {8, 10, 500, 50, 170, 250},         {16, 2, 1000, 0, 600, 1000},
      {32, 0.5, -1000, 4000, 6400, 8000}, {-32, 2, 0, 500, 1100, 1500},
      {-64, 1, 0, 1000, 2200, 3000},
  };
  constexpr int kWidth = 40;
  constexpr int kHeight = 30;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bitpix);
    std::vector<double> raw = ThreeLevels(kWidth, kHeight, c.rawLow, c.rawMid, c.rawHigh);
    if (c.bitpix < 0) {
      raw[5] = std::numeric_limits<double>::quiet_NaN();  // FITS (6, 1)
      raw[6] = std::numeric_limits<double>::infinity();   // FITS (7, 1)
      raw[kWidth * kHeight - 1] = -std::numeric_limits<double>::infinity();
    }
    ASSERT_EQ(WriteFits(StdPath("levels.fits"), c.bitpix, kWidth, kHeight, raw,
                        {{"BSCALE", c.bscale}, {"BZERO", c.bzero}}),
              0);
    const SolarImage image = LoadSolarImage(PathOf("levels.fits"));
    ASSERT_EQ(image.kind, ImageKind::Fits);
    ASSERT_EQ(image.display.size(), QSize(kWidth, kHeight));
    ASSERT_EQ(image.display.format(), QImage::Format_Grayscale8);
    const auto grey = [&](int x, int y) { return image.display.constScanLine(y)[x]; };
    EXPECT_EQ(grey(10, 0), 255) << "the last FITS row is the top row shown";
    EXPECT_EQ(grey(10, kHeight - 1), 0);
    EXPECT_EQ(grey(2, kHeight - 2), 153) << "0.6 of the way between the stretch's limits";
    if (c.bitpix < 0) {
      EXPECT_EQ(grey(5, kHeight - 1), 0) << "NaN";
      EXPECT_EQ(grey(6, kHeight - 1), 0) << "+infinity";
      EXPECT_EQ(grey(kWidth - 1, 0), 0) << "-infinity";
    }
    EXPECT_FALSE(image.observed);
  }
}

TEST_F(ImageFile, FitsImageInTheFirstExtensionPlainOrTileCompressed) {
  // cfitsio's "[compress]" suffix writes a Rice-compressed image extension.
  for (const char* name : {"extension.fits", "compressed.fits"}) {
    SCOPED_TRACE(name);
    const bool compressed = name[0] == 'c';
    ASSERT_EQ(WriteFits(StdPath(name) + (compressed ? "[compress]" : ""), 16, 20, 10,
                        ThreeLevels(20, 10, 0, 1, 2),
                        {{"DATE-OBS", std::string("2017-07-18T12:00:00")}}, !compressed),
              0);
    const SolarImage image = LoadSolarImage(PathOf(name));
    EXPECT_EQ(image.display.size(), QSize(20, 10));
    EXPECT_EQ(image.display.constScanLine(0)[5], 255);
    ASSERT_TRUE(image.observed);
    EXPECT_EQ(image.observed->julianDay, 2457953.0);
  }
}

TEST_F(ImageFile, GzippedAndTileCompressedFitsOpenAsFits) {
  // cfitsio gzips a file whose name ends in ".gz" as it closes it, and the
  // "[compress]" suffix writes a Rice-compressed image behind an empty
  // primary HDU, as fpack's .fz files are.
  struct Case {
    const char* name;
    const char* written;
    QByteArray magic;
  };
  const Case cases[] = {
      {"sun.fits.gz", "sun.fits.gz", QByteArray("\x1f\x8b", 2)},
      {"sun.fz", "sun.fz[compress]", QByteArray("SIMPLE  =")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(WriteFits(StdPath(c.written), 16, 24, 12, ThreeLevels(24, 12, 0, 1, 2),
                        {{"DATE-OBS", std::string("2017-07-18T12:00:00")}}),
              0);
    QFile written(PathOf(c.name));
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    ASSERT_TRUE(written.read(c.magic.size()) == c.magic) << "the file is not compressed";
    const SolarImage image = LoadSolarImage(PathOf(c.name));
    EXPECT_EQ(image.kind, ImageKind::Fits);
    EXPECT_EQ(image.display.size(), QSize(24, 12));
    EXPECT_EQ(image.display.constScanLine(0)[5], 255);
    EXPECT_EQ(image.display.constScanLine(11)[5], 0);
    ASSERT_TRUE(image.observed);
    EXPECT_EQ(image.observed->julianDay, 2457953.0);
  }

  QFile gzipped(PathOf("sun.fits.gz"));
  ASSERT_TRUE(gzipped.open(QIODevice::ReadOnly));
  WriteBytes("cut.fits.gz", gzipped.readAll().left(30));
  const std::string message = LoadError("cut.fits.gz");
  EXPECT_NE(message.find(StdPath("cut.fits.gz") + ": not a readable FITS file"), std::string::npos)
      << message;
}

TEST_F(ImageFile, LevelOneFitsIsPlacedFromItsHeader) {
  // 4096 x 4096 16-bit, 0.6" pixels, CRVAL a few arc seconds off the centre.
  constexpr int kSide = 4096;
  const std::vector<Card> cards = {
      {"CTYPE1", std::string("HPLN-TAN")},
      {"CTYPE2", std::string("HPLT-TAN")},
      {"CUNIT1", std::string("arcsec")},
      {"CUNIT2", std::string("arcsec")},
      {"CDELT1", 0.6},
      {"CDELT2", 0.6},
      {"CRPIX1", 2048.5},
      {"CRPIX2", 2048.5},
      {"CRVAL1", -4.8},
      {"CRVAL2", 2.9},
      {"CROTA2", 0.13},
      {"RSUN_OBS", 945.3},
      {"DATE-OBS", std::string("2017-07-18T12:00:00.00")},
  };
  ASSERT_EQ(WriteFits(StdPath("level1.fits"), 16, kSide, kSide,
                      std::vector<double>(static_cast<std::size_t>(kSide * kSide), 100), cards),
            0);
  const SolarImage image = LoadSolarImage(PathOf("level1.fits"));
  ASSERT_TRUE(image.header.centre && image.observed);
  EXPECT_EQ(image.observed->julianDay, 2457953.0);
  EXPECT_TRUE(image.header.alignedToSolarNorth);
  EXPECT_NEAR(image.header.rotationDeg, -0.13, 1e-9);

  // By hand: R(-rho) (4.8", -2.9") / 0.6" from CRPIX, then the row flip.
  const double rho = 0.13 * std::numbers::pi / 180;
  const double dp1 = (std::cos(rho) * 4.8 + std::sin(rho) * -2.9) / 0.6;
  const double dp2 = (-std::sin(rho) * 4.8 + std::cos(rho) * -2.9) / 0.6;
  const ImageDisk disk = LocateDisk(image);
  EXPECT_EQ(disk.source, DiskSource::Header);
  EXPECT_NEAR(disk.centreXPx, 2047.5 + dp1, 0.05);
  EXPECT_NEAR(disk.centreYPx, kSide - 2048.5 - dp2, 0.05);
  EXPECT_NEAR(disk.radiusPx, 945.3 / 0.6, 0.05);
}

TEST_F(ImageFile, ScaleWithoutSolarRadiusTakesTheEphemerisSemiDiameter) {
  ASSERT_EQ(
      WriteFits(StdPath("noradius.fits"), 16, 64, 64, std::vector<double>(std::size_t{64} * 64, 1),
                {{"CTYPE1", std::string("HPLN-TAN")},
                 {"CTYPE2", std::string("HPLT-TAN")},
                 {"CDELT1", 60.0},
                 {"CDELT2", 60.0},
                 {"CRPIX1", 32.5},
                 {"CRPIX2", 32.5},
                 {"DATE-OBS", std::string("2017-07-04T00:00:00")}}),
      0);
  const ImageDisk disk = LocateDisk(LoadSolarImage(PathOf("noradius.fits")));
  EXPECT_EQ(disk.source, DiskSource::Header);
  // Near aphelion the Sun's semi-diameter is 15.73'.
  EXPECT_NEAR(disk.radiusPx, 15.73, 0.01);
}

TEST_F(ImageFile, PhotographsKeepTheirPixelsAndReadTheExifTime) {
  const fakes::SyntheticSun sun = fakes::MakeSun(200, 150, 99.5, 74.5, 60);
  const QImage picture = fakes::RedImage(sun);
  for (const char* format : {"PNG", "TIFF", "JPEG"}) {
    SCOPED_TRACE(format);
    const QString name = QStringLiteral("photo.") + QString::fromLatin1(format).toLower();
    ASSERT_TRUE(picture.save(PathOf(name.toLatin1().constData()), format));
    const SolarImage image = LoadSolarImage(PathOf(name.toLatin1().constData()));
    EXPECT_EQ(image.kind, ImageKind::Photograph);
    EXPECT_EQ(image.formatName, QString::fromLatin1(format));
    EXPECT_EQ(image.display.size(), picture.size());
    EXPECT_NEAR(qRed(image.display.pixel(100, 75)), qRed(picture.pixel(100, 75)), 3);
    EXPECT_FALSE(image.observed);
  }

  WriteBytes("offset.jpg", JpegWithExif(picture, "2017:07:18 14:00:00", "+02:00"));
  const SolarImage withOffset = LoadSolarImage(PathOf("offset.jpg"));
  ASSERT_TRUE(withOffset.observed);
  EXPECT_NEAR(withOffset.observed->julianDay, 2457953.0, 1e-9);
  EXPECT_EQ(withOffset.observed->clock, ClockKind::Universal);

  WriteBytes("local.jpg", JpegWithExif(picture, "2017:07:18 14:00:00", nullptr));
  const SolarImage local = LoadSolarImage(PathOf("local.jpg"));
  ASSERT_TRUE(local.observed);
  EXPECT_NEAR(local.observed->julianDay, 2457953.0 + 2.0 / 24, 1e-9);
  EXPECT_EQ(local.observed->clock, ClockKind::LocalOffsetUnknown);
}

// libjpeg-turbo decodes a JPEG stored upright itself: the same pixels as
// Qt's reader, colour as 32-bit RGB and grey as 8-bit grey.  One the camera
// held turned (EXIF orientation 6) and one cut short are Qt's to read: the
// first shown upright, the second as Qt's reader gives it.
TEST_F(ImageFile, JpegPhotographsDecodeAsQtReadsThem) {
  const fakes::SyntheticSun sun = fakes::MakeSun(200, 150, 99.5, 74.5, 60);
  const QImage colour = fakes::RedImage(sun);
  const QImage grey = fakes::GreyImage(sun);
  WriteBytes("colour.jpg", JpegWithExif(colour, "2017:07:18 14:00:00", "+02:00"));
  ASSERT_TRUE(grey.save(PathOf("grey.jpg"), "JPEG", 90));
  WriteBytes("turned.jpg", JpegWithExif(colour, "2017:07:18 14:00:00", "+02:00", 6));
  QFile whole(PathOf("colour.jpg"));
  ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
  WriteBytes("cut.jpg", whole.readAll().chopped(2000));
  struct Case {
    const char* name;
    QImage::Format format;
    QSize size;
  };
  for (const Case& c : {Case{"colour.jpg", QImage::Format_RGB32, {200, 150}},
                        Case{"grey.jpg", QImage::Format_Grayscale8, {200, 150}},
                        Case{"turned.jpg", QImage::Format_RGB32, {150, 200}},
                        Case{"cut.jpg", QImage::Format_RGB32, {200, 150}}}) {
    SCOPED_TRACE(c.name);
    const SolarImage image = LoadSolarImage(PathOf(c.name));
    QImageReader reader(PathOf(c.name));
    reader.setAutoTransform(true);
    const QImage byQt = reader.read();
    EXPECT_EQ(image.formatName, QStringLiteral("JPEG"));
    EXPECT_EQ(image.display.format(), c.format);
    ASSERT_EQ(image.display.size(), c.size);
    int largestDifference = 0;
    for (int y = 0; y < c.size.height(); ++y) {
      for (int x = 0; x < c.size.width(); ++x) {
        const QRgb ours = image.display.pixel(x, y);
        const QRgb theirs = byQt.pixel(x, y);
        largestDifference = std::max({largestDifference, std::abs(qRed(ours) - qRed(theirs)),
                                      std::abs(qGreen(ours) - qGreen(theirs)),
                                      std::abs(qBlue(ours) - qBlue(theirs))});
      }
    }
    EXPECT_LE(largestDifference, 1);
  }
  EXPECT_TRUE(LoadSolarImage(PathOf("colour.jpg")).observed);
}

TEST_F(ImageFile, BadFilesRaiseOneErrorNamingFileAndProblem) {
  WriteBytes("empty.fits", {});
  WriteBytes("text.png", "these are words, not pixels");
  QByteArray png;
  {
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    fakes::GreyImage(fakes::MakeSun(300, 300, 150, 150, 100)).save(&buffer, "PNG");
  }
  WriteBytes("truncated.png", png.left(png.size() / 2));
  ASSERT_EQ(WriteFits(StdPath("full.fits"), 16, 300, 300,
                      std::vector<double>(std::size_t{300} * 300, 7), {}),
            0);
  QFile full(PathOf("full.fits"));
  ASSERT_TRUE(full.open(QIODevice::ReadOnly));
  WriteBytes("truncated.fits", full.readAll().left(2880 + 300 * 300));
  ASSERT_EQ(WriteFits(StdPath("nan.fits"), -32, 8, 8,
                      std::vector<double>(64, std::numeric_limits<double>::quiet_NaN()), {}),
            0);
  ASSERT_EQ(WriteFits(StdPath("noimage.fits"), 8, 0, 0, {}, {}), 0);
  // Only the header of a 100000 x 100000 image, the data missing.
  QByteArray huge;
  for (const char* card : {"SIMPLE  =                    T", "BITPIX  =                   16",
                           "NAXIS   =                    2", "NAXIS1  =               100000",
                           "NAXIS2  =               100000", "END"}) {
    huge += QByteArray(card).leftJustified(80, ' ');
  }
  WriteBytes("huge.fits", huge.leftJustified(2880, ' '));
  QImage wide(8193, 2, QImage::Format_Grayscale8);
  wide.fill(0);
  ASSERT_TRUE(wide.save(PathOf("wide.png"), "PNG"));

  struct Case {
    const char* name;
    const char* problem;
  };
  const Case cases[] = {
      {"missing.fits", "no such file"},
      {"empty.fits", "the file is empty"},
      {"text.png", "not an image"},
      {"truncated.png", "cannot decode"},
      {"truncated.fits", "cannot read the image's pixels"},
      {"nan.fits", "every pixel of the FITS image is undefined"},
      {"noimage.fits", "holds no image"},
      {"huge.fits", "100000 x 100000 pixels"},
      {"wide.png", "8193 x 2 pixels"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string message = LoadError(c.name);
    EXPECT_NE(message.find(StdPath(c.name) + ": "), std::string::npos) << message;
    EXPECT_NE(message.find(c.problem), std::string::npos) << message;
  }
}

TEST_F(ImageFile, ImageWithoutADiskNamesTheFileWhenLocated) {
  QImage flat(200, 200, QImage::Format_Grayscale8);
  flat.fill(90);
  ASSERT_TRUE(flat.save(PathOf("flat.png"), "PNG"));
  try {
    LocateDisk(LoadSolarImage(PathOf("flat.png")));
    FAIL() << "a flat picture has no disk";
  } catch (const ImageError& error) {
    EXPECT_EQ(std::string(error.what()),
              StdPath("flat.png") + ": no solar disk found: the image has too little contrast");
  }
}

}  // namespace
}  // namespace helidisk
