// The small window that goes with an opened image, beside the main window:
// what the file is, when it was taken (correctable), where its disk lies,
// the camera's angle and the grid's opacity.
#pragma once

#include <QWidget>
#include <optional>

#include "overlay.h"

class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QSlider;

namespace helidisk {

class OpenedImage;

// Asks for the observing site: latitude and longitude in degrees; nothing
// when the user cancels.
std::optional<Site> AskSite(QWidget* parent);

class ImagePanel final : public QWidget {
  Q_OBJECT

 public:
  explicit ImagePanel(QWidget* parent);

  // Shows the image's figures; `takenUtc` is the instant the window shows
  // for it, "YYYY-MM-DD HH:MM".
  void ShowImage(const OpenedImage& image, const QString& takenUtc, bool diskMoved);

 signals:
  void RotationEdited(double degrees);
  void OpacityEdited(double opacity);
  void ChangeTimeRequested();
  void SiteRequested();

 private:
  QLabel* file_;
  QLabel* taken_;
  QLabel* disk_;
  QDoubleSpinBox* rotation_;
  QSlider* opacity_;
};

}  // namespace helidisk
