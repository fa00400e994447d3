#include "ephemeris.h"

namespace helidisk {

void ComputeSunEphemeris(ViewState& state, double julianDay) {
  StoreSunEphemeris(state, ComputeSun(julianDay));
}

void StoreSunEphemeris(ViewState& state, const SunEphemeris& sun) {
  state.SunRA = sun.raRad;
  state.SunDec = sun.decRad;
  state.SunDistance = sun.distanceAu;
  state.SunP = sun.pRad;
  state.SunB0 = sun.b0Rad;
  state.SunL0 = sun.l0Rad;

  const SolarTheoryTerms& terms = sun.terms;
  state.MeanLongitude = terms.meanLongitudeRad;
  state.MeanAnomaly = terms.meanAnomalyRad;
  state.Eccentricity = terms.eccentricity;
  state.EquationOfCentre = terms.equationOfCentreRad;
  state.TrueLongitude = terms.trueLongitudeRad;
  state.TrueAnomaly = terms.trueAnomalyRad;
  state.MoonNode = terms.moonNodeRad;
  state.ApparentLongitude = terms.apparentLongitudeRad;
  state.MeanObliquity = terms.meanObliquityRad;
  state.Obliquity = terms.obliquityRad;
}

}  // namespace helidisk
