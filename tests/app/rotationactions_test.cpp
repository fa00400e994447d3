// The Go menu's steps through time and the rotation law of the measured
// points, driven through the window: the instant each step reaches, the
// shortcuts, and the marks the points leave at the instant shown.
#include "rotationactions.h"

#include <QAction>
#include <QDockWidget>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>
#include <optional>

#include "featurerotation.h"
#include "form_main.h"
#include "instanttext.h"
#include "picturecontrol.h"
#include "picturerequest.h"
#include "pointmarks.h"
#include "redraw.h"
#include "spotted_sun_file.h"
#include "sun.h"
#include "sunspotdock.h"
#include "window_control.h"

namespace helidisk {

class RotationActionsTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void stepsReachTheirInstant_data();
  void stepsReachTheirInstant();
  void shortcutsStepOnceWhereverTheFocusIs();
  void pointsFollowTheChosenLaw();
  void shownInstantTableGivesTheCrossings();
  void detectedSpotsFollowTheInstant();
  void addOnClickTakesTheNextClickForASpot();

 private:
  template <typename T>
  T* Control(const char* name) const {
    return fakes::ControlNamed<T>(*window_, name);
  }
  QScrollBar* ScrollBar() const { return Control<QScrollBar>("ScrollBar1"); }
  const QImage& Picture() const { return Control<PictureControl>("Image1")->Image(); }
  void ClickPictureAt(QPointF imagePoint) const;
  // The mark of the first measured point, as the law puts it at the
  // instant the window shows, in the picture control of the design size.
  QPoint ExpectedMark(const char* model) const;
  // Opens a generated image with one spot and detects it.
  void OpenAndDetectSpottedSun(const QTemporaryDir& folder) const;
  QPushButton* ButtonWithText(const char* text) const;

  std::unique_ptr<TForm_Main> window_;
};

void RotationActionsTest::init() {
  window_ = std::make_unique<TForm_Main>();
  window_->SetYearSource([] { return 2021; });
  window_->show();
  window_->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(window_.get()));
}

void RotationActionsTest::cleanup() { window_.reset(); }

void RotationActionsTest::ClickPictureAt(QPointF imagePoint) const {
  auto* picture = Control<QWidget>("Image1");
  const QPointF position = imagePoint + QPointF(0.5, 0.5);
  for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
    QMouseEvent click(type, position, picture->mapToGlobal(position), Qt::LeftButton,
                      type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(picture, &click);
  }
}

QPoint RotationActionsTest::ExpectedMark(const char* model) const {
  PictureRequest picture;
  picture.year = window_->CurrentYear();
  picture.hourPosition = window_->HourPosition();
  const RedrawResult shown = InstantResultsOf(picture);
  const std::optional<MarkPlace> place =
      MeasuredPointMarkPlace(window_->MeasuredPoints().front(), shown.frame,
                             *RotationModelNamed(model), shown.sun.julianDay);
  if (!place) return {-1, -1};
  return {static_cast<int>(std::lround(place->xPx)), static_cast<int>(std::lround(place->yPx))};
}

void RotationActionsTest::stepsReachTheirInstant_data() {
  QTest::addColumn<int>("startHour");
  QTest::addColumn<QString>("action");
  QTest::addColumn<int>("year");
  QTest::addColumn<double>("hours");
  QTest::newRow("hour forward") << 100 << "GoHourForward1" << 2021 << 101.0;
  QTest::newRow("hour back") << 100 << "GoHourBack1" << 2021 << 99.0;
  QTest::newRow("day forward") << 100 << "GoDayForward1" << 2021 << 124.0;
  QTest::newRow("day back into the last year") << 10 << "GoDayBack1" << 2020 << 8784.0 - 14;
  QTest::newRow("rotation forward") << 100 << "GoRotationForward1" << 2021 << 754.6072;
  QTest::newRow("rotation forward into the next year")
      << 8500 << "GoRotationForward1" << 2022 << 8500 + 654.6072 - 8760;
  QTest::newRow("rotation back") << 1000 << "GoRotationBack1" << 2021 << 345.3928;
}

