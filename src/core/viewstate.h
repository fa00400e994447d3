// The working record of one redraw, and the view of the window it draws into.
#pragma once

#include <cstdint>
#include <string>

#include "canvas.h"
#include "diskframe.h"
#include "diskgeometry.h"
#include "ephemerischoice.h"

namespace helidisk {

// The ten readout labels below the picture, in the order they are written.
enum class ReadoutLabel { JD, Datum, Zeit, RAapp, DEapp, Distanz, Halbmesser, P, B0, L0 };
inline constexpr int kReadoutLabelCount = 10;

// What a redraw needs of the main window: the picture's canvas, the chosen
// hour, the grid mode and the readout labels, plus the two inputs it takes
// from the user's environment.
class FormView {
 public:
  virtual ~FormView() = default;

  virtual Canvas& ImageCanvas() = 0;
  // Where the disk sits in the picture: what resizing the picture last set.
  virtual DiskGeometry PictureGeometry() const = 0;
  // The chosen instant in hours since 1 January, 0 h UT, of the current
  // year: the scroll position, whole hours 0 ... 8736, in the window; any
  // instant of the year for the command-line renderer.
  virtual double HourPosition() const = 0;
  virtual bool DiffRotChecked() const = 0;
  // The Stonyhurst grid, fixed to the observer, instead of either
  // heliographic one.
  virtual bool StonyhurstGridChosen() const { return false; }
  // How the picture is to be read; the sky view unless chosen otherwise.
  virtual Orientation PictureOrientation() const { return Orientation::Sky; }
  // The theory that computes the Sun; the standard one unless chosen.
  virtual EphemerisChoice ChosenEphemeris() const { return {}; }
  virtual void SetReadoutCaption(ReadoutLabel label, const std::string& captionUtf8) = 0;
  // The year of the current local date.
  virtual std::int32_t CurrentYear() const = 0;
  // The user's regional decimal separator, UTF-8.
  virtual std::string DecimalSeparator() const = 0;
};

struct ViewState {
  // The window, and where its picture puts the disk.
  FormView* Form = nullptr;
  DiskGeometry Geometry;
  Orientation PictureOrientation = Orientation::Sky;

  // The instant.
  std::int32_t Year = 0;
  std::int32_t Month = 0;
  std::int32_t Day = 0;
  double Hours = 0;
  double Minutes = 0;
  double Seconds = 0;
  double JulianDay = 0;  // days, UT

  // Ephemeris results; angles in radians.
  double SunRA = 0;
  double SunDec = 0;
  double SunDistance = 0;  // astronomical units
  double SunP = 0;
  double SunB0 = 0;
  double SunL0 = 0;

  // Ephemeris working values; angles in radians.
  double MeanLongitude = 0;
  double MeanAnomaly = 0;
  double Eccentricity = 0;
  double EquationOfCentre = 0;
  double TrueLongitude = 0;
  double TrueAnomaly = 0;
  double MoonNode = 0;
  double ApparentLongitude = 0;
  double MeanObliquity = 0;
  double Obliquity = 0;

  // Disk orientation and size.
  double L0Copy = 0;
  double B0Copy = 0;
  double NegP = 0;
  double SinL0 = 0;
  double CosL0 = 0;
  double SinB0 = 0;
  double CosB0 = 0;
  double SinNegP = 0;
  double CosNegP = 0;
  std::int32_t DiskRadius = 0;  // pixels
  Rect DrawRect;
  std::int32_t LimbAngle = 0;  // whole degrees

  // Grid cursor (arc seconds) and the last projected point.
  std::int32_t GridLat = 0;
  std::int32_t GridLon = 0;
  std::int32_t ProjX = 0;  // pixels, rightward
  std::int32_t ProjY = 0;  // pixels, downward
  double ProjDepth = 0;    // > 0 on the visible hemisphere

  // Readout texts, UTF-8.
  std::string ReadoutText;
  std::string ReadoutField;
};

}  // namespace helidisk
