// The one window: the picture of the Sun's disk, the scroll bar that picks
// the hour of the year, the readout panel, the menu and the About panel, and
// the event handlers that tie them to the redraw.  Its member functions are
// defined by what the user does: form_main.cpp (construction, menus, events),
// form_main_layout.cpp, form_main_time.cpp, form_main_measuring.cpp and
// form_main_images.cpp; the state of the session is a WindowSession.
#pragma once

#include <QMainWindow>
#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QSize>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "instanttext.h"
#include "measuredpoints.h"
#include "overlay.h"
#include "pointerreadout.h"
#include "redraw.h"
#include "viewstate.h"
#include "windowsession.h"

class QAction;
class QActionGroup;
class QCloseEvent;
class QDragEnterEvent;
class QDropEvent;
class QCheckBox;
class QFrame;
class QKeyEvent;
class QLabel;
class QMenu;
class QMenuBar;
class QPushButton;
class QScrollBar;
class QTableWidget;

namespace helidisk {

class EphemerisMenu;
class ImagePanel;
class MeasuredPointsDock;
class AlignImagesAction;
class PictureActions;
class PictureControl;
class RotatedPointsDock;
class RotationActions;
class YearChartDock;
class SunspotDock;

class TForm_Main final : public QMainWindow, public FormView {
  Q_OBJECT

 public:
  // Builds the controls at the design size, centred on the screen, and runs
  // FormCreate.
  TForm_Main();
  ~TForm_Main() override;

  Canvas& ImageCanvas() override;
  DiskGeometry PictureGeometry() const override;
  double HourPosition() const override;
  bool DiffRotChecked() const override;
  Orientation PictureOrientation() const override;
  EphemerisChoice ChosenEphemeris() const override;
  void SetReadoutCaption(ReadoutLabel label, const std::string& captionUtf8) override;
  std::int32_t CurrentYear() const override;
  std::string DecimalSeparator() const override;

  // The clock whose year the redraw counts the hours in; the local date's
  // year unless replaced (a test sets years the calendar must cope with).
  using YearSource = std::function<std::int32_t()>;
  void SetYearSource(YearSource source);

  // What the window asks the user, replaceable so that a test can answer:
  // whether to save unsaved measured points before closing, where to save
  // them (empty: cancelled), and which instant to show.
  enum class UnsavedPointsChoice { Save, Discard, Cancel };
  using UnsavedPointsPrompt = std::function<UnsavedPointsChoice()>;
  // Which file the window asks for.
  enum class FileRole { SavePoints, OpenImage, SaveOverlaidImage };
  using FileNamePrompt = std::function<QString(FileRole role)>;
  using InstantPrompt = std::function<std::optional<UtcMinute>(const UtcMinute& shown)>;
  using SitePrompt = std::function<std::optional<Site>()>;
  void SetUnsavedPointsPrompt(UnsavedPointsPrompt prompt);
  void SetFileNamePrompt(FileNamePrompt prompt);
  void SetInstantPrompt(InstantPrompt prompt);
  void SetSitePrompt(SitePrompt prompt);

  // Shows an observer's image with the grid over it, as File -> Open image
  // and dropping a file do; a file that cannot be opened is reported and
  // changes nothing.
  void OpenImage(const QString& path);

  const std::vector<MeasuredPoint>& MeasuredPoints() const { return session_.points.Points(); }
  // How many redraws the window has run.
  int RedrawCount() const { return redrawCount_; }

