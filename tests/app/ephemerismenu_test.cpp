// View -> Ephemeris -> Standard / Precise (ERFA) / Stellar aberration
// in the window: the readout follows the choice as helidisk-render prints
// it, the line below the readout names it, and an instant the precise
// theory does not serve is reported and changes nothing.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QScrollBar>
#include <QWindow>
#include <QtTest>
#include <cmath>
#include <memory>
#include <numbers>
#include <vector>

#include "application.h"
#include "form_main.h"
#include "program_run.h"
#include "window_control.h"

namespace helidisk {

class EphemerisMenuTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void init();
  void cleanup();

  void opensWithTheStandardTheory();
  void readoutFollowsTheChoice_data();
  void readoutFollowsTheChoice();
  void measuredPointsFollowTheAberrationChoice();
  void precisionOutsideItsRangeIsRefused();
  void goingOutsideThePreciseRangeIsRefused();

 private:
  template <typename T>
  T* Control(const char* name) const {
    return fakes::ControlNamed<T>(*window_, name);
  }
  QString Text(const char* label) const { return Control<QLabel>(label)->text(); }
  void ShowAtHour(int hour);
  double ClickedLongitudeDeg() const;

  std::unique_ptr<TForm_Main> window_;
  std::vector<QString> reportedErrors_;
  std::int32_t year_ = 2021;
};

void EphemerisMenuTest::initTestCase() {
  SetErrorReporter([this](const QString& message) { reportedErrors_.push_back(message); });
}

void EphemerisMenuTest::init() {
  reportedErrors_.clear();
  year_ = 2021;
  window_ = std::make_unique<TForm_Main>();
  window_->SetYearSource([this] { return year_; });
}

void EphemerisMenuTest::cleanup() {
  window_.reset();
  QVERIFY(reportedErrors_.empty());
}

void EphemerisMenuTest::ShowAtHour(int hour) {
  window_->show();
  window_->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(window_.get()));
  Control<QScrollBar>("ScrollBar1")->setValue(hour);
}

void EphemerisMenuTest::opensWithTheStandardTheory() {
  ShowAtHour(0);
  QVERIFY(Control<QAction>("StandardEphemeris1")->isChecked());
  QVERIFY(!Control<QAction>("PreciseEphemeris1")->isChecked());
  QVERIFY(!Control<QAction>("StellarAberration1")->isEnabled());
  QCOMPARE(Text("Label_Ephemeris"), QStringLiteral("Ephemeride: Standard"));
}

void EphemerisMenuTest::readoutFollowsTheChoice_data() {
  QTest::addColumn<QStringList>("items");
  QTest::addColumn<QString>("indicator");
  QTest::addColumn<QStringList>("renderer");
  QTest::addRow("precise") << QStringList{"PreciseEphemeris1"}
                           << QStringLiteral("Ephemeride: präzise (ERFA)")
                           << QStringList{"--ephemeris", "precise"};
  QTest::addRow("precise with aberration") << QStringList{"PreciseEphemeris1", "StellarAberration1"}
                                           << QStringLiteral("Ephemeride: ERFA + Aberration")
                                           << QStringList{"--ephemeris", "precise", "--aberration"};
  QTest::addRow("back to standard")
      << QStringList{"PreciseEphemeris1", "StellarAberration1", "StandardEphemeris1"}
      << QStringLiteral("Ephemeride: Standard") << QStringList{};
}

