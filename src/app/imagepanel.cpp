#include "imagepanel.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>

#include "openedimage.h"

namespace helidisk {

namespace {
constexpr double kLargestRotationDeg = 360;
constexpr int kOpacitySteps = 100;
constexpr int kSiteDecimals = 4;

QDoubleSpinBox* AngleBox(double limitDeg, const QString& name) {
  auto* box = new QDoubleSpinBox;
  box->setObjectName(name);
  box->setRange(-limitDeg, limitDeg);
  box->setDecimals(kSiteDecimals);
  box->setSuffix(QStringLiteral("°"));
  return box;
}

}  // namespace

std::optional<Site> AskSite(QWidget* parent) {
  QDialog dialog(parent);
  dialog.setWindowTitle(QStringLiteral("Observing site"));
  auto* form = new QFormLayout(&dialog);
  QDoubleSpinBox* latitude = AngleBox(90, QStringLiteral("SiteLatitude"));
  QDoubleSpinBox* longitude = AngleBox(180, QStringLiteral("SiteLongitude"));
  form->addRow(QStringLiteral("&Latitude (north +):"), latitude);
  form->addRow(QStringLiteral("L&ongitude (east +):"), longitude);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  form->addRow(buttons);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return Site{latitude->value(), longitude->value()};
}

ImagePanel::ImagePanel(QWidget* parent)
    : QWidget(parent, Qt::Window),
      file_(new QLabel),
      taken_(new QLabel),
      disk_(new QLabel),
      rotation_(new QDoubleSpinBox),
      opacity_(new QSlider(Qt::Horizontal)) {
  setObjectName(QStringLiteral("ImagePanel"));
  setWindowTitle(QStringLiteral("Image"));
  auto* form = new QFormLayout(this);
  // Sized by the user and the window manager, not held to the layout's
  // minimum.
  form->setSizeConstraint(QLayout::SetNoConstraint);
  form->addRow(QStringLiteral("File:"), file_);

  auto* changeTime = new QPushButton(QStringLiteral("Change &time…"));
  changeTime->setObjectName(QStringLiteral("ImageChangeTime"));
  auto* takenRow = new QHBoxLayout;
  takenRow->addWidget(taken_, 1);
  takenRow->addWidget(changeTime);
  taken_->setObjectName(QStringLiteral("ImageTaken"));
  form->addRow(QStringLiteral("Taken (UT):"), takenRow);

  disk_->setObjectName(QStringLiteral("ImageDisk"));
  form->addRow(QStringLiteral("Disk:"), disk_);

  rotation_->setObjectName(QStringLiteral("ImageRotation"));
  rotation_->setRange(-kLargestRotationDeg, kLargestRotationDeg);
  rotation_->setDecimals(2);
  rotation_->setSuffix(QStringLiteral("°"));
  rotation_->setToolTip(QStringLiteral("The image is turned counterclockwise by this angle"));
  auto* fromSite = new QPushButton(QStringLiteral("Zenith up at &site…"));
  fromSite->setObjectName(QStringLiteral("ImageRotationFromSite"));
  auto* rotationRow = new QHBoxLayout;
  rotationRow->addWidget(rotation_, 1);
  rotationRow->addWidget(fromSite);
  auto* rotationLabel = new QLabel(QStringLiteral("&Rotation:"));
  rotationLabel->setBuddy(rotation_);
  form->addRow(rotationLabel, rotationRow);

  opacity_->setObjectName(QStringLiteral("ImageOpacity"));
  opacity_->setRange(0, kOpacitySteps);
  opacity_->setValue(kOpacitySteps);
  form->addRow(QStringLiteral("Grid &opacity:"), opacity_);

  connect(rotation_, &QDoubleSpinBox::valueChanged, this, &ImagePanel::RotationEdited);
  connect(opacity_, &QSlider::valueChanged, this,
          [this](int value) { emit OpacityEdited(static_cast<double>(value) / kOpacitySteps); });
  connect(changeTime, &QPushButton::clicked, this, &ImagePanel::ChangeTimeRequested);
  connect(fromSite, &QPushButton::clicked, this, &ImagePanel::SiteRequested);
}

void ImagePanel::ShowImage(const OpenedImage& image, const QString& takenUtc, bool diskMoved) {
  const SolarImage& solarImage = image.Image();
  file_->setText(QStringLiteral("%1 (%2, %3 × %4)")
                     .arg(QFileInfo(solarImage.path).fileName(), solarImage.formatName)
                     .arg(solarImage.display.width())
                     .arg(solarImage.display.height()));
  taken_->setText(takenUtc);
  const ImageDisk& disk = image.Disk();
  const QString source = diskMoved ? QStringLiteral("placed by hand")
                                   : (disk.source == DiskSource::Header
                                          ? QStringLiteral("from the header")
                                          : QStringLiteral("fitted to the limb, residual %1 px")
                                                .arg(disk.fitRmsPx, 0, 'f', 2));
  disk_->setText(QStringLiteral("%1\ncentre %2, %3, radius %4 px")
                     .arg(source)
                     .arg(disk.centreXPx, 0, 'f', 1)
                     .arg(disk.centreYPx, 0, 'f', 1)
                     .arg(disk.radiusPx, 0, 'f', 1));
  if (height() < sizeHint().height()) resize(width(), sizeHint().height());
  const QSignalBlocker quietRotation(rotation_);
  rotation_->setValue(image.RotationDeg());
  const QSignalBlocker quietOpacity(opacity_);
  opacity_->setValue(static_cast<int>(std::lround(image.Opacity() * kOpacitySteps)));
}

}  // namespace helidisk
