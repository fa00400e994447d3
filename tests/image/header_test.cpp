// FITS cards, date and EXIF time texts, and the disk a solar WCS places.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <numbers>
#include <string>
#include <vector>

#include "fitsheader.h"
#include "obstime.h"
#include "solarwcs.h"

namespace helidisk {
namespace {

std::string PaddedCard(const std::string& text) {
  return text + std::string(80 - text.size(), ' ');
}

// "KEYWORD = value" with the value to full double precision.
std::string NumberCard(const std::string& keyword, double value) {
  char text[40];
  std::snprintf(text, sizeof text, "%.17g", value);
  return keyword + std::string(8 - keyword.size(), ' ') + "= " + text;
}

FitsHeader HeaderOf(const std::vector<std::string>& cards) {
  std::string text;
  for (const std::string& card : cards) text += PaddedCard(card);
  return ParseFitsHeader(text);
}

TEST(FitsHeader, ReadsValuesAsTheStandardWritesThem) {
  const FitsHeader header = HeaderOf({
      "SIMPLE  =                    T / conforms",
      "CDELT1  =                  0.6 / [arcsec/pixel]",
      "CDELT2  =             6.0D-01",
      "CRVAL1  =               -3.25E0",
      "OBSERVER= 'O''Neil  '           / quote doubled",
      "NOVALUE   this card has no value indicator",
      "BADNUM  =                 1.2.3",
      "INFNUM  =                   inf",
      "CDELT1  =                  9.9 / a repeat does not count",
      "END",
      "CRPIX1  =                    1",
  });
  EXPECT_EQ(HeaderNumber(header, "CDELT1"), 0.6);
  EXPECT_EQ(HeaderNumber(header, "CDELT2"), 0.6);
  EXPECT_EQ(HeaderNumber(header, "CRVAL1"), -3.25);
  EXPECT_EQ(HeaderText(header, "OBSERVER"), "O'Neil");
  EXPECT_FALSE(HeaderNumber(header, "OBSERVER"));
  EXPECT_FALSE(HeaderText(header, "CDELT1"));
  EXPECT_FALSE(FindCard(header, "NOVALUE"));
  EXPECT_FALSE(HeaderNumber(header, "BADNUM"));
  EXPECT_FALSE(HeaderNumber(header, "INFNUM"));
  EXPECT_FALSE(FindCard(header, "CRPIX1")) << "cards after END";
  EXPECT_FALSE(ParseFitsNumber("1e999"));
  EXPECT_FALSE(ParseFitsNumber("+-1"));
}

TEST(ObservationTime, FitsDatesAsJulianDays) {
  struct Case {
    const char* date;
    const char* time;
    std::optional<double> julianDay;
  };
  const Case cases[] = {
      {"2000-01-01T12:00:00", "", 2451545.0},
      {"2017-07-18T12:00:00.000Z", "", 2457953.0},
      {"2017-07-18T12:00", "", 2457953.0},
      {"2017-07-18T18:00:00.5", "", 2457953.25 + 0.5 / 86400},
      {"2017-07-18", "06:00:00", 2457952.75},
      {"2017-07-18T12:00:00", "06:00:00", 2457953.0},  // the date's own time wins
      {"2017-07-18", "", 2457952.5},
      {"18/07/97", "12:00:00", 2450648.0},
      {"2023-02-29T00:00:00", "", std::nullopt},
      {"2024-02-29T00:00:00", "", 2460369.5},
      {"2017-13-01", "", std::nullopt},
      {"2017-07-18T24:00:00", "", std::nullopt},
      {"2017-07-18T12:60", "", std::nullopt},
      {"2017-07-18", "6:00", std::nullopt},
      {"2017-7-18", "", std::nullopt},
      {"2017-07-18T12:00:00.", "", std::nullopt},
      {"", "", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.date) + " " + c.time);
    const std::optional<double> julianDay = ParseFitsDateTime(c.date, c.time);
    ASSERT_EQ(julianDay.has_value(), c.julianDay.has_value());
    if (julianDay) {
      EXPECT_NEAR(*julianDay, *c.julianDay, 1e-8);
    }
  }
}

TEST(ObservationTime, FromHeaderKeywordVariants) {
  const auto observed = [](const std::vector<std::string>& cards) {
    const std::optional<ObservationTime> time = ObservationTimeFromHeader(HeaderOf(cards));
    return time ? time->julianDay : 0.0;
  };
  EXPECT_EQ(observed({"DATE-OBS= '2017-07-18T12:00:00'"}), 2457953.0);
  EXPECT_EQ(observed({"DATE_OBS= '2017-07-18'", "TIME_OBS= '12:00:00'"}), 2457953.0);
  EXPECT_EQ(observed({"DATE-OBS= '2017-07-18'", "TIME-OBS= '18:00:00'"}), 2457953.25);
  EXPECT_EQ(observed({"DATE-OBS= 'yesterday'"}), 0.0);
  EXPECT_EQ(observed({"DATE     = '2017-07-18'"}), 0.0);
}

TEST(ObservationTime, ExifLocalTimeAndOffset) {
  struct Case {
    const char* dateTime;
    const char* offset;
    double julianDay;  // 0: no time
    ClockKind clock;
  };
  const Case cases[] = {
      {"2017:07:18 14:00:00", "+02:00", 2457953.0, ClockKind::Universal},
      {"2017:07:18 06:30:00", "-05:30", 2457953.0, ClockKind::Universal},
      {"2017:07:18 12:00:00", "", 2457953.0, ClockKind::LocalOffsetUnknown},
      {"2017:07:18 12:00:00", "02:00", 2457953.0, ClockKind::LocalOffsetUnknown},
      {"2017:07:18 12:00:00", "+15:00", 2457953.0, ClockKind::LocalOffsetUnknown},
      {"    :  :     :  :  ", "+02:00", 0, ClockKind::Universal},
      {"2017-07-18 12:00:00", "", 0, ClockKind::Universal},
      {"2017:07:18 12:00", "", 0, ClockKind::Universal},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.dateTime) + " " + c.offset);
    const std::optional<ObservationTime> time = ParseExifDateTime(c.dateTime, c.offset);
    ASSERT_EQ(time.has_value(), c.julianDay != 0);
    if (!time) continue;
    EXPECT_NEAR(time->julianDay, c.julianDay, 1e-9);
    EXPECT_EQ(time->clock, c.clock);
  }
}