// The ten readout lines are the renderer's for the same hour and theory.
void EphemerisMenuTest::readoutFollowsTheChoice() {
  QFETCH(QStringList, items);
  QFETCH(QString, indicator);
  QFETCH(QStringList, renderer);
  ShowAtHour(4417);
  for (const QString& item : items) Control<QAction>(qPrintable(item))->trigger();
  QCOMPARE(Text("Label_Ephemeris"), indicator);

  const fakes::ProgramOutcome printed =
      fakes::RunProgram(QStringLiteral(HELIDISK_RENDER_PROGRAM),
                        QStringList{"--year", "2021", "--hour", "4417", "--readout",
                                    "--decimal-separator", QLocale().decimalPoint()} +
                            renderer);
  QCOMPARE(printed.exitCode, 0);
  const QStringList lines = QString::fromUtf8(printed.out).split('\n', Qt::SkipEmptyParts);
  QCOMPARE(lines.size(), 10);
  const char* const labels[] = {"Label_JD",    "Label_Datum",   "Label_Zeit",       "Label_RAapp",
                                "Label_DEapp", "Label_Distanz", "Label_Halbmesser", "Label_P",
                                "Label_B0",    "Label_L0"};
  for (int line = 0; line < 10; ++line) QCOMPARE(Text(labels[line]), lines[line]);
}

// Measures the point in the middle of the picture, near the disk's centre.
double EphemerisMenuTest::ClickedLongitudeDeg() const {
  auto* picture = Control<QWidget>("Image1");
  QTest::mouseClick(window_->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                    picture->mapTo(window_.get(), picture->rect().center()));
  if (window_->MeasuredPoints().empty()) qFatal("no point measured");
  return window_->MeasuredPoints().back().located.longitudeRad * 180 / std::numbers::pi;
}

// The same pixel with and without stellar aberration: the longitude the
// point gets moves by the aberration of L0, 20.5" / r, too small for the
// readout's two decimals.
void EphemerisMenuTest::measuredPointsFollowTheAberrationChoice() {
  ShowAtHour(4417);
  Control<QAction>("PreciseEphemeris1")->trigger();
  const double withoutDeg = ClickedLongitudeDeg();
  Control<QAction>("StellarAberration1")->trigger();
  const double withDeg = ClickedLongitudeDeg();
  const double distanceAu = 1.0167;  // early July, as the readout shows
  QVERIFY2(std::abs((withoutDeg - withDeg) * 3600 - 20.5 / distanceAu) < 1,
           qPrintable(QString::number((withoutDeg - withDeg) * 3600)));
}

// A year the precise theory does not serve: the choice is refused with
// its range and the standard theory stays.
void EphemerisMenuTest::precisionOutsideItsRangeIsRefused() {
  year_ = 1850;
  ShowAtHour(100);
  const QString l0 = Text("Label_L0");
  Control<QAction>("PreciseEphemeris1")->trigger();
  QCOMPARE(reportedErrors_.size(), std::size_t{1});
  QVERIFY2(reportedErrors_.front().contains("1900-01-01 to 2100-12-31"),
           qPrintable(reportedErrors_.front()));
  reportedErrors_.clear();
  QVERIFY(Control<QAction>("StandardEphemeris1")->isChecked());
  QVERIFY(!Control<QAction>("StellarAberration1")->isEnabled());
  QCOMPARE(Text("Label_Ephemeris"), QStringLiteral("Ephemeride: Standard"));
  QCOMPARE(Text("Label_L0"), l0);
}

// Go -> Date and time to an instant the precise theory does not serve
// keeps the instant shown.
void EphemerisMenuTest::goingOutsideThePreciseRangeIsRefused() {
  ShowAtHour(30);
  Control<QAction>("PreciseEphemeris1")->trigger();
  const QString date = Text("Label_Datum");
  window_->SetInstantPrompt([](const UtcMinute&) { return UtcMinute{1899, 12, 31, 23, 0}; });
  Control<QAction>("GoDateTime1")->trigger();
  QCOMPARE(reportedErrors_.size(), std::size_t{1});
  QVERIFY2(reportedErrors_.front().contains("1899-12-31 23:00 UTC"),
           qPrintable(reportedErrors_.front()));
  reportedErrors_.clear();
  QCOMPARE(Text("Label_Datum"), date);
  QVERIFY(Control<QAction>("PreciseEphemeris1")->isChecked());
}

}  // namespace helidisk

QTEST_MAIN(helidisk::EphemerisMenuTest)
#include "ephemerismenu_test.moc"
