#include "yearchart.h"

#include <QAction>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QLabel>
#include <QLegendMarker>
#include <QLineSeries>
#include <QMainWindow>
#include <QMouseEvent>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <array>
#include <cmath>
#include <functional>

#include "application.h"
#include "astronom.h"
#include "fixedtext.h"
#include "instantseries.h"
#include "redraw.h"
#include "sun.h"
#include "trigfunc.h"

namespace helidisk {

namespace {

// Four points a day follow the curves far closer than a pixel.
constexpr int kSamplesPerDay = 4;
// P stays within 26.4 deg of zero and B0 within 7.3 deg: one scale for
// both, the same every year, so that years compare at a glance.
constexpr double kDegreeAxisLimit = 30;
// Both scales get the same number of ticks, so that the grid lines of the
// one serve the other: 10 deg apart on the left, whole arc seconds on the
// right.
constexpr int kTickCount = 7;
constexpr std::array<const char*, kMonthsPerYear> kMonthNames = {
    "Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
const QSize kFloatingSize(760, 460);

struct ChartFigures {
  double pDeg;
  double b0Deg;
  double semiDiameterArcSeconds;
};

ChartFigures FiguresOf(const SunEphemeris& sun) {
  return {sun.pRad * RadToDeg, sun.b0Rad * RadToDeg, SemiDiameterArcSeconds(sun.distanceAu)};
}

// The days from 1 January, 0 h UT, of `year` to the first of `month`; month
// 13 is the next new year.  Counted by the calendar routines, so that the
// months of 1582 fall where the reform put them.
double DaysToMonth(std::int32_t year, std::int32_t month) {
  double newYear = 0;
  double first = 0;
  DateToJulianDay(year, 1, 1, 0.0, 0.0, 0.0, newYear);
  if (month > kMonthsPerYear) {
    DateToJulianDay(year + 1, 1, 1, 0.0, 0.0, 0.0, first);
  } else {
    DateToJulianDay(year, month, 1, 0.0, 0.0, 0.0, first);
  }
  return first - newYear;
}

}  // namespace

// The chart that reports where the pointer is and where it was clicked, in
// hours since new year; nothing off the plot.
class YearChartView final : public QChartView {
 public:
  YearChartView(QChart* chart, QWidget* parent) : QChartView(chart, parent) {
    setMouseTracking(true);
    setRenderHint(QPainter::Antialiasing);
  }

  std::function<void(std::optional<double> hours)> pointerMoved = [](std::optional<double>) {};
  std::function<void(double hours)> clicked = [](double) {};

 protected:
  void mouseMoveEvent(QMouseEvent* event) override {
    pointerMoved(HoursAt(event->position()));
    QChartView::mouseMoveEvent(event);
  }

  void mousePressEvent(QMouseEvent* event) override {
    const std::optional<double> hours = HoursAt(event->position());
    if (event->button() == Qt::LeftButton && hours) clicked(*hours);
    QChartView::mousePressEvent(event);
  }

  void leaveEvent(QEvent* event) override {
    pointerMoved(std::nullopt);
    QChartView::leaveEvent(event);
  }

