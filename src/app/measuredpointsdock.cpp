#include "measuredpointsdock.h"

#include <QAction>
#include <QHeaderView>
#include <QKeySequence>
#include <QTableWidget>
#include <algorithm>
#include <set>

#include "fixedtext.h"
#include "trigfunc.h"

namespace helidisk {

namespace {

const char* const kHeadings[] = {"UT",          "x", "y",          "Latitude", "Longitude",
                                 "CM distance", "μ", "Pos. angle", "Rotation"};

// The figures as a reader wants them; the files carry full precision.
QStringList RowTexts(const MeasuredPoint& point) {
  const LocatedPoint& located = point.located;
  const auto degrees = [](double radians) {
    return QString::fromStdString(FormatFixed(radians * RadToDeg, 0, 2));
  };
  const auto onDisk = [&located](const QString& text) { return located.onDisk ? text : QString(); };
  const QString cmDistance =
      (located.cmDistanceRad < 0 ? QStringLiteral("E ") : QStringLiteral("W ")) +
      QString::fromStdString(FormatFixed(std::abs(located.cmDistanceRad) * RadToDeg, 0, 2));
  return {QString::fromStdString(MeasuredPointFields(point).front()),
          QString::fromStdString(FormatFixed(point.xPx, 0, 1)),
          QString::fromStdString(FormatFixed(point.yPx, 0, 1)),
          onDisk(degrees(located.latitudeRad)),
          onDisk(degrees(located.longitudeRad)),
          onDisk(cmDistance),
          onDisk(QString::fromStdString(FormatFixed(located.mu, 0, 3))),
          degrees(located.positionAngleRad),
          QString::number(point.rotation.number)};
}

}  // namespace

QTableWidget* NewPointsTable(QWidget* parent, std::span<const char* const> headings,
                             const char* objectName) {
  auto* table = new QTableWidget(0, static_cast<int>(headings.size()), parent);
  table->setObjectName(QString::fromLatin1(objectName));
  QStringList labels;
  for (const char* heading : headings) labels << QString::fromUtf8(heading);
  table->setHorizontalHeaderLabels(labels);
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  table->verticalHeader()->hide();
  table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  return table;
}

MeasuredPointsDock::MeasuredPointsDock(QWidget* parent)
    : QDockWidget(QStringLiteral("Measured points"), parent),
      table_(NewPointsTable(this, kHeadings, "Table_MeasuredPoints")) {
  setObjectName(QStringLiteral("Dock_MeasuredPoints"));
  setWidget(table_);

  auto* deleteRows = new QAction(QStringLiteral("&Delete point"), table_);
  deleteRows->setObjectName(QStringLiteral("DeletePoint"));
  deleteRows->setShortcuts({QKeySequence::Delete, QKeySequence(Qt::Key_Backspace)});
  deleteRows->setShortcutContext(Qt::WidgetShortcut);
  table_->addAction(deleteRows);
  table_->setContextMenuPolicy(Qt::ActionsContextMenu);
  connect(deleteRows, &QAction::triggered, this,
          &MeasuredPointsDock::RequestDeletionOfSelectedRows);
}

void MeasuredPointsDock::ShowPoints(const std::vector<MeasuredPoint>& points) {
  table_->setRowCount(static_cast<int>(points.size()));
  for (int row = 0; row < table_->rowCount(); ++row) {
    const QStringList texts = RowTexts(points[static_cast<std::size_t>(row)]);
    for (int column = 0; column < texts.size(); ++column) {
      auto* item = new QTableWidgetItem(texts[column]);
      item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      table_->setItem(row, column, item);
    }
  }
}

void MeasuredPointsDock::RequestDeletionOfSelectedRows() {
  std::set<int> rows;
  for (const QModelIndex& index : table_->selectionModel()->selectedRows()) {
    rows.insert(index.row());
  }
  if (!rows.empty()) emit DeleteRequested(std::vector<int>(rows.begin(), rows.end()));
}

}  // namespace helidisk