// A level-1 full-disk header of a space telescope: 4096 x 4096, 0.6"
// pixels, the reference pixel in the middle a few arc seconds off the
// Sun's centre, a small roll.
std::vector<std::string> LevelOneCards(const std::string& rotationCard) {
  return {"CTYPE1  = 'HPLN-TAN'", "CTYPE2  = 'HPLT-TAN'", "CUNIT1  = 'arcsec'",
          "CUNIT2  = 'arcsec'",   "CDELT1  = 0.6",        "CDELT2  = 0.6",
          "CRPIX1  = 2048.5",     "CRPIX2  = 2048.5",     "CRVAL1  = 3.2",
          "CRVAL2  = -1.7",       "RSUN_OBS= 950.0",      rotationCard};
}

TEST(SolarWcs, LevelOneHeaderAgainstAHandCalculation) {
  // world = 0.6" R(rho) (p - CRPIX), so the Sun's centre, 3.2" west and
  // 1.7" north of CRVAL, lies R(-rho) (-3.2, 1.7) / 0.6 pixels from CRPIX;
  // the TAN projection moves it by under 1e-9 px so close to the centre.
  const double rho = 0.25 * std::numbers::pi / 180;
  const double dp1 = (std::cos(rho) * -3.2 + std::sin(rho) * 1.7) / 0.6;
  const double dp2 = (-std::sin(rho) * -3.2 + std::cos(rho) * 1.7) / 0.6;
  const double expectedX = 2048.5 + dp1 - 1;
  const double expectedY = 4096 - (2048.5 + dp2);

  const double c = std::cos(rho);
  const double s = std::sin(rho);
  const std::vector<std::vector<std::string>> equivalentHeaders = {
      LevelOneCards("CROTA2  = 0.25"),
      LevelOneCards("CROTA   = 0.25"),
      [&] {
        auto cards = LevelOneCards(NumberCard("PC1_1", c));
        cards.insert(cards.end(),
                     {NumberCard("PC1_2", -s), NumberCard("PC2_1", s), NumberCard("PC2_2", c)});
        return cards;
      }(),
      [&] {
        auto cards = LevelOneCards(NumberCard("CD1_1", 0.6 * c));
        cards.insert(cards.end(), {NumberCard("CD1_2", -0.6 * s), NumberCard("CD2_1", 0.6 * s),
                                   NumberCard("CD2_2", 0.6 * c)});
        return cards;
      }(),
  };
  for (const auto& cards : equivalentHeaders) {
    SCOPED_TRACE(cards.back());
    const HeaderGeometry geometry = SolarGeometryFromHeader(HeaderOf(cards), 4096);
    ASSERT_TRUE(geometry.centre && geometry.radiusPx && geometry.arcsecPerPx);
    EXPECT_NEAR(geometry.centre->xPx, expectedX, 1e-4);
    EXPECT_NEAR(geometry.centre->yPx, expectedY, 1e-4);
    EXPECT_NEAR(*geometry.radiusPx, 950 / 0.6, 0.05);
    EXPECT_NEAR(*geometry.arcsecPerPx, 0.6, 1e-6);
    EXPECT_TRUE(geometry.alignedToSolarNorth);
    EXPECT_NEAR(geometry.rotationDeg, -0.25, 1e-5);
    EXPECT_FALSE(geometry.mirrored);
  }
}

