#include "pointerreadout.h"

#include <cmath>

#include "fixedtext.h"
#include "trigfunc.h"

namespace helidisk {

namespace {

std::string Degrees(double radians) { return FormatFixed(radians * RadToDeg, 7, 2) + "°"; }

// East of the central meridian is negative, west positive.
std::string CentralMeridianDistance(double radians) {
  return (radians < 0 ? "E" : "W") + FormatFixed(std::fabs(radians) * RadToDeg, 7, 2) + "°";
}

}  // namespace

PointerReadoutTexts PointerReadout(const std::optional<LocatedPoint>& point) {
  if (!point) return {};
  if (!point->onDisk) {
    return {"Pos.winkel:" + Degrees(point->positionAngleRad),
            "Abstand   :" + FormatFixed(point->rho, 7, 3) + " R", "", ""};
  }
  return {"Breite    :" + Degrees(point->latitudeRad), "Länge     :" + Degrees(point->longitudeRad),
          "ZM-Abstand: " + CentralMeridianDistance(point->cmDistanceRad),
          "mu        :" + FormatFixed(point->mu, 7, 3)};
}

std::string CarringtonRotationText(const CarringtonRotation& rotation) {
  return "Carr.Rot. :" + FormatFixed(rotation.fraction, 9, 3);
}

}  // namespace helidisk
