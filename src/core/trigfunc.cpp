#include "trigfunc.h"

#include <cmath>

namespace helidisk {

double FullArcTan(double y, double x) {
  if (x == 0 && y == 0) return 0;
  const double ax = std::fabs(x);
  const double ay = std::fabs(y);
  double r = ax > ay ? std::atan(ay / ax) : Pi / 2 - std::atan(ax / ay);
  if (x < 0) r = Pi - r;
  if (y < 0) r = -r;
  return r;
}

double ClampedArcSin(double s) {
  if (s > 1) s = 1;
  if (s < -1) s = -1;
  if (std::fabs(s) == 1) return s * Pi / 2;
  return std::atan(s / std::sqrt(1 - s * s));
}

double PositiveMod(double x, double m) {
  const double q = x / m;
  double r = (q - std::trunc(q)) * m;
  if (r < 0) r = r + m;
  return r;
}

}  // namespace helidisk
