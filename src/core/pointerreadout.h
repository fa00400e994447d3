// The readout of the point under the mouse pointer, in the style of the
// readout panel: heliographic latitude, longitude, distance from the central
// meridian and mu over the disk; position angle and distance over the sky.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "carrington.h"
#include "diskframe.h"

namespace helidisk {

inline constexpr int kPointerReadoutLines = 4;
using PointerReadoutTexts = std::array<std::string, kPointerReadoutLines>;

// Four lines, UTF-8: "Breite    : -20.63°", "Länge     : 161.40°",
// "ZM-Abstand: W 21.90°", "mu        :  0.886" over the disk;
// "Pos.winkel: 285.60°", "Abstand   :  1.234 R" and two blank lines over
// the sky; all blank outside the picture.
PointerReadoutTexts PointerReadout(const std::optional<LocatedPoint>& point);

// "Carr.Rot. : 2306.169".
std::string CarringtonRotationText(const CarringtonRotation& rotation);

}  // namespace helidisk
