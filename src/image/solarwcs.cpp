#include "solarwcs.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <string>

#include "sun.h"
#include "trigfunc.h"

namespace helidisk {

namespace {

constexpr double kArcsecPerDeg = 3600;
// Below this |CDELT| a unitless axis is read as degrees, above as arc seconds.
constexpr double kUnitlessDegreeLimit = 0.01;

enum class Projection { None, Gnomonic, Linear };

// The 2 x 2 matrix from FITS pixel offsets to intermediate world
// coordinates in degrees: world_i = sum_j m[i][j] * (p_j - CRPIX_j).
using Matrix2 = std::array<std::array<double, 2>, 2>;

std::string Upper(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return text;
}

std::string AxisName(int axis) { return std::to_string(axis); }

// HPLN-TAN / HPLT-TAN exactly; other helioprojective projections and the
// older Solar-X / Solar-Y linearly, which for the few tenths of a degree of
// a solar image differs from any zenithal projection by far less than a
// hundredth of a pixel.
Projection HelioprojectiveProjection(const FitsHeader& header) {
  const std::string x = Upper(HeaderText(header, "CTYPE1").value_or(""));
  const std::string y = Upper(HeaderText(header, "CTYPE2").value_or(""));
  if (x.starts_with("HPLN") && y.starts_with("HPLT")) {
    return x == "HPLN-TAN" && y == "HPLT-TAN" ? Projection::Gnomonic : Projection::Linear;
  }
  const auto isSolar = [](const std::string& name, char axis) {
    return name.size() == 7 && name.starts_with("SOLAR") && (name[5] == '-' || name[5] == '_') &&
           name[6] == axis;
  };
  return isSolar(x, 'X') && isSolar(y, 'Y') ? Projection::Linear : Projection::None;
}

// Degrees per unit of the axis, from CUNITi or, without one, from the size
// of a pixel step along it.
std::optional<double> DegreesPerUnit(const FitsHeader& header, int axis, double stepMagnitude) {
  const std::optional<std::string> unit = HeaderText(header, "CUNIT" + AxisName(axis));
  if (!unit || unit->empty()) return stepMagnitude < kUnitlessDegreeLimit ? 1 : 1 / kArcsecPerDeg;
  const std::string name = Upper(*unit);
  if (name == "ARCSEC") return 1 / kArcsecPerDeg;
  if (name == "ARCMIN") return 1.0 / 60;
  if (name == "DEG") return 1;
  if (name == "RAD") return RadToDeg;
  return std::nullopt;
}

std::optional<double> Element(const FitsHeader& header, const char* prefix, int i, int j) {
  return HeaderNumber(header, prefix + AxisName(i) + "_" + AxisName(j));
}

bool HasAnyElement(const FitsHeader& header, const char* prefix) {
  for (int i = 1; i <= 2; ++i) {
    for (int j = 1; j <= 2; ++j) {
      if (Element(header, prefix, i, j)) return true;
    }
  }
  return false;
}

// The matrix in the header's own units: CDi_j, else CDELTi times PCi_j,
// else CDELTi with the rotation CROTA2 (Paper II, eq. 188).
std::optional<Matrix2> MatrixInHeaderUnits(const FitsHeader& header) {
  Matrix2 m{};
  if (HasAnyElement(header, "CD")) {
    for (int i = 1; i <= 2; ++i) {
      for (int j = 1; j <= 2; ++j) m[i - 1][j - 1] = Element(header, "CD", i, j).value_or(0);
    }
    return m;
  }
  const std::optional<double> cdelt1 = HeaderNumber(header, "CDELT1");
  const std::optional<double> cdelt2 = HeaderNumber(header, "CDELT2");
  if (!cdelt1 || !cdelt2) return std::nullopt;
  const std::array<double, 2> cdelt = {*cdelt1, *cdelt2};
  if (HasAnyElement(header, "PC")) {
    for (int i = 1; i <= 2; ++i) {
      for (int j = 1; j <= 2; ++j) {
        const double identity = i == j ? 1 : 0;
        m[i - 1][j - 1] = cdelt[i - 1] * Element(header, "PC", i, j).value_or(identity);
      }
    }
    return m;
  }
  std::optional<double> crotaDeg = HeaderNumber(header, "CROTA2");
  if (!crotaDeg) crotaDeg = HeaderNumber(header, "CROTA");
  const double rho = crotaDeg.value_or(0) / RadToDeg;
  m[0] = {cdelt[0] * std::cos(rho), -cdelt[1] * std::sin(rho)};
  m[1] = {cdelt[0] * std::sin(rho), cdelt[1] * std::cos(rho)};
  return m;
}

double Determinant(const Matrix2& m) { return m[0][0] * m[1][1] - m[0][1] * m[1][0]; }

PixelPoint Solve(const Matrix2& m, double x, double y) {
  const double det = Determinant(m);
  return {(m[1][1] * x - m[0][1] * y) / det, (m[0][0] * y - m[1][0] * x) / det};
}

// The matrix in degrees per pixel and the degrees per unit of each world
// axis, when the matrix is there, finite and invertible.
struct LinearTransform {
  Matrix2 degPerPx{};
  std::array<double, 2> degPerUnit{};
};

std::optional<LinearTransform> LinearTransformOf(const FitsHeader& header) {
  const std::optional<Matrix2> m = MatrixInHeaderUnits(header);
  if (!m) return std::nullopt;
  LinearTransform transform{*m, {}};
  for (int i = 0; i < 2; ++i) {
    const double step = std::max(std::abs((*m)[i][0]), std::abs((*m)[i][1]));
    const std::optional<double> degrees = DegreesPerUnit(header, i + 1, step);
    if (!degrees) return std::nullopt;
    transform.degPerUnit[i] = *degrees;
    for (double& element : transform.degPerPx[i]) element *= *degrees;
  }
  const double det = Determinant(transform.degPerPx);
  if (!std::isfinite(det) || det == 0 || !std::isfinite(1 / det)) return std::nullopt;
  return transform;
}

// Intermediate world coordinates (degrees) of helioprojective (0", 0") for
// the gnomonic projection with the reference point at (lon0, lat0): the
// spherical rotation of Paper II eq. 5 with native pole longitude phiP,
// then TAN (eq. 54-55).  Nothing when the Sun's centre lies 90 degrees or
// more from the reference point.
std::optional<PixelPoint> GnomonicOfSunCentre(double lon0Deg, double lat0Deg, double phiPDeg) {
  const double lon0 = lon0Deg / RadToDeg;
  const double lat0 = lat0Deg / RadToDeg;
  const double phi =
      phiPDeg / RadToDeg + std::atan2(std::sin(lon0), -std::sin(lat0) * std::cos(lon0));
  const double sinTheta = std::cos(lat0) * std::cos(lon0);
  if (!(sinTheta > 0)) return std::nullopt;
  const double cosTheta = std::sqrt(std::max(0.0, 1 - sinTheta * sinTheta));
  const double rTheta = RadToDeg * cosTheta / sinTheta;
  return PixelPoint{rTheta * std::sin(phi), -rTheta * std::cos(phi)};
}

// The Sun's centre in FITS pixel coordinates (from 1, rows upward).
std::optional<PixelPoint> SunCentreInFitsPixels(const FitsHeader& header,
                                                const LinearTransform& transform,
                                                Projection projection) {
  const std::optional<double> crpix1 = HeaderNumber(header, "CRPIX1");
  const std::optional<double> crpix2 = HeaderNumber(header, "CRPIX2");
  if (!crpix1 || !crpix2) return std::nullopt;
  const double lon0Deg = HeaderNumber(header, "CRVAL1").value_or(0) * transform.degPerUnit[0];
  const double lat0Deg = HeaderNumber(header, "CRVAL2").value_or(0) * transform.degPerUnit[1];
  std::optional<PixelPoint> world = PixelPoint{-lon0Deg, -lat0Deg};
  if (projection == Projection::Gnomonic) {
    // LONPOLE defaults to 180 deg for a zenithal projection whose reference
    // point is not the pole of the coordinate system.
    world = GnomonicOfSunCentre(lon0Deg, lat0Deg, HeaderNumber(header, "LONPOLE").value_or(180));
  }
  if (!world) return std::nullopt;
  const PixelPoint offset = Solve(transform.degPerPx, world->xPx, world->yPx);
  return PixelPoint{*crpix1 + offset.xPx, *crpix2 + offset.yPx};
}

// The Sun seen from outside it is less than 90 deg in radius; a larger
// value is a damaged card, and the gnomonic projection could not draw it.
constexpr double kLargestSolarRadiusArcsec = 90 * kArcsecPerDeg;

std::optional<double> SolarRadiusArcsec(const FitsHeader& header) {
  std::optional<double> radius = HeaderNumber(header, "RSUN_OBS");
  if (!radius) radius = HeaderNumber(header, "RSUN_ARC");
  if (radius && *radius > 0 && *radius < kLargestSolarRadiusArcsec) return radius;
  return std::nullopt;
}

}  // namespace

HeaderGeometry SolarGeometryFromHeader(const FitsHeader& header, int heightPx) {
  HeaderGeometry geometry;
  geometry.solarRadiusArcsec = SolarRadiusArcsec(header);
  const std::optional<LinearTransform> transform = LinearTransformOf(header);
  if (!transform) return geometry;
  const Matrix2& m = transform->degPerPx;

  const double degPerPx = std::sqrt(std::abs(Determinant(m)));
  geometry.arcsecPerPx = degPerPx * kArcsecPerDeg;
  geometry.mirrored = Determinant(m) < 0;
  const Projection projection = HelioprojectiveProjection(header);
  if (geometry.solarRadiusArcsec) {
    const double radiusDeg = *geometry.solarRadiusArcsec / kArcsecPerDeg;
    // The gnomonic projection draws a circle of angular radius r with the
    // radius tan r.
    const double projectedDeg =
        projection == Projection::Gnomonic ? RadToDeg * std::tan(radiusDeg / RadToDeg) : radiusDeg;
    geometry.radiusPx = projectedDeg / degPerPx;
  }
  if (projection == Projection::None) return geometry;

  geometry.alignedToSolarNorth = true;
  const PixelPoint north = Solve(m, 0, 1);  // FITS pixel axes, rows upward
  geometry.rotationDeg = std::atan2(-north.xPx, north.yPx) * RadToDeg;
  if (const std::optional<PixelPoint> centre =
          SunCentreInFitsPixels(header, *transform, projection)) {
    geometry.centre = PixelPoint{centre->xPx - 1, heightPx - centre->yPx};
  }
  return geometry;
}

double EphemerisRadiusPx(double arcsecPerPx, double julianDay) {
  return SemiDiameterArcSeconds(ComputeSun(julianDay).distanceAu) / arcsecPerPx;
}

}  // namespace helidisk
