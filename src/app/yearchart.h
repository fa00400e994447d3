// The year at a glance: how P, B0 and the Sun's semi-diameter run through
// the year the window shows, with a cursor at the instant shown, the figures
// under the pointer, and a click that picks the hour.
#pragma once

#include <QDockWidget>
#include <QString>
#include <cstdint>
#include <optional>

class QAction;
class QCategoryAxis;
class QChart;
class QChartView;
class QLabel;
class QLineSeries;
class QMainWindow;
class QValueAxis;

namespace helidisk {

class YearChartView;

class YearChartDock final : public QDockWidget {
  Q_OBJECT

 public:
  // Docked to the window's right side, hidden; the first time its view
  // action shows it, it floats beside the window, which so keeps its design
  // size.
  explicit YearChartDock(QMainWindow* window);

  // The View menu's entry that shows and hides the chart.
  QAction* ShowAction() const { return showAction_; }

  // The year and the instant to show: `hours` since 1 January, 0 h UT, of
  // `year`, as the window's hour position.  The curves are computed again
  // only for another year, and only while the chart is shown.
  void Follow(std::int32_t year, double hours);

  // Where the cursor stands on the plot, in hours since new year; empty
  // before the chart was first shown.
  std::optional<double> CursorHours() const;
  QChartView* ChartView() const;
  // The figures at the whole hour under the pointer; empty when the pointer
  // is not over the plot.
  QString PointerText() const;

 signals:
  // A click on the plot at this whole hour of the scroll bar's range.
  void HourChosen(int hour);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QChart* CreateChart();
  void CreateShowAction(QMainWindow* window);
  void Refresh();
  void ComputeCurves();
  void ShowFiguresAt(std::optional<double> hours);
  void ChooseHourAt(double hours);

  YearChartView* view_ = nullptr;
  QLabel* pointerLabel_;
  QCategoryAxis* months_;
  QValueAxis* arcSeconds_;
  QLineSeries* pSeries_;
  QLineSeries* b0Series_;
  QLineSeries* semiDiameterSeries_;
  QLineSeries* cursorSeries_;
  QAction* showAction_ = nullptr;
  bool placed_ = false;
  std::int32_t year_ = 0;
  double hours_ = 0;
  std::optional<std::int32_t> curvesYear_;
};

}  // namespace helidisk
