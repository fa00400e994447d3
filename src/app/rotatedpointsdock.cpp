#include "rotatedpointsdock.h"

#include <QAction>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>
#include <cmath>
#include <optional>
#include <utility>

#include "ephemerisrecord.h"
#include "featurerotation.h"
#include "fixedtext.h"
#include "measuredpointsdock.h"
#include "trigfunc.h"

namespace helidisk {

namespace {

const char* const kHeadings[] = {"Feature",   "Measured (UT)",         "Latitude",
                                 "Longitude", "CM distance",           "μ",
                                 "Visible",   "Central meridian (UT)", "West limb (UT)"};

QString Degrees(double degrees) { return QString::fromStdString(FormatFixed(degrees, 0, 2)); }

QString InstantText(const std::optional<double>& julianDay) {
  if (!julianDay) return QStringLiteral("—");
  return QString::fromStdString(UtcMinuteText(CalendarInstantOf(*julianDay)));
}

// A point on the sky has no place on the Sun to carry along.
QStringList RowTexts(const FollowedPoint& followed, const DiskFrame& frame,
                     const RotationModel& model, double julianDay,
                     const EphemerisChoice& ephemeris) {
  const MeasuredPoint& point = followed.point;
  const QString measured = QString::fromStdString(MeasuredPointFields(point).front());
  if (!point.located.onDisk) return {followed.label, measured};
  const HeliographicPosition there = RotatedPosition(
      model, {point.located.latitudeRad * RadToDeg, point.located.longitudeRad * RadToDeg},
      julianDay - point.julianDay);
  const FeatureOnDisk seen = FeatureOnDiskOf(there, frame);
  const FeatureCrossings crossings = NextCrossings(model, there, julianDay, ephemeris);
  const QString side = seen.cmDistanceDeg < 0 ? QStringLiteral("E ") : QStringLiteral("W ");
  return {followed.label,
          measured,
          Degrees(seen.latitudeDeg),
          Degrees(seen.longitudeDeg),
          side + Degrees(std::fabs(seen.cmDistanceDeg)),
          QString::fromStdString(FormatFixed(seen.mu, 0, 3)),
          seen.visible ? QStringLiteral("yes") : QStringLiteral("no"),
          InstantText(crossings.centralMeridianJulianDay),
          InstantText(crossings.westLimbJulianDay)};
}

}  // namespace

RotatedPointsDock::RotatedPointsDock(QWidget* window)
    : QDockWidget(QStringLiteral("Points at the shown instant"), window),
      law_(new QLabel(this)),
      table_(NewPointsTable(this, kHeadings, "Table_RotatedPoints")),
      showAction_(toggleViewAction()) {
  setObjectName(QStringLiteral("Dock_RotatedPoints"));
  law_->setObjectName(QStringLiteral("RotatedPointsLaw"));
  auto* body = new QWidget(this);
  auto* layout = new QVBoxLayout(body);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(law_);
  layout->addWidget(table_);
  setWidget(body);

  showAction_->setText(QStringLiteral("Points at the shown &instant"));
  showAction_->setObjectName(QStringLiteral("ShowRotatedPoints"));
  connect(showAction_, &QAction::triggered, this, [this, window](bool shown) {
    if (!shown || placed_) return;
    placed_ = true;
    setFloating(true);
    move(window->frameGeometry().topRight());
  });
  connect(this, &QDockWidget::visibilityChanged, this, [this](bool visible) {
    if (visible) Fill();
  });
}

void RotatedPointsDock::Follow(std::vector<FollowedPoint> points, const DiskFrame& frame,
                               const RotationModel& model, const QString& lawName, double julianDay,
                               const EphemerisChoice& ephemeris) {
  law_->setText(QStringLiteral("Carried by ") + lawName);
  points_ = std::move(points);
  frame_ = frame;
  model_ = &model;
  julianDay_ = julianDay;
  ephemeris_ = ephemeris;
  if (isVisible()) Fill();
}

void RotatedPointsDock::Fill() {
  if (model_ == nullptr) return;
  table_->setRowCount(static_cast<int>(points_.size()));
  for (int row = 0; row < table_->rowCount(); ++row) {
    const QStringList texts =
        RowTexts(points_[static_cast<std::size_t>(row)], frame_, *model_, julianDay_, ephemeris_);
    for (int column = 0; column < table_->columnCount(); ++column) {
      auto* item = new QTableWidgetItem(column < texts.size() ? texts[column] : QString());
      item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      table_->setItem(row, column, item);
    }
  }
}

}  // namespace helidisk
