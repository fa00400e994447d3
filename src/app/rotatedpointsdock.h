// The measured points and the detected spots at the instant shown: where
// the rotation law has carried each since it was measured (a spot since
// its observation), whether it is on the hemisphere facing the Earth, and
// when it next crosses the central meridian and the west limb.
#pragma once

#include <QDockWidget>
#include <vector>

#include "diskframe.h"
#include "ephemerischoice.h"
#include "measuredpoints.h"
#include "solarrotation.h"

class QAction;
class QLabel;
class QTableWidget;

namespace helidisk {

// A point to follow and the name it goes by in the table: "Point 3",
// "Spot 2".
struct FollowedPoint {
  QString label;
  MeasuredPoint point;
};

class RotatedPointsDock final : public QDockWidget {
  Q_OBJECT

 public:
  explicit RotatedPointsDock(QWidget* window);

  // The points at the instant of the frame (a Julian day, UT) by the law,
  // named above the table, their crossings on the ephemeris the picture is
  // drawn by.  The table is filled while the dock is shown: the crossings
  // take a few hundred ephemerides a point.
  void Follow(std::vector<FollowedPoint> points, const DiskFrame& frame, const RotationModel& model,
              const QString& lawName, double julianDay, const EphemerisChoice& ephemeris);
  // View -> Points at the shown instant; the dock first opens floating
  // beside the window, so that the picture keeps its size.
  QAction* ShowAction() const { return showAction_; }
  QTableWidget* Table() const { return table_; }

 private:
  void Fill();

  QLabel* law_;
  QTableWidget* table_;
  QAction* showAction_;
  bool placed_ = false;
  std::vector<FollowedPoint> points_;
  DiskFrame frame_;
  const RotationModel* model_ = nullptr;
  double julianDay_ = 0;
  EphemerisChoice ephemeris_;
};

}  // namespace helidisk
