// Measuring on the disk: the inverse projection, the Carrington rotation
// number and the texts measured points are written out as.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <vector>

#include "astronom.h"
#include "carrington.h"
#include "diskframe.h"
#include "measuredpoints.h"
#include "sun.h"
#include "textfields.h"
#include "trigfunc.h"

namespace helidisk {
namespace {

double JulianDayOf(std::int32_t year, std::int32_t month, std::int32_t day, double hours,
                   double minutes) {
  double julianDay = 0;
  DateToJulianDay(year, month, day, hours, minutes, 0, julianDay);
  return julianDay;
}

double AngleApartDeg(double aRad, double bRad) {
  return std::fabs(std::remainder(aRad - bRad, 2 * Pi)) * RadToDeg;
}

// Visible points projected with the real-valued projection come back to
// 1e-9 deg in every orientation, turned further by a camera's angle too;
// through whole pixels, to within the angle a pixel spans there.
TEST(Locate, InvertsTheProjectionInEveryOrientation) {
  for (const Orientation orientation : kOrientations) {
    for (const double extraTurnDeg : {0.0, 37.0}) {
      SCOPED_TRACE(testing::Message() << OrientationName(orientation) << " " << extraTurnDeg);
      const DiskFrame frame =
          OrientedDiskFrame(512.3, 300.7, 250, 123 * DegToRad, -6 * DegToRad, 21 * DegToRad,
                            orientation, extraTurnDeg * DegToRad);
      for (double latitudeDeg = -80; latitudeDeg <= 80; latitudeDeg += 20) {
        for (double longitudeDeg = 50; longitudeDeg <= 200; longitudeDeg += 15) {
          const double latitude = latitudeDeg * DegToRad;
          const double longitude = longitudeDeg * DegToRad;
          const ProjectedPoint projected = Project(frame, longitude, latitude);
          if (projected.depth < 0.05) continue;
          const LocatedPoint exact = Locate(frame, projected.xPx, projected.yPx);
          ASSERT_TRUE(exact.onDisk);
          EXPECT_LT(AngleApartDeg(exact.latitudeRad, latitude), 1e-9);
          EXPECT_LT(AngleApartDeg(exact.longitudeRad, longitude), 1e-9);
          EXPECT_NEAR(exact.mu, projected.depth, 1e-12);

          // Half a pixel's diagonal spans this angle on the sphere there.
          const double pixelAngleDeg =
              std::asin(std::min(1.0, 0.71 / (frame.radiusPx * projected.depth))) * RadToDeg;
          const LocatedPoint rounded =
              Locate(frame, std::round(projected.xPx), std::round(projected.yPx));
          if (!rounded.onDisk) continue;  // rounded past the limb
          EXPECT_LT(AngleApartDeg(rounded.latitudeRad, latitude), pixelAngleDeg);
          EXPECT_LT(AngleApartDeg(rounded.longitudeRad, longitude) * std::cos(latitude),
                    pixelAngleDeg);
        }
      }
    }
  }
}

TEST(Locate, CentreLimbAndSky) {
  const DiskFrame frame = OrientedDiskFrame(100, 100, 50, 40 * DegToRad, 3 * DegToRad,
                                            -12 * DegToRad, Orientation::Sky);
  const LocatedPoint centre = Locate(frame, 100, 100);
  EXPECT_TRUE(centre.onDisk);
  EXPECT_DOUBLE_EQ(centre.rho, 0);
  EXPECT_DOUBLE_EQ(centre.mu, 1);
  EXPECT_NEAR(centre.latitudeRad * RadToDeg, 3, 1e-12);
  EXPECT_NEAR(centre.longitudeRad * RadToDeg, 40, 1e-12);
  EXPECT_EQ(centre.cmDistanceRad, 0);

  // The limb straight above the centre: celestial north, position angle 0.
  const LocatedPoint limb = Locate(frame, 100, 50);
  EXPECT_TRUE(limb.onDisk);
  EXPECT_DOUBLE_EQ(limb.rho, 1);
  EXPECT_NEAR(limb.mu, 0, 1e-12);
  EXPECT_NEAR(limb.positionAngleRad, 0, 1e-12);

  // On the sky to the left of the disk: east, position angle 90 deg.
  const LocatedPoint sky = Locate(frame, 25, 100);
  EXPECT_FALSE(sky.onDisk);
  EXPECT_DOUBLE_EQ(sky.rho, 1.5);
  EXPECT_NEAR(sky.positionAngleRad * RadToDeg, 90, 1e-12);
}

// The published reduction of a drawing on a 150 mm disk: a spot 27 mm west
// and 22 mm south of the centre.  Those figures allow for the observer's
// finite distance; the orthographic projection agrees to 0.2 deg.
TEST(Locate, AgreesWithTheWorkedReductionOfADrawing) {
  const DiskFrame frame = OrientedDiskFrame(0, 0, 75, 139.5 * DegToRad, -3.0 * DegToRad,
                                            2.1 * DegToRad, Orientation::Sky);
  const LocatedPoint spot = Locate(frame, 27, 22);
  ASSERT_TRUE(spot.onDisk);
  EXPECT_NEAR(spot.latitudeRad * RadToDeg, -20.6, 0.2);
  EXPECT_NEAR(spot.longitudeRad * RadToDeg, 161.3, 0.2);
  EXPECT_NEAR(spot.cmDistanceRad * RadToDeg, 21.8, 0.2);  // west
  EXPECT_NEAR(spot.mu, 0.886, 0.002);
}

TEST(CarringtonRotation, ReferenceInstants) {
  struct Case {
    std::int32_t year, month, day;
    double fraction;
  };
  for (const Case& c : {Case{2026, 1, 1, 2306.169}, Case{2026, 10, 6, 2316.365}}) {
    const double julianDay = JulianDayOf(c.year, c.month, c.day, 0, 0);
    const CarringtonRotation rotation =
        CarringtonRotationOf(julianDay, ComputeSun(julianDay).l0Rad);
    EXPECT_NEAR(rotation.fraction, c.fraction, 0.0005);
    EXPECT_EQ(rotation.number, static_cast<std::int32_t>(c.fraction));
  }
}

// Rotations 2307 and 2310 begin about 17:09 on 23 January and 16:00 on
// 15 April 2026: the number steps exactly where L0 wraps, within minutes of
// those times.
TEST(CarringtonRotation, StepsWhereL0Wraps) {
  struct Case {
    std::int32_t month, day;
    double aboutHours;
    std::int32_t newRotation;
  };
  for (const Case& c : {Case{1, 23, 17 + 9 / 60.0, 2307}, Case{4, 15, 16, 2310}}) {
    const double start = JulianDayOf(2026, c.month, c.day, 0, 0);
    std::int32_t previous = 0;
    double previousL0 = 0;
    int steps = 0;
    for (int minute = 0; minute < 24 * 60; ++minute) {
      const double julianDay = start + minute / 1440.0;
      const double l0 = ComputeSun(julianDay).l0Rad;
      const std::int32_t number = CarringtonRotationOf(julianDay, l0).number;
      if (minute > 0) {
        const bool wrapped = l0 > previousL0;
        EXPECT_EQ(number != previous, wrapped) << minute;
        if (wrapped) {
          ++steps;
          EXPECT_EQ(number, c.newRotation);
          EXPECT_NEAR(minute / 60.0, c.aboutHours, 0.25);
        }
      }
      previous = number;
      previousL0 = l0;
    }
    EXPECT_EQ(steps, 1);
  }
}

TEST(TextFields, CsvQuoting) {
  EXPECT_EQ(CsvRecord({"plain", "a,b", "say \"hi\"", "two\nlines", ""}),
            "plain,\"a,b\",\"say \"\"hi\"\"\",\"two\nlines\",\r\n");
  EXPECT_EQ(TabSeparatedLine({"a\tb", "c"}), "a b\tc\n");
}

// A locale with a decimal comma (as the window runs in, under German
// settings) changes neither the numbers nor the records.
TEST(TextFields, NumbersIgnoreTheLocale) {
  if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) {
    GTEST_SKIP() << "the de_DE.UTF-8 locale is not installed";
  }
  ASSERT_STREQ(std::localeconv()->decimal_point, ",");
  const std::string exact = ExactNumber(0.1) + " " + ExactNumber(-2306.169);
  const std::string record = CsvRecord({ExactNumber(1.0 / 3), ExactNumber(250)});
  std::setlocale(LC_ALL, "C");
  EXPECT_EQ(exact, "0.1 -2306.169");
  EXPECT_EQ(record, "0.3333333333333333,250\r\n");
}

TEST(MeasuredPoints, CsvHasAHeaderAndEmptyFieldsOffTheDisk) {
  MeasuredPoint onDisk;
  onDisk.instant = {2026, 3, 5, 14, 30, 0};
  onDisk.xPx = 600.5;
  onDisk.yPx = 250;
  onDisk.located.onDisk = true;
  onDisk.located.latitudeRad = -20 * DegToRad;
  onDisk.located.longitudeRad = 161.5 * DegToRad;
  onDisk.located.cmDistanceRad = -12.25 * DegToRad;
  onDisk.located.mu = 0.5;
  onDisk.located.positionAngleRad = 90 * DegToRad;
  onDisk.rotation.number = 2308;
  MeasuredPoint onSky = onDisk;
  onSky.located.onDisk = false;
  const std::string csv = MeasuredPointsCsv({onDisk, onSky});
  EXPECT_EQ(csv,
            "utc,x_px,y_px,latitude_deg,longitude_deg,cm_distance_deg,mu,position_angle_deg,"
            "carrington_rotation\r\n"
            "2026-03-05T14:30Z,600.5,250,-20,161.5,-12.25,0.5,90,2308\r\n"
            "2026-03-05T14:30Z,600.5,250,,,,,90,2308\r\n");
}

// The table's rows arrive as the user selected them; whatever the order or
// repetition, exactly the rows named go, and a row beyond the table changes
// nothing.  What is left is unsaved unless nothing is left.
TEST(MeasuredPointsLog, DeletesExactlyTheRowsNamed) {
  struct Case {
    const char* what;
    std::vector<int> rows;
    std::vector<double> leftXPx;
    bool unsaved;
  };
  const Case cases[] = {
      {"one row", {1}, {0, 2, 3}, true},
      {"rows out of order", {3, 0}, {1, 2}, true},
      {"a row named twice", {2, 2}, {0, 1, 3}, true},
      {"rows outside the table", {-1, 4, 9}, {0, 1, 2, 3}, true},
      {"every row", {0, 1, 2, 3}, {}, false},
  };
  for (const Case& testCase : cases) {
    MeasuredPointsLog log;
    EXPECT_FALSE(log.Unsaved()) << testCase.what;
    for (double xPx : {0.0, 1.0, 2.0, 3.0}) {
      MeasuredPoint point;
      point.xPx = xPx;
      log.Add(point);
    }
    log.MarkSaved();
    log.Delete(testCase.rows);
    std::vector<double> left;
    for (const MeasuredPoint& point : log.Points()) left.push_back(point.xPx);
    EXPECT_EQ(left, testCase.leftXPx) << testCase.what;
    EXPECT_EQ(log.Unsaved(), testCase.unsaved) << testCase.what;
  }
}

}  // namespace
}  // namespace helidisk