void RotationActionsTest::stepsReachTheirInstant() {
  QFETCH(int, startHour);
  QFETCH(QString, action);
  QFETCH(int, year);
  QFETCH(double, hours);
  ScrollBar()->setValue(startHour);
  const int redraws = window_->RedrawCount();
  Control<QAction>(action.toLatin1().constData())->trigger();
  QCOMPARE(window_->CurrentYear(), year);
  QVERIFY2(std::fabs(window_->HourPosition() - hours) < 1e-6,
           qPrintable(QString::number(window_->HourPosition(), 'f', 6)));
  // The scroll bar stands on the whole hour before, as far as its 8736 reach.
  QCOMPARE(ScrollBar()->value(), std::min(static_cast<int>(std::floor(hours)), 8736));
  QCOMPARE(window_->RedrawCount(), redraws + 1);
}

// A shortcut steps once, also from the scroll bar, whose own arrow keys
// still step it by its small change.
void RotationActionsTest::shortcutsStepOnceWhereverTheFocusIs() {
  ScrollBar()->setValue(200);
  ScrollBar()->setFocus();
  struct Press {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    double hours;
  };
  const Press presses[] = {
      {Qt::Key_Right, Qt::ControlModifier, 201},
      {Qt::Key_Left, Qt::ControlModifier | Qt::ShiftModifier, 177},
      {Qt::Key_PageDown, Qt::ControlModifier, 177 + 654.6072},
      {Qt::Key_PageUp, Qt::ControlModifier, 177},
      {Qt::Key_Right, Qt::NoModifier, 178},
  };
  for (const Press& press : presses) {
    QTest::keyClick(ScrollBar(), press.key, press.modifiers);
    QVERIFY2(std::fabs(window_->HourPosition() - press.hours) < 1e-6,
             qPrintable(QStringLiteral("%1 after key %2")
                            .arg(window_->HourPosition(), 0, 'f', 4)
                            .arg(press.key)));
  }
}

// A point at 40 deg north turns about 28 deg more slowly than the
// Carrington system in a rotation under Howard's law, not at all under the
// rigid one: its mark is where each law puts it, and the points' table
// names the law.
void RotationActionsTest::pointsFollowTheChosenLaw() {
  const QRgb markColour = qRgb(255, 0, 255);
  auto* legend = Control<QLabel>("MarksLegend");
  QVERIFY(!legend->isVisible());
  ClickPictureAt({499, 313 - 306 * std::sin(40 * std::numbers::pi / 180)});
  QCOMPARE(window_->MeasuredPoints().size(), std::size_t{1});
  QVERIFY(legend->isVisible());
  QVERIFY(legend->text().contains("points") && legend->text().contains("Howard"));
  QVERIFY(!legend->text().contains("spots"));
  QVERIFY(Control<QDockWidget>("Dock_MeasuredPoints")->windowTitle().contains("Howard"));

  Control<QAction>("GoRotationForward1")->trigger();
  const QPoint howard = ExpectedMark("howard");
  const QPoint rigid = ExpectedMark("rigid");
  QVERIFY2(std::abs(howard.x() - rigid.x()) > 50, "the laws must put the marks apart");
  QCOMPARE(Picture().pixel(howard), markColour);
  QVERIFY(Picture().pixel(rigid) != markColour);

  Control<QAction>("RotationModel_rigid")->trigger();
  QVERIFY(Control<QAction>("RotationModel_rigid")->isChecked());
  QVERIFY(!Control<QAction>("RotationModel_howard")->isChecked());
  QCOMPARE(Picture().pixel(rigid), markColour);
  QVERIFY(Picture().pixel(howard) != markColour);
  QVERIFY(Control<QDockWidget>("Dock_MeasuredPoints")->windowTitle().contains("Rigid"));
  QVERIFY(legend->text().contains("Rigid"));
}

