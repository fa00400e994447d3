#include "solarrotation.h"

#include <array>
#include <cmath>
#include <numbers>

namespace helidisk {

namespace {

// Howard's and Snodgrass's coefficients are published in microradians per
// second; the conversion to degrees per day is exact.
constexpr double DegPerDayOfMicroradPerSecond(double microradPerSecond) {
  constexpr double kSecondsPerDay = 86400.0;
  return microradPerSecond * 1e-6 * kSecondsPerDay * 180.0 / std::numbers::pi;
}

constexpr std::array<RotationModel, 4> kModels = {{
    {"rigid", kCarringtonSiderealDegPerDay, 0.0, 0.0,
     "Carrington, Observations of the Spots on the Sun (1863); the IAU value in Archinal et "
     "al., Celestial Mechanics and Dynamical Astronomy 130, 22 (2018)"},
    {"howard", DegPerDayOfMicroradPerSecond(2.894), DegPerDayOfMicroradPerSecond(-0.428),
     DegPerDayOfMicroradPerSecond(-0.370),
     "Howard, Harvey & Forgach, Solar Physics 130, 295 (1990): small magnetic features"},
    {"snodgrass", DegPerDayOfMicroradPerSecond(2.851), DegPerDayOfMicroradPerSecond(-0.343),
     DegPerDayOfMicroradPerSecond(-0.474),
     "Snodgrass, Astrophysical Journal 270, 288 (1983): magnetic features, as tabulated by "
     "Beck, Solar Physics 191, 47 (2000)"},
    {"allen", 14.44, -3.0, 0.0, "Allen, Astrophysical Quantities, 3rd ed. (1973): sunspots"},
}};

}  // namespace

std::span<const RotationModel> RotationModels() { return kModels; }

const RotationModel* RotationModelNamed(std::string_view name) {
  for (const RotationModel& model : kModels) {
    if (model.name == name) return &model;
  }
  return nullptr;
}

double SiderealRateDegPerDay(const RotationModel& model, double latitude_deg) {
  const double sine = std::sin(latitude_deg * std::numbers::pi / 180.0);
  const double sine2 = sine * sine;
  return model.a_deg_per_day + model.b_deg_per_day * sine2 + model.c_deg_per_day * sine2 * sine2;
}

}  // namespace helidisk
