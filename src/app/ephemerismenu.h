// The window's choice of solar ephemeris: View -> Ephemeris -> "Standard
// ephemeris", "Precise ephemeris (ERFA)" and the checkable "Stellar
// aberration", and a line below the readout that says which theory the
// readout shows.  The window opens with the standard theory every time: the
// program saves no settings.
#pragma once

#include <QObject>
#include <QPoint>
#include <QString>

#include "ephemerischoice.h"

class QAction;
class QActionGroup;
class QLabel;
class QMenu;
class QWidget;

namespace helidisk {

class EphemerisMenu final : public QObject {
  Q_OBJECT

 public:
  // Appends the submenu to the menu and puts the indicator on the panel at
  // the given place.
  EphemerisMenu(QMenu* parentMenu, QWidget* readoutPanel, QPoint indicatorPlace);

  EphemerisChoice Choice() const { return choice_; }
  // Puts the items and the indicator back to a choice, without Changed.
  void Show(const EphemerisChoice& choice);

 signals:
  // The user chose another theory or switched the aberration; the old
  // choice is given so that the window can return to it.
  void Changed(EphemerisChoice previous);

 private:
  void TakeItems();
  void ShowIndicator();

  EphemerisChoice choice_;
  QActionGroup* theories_ = nullptr;
  QAction* standard_ = nullptr;
  QAction* precise_ = nullptr;
  QAction* aberration_ = nullptr;
  QLabel* indicator_ = nullptr;
};

// The indicator's text for a choice.
QString EphemerisIndicatorText(const EphemerisChoice& choice);

// The report of an instant (Julian day, UTC) the precise theory does not
// serve, as a sentence.
QString OutsidePreciseRangeReport(double julianDay);

}  // namespace helidisk
