#include "ephemerismenu.h"

#include <QAction>
#include <QActionGroup>
#include <QLabel>
#include <QMenu>

namespace helidisk {

QString EphemerisIndicatorText(const EphemerisChoice& choice) {
  if (choice.theory == EphemerisTheory::Standard) return QStringLiteral("Ephemeride: Standard");
  return choice.stellarAberration ? QStringLiteral("Ephemeride: ERFA + Aberration")
                                  : QStringLiteral("Ephemeride: präzise (ERFA)");
}

QString OutsidePreciseRangeReport(double julianDay) {
  QString report = QString::fromStdString(OutsidePreciseRangeMessage(julianDay)) + '.';
  report[0] = report[0].toUpper();
  return report;
}

EphemerisMenu::EphemerisMenu(QMenu* parentMenu, QWidget* readoutPanel, QPoint indicatorPlace)
    : QObject(parentMenu) {
  parentMenu->addSeparator();
  QMenu* menu = parentMenu->addMenu(QStringLiteral("&Ephemeris"));
  menu->setObjectName(QStringLiteral("Ephemeris1"));
  theories_ = new QActionGroup(this);
  theories_->setExclusionPolicy(QActionGroup::ExclusionPolicy::Exclusive);
  standard_ = menu->addAction(QStringLiteral("S&tandard ephemeris"));
  standard_->setObjectName(QStringLiteral("StandardEphemeris1"));
  precise_ = menu->addAction(QStringLiteral("&Precise ephemeris (ERFA)"));
  precise_->setObjectName(QStringLiteral("PreciseEphemeris1"));
  for (QAction* action : {standard_, precise_}) {
    action->setCheckable(true);
    theories_->addAction(action);
  }
  aberration_ = menu->addAction(QStringLiteral("Stellar &aberration"));
  aberration_->setObjectName(QStringLiteral("StellarAberration1"));
  aberration_->setCheckable(true);

  indicator_ = new QLabel(readoutPanel);
  indicator_->setObjectName(QStringLiteral("Label_Ephemeris"));
  indicator_->move(indicatorPlace);
  Show(choice_);

  connect(theories_, &QActionGroup::triggered, this, &EphemerisMenu::TakeItems);
  connect(aberration_, &QAction::triggered, this, &EphemerisMenu::TakeItems);
}

void EphemerisMenu::Show(const EphemerisChoice& choice) {
  choice_ = choice;
  const bool precise = choice.theory == EphemerisTheory::Precise;
  (precise ? precise_ : standard_)->setChecked(true);
  aberration_->setChecked(choice.stellarAberration);
  // Aberration is a choice of the precise theory alone: the standard
  // theory's longitude always includes it.
  aberration_->setEnabled(precise);
  ShowIndicator();
}

void EphemerisMenu::TakeItems() {
  const EphemerisChoice previous = choice_;
  EphemerisChoice chosen;
  chosen.theory = precise_->isChecked() ? EphemerisTheory::Precise : EphemerisTheory::Standard;
  chosen.stellarAberration = chosen.theory == EphemerisTheory::Precise && aberration_->isChecked();
  Show(chosen);
  if (chosen != previous) emit Changed(previous);
}

void EphemerisMenu::ShowIndicator() {
  indicator_->setText(EphemerisIndicatorText(choice_));
  indicator_->adjustSize();
}

}  // namespace helidisk