// The gnomonic projection worked with vectors instead of Paper II's
// spherical rotation: the Sun's centre direction u, met by the plane
// tangent at the reference direction t, measured along that plane's west
// and north unit vectors.
PixelPoint GnomonicByVectors(double lonDeg, double latDeg) {
  const double lon = lonDeg * std::numbers::pi / 180;
  const double lat = latDeg * std::numbers::pi / 180;
  const double t[3] = {std::cos(lat) * std::cos(lon), std::cos(lat) * std::sin(lon), std::sin(lat)};
  const double west[3] = {-std::sin(lon), std::cos(lon), 0};
  const double north[3] = {-std::sin(lat) * std::cos(lon), -std::sin(lat) * std::sin(lon),
                           std::cos(lat)};
  const double u[3] = {1, 0, 0};
  const double scale = 1 / t[0];  // u . t
  double p[3];
  for (int i = 0; i < 3; ++i) p[i] = u[i] * scale - t[i];
  const auto dot = [&](const double* a) { return a[0] * p[0] + a[1] * p[1] + a[2] * p[2]; };
  return {dot(west) * 180 / std::numbers::pi, dot(north) * 180 / std::numbers::pi};
}

TEST(SolarWcs, GnomonicProjectionFarFromTheCentreInDegrees) {
  // A limb field of a high-resolution telescope: the reference 700" west,
  // 400" south of the Sun's centre, axes in degrees, 0.05" pixels.
  const double lon0 = 700.0 / 3600;
  const double lat0 = -400.0 / 3600;
  const double step = 0.05 / 3600;
  const HeaderGeometry geometry = SolarGeometryFromHeader(
      HeaderOf({"CTYPE1  = 'HPLN-TAN'", "CTYPE2  = 'HPLT-TAN'", "CUNIT1  = 'deg'",
                "CUNIT2  = 'deg'", NumberCard("CDELT1", step), NumberCard("CDELT2", step),
                "CRPIX1  = 100", "CRPIX2  = 200", NumberCard("CRVAL1", lon0),
                NumberCard("CRVAL2", lat0)}),
      1000);
  const PixelPoint world = GnomonicByVectors(lon0, lat0);
  ASSERT_TRUE(geometry.centre);
  EXPECT_NEAR(geometry.centre->xPx, 100 + world.xPx / step - 1, 1e-3);
  EXPECT_NEAR(geometry.centre->yPx, 1000 - (200 + world.yPx / step), 0.01);
  // Reading the axes linearly would miss by more than the 0.05 px asked.
  EXPECT_GT(std::abs(geometry.centre->xPx - (100 - lon0 / step - 1)), 0.05);
  EXPECT_FALSE(geometry.radiusPx);
}