 protected:
  bool event(QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  // Where a free-standing control without anchors sits: its centre, and the
  // size of the parent it was placed in.  When the parent changes size the
  // centre moves in proportion.
  struct Anchor {
    QPoint Centre;
    QSize ParentSize;
  };

  void ApplyDesignLook();
  void PlaceAtDesignSize();
  void CreateReadoutPanel();
  void CreatePicturePanel();
  void CreateAboutPanel();
  void CreateMenu();
  void CreateViewMenu();
  void CreateMeasuringMenus();
  void CreatePointerReadout();
  void ShowPointerReadout(const std::optional<LocatedPoint>& point);
  void ShowPointerReadoutAtPointer();
  void DrawMeasuredPointMarks();
  void DrawMarks(const std::vector<MeasuredPoint>& points, Color color);
  void ShowMarksLegend(bool points, bool spots);
  void ShowInstant(const UtcMinute& instant);
  void ShowHours(std::int32_t year, double hoursSinceNewYear);
  void CreateImageActions();
  void ShowOpenedImage();
  void DrawDiskHandles();
  bool PressedOnHandle(QPointF shownPoint);
  UtcMinute ShownInstant() const;
  // True when closing may go on: no unsaved points, or the user saved or
  // discarded them.
  bool ConfirmDiscardingPoints();
  bool SavePointsAskingWhere();
  void BindHandlers();
  void AlignClientArea();
  void AlignPicturePanel();
  static Anchor AnchorOf(const QRect& geometry, const QSize& parentSize);
  void RememberAboutAnchor();
  void FollowAboutAnchor();
  bool IsKeyReleaseOnThisWindow(const QObject* watched, const QEvent* event) const;
  bool TakesHourKeys(const QObject* watched) const;
  bool StepHourByKey(const QKeyEvent& event);

  // The event handlers.  ScrollBar1Change is the redraw.
  void ScrollBar1Change();
  void FormActivate();
  void CheckBox_DiffRotClick();
  void ScrollBar1Scroll();
  void FormCreate();
  void FormKeyUp(const QKeyEvent& event);
  void FormResize();
  void Exit1Click();
  void about1Click();
  void Button_About_OKClick();
  void ScrollBar1PositionChanged();
  void Image1PointerMoved(QPointF imagePoint);
  void Image1PointerLeft();
  void Image1Clicked(QPointF imagePoint);
  void DeletePoints(const std::vector<int>& rows);
  void CopyPointsClick();
  void GoDateTimeClick();
  void GoNowClick();
  void StepHoursClick(double hours);
  void RotationModelChosen();
  void OpenImageClick();
  void CloseImageClick();
  void SaveOverlaidImageClick();
  void Image1Pressed(QPointF imagePoint);
  void Image1Released();
  void ImageRotationEdited(double degrees);
  void ImageOpacityEdited(double opacity);
  void ImageSiteClick();
  void EphemerisChanged(const EphemerisChoice& previous);

  QFrame* Panel1 = nullptr;
  QLabel* Label_RAapp = nullptr;
  QLabel* Label_Datum = nullptr;
  QLabel* Label_Zeit = nullptr;
  QLabel* Label_DEapp = nullptr;
  QLabel* Label_Distanz = nullptr;
  QLabel* Label_JD = nullptr;
  QLabel* Label_Halbmesser = nullptr;
  QLabel* Label_P = nullptr;
  QLabel* Label_B0 = nullptr;
  QLabel* Label_L0 = nullptr;
  QCheckBox* CheckBox_DiffRot = nullptr;
  QFrame* Panel2 = nullptr;
  QScrollBar* ScrollBar1 = nullptr;
  PictureControl* Image1 = nullptr;
  QFrame* Panel_About = nullptr;
  QLabel* Image2 = nullptr;
  QLabel* Label_helidisk = nullptr;
  QPushButton* Button_About_OK = nullptr;
  QTableWidget* StringGrid_VersionsInfo = nullptr;
  QMenuBar* MainMenu1 = nullptr;
  QMenu* File1 = nullptr;
  QMenu* Help1 = nullptr;
  EphemerisMenu* ephemerisMenu_ = nullptr;
  QMenu* View1 = nullptr;
  QMenu* Edit1 = nullptr;
  QMenu* Go1 = nullptr;
  QAction* SavePoints1 = nullptr;
  QAction* OpenImage1 = nullptr;
  QAction* CloseImage1 = nullptr;
  QAction* SaveOverlaidImage1 = nullptr;
  QAction* Copy1 = nullptr;
  QAction* GoDateTime1 = nullptr;
  QAction* GoNow1 = nullptr;
  // Go -> the steps through time and the rotation law of the points.
  RotationActions* rotationActions_ = nullptr;
  RotatedPointsDock* rotatedPointsDock_ = nullptr;
  // On the picture: which marks there are and the law they follow.
  QLabel* marksLegend_ = nullptr;
  std::array<QLabel*, kPointerReadoutLines> pointerLabels_{};
  QLabel* Label_Rotation = nullptr;
  MeasuredPointsDock* pointsDock_ = nullptr;
  bool pointsDockPlaced_ = false;
  YearChartDock* yearChart_ = nullptr;
  SunspotDock* sunspotDock_ = nullptr;
  QAction* about1 = nullptr;
  QAction* Exit1 = nullptr;
  // File -> Save picture as… and Print…, Edit -> Copy picture.
  PictureActions* pictureActions_ = nullptr;
  AlignImagesAction* alignImages_ = nullptr;

  // The View menu's orientations, one checked; the choice lasts for the
  // session.
  QActionGroup* orientationGroup_ = nullptr;

  // The readout labels in the order of ReadoutLabel.
  std::array<QLabel*, kReadoutLabelCount> readoutLabels_{};
  Anchor aboutAnchor_;
  YearSource yearSource_;
  // Where the disk sits in the picture; written only by FormResize.
  DiskGeometry diskGeometry_;
  // Until the first FormResize there is neither DiskGeometry nor an image to
  // draw on; a redraw asked for before it would paint nothing that stays.
  bool pictureSized_ = false;
  // Key preview: the window sees key events before the focused control.
  bool keyPreview_ = false;

  WindowSession session_;
  // What the last redraw computed, and the frame of the disk the picture
  // shows (the drawn one, or the disk on an opened image), for measuring.
  std::optional<RedrawResult> lastRedraw_;
  std::optional<DiskFrame> shownFrame_;
  // The observer's image's dock; which of its disk's handles the user drags.
  ImagePanel* imagePanel_ = nullptr;
  enum class DiskHandle { None, Centre, Limb };
  DiskHandle draggedHandle_ = DiskHandle::None;
  bool pressedOnHandle_ = false;
  int redrawCount_ = 0;
  // Where the pointer is over the picture, to follow the instant.
  std::optional<QPointF> pointer_;
  UnsavedPointsPrompt unsavedPointsPrompt_;
  FileNamePrompt fileNamePrompt_;
  InstantPrompt instantPrompt_;
  SitePrompt sitePrompt_;
};

}  // namespace helidisk
