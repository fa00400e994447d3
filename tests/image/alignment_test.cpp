// Aligned frames from a generated sequence: ten FITS images of one Sun with
// different disk centres, radii, camera angles and instants, read through
// the limb fit.  Every aligned disk must sit on the common centre and
// radius, solar north up, and a spot placed by a rotation model must land
// where that model puts it at the reference instant.  Images whose disk or
// time cannot be read are skipped and reported.
#include "alignedsequence.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QTemporaryDir>
#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

#include "featurerotation.h"
#include "fits_writer.h"
#include "geometryexport.h"
#include "imagegeometry.h"
#include "limbfit.h"
#include "solarrotation.h"
#include "synthetic_sun.h"
#include "trigfunc.h"

namespace helidisk {
namespace {

constexpr double kFirstDay = 2460310.5;  // 2024-01-01 0 h UT
constexpr int kSide = 320;
constexpr double kSpotLatitudeDeg = 25;

struct Shot {
  int widthPx;
  int heightPx;
  double centreXPx;
  double centreYPx;
  double radiusPx;
  double cameraTurnDeg;
  double daysAfterFirst;
};

// Centres off the middle by up to a third of the radius, radii from 110 to
// 175 px, camera angles through a whole turn, five and a half days.
const Shot kShots[] = {
    {420, 400, 201.3, 197.8, 150.2, 0, 0},        {440, 380, 231.7, 188.4, 140.9, 37.5, 0.3},
    {400, 420, 192.2, 221.6, 165.4, -61.2, 0.9},  {380, 380, 188.9, 181.1, 120.7, 123.4, 1.4},
    {460, 420, 240.4, 205.3, 175.1, -148.8, 2.2}, {360, 340, 171.6, 165.2, 110.3, 88.1, 2.9},
    {420, 440, 215.8, 231.7, 160.6, 12.3, 3.6},   {400, 400, 207.4, 190.6, 145.8, -15.7, 4.1},
    {440, 400, 226.1, 197.3, 155.2, 179.0, 4.8},  {380, 400, 180.5, 204.4, 130.9, -101.6, 5.5},
};

AlignSettings SettingsFor(const Shot& shot, const QString& folder) {
  AlignSettings settings;
  settings.sidePx = kSide;
  settings.view = ImageView{Orientation::Sky, shot.cameraTurnDeg};
  settings.viewChosen = true;
  settings.outputFolder = folder;
  return settings;
}

DiskFrame TrueFrame(const Shot& shot) {
  const ImageDisk disk{shot.centreXPx, shot.centreYPx, shot.radiusPx, DiskSource::Fit, 0, 0};
  return ImageDiskFrame(disk, ComputeSun(kFirstDay + shot.daysAfterFirst),
                        ImageView{Orientation::Sky, shot.cameraTurnDeg});
}

// A spot centred on the image where the frame projects the point.
fakes::Spot SpotAt(const Shot& shot, double longitudeRad, double latitudeRad) {
  const ProjectedPoint point = Project(TrueFrame(shot), longitudeRad, latitudeRad);
  const double dx = point.xPx - shot.centreXPx;
  const double dy = point.yPx - shot.centreYPx;
  return {std::atan2(dy, dx) * RadToDeg, std::hypot(dx, dy) / shot.radiusPx, 4};
}

// Writes the shot as a FITS image (rows upward) with its DATE-OBS.
QString WriteShot(const QString& path, const Shot& shot, const std::vector<fakes::Spot>& spots) {
  fakes::SyntheticSun sun = fakes::MakeSun(shot.widthPx, shot.heightPx, shot.centreXPx,
                                           shot.centreYPx, shot.radiusPx, 0.01);
  sun.spots = spots;
  const std::vector<float> values = fakes::Intensities(sun);
  std::vector<double> raw(values.size());
  for (int y = 0; y < shot.heightPx; ++y) {
    for (int x = 0; x < shot.widthPx; ++x) {
      raw[fakes::PixelIndex(sun, x, shot.heightPx - 1 - y)] =
          fakes::Level(values[fakes::PixelIndex(sun, x, y)]);
    }
  }
  const int status =
      fakes::WriteFits(path.toStdString(), SHORT_IMG, shot.widthPx, shot.heightPx, raw,
                       {{"DATE-OBS", FitsDateText(kFirstDay + shot.daysAfterFirst)}});
  EXPECT_EQ(status, 0) << path.toStdString();
  return path;
}

struct Centroid {
  double xPx = 0;
  double yPx = 0;
};

// The centre of what the spot takes away: the frame without the spot less
// the frame with it, as weights.
Centroid SpotCentroid(const QImage& withoutSpot, const QImage& withSpot) {
  double sum = 0;
  double sumX = 0;
  double sumY = 0;
  for (int y = 0; y < withSpot.height(); ++y) {
    for (int x = 0; x < withSpot.width(); ++x) {
      const double deficit =
          qGray(withoutSpot.pixel(x, y)) - static_cast<double>(qGray(withSpot.pixel(x, y)));
      if (deficit <= 2) continue;  // noise, not spot
      sum += deficit;
      sumX += deficit * x;
      sumY += deficit * y;
    }
  }
  return {sumX / sum, sumY / sum};
}

class AlignedSequence : public ::testing::Test {
 protected:
  // The time stamp's letters need the font database of a GUI session.
  static void SetUpTestSuite() {
    static int argumentCount = 1;
    static char program[] = "alignment_test";
    static char* arguments[] = {program, nullptr};
    if (QCoreApplication::instance() == nullptr) {
      static QGuiApplication application(argumentCount, arguments);
    }
  }

