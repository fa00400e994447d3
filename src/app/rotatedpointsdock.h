// The measured points at the instant shown: where the rotation law has
// carried each since it was measured, whether it is on the hemisphere
// facing the Earth, and when it next crosses the central meridian and the
// west limb.
#pragma once

#include <QDockWidget>
#include <vector>

#include "diskframe.h"
#include "ephemerischoice.h"
#include "measuredpoints.h"
#include "solarrotation.h"

class QAction;
class QTableWidget;

namespace helidisk {

class RotatedPointsDock final : public QDockWidget {
  Q_OBJECT

 public:
  explicit RotatedPointsDock(QWidget* window);

  // The points at the instant of the frame (a Julian day, UT) by the law,
  // their crossings on the ephemeris the picture is drawn by.  The table is
  // filled while the dock is shown: the crossings take a few hundred
  // ephemerides a point.
  void Follow(const std::vector<MeasuredPoint>& points, const DiskFrame& frame,
              const RotationModel& model, double julianDay, const EphemerisChoice& ephemeris);
  // View -> Points at the shown instant; the dock first opens floating
  // beside the window, so that the picture keeps its size.
  QAction* ShowAction() const { return showAction_; }
  QTableWidget* Table() const { return table_; }

 private:
  void Fill();

  QTableWidget* table_;
  QAction* showAction_;
  bool placed_ = false;
  std::vector<MeasuredPoint> points_;
  DiskFrame frame_;
  const RotationModel* model_ = nullptr;
  double julianDay_ = 0;
  EphemerisChoice ephemeris_;
};

}  // namespace helidisk
