// The observer's image under the grid: opening it (by the menu or by
// dropping a file), its disk's handles, its rotation, opacity and site, and
// saving it with the grid.
#include <QAction>
#include <QActionGroup>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QMenu>
#include <QMimeData>
#include <algorithm>
#include <cmath>

#include "application.h"
#include "checked.h"
#include "compass.h"
#include "form_main.h"
#include "geometryexport.h"
#include "imageerror.h"
#include "imagepanel.h"
#include "instantseries.h"
#include "openedimage.h"
#include "outputfile.h"
#include "picturecontrol.h"
#include "pictureformat.h"
#include "rasterencoder.h"

namespace helidisk {
namespace {

// The handles of an opened image's disk: small cyan squares at the centre
// and on the limb, which a press this close to picks up.
constexpr Color kHandleColor{0, 255, 255};
constexpr std::int32_t kHandleHalfSidePixels = 4;
constexpr double kHandleReachPixels = 8;

// The format a file name's extension names, where it can hold an image
// with its grid.
std::optional<PictureFormat> OverlayFormatOf(const QString& path) {
  const std::optional<PictureFormat> format = FormatOfFileName(path.toStdString());
  if (!format || !Holds(InfoOf(*format), PictureKind::ImageOverlay)) return std::nullopt;
  return format;
}

}  // namespace

// File -> Open image, Close image, Save overlaid image.
void TForm_Main::CreateImageActions() {
  OpenImage1 = File1->addAction(QStringLiteral("&Open image…"));
  OpenImage1->setObjectName(QStringLiteral("OpenImage1"));
  OpenImage1->setShortcut(QKeySequence::Open);
  CloseImage1 = File1->addAction(QStringLiteral("&Close image"));
  CloseImage1->setObjectName(QStringLiteral("CloseImage1"));
  SaveOverlaidImage1 = File1->addAction(QStringLiteral("Save overlaid &image…"));
  SaveOverlaidImage1->setObjectName(QStringLiteral("SaveOverlaidImage1"));
  CloseImage1->setEnabled(false);
  SaveOverlaidImage1->setEnabled(false);
  File1->addSeparator();
}

void TForm_Main::OpenImageClick() { OpenImage(fileNamePrompt_(FileRole::OpenImage)); }

// The image, its disk and its instant: the time its file gives in UT, or
// the one the user names; the header's view, where it fixes one, becomes
// the View menu's.
void TForm_Main::OpenImage(const QString& path) {
  if (path.isEmpty()) return;
  std::unique_ptr<OpenedImage> opened;
  try {
    opened = std::make_unique<OpenedImage>(path);
  } catch (const ImageError& error) {
    ReportError(QString::fromUtf8(error.what()));
    return;
  }
  const std::optional<ObservationTime>& observed = opened->Image().observed;
  std::optional<UtcMinute> named;
  if (!observed || observed->clock != ClockKind::Universal) {
    UtcMinute shown = ShownInstant();
    if (observed) {
      const CalendarInstant local = CalendarInstantOf(observed->julianDay);
      shown = {local.year, local.month, local.day, static_cast<std::int32_t>(local.hours),
               static_cast<std::int32_t>(local.minutes)};
    }
    named = instantPrompt_(shown);
    if (!named) return;
  }
  session_.image = std::move(opened);
  session_.diskMovedByHand = false;
  if (const std::optional<ImageView> view = session_.image->HeaderView()) {
    for (QAction* action : orientationGroup_->actions()) {
      action->setChecked(static_cast<Orientation>(action->data().toInt()) == view->orientation);
    }
  }
  session_.image->FitInto(Image1->Image().size());
  CloseImage1->setEnabled(true);
  SaveOverlaidImage1->setEnabled(true);
  if (!imagePanel_->isVisible()) {
    constexpr int kImagePanelWidth = 460;
    imagePanel_->resize(std::max(kImagePanelWidth, imagePanel_->sizeHint().width()),
                        imagePanel_->sizeHint().height());
    imagePanel_->move(frameGeometry().topRight());
    imagePanel_->show();
  }
  if (named) {
    ShowInstant(*named);
  } else {
    const YearHours instant = YearHoursOf(observed->julianDay);
    ShowHours(instant.year, instant.hours);
  }
}

void TForm_Main::CloseImageClick() {
  session_.image.reset();
  imagePanel_->hide();
  CloseImage1->setEnabled(false);
  SaveOverlaidImage1->setEnabled(false);
  ScrollBar1Change();
}

// The picture becomes the image fitted into it with the grid of the instant
// over it; the measuring follows the image's disk.
void TForm_Main::ShowOpenedImage() {
  const DiskFrame frame = session_.image->ShownFrame(lastRedraw_->sun, PictureOrientation());
  Image1->Canvas().Adopt(session_.image->ShownPicture(frame, DiffRotChecked(), HourPosition()));
  shownFrame_ = frame;
  DrawCompass(Image1->Canvas(), frame);
  DrawDiskHandles();
  const CalendarInstant& instant = lastRedraw_->instant;
  imagePanel_->ShowImage(*session_.image,
                         QStringLiteral("%1-%2-%3 %4:%5")
                             .arg(instant.year)
                             .arg(instant.month, 2, 10, QLatin1Char('0'))
                             .arg(instant.day, 2, 10, QLatin1Char('0'))
                             .arg(static_cast<int>(instant.hours), 2, 10, QLatin1Char('0'))
                             .arg(static_cast<int>(instant.minutes), 2, 10, QLatin1Char('0')),
                         session_.diskMovedByHand);
}

void TForm_Main::DrawDiskHandles() {
  Canvas& canvas = Image1->Canvas();
  canvas.SetPenColor(kHandleColor);
  canvas.SetPenWidth(1);
  const DiskFrame& frame = *shownFrame_;
  for (const double offset : {0.0, frame.radiusPx}) {
    const std::int32_t x = RoundToInt32(frame.centreXPx + offset);
    const std::int32_t y = RoundToInt32(frame.centreYPx);
    const std::int32_t left = CheckedSub(x, kHandleHalfSidePixels);
    const std::int32_t right = CheckedAdd(x, kHandleHalfSidePixels);
    const std::int32_t top = CheckedSub(y, kHandleHalfSidePixels);
    const std::int32_t bottom = CheckedAdd(y, kHandleHalfSidePixels);
    canvas.MoveTo(left, top);
    canvas.LineTo(right, top);
    canvas.LineTo(right, bottom);
    canvas.LineTo(left, bottom);
    canvas.LineTo(left, top);
  }
  canvas.SetPenWidth(2);
  canvas.SetPenColor(kBlack);
}

bool TForm_Main::PressedOnHandle(QPointF shownPoint) {
  if (!session_.image || !shownFrame_) return false;
  const DiskFrame& frame = *shownFrame_;
  const auto near = [&shownPoint](double x, double y) {
    return std::hypot(shownPoint.x() - x, shownPoint.y() - y) <= kHandleReachPixels;
  };
  if (near(frame.centreXPx, frame.centreYPx)) {
    draggedHandle_ = DiskHandle::Centre;
  } else if (near(frame.centreXPx + frame.radiusPx, frame.centreYPx)) {
    draggedHandle_ = DiskHandle::Limb;
  } else {
    draggedHandle_ = DiskHandle::None;
  }
  return draggedHandle_ != DiskHandle::None;
}

void TForm_Main::Image1Pressed(QPointF imagePoint) {
  pressedOnHandle_ = PressedOnHandle(imagePoint);
}

void TForm_Main::Image1Released() { draggedHandle_ = DiskHandle::None; }

void TForm_Main::ImageRotationEdited(double degrees) {
  if (!session_.image) return;
  session_.image->SetRotationDeg(degrees);
  ScrollBar1Change();
}

void TForm_Main::ImageOpacityEdited(double opacity) {
  if (!session_.image) return;
  session_.image->SetOpacity(opacity);
  ScrollBar1Change();
}

// The camera angle of an alt-azimuth mount at the site, with the zenith up.
void TForm_Main::ImageSiteClick() {
  if (!session_.image || !lastRedraw_) return;
  const std::optional<Site> site = sitePrompt_();
  if (!site) return;
  session_.image->SetRotationDeg(ZenithUpRotationDeg(PictureOrientation(), lastRedraw_->sun,
                                                     site->latitudeDeg, site->longitudeDeg));
  ScrollBar1Change();
}

// At the image's full size, the grid at the opacity chosen; PNG or JPEG by
// the name's extension, the PNG with the observer's geometry in its text
// chunks, or FITS with it in the header.  A failure says why and leaves
// the file as it was.
void TForm_Main::SaveOverlaidImageClick() {
  if (!session_.image || !lastRedraw_) return;
  const QString path = fileNamePrompt_(FileRole::SaveOverlaidImage);
  if (path.isEmpty()) return;
  const auto failure = [&path](const QString& reason) {
    ReportError(QStringLiteral("Cannot save the overlaid image to '%1': %2").arg(path, reason));
  };
  const std::optional<PictureFormat> format = OverlayFormatOf(path);
  if (!format) return failure(QStringLiteral("the name must end in .png, .jpg, .jpeg or .fits"));
  const DiskFrame frame = session_.image->ImageFrame(lastRedraw_->sun, PictureOrientation());
  const QImage picture = OverlaidImage(session_.image->Image().display, frame, DiffRotChecked(),
                                       HourPosition(), session_.image->Opacity());
  std::string bytes;
  try {
    bytes = SaveOverlay(picture, frame, lastRedraw_->sun, *format,
                        {"helidisk: the grid over " + session_.image->Image().path.toStdString()},
                        path);
  } catch (const ImageError& error) {
    // The message names the file, which the window's own words name already.
    const QString message = QString::fromUtf8(error.what());
    const QString named = path + QStringLiteral(": ");
    return failure(message.startsWith(named) ? message.mid(named.size()) : message);
  }
  std::string reason;
  if (!WriteOutputFile(QFile::encodeName(path).toStdString(), bytes, reason)) {
    failure(QString::fromLocal8Bit(reason));
  }
}

void TForm_Main::dragEnterEvent(QDragEnterEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  if (!urls.isEmpty() && urls.front().isLocalFile()) event->acceptProposedAction();
}

void TForm_Main::dropEvent(QDropEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  if (urls.isEmpty() || !urls.front().isLocalFile()) return;
  event->acceptProposedAction();
  const QString path = urls.front().toLocalFile();
  RunHandler([this, &path] { OpenImage(path); });
}

}  // namespace helidisk
