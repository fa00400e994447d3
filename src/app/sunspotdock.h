// The sunspot panel: the spots and groups detected on the opened image,
// edited by the observer (removed, groups merged or split), the counts with
// the observer's k, the observation saved and reopened, and the reports
// exported.  Reached from View -> Sunspots.
#pragma once

#include <QDockWidget>
#include <QPointF>
#include <functional>
#include <optional>
#include <vector>

#include "astronom.h"
#include "diskframe.h"
#include "observationfile.h"
#include "solarimage.h"
#include "sun.h"

class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QMainWindow;
class QPushButton;
class QTableWidget;

namespace helidisk {

// The opened image as the detection sees it at the window's instant.
struct SunspotScene {
  const SolarImage* image = nullptr;
  DiskFrame frame;  // in the image's own pixels
  SunEphemeris sun;
  CalendarInstant instant;
  Orientation orientation = Orientation::Sky;
  double rotationDeg = 0;
};

class SunspotDock final : public QDockWidget {
  Q_OBJECT

 public:
  explicit SunspotDock(QMainWindow* window);

  QAction* ShowAction() const;

  // Finds the spots on the scene's image and shows them; a refused image
  // is reported in a message and leaves the panel as it was.  Without an
  // image the panel says so.
  void Detect(const std::optional<SunspotScene>& scene);

  // The file dialogs, replaceable for tests: the path chosen, or empty.
  using PathChooser = std::function<QString(const QString& title, const QString& filter)>;
  void SetSavePathChooser(PathChooser chooser) { saveChooser_ = std::move(chooser); }
  void SetOpenPathChooser(PathChooser chooser) { openChooser_ = std::move(chooser); }
  // A spot the observer adds: where on the image (its pixels) and how
  // large, or nothing when the observer cancels.  The asker is given the
  // pixel clicked, when the spot is added by a click on the image.
  struct AddedSpot {
    double xPx = 0;
    double yPx = 0;
    double areaMsh = 0;
    bool pore = false;
  };
  using SpotAsker = std::function<std::optional<AddedSpot>(const std::optional<QPointF>& pixel)>;
  void SetSpotAsker(SpotAsker asker) { spotAsker_ = std::move(asker); }
  // The warning shown for what failed, replaceable for tests.
  void SetWarner(std::function<void(const QString&)> warner) { warner_ = std::move(warner); }

  const SunspotObservation& Observation() const { return observation_; }
  QTableWidget* SpotTable() const { return spotTable_; }
  QTableWidget* GroupTable() const { return groupTable_; }
  QString CountsText() const;
  void SetK(double k);

  // The rows chosen in the spot table, rising.
  std::vector<int> SelectedSpots() const;
  void RemoveSelected();
  void MergeSelected();
  void SplitSelected();
  // The official region number of the group in that row of the group
  // table, as typed: empty for none.
  void SetRegionOfRow(int row, const QString& text);
  // The observer's classes for the group in that row of the group table,
  // as typed: empty for the proposal.  A class that does not exist is
  // refused with a warning and changes nothing.
  void SetZurichOfRow(int row, const QString& text);
  void SetMcIntoshOfRow(int row, const QString& text);
  // Adds a spot where the observer says, on the disk of the last detection:
  // at the pixel clicked, if any, as the observer confirms.
  void AddSpot(const std::optional<QPointF>& pixel = std::nullopt);
  // "Add on click" is pressed: the window hands the next click on the image
  // (the image's pixel) to AddSpotAtClick instead of measuring it.
  bool AddsOnClick() const;
  void AddSpotAtClick(QPointF pixel);
  // Each returns whether it wrote or read the file; failures are shown.
  bool SaveObservation();
  bool OpenObservation();
  bool ExportSpots();
  bool AddToMonthFile();

 signals:
  // The user asked for a detection on the window's image.
  void DetectRequested();
  // The spots shown changed: detected, edited or opened.
  void ObservationShown();

 private:
  void ShowObservation();
  void TakeGroups(const std::vector<SpotGroup>& groups);
  // The group in that row of the group table, or null for no such row.
  const SpotGroup* GroupInRow(int row) const;
  void SetClasses(int group, char zurich, const std::string& mcIntosh);
  void Warn(const QString& text);

  SunspotObservation observation_;
  bool hasObservation_ = false;
  QTableWidget* spotTable_;
  QTableWidget* groupTable_;
  QLabel* counts_;
  QDoubleSpinBox* k_;
  QLineEdit* observer_;
  QPushButton* addOnClick_;
  PathChooser saveChooser_;
  PathChooser openChooser_;
  std::function<void(const QString&)> warner_;
  SpotAsker spotAsker_;
  // The disk's frame on the image of the last detection.
  std::optional<DiskFrame> frame_;
};

}  // namespace helidisk