 private:
  std::optional<double> HoursAt(QPointF viewPoint) const {
    const QPointF chartPoint = chart()->mapFromScene(mapToScene(viewPoint.toPoint()));
    if (!chart()->plotArea().contains(chartPoint)) return std::nullopt;
    return chart()->mapToValue(chartPoint).x() * kHoursPerDay;
  }
};

YearChartDock::YearChartDock(QMainWindow* window)
    : QDockWidget(QStringLiteral("Year chart"), window),
      pointerLabel_(new QLabel),
      months_(new QCategoryAxis),
      arcSeconds_(new QValueAxis),
      pSeries_(new QLineSeries),
      b0Series_(new QLineSeries),
      semiDiameterSeries_(new QLineSeries),
      cursorSeries_(new QLineSeries) {
  setObjectName(QStringLiteral("Dock_YearChart"));
  view_ = new YearChartView(CreateChart(), this);
  view_->setObjectName(QStringLiteral("View_YearChart"));
  view_->pointerMoved = [this](std::optional<double> hours) {
    RunHandler([this, hours] { ShowFiguresAt(hours); });
  };
  view_->clicked = [this](double hours) { RunHandler([this, hours] { ChooseHourAt(hours); }); };
  pointerLabel_->setObjectName(QStringLiteral("Label_YearChartPointer"));
  auto* content = new QWidget(this);
  auto* layout = new QVBoxLayout(content);
  layout->addWidget(view_, 1);
  layout->addWidget(pointerLabel_);
  setWidget(content);

  window->addDockWidget(Qt::RightDockWidgetArea, this);
  hide();
  CreateShowAction(window);
}

// Months below; P and B0 against the degrees on the left, the
// semi-diameter against the arc seconds on the right; the cursor a dashed
// line from the bottom of the plot to its top, left out of the legend.
QChart* YearChartDock::CreateChart() {
  auto* chart = new QChart;
  months_->setLabelsPosition(QCategoryAxis::AxisLabelsPositionCenter);
  auto* degrees = new QValueAxis;
  degrees->setRange(-kDegreeAxisLimit, kDegreeAxisLimit);
  degrees->setTitleText(QStringLiteral("P, B0 (°)"));
  arcSeconds_->setTitleText(QStringLiteral("semi-diameter (″)"));
  for (QValueAxis* axis : {degrees, arcSeconds_}) {
    axis->setTickCount(kTickCount);
    axis->setLabelFormat(QStringLiteral("%.0f"));
  }
  chart->addAxis(months_, Qt::AlignBottom);
  chart->addAxis(degrees, Qt::AlignLeft);
  chart->addAxis(arcSeconds_, Qt::AlignRight);

  pSeries_->setName(QStringLiteral("P (°)"));
  b0Series_->setName(QStringLiteral("B0 (°)"));
  semiDiameterSeries_->setName(QStringLiteral("semi-diameter (″)"));
  cursorSeries_->setPen(QPen(Qt::black, 1, Qt::DashLine));
  for (QLineSeries* series : {pSeries_, b0Series_, cursorSeries_, semiDiameterSeries_}) {
    chart->addSeries(series);
    series->attachAxis(months_);
    series->attachAxis(series == semiDiameterSeries_ ? static_cast<QAbstractAxis*>(arcSeconds_)
                                                     : degrees);
  }
  chart->legend()->markers(cursorSeries_).front()->setVisible(false);
  chart->legend()->setAlignment(Qt::AlignBottom);
  return chart;
}

// The chart first opens floating beside the window, so that the picture
// keeps its design size; the user may dock it where it suits.
void YearChartDock::CreateShowAction(QMainWindow* window) {
  showAction_ = toggleViewAction();
  showAction_->setText(QStringLiteral("&Year chart"));
  showAction_->setObjectName(QStringLiteral("ShowYearChart"));
  connect(showAction_, &QAction::triggered, this, [this, window](bool shown) {
    if (!shown || placed_) return;
    placed_ = true;
    setFloating(true);
    resize(kFloatingSize);
    move(window->frameGeometry().topRight());
  });
}

QChartView* YearChartDock::ChartView() const { return view_; }

void YearChartDock::Follow(std::int32_t year, double hours) {
  year_ = year;
  hours_ = hours;
  if (isVisible()) Refresh();
}

std::optional<double> YearChartDock::CursorHours() const {
  if (cursorSeries_->count() == 0) return std::nullopt;
  return cursorSeries_->at(0).x() * kHoursPerDay;
}

QString YearChartDock::PointerText() const { return pointerLabel_->text(); }

void YearChartDock::showEvent(QShowEvent* event) {
  QDockWidget::showEvent(event);
  RunHandler([this] { Refresh(); });
}

void YearChartDock::Refresh() {
  if (curvesYear_ != year_) ComputeCurves();
  cursorSeries_->replace({QPointF(hours_ / kHoursPerDay, -kDegreeAxisLimit),
                          QPointF(hours_ / kHoursPerDay, kDegreeAxisLimit)});
}

void YearChartDock::ComputeCurves() {
  const double yearDays = DaysToMonth(year_, kMonthsPerYear + 1);
  const int samples = static_cast<int>(yearDays) * kSamplesPerDay;
  QList<QPointF> p;
  QList<QPointF> b0;
  QList<QPointF> semiDiameter;
  double smallest = INFINITY;
  double largest = -INFINITY;
  for (int sample = 0; sample <= samples; ++sample) {
    const double day = static_cast<double>(sample) / kSamplesPerDay;
    const ChartFigures figures =
        FiguresOf(ComputeSun(JulianDayOfHourPosition(year_, day * kHoursPerDay)));
    p.append({day, figures.pDeg});
    b0.append({day, figures.b0Deg});
    semiDiameter.append({day, figures.semiDiameterArcSeconds});
    smallest = std::min(smallest, figures.semiDiameterArcSeconds);
    largest = std::max(largest, figures.semiDiameterArcSeconds);
  }
  pSeries_->replace(p);
  b0Series_->replace(b0);
  semiDiameterSeries_->replace(semiDiameter);
  const double bottom = std::floor(smallest) - 1;
  const double tickSpan = std::ceil((largest + 1 - bottom) / (kTickCount - 1));
  semiDiameterSeries_->attachedAxes().back()->setRange(bottom,
                                                       bottom + tickSpan * (kTickCount - 1));

  for (const QString& label : months_->categoriesLabels()) months_->remove(label);
  months_->setStartValue(0);
  for (std::int32_t month = 1; month <= kMonthsPerYear; ++month) {
    months_->append(QString::fromLatin1(kMonthNames[static_cast<std::size_t>(month - 1)]),
                    DaysToMonth(year_, month + 1));
  }
  months_->setRange(0, yearDays);
  months_->setTitleText(QStringLiteral("%1, UT").arg(year_));
  curvesYear_ = year_;
}

// The figures of the whole hour under the pointer, computed for that hour as
// the window's redraw computes them.
void YearChartDock::ShowFiguresAt(std::optional<double> hours) {
  if (!hours) {
    pointerLabel_->clear();
    return;
  }
  const double wholeHour = std::round(*hours);
  const double julianDay = JulianDayOfHourPosition(year_, wholeHour);
  const ChartFigures figures = FiguresOf(ComputeSun(julianDay));
  const CalendarInstant instant = CalendarInstantOf(julianDay);
  const UtcMinute minute{instant.year, instant.month, instant.day,
                         static_cast<std::int32_t>(instant.hours),
                         static_cast<std::int32_t>(instant.minutes)};
  pointerLabel_->setText(
      QStringLiteral("%1 UT    P %2°    B0 %3°    semi-diameter %4″")
          .arg(QString::fromStdString(InstantTextOf(minute)),
               QString::fromStdString(FormatFixed(figures.pDeg, 0, 2)),
               QString::fromStdString(FormatFixed(figures.b0Deg, 0, 2)),
               QString::fromStdString(FormatFixed(figures.semiDiameterArcSeconds, 0, 1))));
}

void YearChartDock::ChooseHourAt(double hours) {
  emit HourChosen(
      static_cast<int>(std::clamp(std::round(hours), 0.0, static_cast<double>(kLastHourPosition))));
}

}  // namespace helidisk
