// Which solar ephemeris computes the Sun: the standard low-precision theory
// (sun.h) or the precise one on ERFA (precisesun.h), and for the precise one
// whether L0 and B0 include stellar aberration.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>

#include "sun.h"

namespace helidisk {

enum class EphemerisTheory { Standard, Precise };

struct EphemerisChoice {
  EphemerisTheory theory = EphemerisTheory::Standard;
  // Precise theory only: the Astronomical Almanac's convention instead of
  // SunPy's.  The standard theory's longitude always includes aberration.
  bool stellarAberration = false;

  bool operator==(const EphemerisChoice&) const = default;
};

// "standard" or "precise", as the command line and JSON name them.
const char* EphemerisTheoryName(EphemerisTheory theory);
std::optional<EphemerisTheory> EphemerisTheoryNamed(const std::string& name);

// An instant the chosen theory does not serve; what() names its range.
class EphemerisRangeError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Whether the theory serves the instant (Julian day, UTC); the standard
// theory serves every instant, its accuracy aside.
bool ChoiceServes(const EphemerisChoice& choice, double julianDay);

// The message for an instant the precise theory does not serve.
std::string OutsidePreciseRangeMessage(double julianDay);

// The Sun by the chosen theory; raises EphemerisRangeError for an instant
// it does not serve.
SunEphemeris ComputeSunWith(const EphemerisChoice& choice, double julianDay);

}  // namespace helidisk