  QString PathOf(const QString& name) const { return directory_.filePath(name); }
  QTemporaryDir directory_;
};

TEST_F(AlignedSequence, DisksComeOutCentredWithOneRadiusAndSolarNorthUp) {
  const AlignedLayout layout = AlignedLayoutOf(kSide);
  int index = 0;
  for (const Shot& shot : kShots) {
    SCOPED_TRACE("shot " + std::to_string(index));
    const SunEphemeris sun = ComputeSun(kFirstDay + shot.daysAfterFirst);
    // A spot near the north-west limb measures the frame's turn.
    const double spotLongitude = sun.l0Rad + 40 * DegToRad;
    const double spotLatitude = kSpotLatitudeDeg * DegToRad;
    const QString name = QString::number(index++);
    const QString plain = WriteShot(PathOf(name + "-plain.fits"), shot, {});
    const QString spotted =
        WriteShot(PathOf(name + "-spot.fits"), shot, {SpotAt(shot, spotLongitude, spotLatitude)});
    const AlignSettings settings = SettingsFor(shot, directory_.path());
    QImage withoutSpot;
    QImage withSpot;
    AlignImage(plain, settings, withoutSpot);
    AlignImage(spotted, settings, withSpot);
    ASSERT_EQ(withSpot.width(), kSide);
    ASSERT_EQ(withSpot.height(), kSide);

    const LimbFit fit = FitLimb(withoutSpot);
    EXPECT_NEAR(fit.centreXPx, layout.centrePx, 0.5);
    EXPECT_NEAR(fit.centreYPx, layout.centrePx, 0.5);
    EXPECT_NEAR(fit.radiusPx, layout.radiusPx, 0.5);

    const ProjectedPoint expected =
        Project(AlignedDiskFrame(layout, sun), spotLongitude, spotLatitude);
    const Centroid found = SpotCentroid(withoutSpot, withSpot);
    const double expectedAngle =
        std::atan2(expected.yPx - layout.centrePx, expected.xPx - layout.centrePx);
    const double foundAngle = std::atan2(found.yPx - layout.centrePx, found.xPx - layout.centrePx);
    EXPECT_NEAR(foundAngle * RadToDeg, expectedAngle * RadToDeg, 0.1);
  }
}

// A helioprojective FITS image is placed by its own header, turned by its
// CROTA2, whatever the settings say about photographs.
TEST_F(AlignedSequence, HeaderGeometryPlacesAFitsImage) {
  const Shot shot{400, 380, 187.25, 201.5, 150.75, 0, 1.5};
  const double northTurnDeg = 33.5;
  const double day = kFirstDay + shot.daysAfterFirst;
  const SunEphemeris sun = ComputeSun(day);
  const ImageDisk disk{shot.centreXPx, shot.centreYPx, shot.radiusPx, DiskSource::Header, 0, 0};
  const DiskFrame frame =
      ImageDiskFrame(disk, sun, ImageView{Orientation::SolarNorth, northTurnDeg});
  const double spotLongitude = sun.l0Rad - 35 * DegToRad;
  const double spotLatitude = -20 * DegToRad;
  const ProjectedPoint spotPx = Project(frame, spotLongitude, spotLatitude);
  const double dx = spotPx.xPx - shot.centreXPx;
  const double dy = spotPx.yPx - shot.centreYPx;
  const std::vector<GeometryCard> cards =
      GeometryCards({shot.widthPx, shot.heightPx, shot.centreXPx, shot.centreYPx, shot.radiusPx,
                     northTurnDeg, sun});
  const auto write = [&](const QString& name, bool spotted) {
    fakes::SyntheticSun generated = fakes::MakeSun(shot.widthPx, shot.heightPx, shot.centreXPx,
                                                   shot.centreYPx, shot.radiusPx, 0.01);
    if (spotted) {
      generated.spots = {{std::atan2(dy, dx) * RadToDeg, std::hypot(dx, dy) / shot.radiusPx, 4}};
    }
    QString path = PathOf(name);
    WriteFitsPicture(fakes::GreyImage(generated), cards, {}, path);
    return path;
  };
  AlignSettings settings = SettingsFor(kShots[3], directory_.path());
  settings.viewChosen = false;
  QImage withoutSpot;
  QImage withSpot;
  AlignImage(write("plain-wcs.fits", false), settings, withoutSpot);
  AlignImage(write("spot-wcs.fits", true), settings, withSpot);

  const AlignedLayout layout = AlignedLayoutOf(kSide);
  const LimbFit fit = FitLimb(withoutSpot);
  EXPECT_NEAR(fit.centreXPx, layout.centrePx, 0.5);
  EXPECT_NEAR(fit.centreYPx, layout.centrePx, 0.5);
  EXPECT_NEAR(fit.radiusPx, layout.radiusPx, 0.5);
  const ProjectedPoint expected =
      Project(AlignedDiskFrame(layout, sun), spotLongitude, spotLatitude);
  const Centroid found = SpotCentroid(withoutSpot, withSpot);
  EXPECT_NEAR(found.xPx, expected.xPx, 0.5);
  EXPECT_NEAR(found.yPx, expected.yPx, 0.5);
}

TEST_F(AlignedSequence, SpotsLandWhereTheRotationModelPutsThemAtTheReferenceInstant) {
  const RotationModel* howard = RotationModelNamed("howard");
  ASSERT_NE(howard, nullptr);
  const double referenceDay = kFirstDay + 2.5;
  const SunEphemeris referenceSun = ComputeSun(referenceDay);
  const AlignedLayout layout = AlignedLayoutOf(kSide);
  const Derotation derotation{referenceDay, [howard](double latitudeDeg) {
                                return SiderealRateDegPerDay(*howard, latitudeDeg);
                              }};
  // The spot, 15 deg east of the central meridian at the reference instant,
  // stays on the visible disk from two and a half days before to three after.
  const double referenceLongitude = referenceSun.l0Rad - 15 * DegToRad;
  const ProjectedPoint expected = Project(AlignedDiskFrame(layout, referenceSun),
                                          referenceLongitude, kSpotLatitudeDeg * DegToRad);
  int index = 0;
  for (const Shot& shot : kShots) {
    SCOPED_TRACE("shot " + std::to_string(index));
    const double days = shot.daysAfterFirst + kFirstDay - referenceDay;
    // Where the law had the spot at the shot's instant, by the feature
    // rotation checked against SunPy's RotatedSunFrame.
    const double longitude =
        RotatedPosition(*howard, {kSpotLatitudeDeg, referenceLongitude * RadToDeg}, days)
            .longitudeDeg *
        DegToRad;
    const QString name = QString::number(index++);
    const QString plain = WriteShot(PathOf(name + "-plain.fits"), shot, {});
    const QString spotted = WriteShot(PathOf(name + "-spot.fits"), shot,
                                      {SpotAt(shot, longitude, kSpotLatitudeDeg * DegToRad)});
    AlignSettings settings = SettingsFor(shot, directory_.path());
    settings.derotation = derotation;
    QImage withoutSpot;
    QImage withSpot;
    AlignImage(plain, settings, withoutSpot);
    AlignImage(spotted, settings, withSpot);
    const Centroid found = SpotCentroid(withoutSpot, withSpot);
    EXPECT_NEAR(found.xPx, expected.xPx, 1.0);
    EXPECT_NEAR(found.yPx, expected.yPx, 1.0);
  }
}

TEST_F(AlignedSequence, ImagesWithoutADiskOrATimeOrWithATakenNameAreReportedAndSkipped) {
  const Shot& shot = kShots[1];
  const QString good = WriteShot(PathOf("good.fits"), shot, {});
  const QString blank = PathOf("blank.fits");
  ASSERT_EQ(fakes::WriteFits(blank.toStdString(), SHORT_IMG, 200, 200,
                             std::vector<double>(std::size_t{200} * 200, 40.0),
                             {{"DATE-OBS", std::string("2024-01-01T12:00:00")}}),
            0);
  const QString timeless = PathOf("timeless.fits");
  ASSERT_EQ(fakes::WriteFits(timeless.toStdString(), SHORT_IMG, 2, 2, {1, 2, 3, 4}, {}), 0);
  const QString output = PathOf("out");
  ASSERT_TRUE(QDir().mkpath(output));

  ASSERT_TRUE(QDir().mkpath(PathOf("again")));
  const QString sameName = WriteShot(PathOf("again/good.fits"), shot, {});
  std::vector<int> handedOn;
  const std::vector<FrameResult> results =
      AlignSequence({blank, good, timeless, sameName}, SettingsFor(shot, output),
                    [&](int index, const FrameResult& /*result*/, const QImage& /*frame*/) {
                      handedOn.push_back(index);
                    });
  EXPECT_EQ(handedOn, (std::vector<int>{0, 1, 2, 3}));
  ASSERT_EQ(results.size(), 4U);
  EXPECT_FALSE(results[0].aligned);
  EXPECT_TRUE(results[0].problem.startsWith(blank + ": ")) << results[0].problem.toStdString();
  EXPECT_TRUE(results[0].problem.contains("no solar disk")) << results[0].problem.toStdString();
  EXPECT_TRUE(results[1].aligned) << results[1].problem.toStdString();
  EXPECT_EQ(results[1].written, (QStringList{QDir(output).filePath("good-aligned.png"),
                                             QDir(output).filePath("good-aligned.fits")}));
  EXPECT_FALSE(results[2].aligned);
  EXPECT_TRUE(results[2].problem.contains("no time of observation"))
      << results[2].problem.toStdString();
  EXPECT_FALSE(results[3].aligned);
  EXPECT_EQ(results[3].problem,
            sameName + ": its frame would replace that of " + good + ", which has the same name");
  EXPECT_EQ(QDir(output).entryList(QDir::Files),
            (QStringList{"good-aligned.fits", "good-aligned.png"}));
}

// A consumer that fails (a movie that cannot take a frame) ends the run
// with its error, raised in the caller's thread; no further image is taken.
TEST_F(AlignedSequence, TheConsumersFailureEndsTheRunInTheCallersThread) {
  const Shot& shot = kShots[2];
  QStringList paths;
  for (int index = 0; index < 6; ++index) {
    paths.append(WriteShot(PathOf(QStringLiteral("s%1.fits").arg(index)), shot, {}));
  }
  const QString output = PathOf("failing");
  ASSERT_TRUE(QDir().mkpath(output));
  int calls = 0;
  EXPECT_THROW(AlignSequence(paths, SettingsFor(shot, output),
                             [&calls](int /*index*/, const FrameResult&, const QImage&) {
                               ++calls;
                               throw std::runtime_error("the movie is full");
                             }),
               std::runtime_error);
  EXPECT_EQ(calls, 1);
  // The two images in work when it failed, at most, were written.
  EXPECT_LE(QDir(output).entryList(QDir::Files).size(), 4);
}

}  // namespace
}  // namespace helidisk
