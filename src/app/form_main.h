// The one window: the picture of the Sun's disk, the scroll bar that picks
// the hour of the year, the readout panel, the menu and the About panel, and
// the event handlers that tie them to the redraw.
#pragma once

#include <QMainWindow>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "viewstate.h"

class QAction;
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

class PictureControl;

class TForm_Main final : public QMainWindow, public FormView {
  Q_OBJECT

 public:
  // Builds the controls at the design size, centred on the screen, and runs
  // FormCreate.
  TForm_Main();

  Canvas& ImageCanvas() override;
  double HourPosition() const override;
  bool DiffRotChecked() const override;
  void SetReadoutCaption(ReadoutLabel label, const std::string& captionUtf8) override;
  std::int32_t CurrentYear() const override;
  std::string DecimalSeparator() const override;

  // The clock whose year the redraw counts the hours in; the local date's
  // year unless replaced (a test sets years the calendar must cope with).
  using YearSource = std::function<std::int32_t()>;
  void SetYearSource(YearSource source);

 protected:
  bool event(QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Where a free-standing control without anchors sits: its centre, and the
  // size of the parent it was placed in.  When the parent changes size the
  // centre moves in proportion.
  struct Anchor {
    QPoint Centre;
    QSize ParentSize;
  };

  void CreateReadoutPanel();
  void CreatePicturePanel();
  void CreateAboutPanel();
  void CreateMenu();
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
  QAction* about1 = nullptr;
  QAction* Exit1 = nullptr;

  // The readout labels in the order of ReadoutLabel.
  std::array<QLabel*, kReadoutLabelCount> readoutLabels_{};
  Anchor aboutAnchor_;
  YearSource yearSource_;
  // Until the first FormResize there is neither DiskGeometry nor an image to
  // draw on; a redraw asked for before it would paint nothing that stays.
  bool pictureSized_ = false;
  // Key preview: the window sees key events before the focused control.
  bool keyPreview_ = false;
};

}  // namespace helidisk
