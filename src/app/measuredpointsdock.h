// The dockable table of measured points: one row a point, the selected
// rows deletable.
#pragma once

#include <QDockWidget>
#include <span>
#include <vector>

#include "measuredpoints.h"

class QTableWidget;

namespace helidisk {

// A read-only table of points under the headings, one row a point, whole
// rows selected, its columns as wide as their contents.
QTableWidget* NewPointsTable(QWidget* parent, std::span<const char* const> headings,
                             const char* objectName);

class MeasuredPointsDock final : public QDockWidget {
  Q_OBJECT

 public:
  explicit MeasuredPointsDock(QWidget* parent);

  // Shows the points, one row each, in their order.
  void ShowPoints(const std::vector<MeasuredPoint>& points);
  QTableWidget* Table() const { return table_; }

 signals:
  // The user asked to delete these rows (indices into the points, rising).
  void DeleteRequested(std::vector<int> rows);

 private:
  void RequestDeletionOfSelectedRows();

  QTableWidget* table_;
};

}  // namespace helidisk
