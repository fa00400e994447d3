// Observers' images brought into one frame for a time-lapse: every disk
// centred on a square picture with one radius and solar north up, so that
// the frames of a night or of a fortnight lie on one another.  Optionally
// each frame is also de-rotated to one reference instant: every point of
// the disk is shown where the Sun's differential rotation had it then.
//
// Resampling is bilinear, in one pass from the observer's image to the
// aligned picture, into a picture the caller keeps from frame to frame.
#pragma once

#include <QImage>
#include <functional>
#include <optional>

#include "diskframe.h"
#include "sun.h"

namespace helidisk {

// The aligned picture: a square of `sidePx`, the disk's centre in its
// middle, the disk's diameter 88 % of the side so that the corners keep
// room for the time stamp.
struct AlignedLayout {
  int sidePx = 0;
  double centrePx = 0;  // both axes: pixel centres count from 0
  double radiusPx = 0;
};

AlignedLayout AlignedLayoutOf(int sidePx);

// The frame in which the aligned picture shows the Sun as seen at the
// ephemeris' instant: solar north up, the disk of the layout.
DiskFrame AlignedDiskFrame(const AlignedLayout& layout, const SunEphemeris& sun);

// Turns every point of the disk to where the Sun's rotation had it at the
// reference instant.  The rate is sidereal, in degrees a day, for a
// heliographic latitude in degrees (a rotation model's profile).
struct Derotation {
  double referenceJulianDay = 0;
  std::function<double(double latitudeDeg)> siderealRateDegPerDay;
};

// Fills `target` (the layout's square; allocated when it has another size
// or format) from `source`, whose disk lies in `sourceFrame` as seen at
// `sourceJulianDay`.  The target shows the Sun as seen at `targetSun`'s
// instant: the source's own without de-rotation, the reference instant's
// with it.  A grey source gives a grey
// picture, any other a 32-bit RGB one.  Pixels that fall outside the
// source, and points of the disk that the rotation turns onto the far side
// at the source's instant, are black: the image holds nothing for them.
void ResampleAligned(const QImage& source, const DiskFrame& sourceFrame, double sourceJulianDay,
                     const AlignedLayout& layout, const SunEphemeris& targetSun,
                     const std::optional<Derotation>& derotation, QImage& target);

// The Carrington longitude by which a point at `latitudeDeg` moves ahead
// of the Carrington system in `days`, in degrees: the rate's excess over
// the Carrington system's own sidereal rate.
double LongitudeDriftDeg(const Derotation& derotation, double latitudeDeg, double days);

}  // namespace helidisk
