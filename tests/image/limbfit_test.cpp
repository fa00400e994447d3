// The limb fit on generated Suns: large and small disks with noise and
// spots, a cloud over a third of the limb, the frame cutting a third of it,
// prominences, a red H-alpha picture; and pictures with no disk.
#include "limbfit.h"

#include <gtest/gtest.h>

#include <QImage>
#include <cmath>
#include <string>

#include "imageerror.h"
#include "synthetic_sun.h"

namespace helidisk {
namespace {

using fakes::SyntheticSun;

SyntheticSun Large() {
  // 1000 px across, a sub-pixel centre, noise of 2 % of the centre's level.
  SyntheticSun sun = fakes::MakeSun(1200, 1100, 601.37, 548.81, 500.23, 0.02);
  sun.spots = {{30, 0.4, 12}, {150, 0.7, 20}, {250, 0.95, 8}, {300, 0.2, 5}};
  return sun;
}

SyntheticSun Small() {
  SyntheticSun sun = fakes::MakeSun(160, 140, 78.62, 71.29, 50.17, 0.02);
  sun.spots = {{60, 0.5, 3}, {200, 0.9, 2}};
  return sun;
}

SyntheticSun Medium() {
  SyntheticSun sun = fakes::MakeSun(400, 380, 201.71, 188.36, 150.42, 0.02);
  sun.spots = {{80, 0.5, 6}, {220, 0.85, 4}};
  return sun;
}

SyntheticSun Clouded(SyntheticSun sun) {
  sun.cloud = true;
  sun.cloudAngleDeg = 200;
  return sun;
}

// The frame cuts the disk 0.5 radii right of its centre: 120 deg of the limb
// lie outside the picture.
SyntheticSun CutByFrame(SyntheticSun sun) {
  sun.widthPx = static_cast<int>(std::ceil(sun.centreXPx + 0.5 * sun.radiusPx));
  return sun;
}

SyntheticSun WithProminences(SyntheticSun sun) {
  sun.prominences = 7;
  return sun;
}

TEST(FitLimb, FindsGeneratedDisksToTheRequiredAccuracy) {
  struct Case {
    const char* name;
    SyntheticSun sun;
    bool red;
  };
  const Case cases[] = {
      {"large", Large(), false},
      {"large, clouded", Clouded(Large()), false},
      {"large, cut by the frame", CutByFrame(Large()), false},
      {"large, prominences, H-alpha red", WithProminences(Large()), true},
      {"small", Small(), false},
      {"small, clouded", Clouded(Small()), false},
      {"small, cut by the frame", CutByFrame(Small()), false},
      {"small, prominences, H-alpha red", WithProminences(Small()), true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const QImage image = c.red ? fakes::RedImage(c.sun) : fakes::GreyImage(c.sun);
    const LimbFit fit = FitLimb(image);
    // 0.5 px for the disk of 1000 px, 1 % of the radius for that of 100 px.
    const double tolerance = c.sun.radiusPx > 100 ? 0.5 : 0.01 * c.sun.radiusPx;
    EXPECT_NEAR(fit.centreXPx, c.sun.centreXPx, tolerance);
    EXPECT_NEAR(fit.centreYPx, c.sun.centreYPx, tolerance);
    EXPECT_NEAR(fit.radiusPx, c.sun.radiusPx, tolerance);
    EXPECT_LT(fit.rmsPx, 1.0);
    EXPECT_GE(fit.edgePoints, 90);
    std::printf("[ measured ] %-34s centre %+.3f %+.3f radius %+.3f px, rms %.3f px, %d points\n",
                c.name, fit.centreXPx - c.sun.centreXPx, fit.centreYPx - c.sun.centreYPx,
                fit.radiusPx - c.sun.radiusPx, fit.rmsPx, fit.edgePoints);
  }
}

// Seeing and a slightly defocused camera blur the limb; the fit finds the
// unblurred limb all the same, with noise and spots.
TEST(FitLimb, FindsBlurredLimbsWithinThreeTenthsOfAPixel) {
  struct Case {
    const char* name;
    SyntheticSun sun;
    double sigmaPx;
  };
  const Case cases[] = {
      {"large, sigma 1", Large(), 1},   {"large, sigma 2", Large(), 2},
      {"large, sigma 3", Large(), 3},   {"large, sigma 4", Large(), 4},
      {"medium, sigma 1", Medium(), 1}, {"medium, sigma 2", Medium(), 2},
      {"medium, sigma 3", Medium(), 3}, {"medium, sigma 4", Medium(), 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const LimbFit fit = FitLimb(fakes::BlurredGreyImage(c.sun, c.sigmaPx));
    EXPECT_NEAR(fit.centreXPx, c.sun.centreXPx, 0.3);
    EXPECT_NEAR(fit.centreYPx, c.sun.centreYPx, 0.3);
    EXPECT_NEAR(fit.radiusPx, c.sun.radiusPx, 0.3);
    std::printf("[ measured ] %-34s centre %+.3f %+.3f radius %+.3f px, rms %.3f px, %d points\n",
                c.name, fit.centreXPx - c.sun.centreXPx, fit.centreYPx - c.sun.centreYPx,
                fit.radiusPx - c.sun.radiusPx, fit.rmsPx, fit.edgePoints);
  }
}

TEST(FitLimb, RefusesPicturesWithoutADisk) {
  QImage flat(300, 200, QImage::Format_Grayscale8);
  flat.fill(120);
  QImage noise(300, 200, QImage::Format_Grayscale8);
  QImage halfLit(300, 200, QImage::Format_Grayscale8);
  QImage tiny(10, 10, QImage::Format_Grayscale8);
  tiny.fill(0);
  for (int y = 0; y < 200; ++y) {
    for (int x = 0; x < 300; ++x) {
      noise.scanLine(y)[x] = static_cast<uchar>((x * 7919 + y * 104729) % 251);
      halfLit.scanLine(y)[x] = x < 150 ? 200 : 10;
    }
  }
  struct Case {
    const char* name;
    QImage image;
    const char* reason;
  };
  const Case cases[] = {
      {"flat", flat, "too little contrast"},
      {"noise", noise, "no solar disk found"},
      {"straight edge", halfLit, "no solar disk found"},
      {"tiny", tiny, "too small"},
      {"null", QImage(), "too small"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    try {
      FitLimb(c.image);
      ADD_FAILURE() << "found a disk";
    } catch (const ImageError& error) {
      EXPECT_NE(std::string(error.what()).find(c.reason), std::string::npos) << error.what();
    }
  }
}

}  // namespace
}  // namespace helidisk
