// The instant the window shows: the scroll bar and its keys, the Go menu's
// instants and steps, and the redraw they lead to.
#include <QAbstractSlider>
#include <QApplication>
#include <QCheckBox>
#include <QDateTime>
#include <QKeyEvent>
#include <QLabel>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QWindow>
#include <algorithm>
#include <array>
#include <cmath>

#include "application.h"
#include "carrington.h"
#include "ephemerismenu.h"
#include "form_main.h"
#include "instantsteps.h"
#include "measuredpointsdock.h"
#include "picturecontrol.h"
#include "rotationactions.h"
#include "sun.h"
#include "yearchart.h"

namespace helidisk {
namespace {

// The keys that move the hour, as a desktop scroll bar reads them: the
// arrows by its small change, the page keys by its large change.
struct HourKey {
  Qt::Key Key;
  QAbstractSlider::SliderAction Action;
};
constexpr std::array<HourKey, 6> kHourKeys = {{
    {Qt::Key_Right, QAbstractSlider::SliderSingleStepAdd},
    {Qt::Key_Left, QAbstractSlider::SliderSingleStepSub},
    {Qt::Key_PageDown, QAbstractSlider::SliderPageStepAdd},
    {Qt::Key_PageUp, QAbstractSlider::SliderPageStepSub},
    {Qt::Key_Home, QAbstractSlider::SliderToMinimum},
    {Qt::Key_End, QAbstractSlider::SliderToMaximum},
}};

}  // namespace

// A key event reaches the window's platform window before Qt hands it on to
// the focused control: seen there, it is seen once, whatever has the focus.
bool TForm_Main::IsKeyReleaseOnThisWindow(const QObject* watched, const QEvent* event) const {
  return event->type() == QEvent::KeyRelease && watched != nullptr && watched == windowHandle();
}

// The scroll bar's keys step the hour wherever the focus is, except in the
// About panel's controls, which use them themselves: the version grid moves
// its cell (and passes a key on to the window when the cell cannot move),
// the button moves the focus.  The check box, a button too, would move the
// focus with the arrows; it keeps only its space bar.  QScrollBar steps back
// on Right and forward on Left (its controls are inverted), so the scroll
// bar takes its keys from here as well.  Without a focused control the keys
// go to the window itself.
bool TForm_Main::TakesHourKeys(const QObject* watched) const {
  return watched == ScrollBar1 || watched == CheckBox_DiffRot ||
         (watched == this && QApplication::focusWidget() == nullptr);
}

// Each key is one action of the scroll bar: its change handler redraws once
// when the position moves.
bool TForm_Main::StepHourByKey(const QKeyEvent& event) {
  const auto* hourKey =
      std::find_if(kHourKeys.begin(), kHourKeys.end(),
                   [&event](const HourKey& candidate) { return candidate.Key == event.key(); });
  if (hourKey == kHourKeys.end()) return false;
  ScrollBar1->triggerAction(hourKey->Action);
  return true;
}

void TForm_Main::ScrollBar1Change() {
  if (!pictureSized_) return;
  lastRedraw_ = Redraw(*this);
  ++redrawCount_;
  shownFrame_ = lastRedraw_->frame;
  if (session_.image) ShowOpenedImage();
  DrawMeasuredPointMarks();
  Label_Rotation->setText(QString::fromStdString(CarringtonRotationText(
      CarringtonRotationOf(lastRedraw_->sun.julianDay, lastRedraw_->sun.l0Rad))));
  Label_Rotation->adjustSize();
  // A pointer held still over the picture now points at another place.
  ShowPointerReadoutAtPointer();
  yearChart_->Follow(CurrentYear(), HourPosition());
  Image1->update();
}

// Moving the scroll bar returns from an exact instant to the whole hours of
// the year shown.
void TForm_Main::ScrollBar1PositionChanged() {
  session_.instant.exactHours.reset();
  ScrollBar1Change();
}

// The window was designed to fill a screen of its time from the top edge:
// every activation puts it back there.
void TForm_Main::FormActivate() {
  move(x(), 0);
  ScrollBar1Change();
}

// Bound to the change of state, by mouse or keyboard, so that the picture
// never contradicts the check box; a click that changes nothing keeps the
// chosen hour.  Hour 0 is where the differentially rotating meridians have
// no shift yet.
void TForm_Main::CheckBox_DiffRotClick() {
  session_.instant.exactHours.reset();
  ScrollBar1->setValue(0);
  ScrollBar1Change();
}

// The readout, the picture and everything measured on it follow the new
// theory at once; an instant it does not serve keeps the old one.
void TForm_Main::EphemerisChanged(const EphemerisChoice& previous) {
  if (lastRedraw_ && !ChoiceServes(ChosenEphemeris(), lastRedraw_->sun.julianDay)) {
    const double julianDay = lastRedraw_->sun.julianDay;
    ephemerisMenu_->Show(previous);
    ReportError(OutsidePreciseRangeReport(julianDay));
    return;
  }
  ScrollBar1Change();
}

// The new position is applied after this returns; handing the pending
// events to the loop first keeps the window painting during a thumb drag.
void TForm_Main::ScrollBar1Scroll() { ProcessPendingEvents(); }

UtcMinute TForm_Main::ShownInstant() const {
  if (!lastRedraw_) return {};
  const CalendarInstant& instant = lastRedraw_->instant;
  return {instant.year, instant.month, instant.day, static_cast<std::int32_t>(instant.hours),
          static_cast<std::int32_t>(instant.minutes)};
}

// The instant exactly, in its own year: the scroll bar stands on the whole
// hour at or before it without redrawing on its own.
void TForm_Main::ShowInstant(const UtcMinute& instant) {
  ShowHours(instant.year, HoursSinceNewYear(instant));
}

void TForm_Main::ShowHours(std::int32_t year, double hours) {
  const double julianDay = JulianDayOfHourPosition(year, hours);
  if (!ChoiceServes(ChosenEphemeris(), julianDay)) {
    ReportError(OutsidePreciseRangeReport(julianDay));
    return;
  }
  const double distanceAu = ComputeSun(julianDay).distanceAu;
  if (!PlausibleSunDistance(distanceAu)) {
    ReportError(QStringLiteral("The solar theory fails for the year %1: it puts the Sun %2 AU "
                               "from the Earth.")
                    .arg(year)
                    .arg(distanceAu));
    return;
  }
  session_.instant.year = year;
  session_.instant.exactHours = hours;
  {
    const QSignalBlocker quiet(ScrollBar1);
    ScrollBar1->setValue(static_cast<int>(
        std::clamp(std::floor(hours), 0.0, static_cast<double>(kLastHourPosition))));
  }
  ScrollBar1Change();
}

void TForm_Main::GoDateTimeClick() {
  const std::optional<UtcMinute> instant = instantPrompt_(ShownInstant());
  if (instant) ShowInstant(*instant);
}

// From the instant shown, into the next or the last year where the step
// leads there.
void TForm_Main::StepHoursClick(double hours) {
  const YearHours stepped = SteppedYearHours({CurrentYear(), HourPosition()}, hours);
  ShowHours(stepped.year, stepped.hours);
}

void TForm_Main::RotationModelChosen() {
  pointsDock_->setWindowTitle(rotationActions_->PointsTitle());
  ScrollBar1Change();
}

void TForm_Main::GoNowClick() {
  const QDateTime now = QDateTime::currentDateTimeUtc();
  ShowInstant({now.date().year(), now.date().month(), now.date().day(), now.time().hour(),
               now.time().minute()});
}

}  // namespace helidisk
