// Measuring on the picture: the readout of the point under the pointer,
// the points clicked, their marks where the rotation law carries them, and
// their table, clipboard and file.
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>

#include "application.h"
#include "astronom.h"
#include "carrington.h"
#include "checked.h"
#include "form_main.h"
#include "measuredpointsdock.h"
#include "openedimage.h"
#include "outputfile.h"
#include "picturecontrol.h"
#include "pointmarks.h"
#include "rotatedpointsdock.h"
#include "rotationactions.h"
#include "sunspotdock.h"
#include "trigfunc.h"

namespace helidisk {
namespace {

// Measured points are marked by a small magenta cross, a colour the grid
// does not use.
constexpr Color kMarkColor{255, 0, 255};
constexpr std::int32_t kMarkArmPixels = 5;
// Detected spots are marked in orange, apart from the measured points and
// from the grid's colours.
constexpr Color kSpotMarkColor{255, 128, 0};

// The observation's spots as points measured at its instant, so that they
// follow the instant shown by the same rotation law as the points.
std::vector<MeasuredPoint> SpotsAsPoints(const SunspotObservation& observation) {
  std::vector<MeasuredPoint> points;
  points.reserve(observation.spots.size());
  for (const DetectedSpot& spot : observation.spots) {
    MeasuredPoint point;
    point.julianDay = observation.julianDay;
    point.instant = CalendarInstantOf(observation.julianDay);
    point.xPx = spot.place.xPx;
    point.yPx = spot.place.yPx;
    point.located.onDisk = true;
    point.located.latitudeRad = spot.place.latitudeDeg * DegToRad;
    point.located.longitudeRad = spot.place.longitudeDeg * DegToRad;
    points.push_back(point);
  }
  return points;
}

// The rows of the table of points at the shown instant: the measured points
// and the spots, by their numbers in their own tables.
std::vector<FollowedPoint> Labelled(const std::vector<MeasuredPoint>& points,
                                    const std::vector<MeasuredPoint>& spots) {
  std::vector<FollowedPoint> followed;
  followed.reserve(points.size() + spots.size());
  for (std::size_t i = 0; i < points.size(); ++i) {
    followed.push_back({QStringLiteral("Point %1").arg(i + 1), points[i]});
  }
  for (std::size_t i = 0; i < spots.size(); ++i) {
    followed.push_back({QStringLiteral("Spot %1").arg(i + 1), spots[i]});
  }
  return followed;
}

// The legend stands in the picture's lower left corner.
constexpr int kLegendMarginPx = 4;

}  // namespace

void TForm_Main::ShowPointerReadout(const std::optional<LocatedPoint>& point) {
  const PointerReadoutTexts texts = PointerReadout(point);
  for (std::size_t line = 0; line < texts.size(); ++line) {
    pointerLabels_[line]->setText(QString::fromStdString(texts[line]));
    pointerLabels_[line]->adjustSize();
  }
}

// Only the labels change: the picture stays as the last redraw left it.
void TForm_Main::Image1PointerMoved(QPointF imagePoint) {
  pointer_ = imagePoint;
  if (draggedHandle_ != DiskHandle::None && session_.image) {
    const QPointF onImage = session_.image->ImagePointOf(imagePoint);
    if (draggedHandle_ == DiskHandle::Centre) {
      session_.image->MoveCentreTo(onImage);
    } else {
      session_.image->PutLimbThrough(onImage);
    }
    session_.diskMovedByHand = true;
    ScrollBar1Change();
    return;
  }
  ShowPointerReadoutAtPointer();
}

void TForm_Main::ShowPointerReadoutAtPointer() {
  if (!pointer_ || !shownFrame_) return;
  ShowPointerReadout(Locate(*shownFrame_, pointer_->x(), pointer_->y()));
}

void TForm_Main::Image1PointerLeft() {
  pointer_.reset();
  ShowPointerReadout(std::nullopt);
}

void TForm_Main::Image1Clicked(QPointF imagePoint) {
  if (!lastRedraw_ || !shownFrame_ || pressedOnHandle_) return;
  // On an image, the pixel of the image itself.
  const QPointF pixel = session_.image ? session_.image->ImagePointOf(imagePoint) : imagePoint;
  // The sunspot panel's "Add on click" takes the click for a spot.
  if (session_.image && sunspotDock_->AddsOnClick()) {
    sunspotDock_->AddSpotAtClick(pixel);
    return;
  }
  MeasuredPoint point;
  point.instant = lastRedraw_->instant;
  point.julianDay = lastRedraw_->sun.julianDay;
  point.xPx = pixel.x();
  point.yPx = pixel.y();
  point.located = Locate(*shownFrame_, imagePoint.x(), imagePoint.y());
  point.rotation = CarringtonRotationOf(point.julianDay, lastRedraw_->sun.l0Rad);
  session_.points.Add(point);
  pointsDock_->ShowPoints(session_.points.Points());
  DrawMeasuredPointMarks();
  Image1->update();
}

// Each point where it now lies: a point on the disk where the chosen
// rotation law carries it by the instant shown (not at all while it is on
// the far side), a point on the sky at its position angle and distance.
// The spots detected on an image follow in the same way; a legend on the
// picture names the law the marks follow.
void TForm_Main::DrawMeasuredPointMarks() {
  if (!shownFrame_ || !lastRedraw_) return;
  const std::vector<MeasuredPoint>& points = session_.points.Points();
  const std::vector<MeasuredPoint> spots = SpotsAsPoints(sunspotDock_->Observation());
  rotatedPointsDock_->Follow(Labelled(points, spots), *shownFrame_, rotationActions_->ChosenModel(),
                             rotationActions_->LawName(), lastRedraw_->sun.julianDay,
                             lastRedraw_->ephemeris);
  DrawMarks(points, kMarkColor);
  DrawMarks(spots, kSpotMarkColor);
  ShowMarksLegend(!points.empty(), !spots.empty());
}

void TForm_Main::ShowMarksLegend(bool points, bool spots) {
  if (!points && !spots) {
    marksLegend_->hide();
    return;
  }
  QStringList marks;
  if (points) marks << QStringLiteral("<span style='color:#ff00ff'>+</span> points");
  if (spots) marks << QStringLiteral("<span style='color:#ff8000'>+</span> spots");
  marksLegend_->setText(marks.join(QStringLiteral(", ")) + QStringLiteral(" carried by ") +
                        rotationActions_->LawName().toHtmlEscaped());
  marksLegend_->adjustSize();
  marksLegend_->move(kLegendMarginPx, Image1->height() - marksLegend_->height() - kLegendMarginPx);
  marksLegend_->show();
}

void TForm_Main::DrawMarks(const std::vector<MeasuredPoint>& points, Color color) {
  if (points.empty()) return;
  const DiskFrame& frame = *shownFrame_;
  Canvas& canvas = Image1->Canvas();
  canvas.SetPenColor(color);
  canvas.SetPenWidth(1);
  for (const MeasuredPoint& point : points) {
    const std::optional<MarkPlace> place = MeasuredPointMarkPlace(
        point, frame, rotationActions_->ChosenModel(), lastRedraw_->sun.julianDay);
    if (!place) continue;
    const std::int32_t centreX = RoundToInt32(place->xPx);
    const std::int32_t centreY = RoundToInt32(place->yPx);
    canvas.MoveTo(CheckedSub(centreX, kMarkArmPixels), centreY);
    canvas.LineTo(CheckedAdd(centreX, kMarkArmPixels + 1), centreY);
    canvas.MoveTo(centreX, CheckedSub(centreY, kMarkArmPixels));
    canvas.LineTo(centreX, CheckedAdd(centreY, kMarkArmPixels + 1));
  }
  // The next redraw outlines the disk with the pen a redraw leaves.
  canvas.SetPenWidth(2);
  canvas.SetPenColor(kBlack);
}

void TForm_Main::DeletePoints(const std::vector<int>& rows) {
  session_.points.Delete(rows);
  pointsDock_->ShowPoints(session_.points.Points());
  ScrollBar1Change();
}

void TForm_Main::CopyPointsClick() {
  QGuiApplication::clipboard()->setText(
      QString::fromStdString(MeasuredPointsTabSeparated(session_.points.Points())));
}

bool TForm_Main::ConfirmDiscardingPoints() {
  if (!session_.points.Unsaved()) return true;
  switch (unsavedPointsPrompt_()) {
    case UnsavedPointsChoice::Save:
      return SavePointsAskingWhere();
    case UnsavedPointsChoice::Discard:
      return true;
    case UnsavedPointsChoice::Cancel:
      return false;
  }
  return false;
}

// CSV into a temporary file beside the target, renamed over it when
// complete; a failure says why and keeps the points unsaved.
bool TForm_Main::SavePointsAskingWhere() {
  const QString path = fileNamePrompt_(FileRole::SavePoints);
  if (path.isEmpty()) return false;
  std::string reason;
  if (!WriteOutputFile(QFile::encodeName(path).toStdString(),
                       MeasuredPointsCsv(session_.points.Points()), reason)) {
    ReportError(QStringLiteral("Cannot save the measured points to '%1': %2")
                    .arg(path, QString::fromLocal8Bit(reason)));
    return false;
  }
  session_.points.MarkSaved();
  return true;
}

}  // namespace helidisk