TEST(SolarWcs, OlderAxesUnitsAndPartialHeaders) {
  struct Case {
    std::vector<std::string> cards;
    bool aligned;
    bool hasCentre;
    double scale;   // 0: none
    double radius;  // 0: none
  };
  const Case cases[] = {
      // SOHO-era axes, no units: 2.6 reads as arc seconds.
      {{"CTYPE1  = 'Solar-X'", "CTYPE2  = 'Solar-Y'", "CDELT1  = 2.6", "CDELT2  = 2.6",
        "CRPIX1  = 512", "CRPIX2  = 512", "RSUN_ARC= 975"},
       true,
       true,
       2.6,
       975 / 2.6},
      // Degrees without a unit, mirrored east-west.
      {{"CTYPE1  = 'HPLN-TAN'", "CTYPE2  = 'HPLT-TAN'", "CDELT1  = -0.0002", "CDELT2  = 0.0002",
        "CRPIX1  = 512", "CRPIX2  = 512"},
       true,
       true,
       0.72,
       0},
      // A scale without a coordinate system: the radius from RSUN, no centre.
      {{"CDELT1  = 1.2", "CDELT2  = 1.2", "CUNIT1  = 'arcsec'", "CUNIT2  = 'arcsec'",
        "RSUN_OBS= 960"},
       false,
       false,
       1.2,
       800},
      {{"CTYPE1  = 'HPLN-TAN'", "CTYPE2  = 'HPLT-TAN'", "CDELT1  = 0.6", "CDELT2  = 0.6"},
       true,
       false,
       0.6,
       0},
      // A solar radius of 2,639 deg, whose tangent is negative: no radius.
      {{"CTYPE1  = 'HPLN-TAN'", "CTYPE2  = 'HPLT-TAN'", "CDELT1  = 0.6", "CDELT2  = 0.6",
        "CUNIT1  = 'arcsec'", "CUNIT2  = 'arcsec'", "RSUN_OBS= 9502048.5"},
       true,
       false,
       0.6,
       0},
      {{"CTYPE1  = 'RA---TAN'", "CTYPE2  = 'DEC--TAN'", "CDELT1  = 0.6", "CDELT2  = 0.6",
        "CRPIX1  = 1", "CRPIX2  = 1", "CUNIT1  = 'arcsec'", "CUNIT2  = 'arcsec'"},
       false,
       false,
       0.6,
       0},
      {{"CTYPE1  = 'HPLN-TAN'", "CTYPE2  = 'HPLT-TAN'", "CDELT1  = 0.6", "CDELT2  = 0",
        "CRPIX1  = 1", "CRPIX2  = 1"},
       false,
       false,
       0,
       0},
      {{"CTYPE1  = 'HPLN-TAN'", "CTYPE2  = 'HPLT-TAN'", "CDELT1  = 0.6", "CDELT2  = 0.6",
        "CUNIT1  = 'furlong'", "CRPIX1  = 1", "CRPIX2  = 1"},
       false,
       false,
       0,
       0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.cards.front() + " " + c.cards[2]);
    const HeaderGeometry geometry = SolarGeometryFromHeader(HeaderOf(c.cards), 1024);
    EXPECT_EQ(geometry.alignedToSolarNorth, c.aligned);
    EXPECT_EQ(geometry.centre.has_value(), c.hasCentre);
    EXPECT_EQ(geometry.arcsecPerPx.has_value(), c.scale != 0);
    if (geometry.arcsecPerPx) {
      EXPECT_NEAR(*geometry.arcsecPerPx, c.scale, 1e-9);
    }
    EXPECT_EQ(geometry.radiusPx.has_value(), c.radius != 0);
    if (geometry.radiusPx) {
      EXPECT_NEAR(*geometry.radiusPx, c.radius, 1e-6);
    }
  }
  const HeaderGeometry mirrored = SolarGeometryFromHeader(HeaderOf(cases[1].cards), 1024);
  EXPECT_TRUE(mirrored.mirrored);
  ASSERT_TRUE(mirrored.centre);
  EXPECT_NEAR(mirrored.centre->xPx, 511, 1e-9);
  EXPECT_NEAR(mirrored.centre->yPx, 512, 1e-9);
}

}  // namespace
}  // namespace helidisk
