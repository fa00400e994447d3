// The year chart in the window: the cursor follows the scroll bar and the
// Go menu, a click on the plot moves the scroll bar to the hour clicked, and
// the pointer reads the figures of the hour under it.
#include "yearchart.h"

#include <QAction>
#include <QChart>
#include <QChartView>
#include <QLabel>
#include <QMenu>
#include <QScrollBar>
#include <QtTest>
#include <cmath>
#include <memory>

#include "form_main.h"
#include "instanttext.h"

namespace helidisk {

class YearChartTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void cursorFollowsTheScrollBarAndTheGoMenu();
  void clickOnThePlotSetsTheHour();
  void pointerReadsTheFiguresOfItsHour();

 private:
  QScrollBar* ScrollBar() const { return window_->findChild<QScrollBar*>("ScrollBar1"); }
  QChart* Chart() const { return dock_->ChartView()->chart(); }
  // The point of the chart's viewport over `hours` since new year, halfway
  // up the plot.
  QPoint ViewportPointAt(double hours) const;
  // The whole hour that the chart maps the viewport point to.
  double HoursAt(QPoint viewportPoint) const;

  std::unique_ptr<TForm_Main> window_;
  YearChartDock* dock_ = nullptr;
};

void YearChartTest::init() {
  window_ = std::make_unique<TForm_Main>();
  window_->SetYearSource([] { return 2021; });
  window_->show();
  QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
  dock_ = window_->findChild<YearChartDock*>("Dock_YearChart");
  QVERIFY(dock_ != nullptr);
  QVERIFY(window_->findChild<QMenu*>("View1")->actions().contains(dock_->ShowAction()));
  // Docked: under the offscreen platform a floating dock makes Qt warn.
  dock_->show();
  QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
}

void YearChartTest::cleanup() { window_.reset(); }

QPoint YearChartTest::ViewportPointAt(double hours) const {
  const QRectF plot = Chart()->plotArea();
  const QPointF onChart(Chart()->mapToPosition(QPointF(hours / 24, 0)).x(), plot.center().y());
  return dock_->ChartView()->mapFromScene(Chart()->mapToScene(onChart));
}

double YearChartTest::HoursAt(QPoint viewportPoint) const {
  const QPointF onChart = Chart()->mapFromScene(dock_->ChartView()->mapToScene(viewportPoint));
  return std::round(Chart()->mapToValue(onChart).x() * 24);
}

void YearChartTest::cursorFollowsTheScrollBarAndTheGoMenu() {
  ScrollBar()->setValue(4417);
  QCOMPARE(dock_->CursorHours(), std::optional<double>(4417));
  ScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  QCOMPARE(dock_->CursorHours(), std::optional<double>(4418));

  const UtcMinute instant{1987, 3, 5, 14, 37};
  window_->SetInstantPrompt([instant](const UtcMinute&) { return instant; });
  window_->findChild<QAction*>("GoDateTime1")->trigger();
  QCOMPARE(dock_->CursorHours(), std::optional<double>(HoursSinceNewYear(instant)));
  QCOMPARE(Chart()->axes(Qt::Horizontal).front()->titleText(), QStringLiteral("1987, UT"));
}

// The click lands on a pixel, which stands for some hours: the scroll bar
// takes the hour the chart maps that pixel to.
void YearChartTest::clickOnThePlotSetsTheHour() {
  for (const int hour : {1000, 6000}) {
    const QPoint point = ViewportPointAt(hour);
    const double hoursPerPixel = 365 * 24 / Chart()->plotArea().width();
    const double expected = HoursAt(point);
    QVERIFY(std::abs(expected - hour) <= hoursPerPixel);
    QTest::mouseClick(dock_->ChartView()->viewport(), Qt::LeftButton, {}, point);
    QCOMPARE(ScrollBar()->value(), static_cast<int>(expected));
    QCOMPARE(dock_->CursorHours(), std::optional<double>(expected));
  }
  // Outside the plot a click chooses nothing.
  ScrollBar()->setValue(10);
  QTest::mouseClick(dock_->ChartView()->viewport(), Qt::LeftButton, {}, QPoint(1, 1));
  QCOMPARE(ScrollBar()->value(), 10);
}

// The pointer's hour, shown in the window, gives the same date, time, P and
// B0 in the readout.
void YearChartTest::pointerReadsTheFiguresOfItsHour() {
  const QPoint point = ViewportPointAt(2000);
  QTest::mouseMove(dock_->ChartView()->viewport(), point);
  const QString text = dock_->PointerText();
  ScrollBar()->setValue(static_cast<int>(HoursAt(point)));
  const auto shown = [this](const char* label) {
    return window_->findChild<QLabel*>(label)->text().section(':', 1).trimmed();
  };
  const QString instant =
      shown("Label_Datum") + "T" +
      window_->findChild<QLabel*>("Label_Zeit")->text().section(": ", 1).trimmed();
  QVERIFY2(text.startsWith(instant + " UT"), qPrintable(text + " / " + instant));
  QVERIFY2(text.contains("P " + shown("Label_P")), qPrintable(text));
  QVERIFY2(text.contains("B0 " + shown("Label_B0")), qPrintable(text));

  QTest::mouseMove(dock_->ChartView()->viewport(), QPoint(1, 1));
  QCOMPARE(dock_->PointerText(), QString());
}

}  // namespace helidisk

QTEST_MAIN(helidisk::YearChartTest)
#include "yearchart_test.moc"