// The table of the points at the shown instant names the minutes at which
// a point reaches the central meridian and the west limb: shown at those
// minutes, the point stands there.
void RotationActionsTest::shownInstantTableGivesTheCrossings() {
  constexpr int kFeature = 0;
  constexpr int kCmDistance = 4;
  constexpr int kMu = 5;
  constexpr int kVisible = 6;
  constexpr int kMeridian = 7;
  constexpr int kLimb = 8;
  ClickPictureAt({430, 330});
  // Docked: a floating dock makes the offscreen platform warn.
  Control<QDockWidget>("Dock_RotatedPoints")->show();
  auto* table = Control<QTableWidget>("Table_RotatedPoints");
  QCOMPARE(table->rowCount(), 1);
  QCOMPARE(table->item(0, kFeature)->text(), QStringLiteral("Point 1"));
  QVERIFY(Control<QLabel>("RotatedPointsLaw")->text().contains("Howard"));
  QVERIFY(table->item(0, kCmDistance)->text().startsWith(QStringLiteral("E ")));
  QCOMPARE(table->item(0, kVisible)->text(), QStringLiteral("yes"));

  const auto showMinuteOf = [this, table](int column) {
    // "YYYY-MM-DDTHH:MMZ"
    const QString text = table->item(0, column)->text();
    const UtcMinute minute = ParseInstantText(text.chopped(1).toStdString()).instant;
    window_->SetInstantPrompt([minute](const UtcMinute& /*shown*/) { return minute; });
    Control<QAction>("GoDateTime1")->trigger();
  };
  showMinuteOf(kMeridian);
  // The point turns 0.009 deg a minute.
  QVERIFY2(table->item(0, kCmDistance)->text().mid(2).toDouble() <= 0.01,
           qPrintable(table->item(0, kCmDistance)->text()));
  showMinuteOf(kLimb);
  QVERIFY(table->item(0, kCmDistance)->text().startsWith(QStringLiteral("W ")));
  QVERIFY2(std::fabs(table->item(0, kMu)->text().toDouble()) <= 0.001,
           qPrintable(table->item(0, kMu)->text()));
}

// The spots detected on an opened image follow a step of a day in orange,
// as the measured points do: the mark moves by what Howard's law turns the
// spot through, seen from the Earth a day later.
constexpr double kSpotLatitudeDeg = 10;

QPushButton* RotationActionsTest::ButtonWithText(const char* text) const {
  const QList<QPushButton*> buttons = window_->findChildren<QPushButton*>();
  const auto found = std::find_if(
      buttons.begin(), buttons.end(),
      [text](const QPushButton* button) { return button->text() == QString::fromUtf8(text); });
  return found == buttons.end() ? nullptr : *found;
}

void RotationActionsTest::OpenAndDetectSpottedSun(const QTemporaryDir& folder) const {
  constexpr int kSidePx = 600;
  QVERIFY(folder.isValid());
  const QString path = folder.filePath("sun.png");
  QVERIFY(fakes::WriteSpottedSun(path, kSidePx,
                                 {fakes::SpotFromCentralMeridian(-10, kSpotLatitudeDeg, 600)}));
  window_->SetInstantPrompt([](const UtcMinute&) { return UtcMinute{2026, 6, 15, 10, 30}; });
  window_->OpenImage(path);
  QPushButton* detect = ButtonWithText("&Detect");
  QVERIFY(detect != nullptr);
  detect->click();
}

