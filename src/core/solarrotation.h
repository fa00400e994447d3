// Differential rotation of the solar surface: the sidereal angular rate at
// a heliographic latitude, omega = A + B sin^2(phi) + C sin^4(phi), for the
// rotation laws observers use to carry a feature forward or back in time.
#pragma once

#include <span>
#include <string_view>

namespace helidisk {

// The rate at which the Carrington system turns (sidereal): the longitude
// of a feature that rotates at this rate never changes.
inline constexpr double kCarringtonSiderealDegPerDay = 14.1844;

struct RotationModel {
  std::string_view name;
  double a_deg_per_day;
  double b_deg_per_day;
  double c_deg_per_day;
  // The publication the coefficients come from.
  std::string_view source;
};

// The law the window and the command line use unless told otherwise:
// Howard's, measured on small magnetic features -- the spots and faculae an
// observer follows -- over many years of Mount Wilson magnetograms, and
// SunPy's default too.
inline constexpr std::string_view kDefaultRotationModel = "howard";

// Every model the program knows, in one table: rigid, howard, snodgrass,
// allen.
std::span<const RotationModel> RotationModels();

// The model of that name, nullptr if there is none.
const RotationModel* RotationModelNamed(std::string_view name);

// A + B sin^2(phi) + C sin^4(phi): the sidereal rate at latitude phi.
double SiderealRateDegPerDay(const RotationModel& model, double latitude_deg);

}  // namespace helidisk
