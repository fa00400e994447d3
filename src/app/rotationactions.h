// The Go menu's steps through time -- an hour, a day, a Carrington
// rotation, back and forward -- and the rotation law by which the measured
// points follow the instant shown.
#pragma once

#include <QObject>
#include <QString>

#include "solarrotation.h"

class QActionGroup;
class QMenu;

namespace helidisk {

class RotationActions final : public QObject {
  Q_OBJECT

 public:
  // Adds the steps and the "Rotation law" submenu to the end of `goMenu`.
  RotationActions(QMenu* goMenu, QObject* parent);

  // The default law until the user chooses another.
  const RotationModel& ChosenModel() const;
  // "Howard et al. (1990)": the chosen law's name.
  QString LawName() const;
  // "Measured points — Howard et al. (1990)": the title of the points'
  // table, naming the law their marks follow.
  QString PointsTitle() const;

 signals:
  // Forward by that many hours, back when negative.
  void StepRequested(double hours);
  void ModelChosen();

 private:
  void AddSteps(QMenu* goMenu);
  void AddModels(QMenu* goMenu);

  QActionGroup* models_ = nullptr;
};

}  // namespace helidisk