void RotationActionsTest::detectedSpotsFollowTheInstant() {
  constexpr double kLatitudeDeg = kSpotLatitudeDeg;
  QTemporaryDir folder;
  OpenAndDetectSpottedSun(folder);
  const SunspotObservation& observation = window_->findChild<SunspotDock*>()->Observation();
  QCOMPARE(observation.spots.size(), std::size_t{1});

  const auto orangeCentre = [this] {
    const QImage& picture = Picture();
    QPointF sum;
    int count = 0;
    for (int y = 0; y < picture.height(); ++y) {
      for (int x = 0; x < picture.width(); ++x) {
        if (picture.pixel(x, y) == qRgb(255, 128, 0)) {
          sum += QPointF(x, y);
          ++count;
        }
      }
    }
    return count == 0 ? QPointF(-1, -1) : sum / count;
  };
  const QPointF before = orangeCentre();
  QVERIFY(before.x() >= 0);
  QVERIFY(Control<QLabel>("MarksLegend")->text().contains("spots"));
  Control<QAction>("GoDayForward1")->trigger();
  const QPointF after = orangeCentre();
  QVERIFY(after.x() >= 0);

  const SpotPlace& seen = observation.spots.front().place;
  const HeliographicPosition turned =
      RotatedPosition(*RotationModelNamed("howard"), {seen.latitudeDeg, seen.longitudeDeg}, 1.0);
  const double l0AfterDeg = ComputeSun(observation.julianDay + 1).l0Rad * 180 / std::numbers::pi;
  const double cmdAfterRad = (turned.longitudeDeg - l0AfterDeg) * std::numbers::pi / 180;
  const double cmdBeforeRad = seen.cmDistanceDeg * std::numbers::pi / 180;
  const QSize shown = Picture().size();
  // The square image is fitted to the picture's shorter side, and its disk's
  // radius is 0.45 of the side.
  const double radiusPx = 0.45 * std::min(shown.width(), shown.height());
  const double expectedShiftPx = radiusPx * std::cos(kLatitudeDeg * std::numbers::pi / 180) *
                                 (std::sin(cmdAfterRad) - std::sin(cmdBeforeRad));
  const QPointF shift = after - before;
  QVERIFY2(std::abs(std::hypot(shift.x(), shift.y()) - expectedShiftPx) < 1.5,
           qPrintable(QStringLiteral("moved %1 px, expected %2 px")
                          .arg(std::hypot(shift.x(), shift.y()))
                          .arg(expectedShiftPx)));
  // The spot also has its row among the points at the shown instant, measured at
  // the observation's minute.
  Control<QDockWidget>("Dock_RotatedPoints")->show();
  auto* table = Control<QTableWidget>("Table_RotatedPoints");
  QCOMPARE(table->rowCount(), 1);
  QCOMPARE(table->item(0, 0)->text(), QStringLiteral("Spot 1"));
  QCOMPARE(table->item(0, 1)->text(), QStringLiteral("2026-06-15T10:30Z"));
}

// With "Add on click" pressed, a click on the image adds a spot at the
// image's pixel under it (the observer confirms its size), once; the next
// click measures a point again.
void RotationActionsTest::addOnClickTakesTheNextClickForASpot() {
  QTemporaryDir folder;
  OpenAndDetectSpottedSun(folder);
  auto* dock = window_->findChild<SunspotDock*>();
  std::optional<QPointF> asked;
  dock->SetSpotAsker([&asked](const std::optional<QPointF>& pixel) {
    asked = pixel;
    const QPointF at = pixel.value_or(QPointF());
    return std::optional<SunspotDock::AddedSpot>({at.x(), at.y(), 40, false});
  });
  QPushButton* addOnClick = ButtonWithText("Add on &click");
  QVERIFY(addOnClick != nullptr);
  addOnClick->click();
  QVERIFY(addOnClick->isChecked());
  // A little west of the disk's centre in the picture.
  const QSize shown = Picture().size();
  ClickPictureAt({shown.width() / 2.0 + 40, shown.height() / 2.0});
  QVERIFY(asked.has_value());
  QCOMPARE(dock->Observation().spots.size(), std::size_t{2});
  QVERIFY(window_->MeasuredPoints().empty());
  QVERIFY(!addOnClick->isChecked());
  const auto added = std::find_if(dock->Observation().spots.begin(),
                                  dock->Observation().spots.end(), [&](const DetectedSpot& spot) {
                                    return std::hypot(spot.place.xPx - asked->x(),
                                                      spot.place.yPx - asked->y()) < 1e-9;
                                  });
  QVERIFY(added != dock->Observation().spots.end());
  QVERIFY2(added->place.cmDistanceDeg > 0, "west of the centre");

  ClickPictureAt({shown.width() / 2.0 - 40, shown.height() / 2.0});
  QCOMPARE(window_->MeasuredPoints().size(), std::size_t{1});
  QCOMPARE(dock->Observation().spots.size(), std::size_t{2});
}

}  // namespace helidisk

QTEST_MAIN(helidisk::RotationActionsTest)
#include "rotationactions_test.moc"
