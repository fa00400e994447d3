// Drives the real window: its controls, its handlers and what they leave in
// the picture, the readout and DiskGeometry.
#include "form_main.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QDate>
#include <QFontInfo>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>
#include <QtTest>
#include <array>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "application.h"
#include "checked.h"
#include "diskgeometry.h"
#include "picturecontrol.h"
#include "qimagecanvas.h"
#include "redraw.h"
#include "solarimage.h"
#include "synthetic_sun.h"
#include "versioninfo.h"
#include "window_control.h"

#ifndef HELIDISK_PROGRAM
#error "HELIDISK_PROGRAM must name the built helidisk executable"
#endif
#ifndef HELIDISK_PROJECT_VERSION
#error "HELIDISK_PROJECT_VERSION must give the project's dotted version"
#endif

namespace helidisk {
namespace {

constexpr int kAboutPanelWidth = 350;

// Renders what the window should show, through the same redraw, on a canvas
// of its own.
class ReferenceView final : public FormView {
 public:
  ReferenceView(DiskGeometry geometry, double hour, bool diffRot, std::int32_t year,
                Orientation orientation)
      : geometry_(geometry),
        hour_(hour),
        diffRot_(diffRot),
        year_(year),
        orientation_(orientation) {
    canvas_.SetWidth(ImageWidthOf(geometry_));
    canvas_.SetHeight(ImageHeightOf(geometry_));
    // The window has redrawn more than once before anything is compared, so
    // its disk outline uses the pen an earlier redraw left.
    Redraw(*this);
    Redraw(*this);
  }

  const QImage& Image() const { return canvas_.Image(); }
  QString Caption(ReadoutLabel label) const {
    return QString::fromStdString(captions_[static_cast<std::size_t>(label)]);
  }

  Canvas& ImageCanvas() override { return canvas_; }
  DiskGeometry PictureGeometry() const override { return geometry_; }
  double HourPosition() const override { return hour_; }
  bool DiffRotChecked() const override { return diffRot_; }
  Orientation PictureOrientation() const override { return orientation_; }
  void SetReadoutCaption(ReadoutLabel label, const std::string& captionUtf8) override {
    captions_[static_cast<std::size_t>(label)] = captionUtf8;
  }
  std::int32_t CurrentYear() const override { return year_; }
  std::string DecimalSeparator() const override { return QLocale().decimalPoint().toStdString(); }

 private:
  DiskGeometry geometry_;
  QImageCanvas canvas_;
  double hour_;
  bool diffRot_;
  std::int32_t year_;
  Orientation orientation_;
  std::array<std::string, kReadoutLabelCount> captions_;
};

struct LabelName {
  ReadoutLabel Label;
  const char* Name;
};

constexpr std::array<LabelName, kReadoutLabelCount> kReadoutLabelNames = {{
    {ReadoutLabel::JD, "Label_JD"},
    {ReadoutLabel::Datum, "Label_Datum"},
    {ReadoutLabel::Zeit, "Label_Zeit"},
    {ReadoutLabel::RAapp, "Label_RAapp"},
    {ReadoutLabel::DEapp, "Label_DEapp"},
    {ReadoutLabel::Distanz, "Label_Distanz"},
    {ReadoutLabel::Halbmesser, "Label_Halbmesser"},
    {ReadoutLabel::P, "Label_P"},
    {ReadoutLabel::B0, "Label_B0"},
    {ReadoutLabel::L0, "Label_L0"},
}};

}  // namespace

class FormMainTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void cleanupTestCase();
  void init();
  void cleanup();

  void controlsAtDesignSize();
  void readoutFontAndColumns();
  void startState();
  void scrollChangeRewritesReadoutAndPicture();
  void scrollSteps_data();
  void scrollSteps();
  void checkBoxResetsHourAndRedraws_data();
  void checkBoxResetsHourAndRedraws();
  void rightButtonReleaseChangesNothing();
  void hourKeysStepTheHour_data();
  void hourKeysStepTheHour();
  void versionGridKeepsItsKeys();
  void escapeEndsTheProgram_data();
  void escapeEndsTheProgram();
  void otherKeysDoNotEndTheProgram();
  void exitEndsTheProgram();
  void formResizeKeepsGeometryAndImageInStep_data();
  void formResizeKeepsGeometryAndImageInStep();
  void resizeSweep();
  void activationMovesToTopEdgeAndRedraws();
  void noPictureBeforeTheFirstResize();
  void handlerErrorIsReportedAndNextEventWorks();
  void errorInNestedChangeIsReportedOnce();
  void defaultReportIsAModalMessageBox();
  void aboutPanelPlacedShownAndHidden();
  void aboutPanelKeepsTheWindowWorking();
  void aboutPanelKeepsItsRelativePlace();
  void aboutPanelContents();
  void captionAndVersionGrid();
  void viewMenuTurnsThePictureAndKeepsTheHour();
  void pointerReadoutOverDiskSkyAndNothing();
  void clickedPointsTurnWithTheSunAndCopy();
  void unsavedPointsAreNotLostOnClosing();
  void goToAnInstantToTheMinute();
  void openedImageCarriesTheGridAndTheMeasuring();
  void badImageKeepsTheWindowAndItsPoints();
  void versionGridOfTheBuiltProgram();

 private:
  template <typename T>
  T* Control(const char* name) const {
    return fakes::ControlNamed<T>(*window_, name);
  }
  QLabel* ReadoutLabelOf(ReadoutLabel label) const;
  QScrollBar* ScrollBar() const { return Control<QScrollBar>("ScrollBar1"); }
  QCheckBox* CheckBox() const { return Control<QCheckBox>("CheckBox_DiffRot"); }
  const QImage& Picture() const { return Control<PictureControl>("Image1")->Image(); }
  QFrame* AboutPanel() const { return Control<QFrame>("Panel_About"); }
  void ShowWindow();
  // Through the window system, as a user's click arrives.
  void ClickOn(QWidget* control, Qt::MouseButton button) const;
  void ResizeClientTo(int width, int height);
  void ExpectShows(double hour, bool diffRot, std::int32_t year,
                   Orientation orientation = Orientation::Sky) const;
  // The mouse over the picture, as the pixel of the image it points at.
  void MovePointerTo(QPointF imagePoint) const;
  void ClickPictureAt(QPointF imagePoint) const;
  QStringList PointerReadoutTexts() const;

  std::unique_ptr<TForm_Main> window_;
  std::vector<QString> reportedErrors_;
  int terminationRequests_ = 0;
  ErrorReporter savedReporter_;
  TerminationRequest savedTermination_;
};

void FormMainTest::initTestCase() {
  savedReporter_ =
      SetErrorReporter([this](const QString& message) { reportedErrors_.push_back(message); });
  savedTermination_ = SetTerminationRequest([this] { ++terminationRequests_; });
}

void FormMainTest::cleanupTestCase() {
  SetErrorReporter(savedReporter_);
  SetTerminationRequest(savedTermination_);
}

void FormMainTest::init() {
  reportedErrors_.clear();
  terminationRequests_ = 0;
  window_ = std::make_unique<TForm_Main>();
}

void FormMainTest::cleanup() {
  window_.reset();
  QVERIFY(reportedErrors_.empty());
}

QLabel* FormMainTest::ReadoutLabelOf(ReadoutLabel label) const {
  for (const LabelName& entry : kReadoutLabelNames) {
    if (entry.Label == label) return Control<QLabel>(entry.Name);
  }
  qFatal("unknown readout label");
}

void FormMainTest::ShowWindow() {
  window_->show();
  window_->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(window_.get()));
}

void FormMainTest::ClickOn(QWidget* control, Qt::MouseButton button) const {
  QWindow* window = window_->windowHandle();
  QTest::mouseClick(window, button, Qt::NoModifier,
                    control->mapTo(window_.get(), control->rect().center()));
}

// The client area below the menu.
void FormMainTest::ResizeClientTo(int width, int height) {
  const int menuHeight = window_->menuBar()->height();
  window_->resize(width, height + menuHeight);
}

void FormMainTest::ExpectShows(double hour, bool diffRot, std::int32_t year,
                               Orientation orientation) const {
  const ReferenceView reference(window_->PictureGeometry(), hour, diffRot, year, orientation);
  for (const LabelName& entry : kReadoutLabelNames) {
    QCOMPARE(ReadoutLabelOf(entry.Label)->text(), reference.Caption(entry.Label));
  }
  QVERIFY(!Picture().isNull());
  QCOMPARE(Picture(), reference.Image());
}

void FormMainTest::controlsAtDesignSize() {
  ShowWindow();
  struct Placement {
    const char* Name;
    QRect Geometry;
  };
  const Placement placements[] = {
      {"Panel1", {0, 655, 1002, 105}},
      {"Panel2", {0, 0, 1002, 655}},
      {"ScrollBar1", {1, 629, 1000, 25}},
      {"Image1", {1, 1, 1000, 628}},
      {"Panel_About", {455, 99, 350, 480}},
      {"CheckBox_DiffRot", {528, 80, 153, 17}},
      {"Image2", {6, 5, 33, 33}},
      {"StringGrid_VersionsInfo", {3, 43, 342, 345}},
      {"Button_About_OK", {133, 416, 89, 33}},
  };
  for (const Placement& placement : placements) {
    QCOMPARE(Control<QWidget>(placement.Name)->geometry(), placement.Geometry);
  }
  QCOMPARE(window_->centralWidget()->size(), QSize(1002, 760));

  const QPoint labelPositions[] = {{16, 53},  {16, 5},   {16, 29}, {272, 5},  {272, 29},
                                   {272, 53}, {272, 77}, {528, 5}, {528, 29}, {528, 53}};
  for (std::size_t index = 0; index < kReadoutLabelNames.size(); ++index) {
    QCOMPARE(Control<QLabel>(kReadoutLabelNames[index].Name)->pos(), labelPositions[index]);
  }
  QCOMPARE(Control<QLabel>("Label_helidisk")->pos(), QPoint(43, 10));

  auto* panel1 = Control<QFrame>("Panel1");
  QCOMPARE(panel1->frameShape(), QFrame::NoFrame);
  QCOMPARE(panel1->palette().color(QPalette::Window), QColor(224, 224, 224));
  auto* panel2 = Control<QFrame>("Panel2");
  QCOMPARE(panel2->frameShadow(), QFrame::Raised);
  QCOMPARE(panel2->contentsRect().topLeft(), QPoint(1, 1));

  QCOMPARE(ScrollBar()->orientation(), Qt::Horizontal);
  QCOMPARE(ScrollBar()->minimum(), 0);
  QCOMPARE(ScrollBar()->maximum(), 8736);
  QCOMPARE(ScrollBar()->singleStep(), 1);
  QCOMPARE(ScrollBar()->pageStep(), 6);
  QCOMPARE(CheckBox()->text(), QStringLiteral("Differentielle Rotation"));
  QCOMPARE(QFontInfo(CheckBox()->font()).pixelSize(), 13);
  QVERIFY(CheckBox()->fontMetrics().horizontalAdvance(CheckBox()->text()) < CheckBox()->width());

  QCOMPARE(Control<QMenu>("File1")->title(), QStringLiteral("&File"));
  QCOMPARE(Control<QAction>("Exit1")->text(), QStringLiteral("E&xit"));
  QCOMPARE(Control<QMenu>("Help1")->title(), QStringLiteral("&Help"));
  QCOMPARE(Control<QAction>("about1")->text(), QStringLiteral("&About"));
  QStringList menuTitles;
  for (const QAction* menu : Control<QMenuBar>("MainMenu1")->actions()) menuTitles << menu->text();
  QCOMPARE(menuTitles, (QStringList{"&File", "&Edit", "&View", "&Go", "&Help"}));
  QVERIFY(!window_->windowIcon().isNull());
}

// A fixed-pitch font 20 px high whose widest caption stays clear of the
// next column.
void FormMainTest::readoutFontAndColumns() {
  ShowWindow();
  ScrollBar()->setValue(8736);
  for (const LabelName& entry : kReadoutLabelNames) {
    const QLabel* label = ReadoutLabelOf(entry.Label);
    const QFontMetrics metrics(label->font());
    for (const QChar character : QStringLiteral("i.:W°")) {
      QCOMPARE(metrics.horizontalAdvance(character), metrics.horizontalAdvance(QLatin1Char('0')));
    }
    QCOMPARE(QFontInfo(label->font()).pixelSize(), 20);
    QCOMPARE(label->size(), label->sizeHint());
  }
  const ReadoutLabel rows[][3] = {
      {ReadoutLabel::Datum, ReadoutLabel::RAapp, ReadoutLabel::P},
      {ReadoutLabel::Zeit, ReadoutLabel::DEapp, ReadoutLabel::B0},
      {ReadoutLabel::JD, ReadoutLabel::Distanz, ReadoutLabel::L0},
  };
  for (const auto& row : rows) {
    for (int column = 0; column < 2; ++column) {
      QVERIFY(ReadoutLabelOf(row[column])->geometry().right() <
              ReadoutLabelOf(row[column + 1])->x());
    }
  }
}

void FormMainTest::startState() {
  ShowWindow();
  QCOMPARE(ScrollBar()->value(), 0);
  QVERIFY(CheckBox()->isChecked());
  QVERIFY(AboutPanel()->isHidden());
  QCOMPARE(window_->PictureGeometry(), (DiskGeometry{999, 627, 499, 313}));
  QCOMPARE(Picture().size(), QSize(998, 626));
  ExpectShows(0, true, QDate::currentDate().year());
  const QString newYear = QStringLiteral("Datum     : %1-01-01").arg(QDate::currentDate().year());
  QCOMPARE(ReadoutLabelOf(ReadoutLabel::Datum)->text(), newYear);
}

void FormMainTest::scrollChangeRewritesReadoutAndPicture() {
  window_->SetYearSource([] { return 2021; });
  ShowWindow();
  std::array<QString, kReadoutLabelCount> before;
  for (std::size_t index = 0; index < before.size(); ++index) {
    before[index] = ReadoutLabelOf(kReadoutLabelNames[index].Label)->text();
  }
  const QImage picture = Picture();

  ScrollBar()->setValue(4417);
  for (std::size_t index = 0; index < before.size(); ++index) {
    QVERIFY2(ReadoutLabelOf(kReadoutLabelNames[index].Label)->text() != before[index],
             kReadoutLabelNames[index].Name);
  }
  QVERIFY(Picture() != picture);
  ExpectShows(4417, true, 2021);
  QCOMPARE(ReadoutLabelOf(ReadoutLabel::Datum)->text(), QStringLiteral("Datum     : 2021-07-04"));
  QCOMPARE(ReadoutLabelOf(ReadoutLabel::Zeit)->text(), QStringLiteral("Zeit UT   : 01:00"));
}

void FormMainTest::scrollSteps_data() {
  QTest::addColumn<int>("start");
  QTest::addColumn<int>("action");
  QTest::addColumn<int>("expected");
  QTest::addColumn<QString>("time");
  QTest::newRow("arrow right") << 0 << int(QAbstractSlider::SliderSingleStepAdd) << 1
                               << QStringLiteral("Zeit UT   : 01:00");
  QTest::newRow("trough right") << 0 << int(QAbstractSlider::SliderPageStepAdd) << 6
                                << QStringLiteral("Zeit UT   : 06:00");
  QTest::newRow("arrow left") << 30 << int(QAbstractSlider::SliderSingleStepSub) << 29
                              << QStringLiteral("Zeit UT   : 05:00");
  QTest::newRow("trough left") << 30 << int(QAbstractSlider::SliderPageStepSub) << 24
                               << QStringLiteral("Zeit UT   : 00:00");
  QTest::newRow("trough at the end") << 8733 << int(QAbstractSlider::SliderPageStepAdd) << 8736
                                     << QStringLiteral("Zeit UT   : 00:00");
  QTest::newRow("arrow at the start")
      << 0 << int(QAbstractSlider::SliderSingleStepSub) << 0 << QStringLiteral("Zeit UT   : 00:00");
}

void FormMainTest::scrollSteps() {
  QFETCH(int, start);
  QFETCH(int, action);
  QFETCH(int, expected);
  QFETCH(QString, time);
  window_->SetYearSource([] { return 2021; });
  ShowWindow();
  ScrollBar()->setValue(start);
  ScrollBar()->triggerAction(static_cast<QAbstractSlider::SliderAction>(action));
  QCOMPARE(ScrollBar()->value(), expected);
  QCOMPARE(ReadoutLabelOf(ReadoutLabel::Zeit)->text(), time);
  ExpectShows(expected, true, 2021);
}

void FormMainTest::checkBoxResetsHourAndRedraws_data() {
  QTest::addColumn<bool>("checkedBefore");
  QTest::addColumn<bool>("byKeyboard");
  QTest::newRow("click unchecks") << true << false;
  QTest::newRow("click checks") << false << false;
  QTest::newRow("space unchecks") << true << true;
  QTest::newRow("space checks") << false << true;
}

void FormMainTest::checkBoxResetsHourAndRedraws() {
  QFETCH(bool, checkedBefore);
  QFETCH(bool, byKeyboard);
  window_->SetYearSource([] { return 2021; });
  ShowWindow();
  CheckBox()->setChecked(checkedBefore);
  ScrollBar()->setValue(500);
  ExpectShows(500, checkedBefore, 2021);

  if (byKeyboard) {
    CheckBox()->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), CheckBox());
    QTest::keyClick(window_->windowHandle(), Qt::Key_Space);
  } else {
    ClickOn(CheckBox(), Qt::LeftButton);
  }
  QCOMPARE(CheckBox()->isChecked(), !checkedBefore);
  QCOMPARE(ScrollBar()->value(), 0);
  ExpectShows(0, !checkedBefore, 2021);
}

void FormMainTest::rightButtonReleaseChangesNothing() {
  ShowWindow();
  ScrollBar()->setValue(500);
  const QImage picture = Picture();
  ClickOn(CheckBox(), Qt::RightButton);
  ClickOn(CheckBox(), Qt::MiddleButton);
  QVERIFY(CheckBox()->isChecked());
  QCOMPARE(ScrollBar()->value(), 500);
  QCOMPARE(Picture(), picture);
}

void FormMainTest::hourKeysStepTheHour_data() {
  QTest::addColumn<QString>("focus");
  QTest::addColumn<int>("key");
  QTest::addColumn<int>("expected");
  struct HourKey {
    const char* Name;
    Qt::Key Key;
    int Expected;
  };
  const HourKey keys[] = {
      {"right", Qt::Key_Right, 101},
      {"left", Qt::Key_Left, 99},
      {"page down", Qt::Key_PageDown, 106},
      {"page up", Qt::Key_PageUp, 94},
      {"home", Qt::Key_Home, 0},
      {"end", Qt::Key_End, 8736},
  };
  for (const QString& focus :
       {QStringLiteral("ScrollBar1"), QStringLiteral("CheckBox_DiffRot"), QString()}) {
    for (const HourKey& key : keys) {
      const QString control = focus.isEmpty() ? QStringLiteral("no focus") : focus;
      const QByteArray row = (control + QStringLiteral(", ") + QLatin1String(key.Name)).toLatin1();
      QTest::newRow(row.constData()) << focus << int(key.Key) << key.Expected;
    }
  }
}

// The scroll bar's keys step the hour from 100 whether the scroll bar has
// the focus (reached by Tab from the check box), the check box, which uses
// only the space bar, or no control; each key press is one redraw.
void FormMainTest::hourKeysStepTheHour() {
  QFETCH(QString, focus);
  QFETCH(int, key);
  QFETCH(int, expected);
  window_->SetYearSource([] { return 2021; });
  ShowWindow();
  ScrollBar()->setValue(100);
  CheckBox()->setFocus();
  QTRY_COMPARE(QApplication::focusWidget(), CheckBox());
  if (focus == QStringLiteral("ScrollBar1")) QTest::keyClick(window_->windowHandle(), Qt::Key_Tab);
  if (focus.isEmpty()) CheckBox()->clearFocus();
  QWidget* const focused =
      focus.isEmpty() ? nullptr : Control<QWidget>(focus.toLatin1().constData());
  QCOMPARE(QApplication::focusWidget(), focused);

  const int redrawsBefore = window_->RedrawCount();
  QTest::keyClick(window_->windowHandle(), static_cast<Qt::Key>(key));
  QCOMPARE(ScrollBar()->value(), expected);
  QCOMPARE(window_->RedrawCount() - redrawsBefore, 1);
  ExpectShows(expected, true, 2021);
  QCOMPARE(QApplication::focusWidget(), focused);
}

// The version grid moves its current cell with the same keys, and passes
// on those that cannot move it (End in the last column): the hour stays.
void FormMainTest::versionGridKeepsItsKeys() {
  window_->SetYearSource([] { return 2021; });
  ShowWindow();
  ScrollBar()->setValue(100);
  Control<QAction>("about1")->trigger();
  auto* grid = Control<QTableWidget>("StringGrid_VersionsInfo");
  grid->setFocus();
  QTRY_COMPARE(QApplication::focusWidget(), grid);
  grid->setCurrentCell(0, 0);

  const int redrawsBefore = window_->RedrawCount();
  for (const Qt::Key key : {Qt::Key_Right, Qt::Key_End, Qt::Key_Left, Qt::Key_Home}) {
    QTest::keyClick(window_->windowHandle(), key);
  }
  QCOMPARE(ScrollBar()->value(), 100);
  QCOMPARE(window_->RedrawCount(), redrawsBefore);
}

void FormMainTest::escapeEndsTheProgram_data() {
  QTest::addColumn<QString>("focus");
  QTest::addColumn<int>("modifiers");
  QTest::addColumn<bool>("aboutShown");
  QTest::newRow("window") << QString() << int(Qt::NoModifier) << false;
  QTest::newRow("scroll bar") << QStringLiteral("ScrollBar1") << int(Qt::NoModifier) << false;
  QTest::newRow("check box, shift")
      << QStringLiteral("CheckBox_DiffRot") << int(Qt::ShiftModifier) << false;
  QTest::newRow("check box, ctrl+alt")
      << QStringLiteral("CheckBox_DiffRot") << int(Qt::ControlModifier | Qt::AltModifier) << false;
  QTest::newRow("about grid") << QStringLiteral("StringGrid_VersionsInfo") << int(Qt::NoModifier)
                              << true;
  QTest::newRow("about button") << QStringLiteral("Button_About_OK") << int(Qt::NoModifier) << true;
}

void FormMainTest::escapeEndsTheProgram() {
  QFETCH(QString, focus);
  QFETCH(int, modifiers);
  QFETCH(bool, aboutShown);
  ShowWindow();
  if (aboutShown) Control<QAction>("about1")->trigger();
  if (!focus.isEmpty()) {
    auto* control = Control<QWidget>(focus.toLatin1().constData());
    control->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), control);
  }
  QTest::keyRelease(window_->windowHandle(), Qt::Key_Escape,
                    static_cast<Qt::KeyboardModifiers>(modifiers));
  QCOMPARE(terminationRequests_, 1);
}

void FormMainTest::otherKeysDoNotEndTheProgram() {
  ShowWindow();
  for (const Qt::Key key : {Qt::Key_A, Qt::Key_Space, Qt::Key_Return, Qt::Key_Q}) {
    QTest::keyRelease(window_->windowHandle(), key);
  }
  QTest::keyPress(window_->windowHandle(), Qt::Key_Escape);
  QCOMPARE(terminationRequests_, 0);
}

void FormMainTest::exitEndsTheProgram() {
  ShowWindow();
  Control<QAction>("Exit1")->trigger();
  QCOMPARE(terminationRequests_, 1);
}

void FormMainTest::formResizeKeepsGeometryAndImageInStep_data() {
  QTest::addColumn<QSize>("client");
  QTest::addColumn<QSize>("picture");
  QTest::newRow("design size") << QSize(1002, 760) << QSize(1000, 628);
  QTest::newRow("smaller") << QSize(640, 480) << QSize(638, 348);
  QTest::newRow("larger") << QSize(1600, 1100) << QSize(1598, 968);
  QTest::newRow("odd sizes") << QSize(777, 555) << QSize(775, 423);
}

void FormMainTest::formResizeKeepsGeometryAndImageInStep() {
  QFETCH(QSize, client);
  QFETCH(QSize, picture);
  window_->SetYearSource([] { return 2021; });
  ShowWindow();
  ScrollBar()->setValue(100);
  ResizeClientTo(client.width(), client.height());
  QTRY_COMPARE(Control<QWidget>("Image1")->size(), picture);
  const DiskGeometry expected{picture.width() - 1, picture.height() - 1, (picture.width() - 1) / 2,
                              (picture.height() - 1) / 2};
  QCOMPARE(window_->PictureGeometry(), expected);
  QCOMPARE(Picture().size(), QSize(picture.width() - 2, picture.height() - 2));
  QCOMPARE(ScrollBar()->geometry(), QRect(1, picture.height() + 1, picture.width(), 25));
  QCOMPARE(Control<QWidget>("Panel1")->geometry(),
           QRect(0, client.height() - 105, client.width(), 105));
  ExpectShows(100, true, 2021);
}

// From nothing to far beyond any screen, through the sizes where the disk's
// radius turns negative: nothing crashes, Qt warns of nothing (warnings are
// fatal here), and DiskGeometry and the image follow the picture control.
void FormMainTest::resizeSweep() {
  ShowWindow();
  auto* image1 = Control<PictureControl>("Image1");
  // True when DiskGeometry and the image match the picture control.
  const auto inStep = [this, image1] {
    const DiskGeometry expected = DiskGeometryOfPicture(image1->width(), image1->height());
    const QImageCanvas& canvas = image1->Canvas();
    const bool imageExists = canvas.Width() > 0 && canvas.Height() > 0;
    return window_->PictureGeometry() == expected && canvas.Width() == ImageWidthOf(expected) &&
           canvas.Height() == ImageHeightOf(expected) &&
           image1->Image().size() ==
               (imageExists ? QSize(canvas.Width(), canvas.Height()) : QSize(0, 0));
  };
  const QSize windowSizes[] = {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4000, 3000}, {1, 3000}, {4000, 1}};
  for (const QSize& size : windowSizes) {
    window_->resize(size);
    QCoreApplication::processEvents();
    QVERIFY2(inStep(),
             qPrintable(QStringLiteral("window %1 x %2").arg(size.width()).arg(size.height())));
  }
  // Picture controls of the sizes where the image is empty, one pixel, or
  // too low for the disk: the client area around them is 2 px wider and
  // 2 + 25 + 105 px higher.
  const QSize pictureSizes[] = {{0, 0},    {1, 1},     {2, 2},     {3, 3},   {4, 4},
                                {100, 24}, {1000, 24}, {24, 1000}, {1, 628}, {3998, 2866}};
  for (const QSize& picture : pictureSizes) {
    ResizeClientTo(picture.width() + 2, picture.height() + 2 + 25 + 105);
    QTRY_COMPARE(image1->size(), picture);
    QVERIFY(inStep());
    ScrollBar()->setValue(ScrollBar()->value() + 100);
    CheckBox()->toggle();
    QVERIFY(inStep());
  }
  QVERIFY(reportedErrors_.empty());
}

void FormMainTest::activationMovesToTopEdgeAndRedraws() {
  window_->SetYearSource([] { return 2021; });
  ShowWindow();
  window_->move(57, 120);
  QTRY_COMPARE(window_->pos(), QPoint(57, 120));
  window_->SetYearSource([] { return 2024; });
  QEvent activation(QEvent::WindowActivate);
  QCoreApplication::sendEvent(window_.get(), &activation);
  QCOMPARE(window_->pos(), QPoint(57, 0));
  QCOMPARE(window_->size(), QSize(1002, 760 + window_->menuBar()->height()));
  QCOMPARE(ReadoutLabelOf(ReadoutLabel::Datum)->text(), QStringLiteral("Datum     : 2024-01-01"));
  ExpectShows(0, true, 2024);
}

// The picture the user first sees is drawn after DiskGeometry and the image
// are set.
void FormMainTest::noPictureBeforeTheFirstResize() {
  ScrollBar()->setValue(24);
  CheckBox()->toggle();
  QVERIFY(Picture().isNull());
  QCOMPARE(window_->PictureGeometry(), DiskGeometry{});
  ShowWindow();
  QCOMPARE(window_->PictureGeometry(), (DiskGeometry{999, 627, 499, 313}));
  ExpectShows(0, false, QDate::currentDate().year());
}

// A year past the calendar's integer range makes the redraw fail with
// "Integer overflow"; the report carries that message, and the next
// event redraws as usual.
void FormMainTest::handlerErrorIsReportedAndNextEventWorks() {
  ShowWindow();
  window_->SetYearSource([] { return std::numeric_limits<std::int32_t>::max(); });
  ScrollBar()->setValue(10);
  QCOMPARE(reportedErrors_, std::vector<QString>{QStringLiteral("Integer overflow")});
  reportedErrors_.clear();

  window_->SetYearSource([] { return 2021; });
  ScrollBar()->setValue(11);
  QVERIFY(reportedErrors_.empty());
  ExpectShows(11, true, 2021);
}

// The check box's handler sets the position, whose change handler fails:
// that ends the check box's event, reported once.
void FormMainTest::errorInNestedChangeIsReportedOnce() {
  ShowWindow();
  ScrollBar()->setValue(10);
  window_->SetYearSource([] { return std::numeric_limits<std::int32_t>::max(); });
  ClickOn(CheckBox(), Qt::LeftButton);
  QCOMPARE(ScrollBar()->value(), 0);
  QCOMPARE(reportedErrors_, std::vector<QString>{QStringLiteral("Integer overflow")});
  reportedErrors_.clear();
}

// Run on its own (a ctest entry of its own): the offscreen platform warns
// that it cannot pass a dialog's fixed size on, which fatal warnings forbid.
void FormMainTest::defaultReportIsAModalMessageBox() {
  if (qEnvironmentVariableIsSet("QT_FATAL_WARNINGS")) {
    QSKIP("run without fatal warnings by helidisk_window_error_box");
  }
  ShowWindow();
  const ErrorReporter recording = SetErrorReporter(savedReporter_);
  QString shownText;
  bool shownModal = false;
  QTimer closer;
  connect(&closer, &QTimer::timeout, this, [&] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      shownText = box->text();
      shownModal = box->isModal();
      box->accept();
    }
  });
  closer.start(10);
  window_->SetYearSource([] { return std::numeric_limits<std::int32_t>::max(); });
  ScrollBar()->setValue(10);
  SetErrorReporter(recording);
  QCOMPARE(shownText, QStringLiteral("Integer overflow"));
  QVERIFY(shownModal);
}

void FormMainTest::aboutPanelPlacedShownAndHidden() {
  ShowWindow();
  const int frameWidth = window_->frameGeometry().width() - window_->width();
  ResizeClientTo(1010 - frameWidth, 760);
  QTRY_COMPARE(window_->frameGeometry().width(), 1010);
  auto* about1 = Control<QAction>("about1");
  auto* panel = AboutPanel();
  about1->trigger();
  QVERIFY(panel->isVisible());
  QCOMPARE(panel->pos(), QPoint(330, 20));
  QCOMPARE(panel->size(), QSize(kAboutPanelWidth, 480));
  // In front of the picture: the topmost control at the panel's centre.
  auto* panel2 = Control<QWidget>("Panel2");
  QWidget* front = panel2->childAt(panel->geometry().center());
  QVERIFY(front == panel || panel->isAncestorOf(front));

  ClickOn(Control<QPushButton>("Button_About_OK"), Qt::LeftButton);
  QVERIFY(panel->isHidden());

  ResizeClientTo(800, 700);
  QTRY_COMPARE(window_->width(), 800);
  panel->move(3, 3);
  about1->trigger();
  QCOMPARE(panel->pos(), QPoint((window_->frameGeometry().width() - kAboutPanelWidth) / 2, 20));
  about1->trigger();
  QCOMPARE(panel->pos(), QPoint((window_->frameGeometry().width() - kAboutPanelWidth) / 2, 20));
  QVERIFY(panel->isVisible());
}

void FormMainTest::aboutPanelKeepsTheWindowWorking() {
  window_->SetYearSource([] { return 2021; });
  ShowWindow();
  Control<QAction>("about1")->trigger();
  ScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
  QCOMPARE(ScrollBar()->value(), 6);
  ExpectShows(6, true, 2021);
  ClickOn(CheckBox(), Qt::LeftButton);
  ExpectShows(0, false, 2021);
  QVERIFY(AboutPanel()->isVisible());
}

// Without anchors the panel's centre stays at the same fraction of the
// picture panel's size.
void FormMainTest::aboutPanelKeepsItsRelativePlace() {
  ShowWindow();
  auto* panel = AboutPanel();
  QCOMPARE(panel->pos(), QPoint(455, 99));
  ResizeClientTo(2004, 1415);
  QTRY_COMPARE(Control<QWidget>("Panel2")->size(), QSize(2004, 1310));
  QCOMPARE(panel->pos(), QPoint(1260 - 175, 678 - 240));
  ResizeClientTo(1002, 760);
  QTRY_COMPARE(panel->pos(), QPoint(455, 99));
}

void FormMainTest::aboutPanelContents() {
  auto* icon = Control<QLabel>("Image2");
  QCOMPARE(icon->pixmap().size(), QSize(32, 32));
  QCOMPARE(icon->alignment(), Qt::AlignLeft | Qt::AlignTop);
  auto* title = Control<QLabel>("Label_helidisk");
  QCOMPARE(title->text(), QStringLiteral("helidisk"));
  QVERIFY(QFontInfo(title->font()).bold());
  QCOMPARE(QFontInfo(title->font()).pixelSize(), 20);
  QCOMPARE(Control<QPushButton>("Button_About_OK")->text(), QStringLiteral("OK"));

  auto* grid = Control<QTableWidget>("StringGrid_VersionsInfo");
  QCOMPARE(grid->columnCount(), 2);
  QCOMPARE(grid->rowCount(), 17);
  for (int column = 0; column < 2; ++column) QCOMPARE(grid->columnWidth(column), 167);
  for (int row = 0; row < 17; ++row) QCOMPARE(grid->rowHeight(row), 19);
  QVERIFY(grid->horizontalHeader()->isHidden());
  QVERIFY(grid->verticalHeader()->isHidden());
  QVERIFY(grid->showGrid());
  QCOMPARE(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
  QVERIFY(grid->selectionMode() != QAbstractItemView::NoSelection);
  QVERIFY(QFontInfo(grid->font()).bold());
  QCOMPARE(QFontInfo(grid->font()).pixelSize(), 13);
}

// This test program carries the program's version block too, so the
// window reads the project version from it.
void FormMainTest::viewMenuTurnsThePictureAndKeepsTheHour() {
  window_->SetYearSource([] { return 2026; });
  ShowWindow();
  QCOMPARE(Control<QMenu>("View1")->title(), QStringLiteral("&View"));
  QVERIFY(Control<QAction>("Orientation_sky")->isChecked());
  ScrollBar()->setValue(6700);
  for (const Orientation orientation :
       {Orientation::Inverted, Orientation::SolarNorth, Orientation::Mirror,
        Orientation::InvertedMirror, Orientation::Sky}) {
    const std::string name = "Orientation_" + OrientationName(orientation);
    auto* action = Control<QAction>(name.c_str());
    QVERIFY(action->text().contains('&'));
    action->trigger();
    QVERIFY(action->isChecked());
    const auto checked = std::count_if(Control<QMenu>("View1")->actions().cbegin(),
                                       Control<QMenu>("View1")->actions().cend(),
                                       [](const QAction* item) { return item->isChecked(); });
    QCOMPARE(checked, 1);
    QCOMPARE(ScrollBar()->value(), 6700);
    ExpectShows(6700, true, 2026, orientation);
  }
}

void FormMainTest::MovePointerTo(QPointF imagePoint) const {
  auto* picture = Control<QWidget>("Image1");
  const QPointF position = imagePoint + QPointF(0.5, 0.5);
  QMouseEvent move(QEvent::MouseMove, position, picture->mapToGlobal(position), Qt::NoButton,
                   Qt::NoButton, Qt::NoModifier);
  QCoreApplication::sendEvent(picture, &move);
}

void FormMainTest::ClickPictureAt(QPointF imagePoint) const {
  auto* picture = Control<QWidget>("Image1");
  const QPointF position = imagePoint + QPointF(0.5, 0.5);
  for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
    QMouseEvent click(type, position, picture->mapToGlobal(position), Qt::LeftButton,
                      type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(picture, &click);
  }
}

QStringList FormMainTest::PointerReadoutTexts() const {
  QStringList texts;
  for (const char* name :
       {"Label_Pointer1", "Label_Pointer2", "Label_Pointer3", "Label_Pointer4"}) {
    texts << Control<QLabel>(name)->text();
  }
  return texts;
}

// Over the disk centre the pointer reads B0, L0, the central meridian and
// mu = 1; over the sky the position angle and distance; outside the picture
// nothing.  The rotation number stays, and the picture is never redrawn.
void FormMainTest::pointerReadoutOverDiskSkyAndNothing() {
  window_->SetYearSource([] { return 2021; });
  ShowWindow();
  const QString rotation = Control<QLabel>("Label_Rotation")->text();
  QVERIFY(rotation.startsWith(QStringLiteral("Carr.Rot. : 2")));
  const int redraws = window_->RedrawCount();

  MovePointerTo({499, 313});
  const QString b0 = ReadoutLabelOf(ReadoutLabel::B0)->text().mid(15);
  const QString l0 = ReadoutLabelOf(ReadoutLabel::L0)->text().mid(15);
  QCOMPARE(PointerReadoutTexts(),
           (QStringList{"Breite    :" + b0, QString::fromUtf8("Länge     :") + l0,
                        QString::fromUtf8("ZM-Abstand: W   0.00°"), "mu        :  1.000"}));

  // Straight left of the disk, half a radius beyond the limb: east.
  const int radius = 306;
  MovePointerTo({499 - 1.5 * radius, 313});
  const QStringList sky = PointerReadoutTexts();
  QVERIFY2(sky[0].startsWith(QStringLiteral("Pos.winkel:")), qPrintable(sky[0]));
  QCOMPARE(sky[1], QStringLiteral("Abstand   :  1.500 R"));
  QCOMPARE(sky[2], QString());

  QEvent leave(QEvent::Leave);
  QCoreApplication::sendEvent(Control<QWidget>("Image1"), &leave);
  QCOMPARE(PointerReadoutTexts(), (QStringList{"", "", "", ""}));
  QCOMPARE(Control<QLabel>("Label_Rotation")->text(), rotation);
  QCOMPARE(window_->RedrawCount(), redraws);
}

void FormMainTest::clickedPointsTurnWithTheSunAndCopy() {
  window_->SetYearSource([] { return 2021; });
  ShowWindow();
  const QRgb markColour = qRgb(255, 0, 255);
  const QPointF spot(560, 280);
  ClickPictureAt(spot);
  QCOMPARE(window_->MeasuredPoints().size(), std::size_t{1});
  QCOMPARE(Control<QTableWidget>("Table_MeasuredPoints")->rowCount(), 1);
  QCOMPARE(Picture().pixel(560, 280), markColour);

  // A day later the spot has turned some 13 deg toward the west limb.
  ScrollBar()->setValue(24);
  QVERIFY(Picture().pixel(560, 280) != markColour);
  const MeasuredPoint& point = window_->MeasuredPoints().front();
  QVERIFY(point.located.onDisk);

  QGuiApplication::clipboard()->clear();
  Control<QAction>("Copy1")->trigger();
  const QStringList lines = QGuiApplication::clipboard()->text().split('\n', Qt::SkipEmptyParts);
  QCOMPARE(lines.size(), 2);
  QVERIFY(lines[0].startsWith(QStringLiteral("utc\tx_px\ty_px\tlatitude_deg")));
  QVERIFY(lines[1].startsWith(QStringLiteral("2021-01-01T00:00Z\t560\t280\t")));

  auto* table = Control<QTableWidget>("Table_MeasuredPoints");
  table->selectRow(0);
  table->findChild<QAction*>(QStringLiteral("DeletePoint"))->trigger();
  QVERIFY(window_->MeasuredPoints().empty());
  QCOMPARE(table->rowCount(), 0);
}

void FormMainTest::unsavedPointsAreNotLostOnClosing() {
  ShowWindow();
  ClickPictureAt({500, 300});
  QTemporaryDir folder;
  QVERIFY(folder.isValid());
  int prompts = 0;
  TForm_Main::UnsavedPointsChoice choice = TForm_Main::UnsavedPointsChoice::Cancel;
  window_->SetUnsavedPointsPrompt([&] {
    ++prompts;
    return choice;
  });
  QString target = folder.path();  // a folder: the save fails
  window_->SetFileNamePrompt([&target](TForm_Main::FileRole /*role*/) { return target; });

  QVERIFY(!window_->close());
  QCOMPARE(prompts, 1);

  choice = TForm_Main::UnsavedPointsChoice::Save;
  QVERIFY(!window_->close());
  QCOMPARE(reportedErrors_.size(), std::size_t{1});
  QVERIFY(reportedErrors_.front().contains(folder.path()));
  reportedErrors_.clear();
  QCOMPARE(window_->MeasuredPoints().size(), std::size_t{1});

  target = folder.filePath("points.csv");
  QVERIFY(window_->close());
  QFile saved(target);
  QVERIFY(saved.open(QIODevice::ReadOnly));
  QVERIFY(saved.readAll().startsWith("utc,x_px,y_px,latitude_deg,"));
  QCOMPARE(prompts, 3);
}

// Go -> Date and time shows the minute in its own year, the scroll bar on
// the whole hour before it; the scroll bar then moves through that year's
// whole hours.
void FormMainTest::goToAnInstantToTheMinute() {
  ShowWindow();
  window_->SetInstantPrompt([](const UtcMinute&) { return UtcMinute{1987, 3, 5, 14, 37}; });
  Control<QAction>("GoDateTime1")->trigger();
  QCOMPARE(ReadoutLabelOf(ReadoutLabel::Datum)->text(), QStringLiteral("Datum     : 1987-03-05"));
  QCOMPARE(ReadoutLabelOf(ReadoutLabel::Zeit)->text(), QStringLiteral("Zeit UT   : 14:37"));
  const int wholeHour = (31 + 28 + 4) * 24 + 14;
  QCOMPARE(ScrollBar()->value(), wholeHour);
  ExpectShows(wholeHour + 37 / 60.0, true, 1987);

  ScrollBar()->setValue(wholeHour + 1);
  QCOMPARE(ReadoutLabelOf(ReadoutLabel::Zeit)->text(), QStringLiteral("Zeit UT   : 15:00"));
  ExpectShows(wholeHour + 1, true, 1987);
}

// A generated image with no time of its own: the window asks, shows the
// image with the grid, reads the pointer and takes points on the image's
// disk, lets the disk be dragged by its centre handle, and saves the image
// with the grid at its full size.
void FormMainTest::openedImageCarriesTheGridAndTheMeasuring() {
  ShowWindow();
  QTemporaryDir folder;
  QVERIFY(folder.isValid());
  const QString imagePath = folder.filePath("sun.png");
  QVERIFY(fakes::GreyImage(fakes::MakeSun(1200, 900, 600.5, 450.5, 400)).save(imagePath));
  QString fileName = imagePath;
  window_->SetFileNamePrompt([&fileName](TForm_Main::FileRole /*role*/) { return fileName; });
  window_->SetInstantPrompt([](const UtcMinute&) { return UtcMinute{2026, 5, 1, 10, 0}; });
  const QImage drawnDisk = Picture();
  Control<QAction>("OpenImage1")->trigger();
  QVERIFY(Control<QAction>("CloseImage1")->isEnabled());
  QCOMPARE(ReadoutLabelOf(ReadoutLabel::Datum)->text(), QStringLiteral("Datum     : 2026-05-01"));
  QVERIFY(Picture() != drawnDisk);

  // The image, 1200 x 900, is fitted into the picture (beside the image's
  // dock), centred; its disk's centre is the shown disk's centre.
  const QSize shown = Picture().size();
  const double scale = std::min(shown.width() / 1200.0, shown.height() / 900.0);
  const QPointF shownCentre((shown.width() - 1200 * scale) / 2 + 601 * scale - 0.5,
                            (shown.height() - 900 * scale) / 2 + 451 * scale - 0.5);
  MovePointerTo(shownCentre);
  QCOMPARE(PointerReadoutTexts()[3], QStringLiteral("mu        :  1.000"));
  ClickPictureAt(shownCentre + QPointF(60, 0));
  QCOMPARE(window_->MeasuredPoints().size(), std::size_t{1});
  const MeasuredPoint& point = window_->MeasuredPoints().front();
  QVERIFY(std::abs(point.xPx - (600.5 + 60 / scale)) < 1.5);  // a pixel of the image
  QVERIFY(point.located.onDisk);

  // Dragging the centre handle moves the disk; it adds no point.
  auto* picture = Control<QWidget>("Image1");
  const QPointF moved = shownCentre + QPointF(20, 0);
  const auto send = [picture](QEvent::Type type, QPointF at, Qt::MouseButtons buttons) {
    const QPointF position = at + QPointF(0.5, 0.5);
    QMouseEvent event(type, position, picture->mapToGlobal(position), Qt::LeftButton, buttons,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(picture, &event);
  };
  send(QEvent::MouseButtonPress, shownCentre, Qt::LeftButton);
  send(QEvent::MouseMove, moved, Qt::LeftButton);
  send(QEvent::MouseButtonRelease, moved, Qt::NoButton);
  QCOMPARE(window_->MeasuredPoints().size(), std::size_t{1});
  MovePointerTo(moved);
  QCOMPARE(PointerReadoutTexts()[3], QStringLiteral("mu        :  1.000"));

  // A name of a format the window does not write is refused, not filled
  // with bytes of another.
  fileName = folder.filePath("overlaid.tif");
  Control<QAction>("SaveOverlaidImage1")->trigger();
  QCOMPARE(reportedErrors_.size(), std::size_t{1});
  QVERIFY(reportedErrors_.front().contains(".png, .jpg, .jpeg or .fits"));
  reportedErrors_.clear();
  QVERIFY(!QFile::exists(fileName));

  // As FITS, the header places the disk where the window shows it, and a
  // PNG carries the same geometry in its text chunks.
  fileName = folder.filePath("overlaid.fits");
  Control<QAction>("SaveOverlaidImage1")->trigger();
  QVERIFY2(reportedErrors_.empty(),
           qPrintable(reportedErrors_.empty() ? "" : reportedErrors_.front()));
  const SolarImage fits = LoadSolarImage(fileName);
  const ImageDisk placed = LocateDisk(fits);
  QCOMPARE(placed.source, DiskSource::Header);
  // The centre as dragged, 20 shown pixels to the right.
  const double centreXPx = 600.5 + 20 / scale;
  QVERIFY2(std::abs(placed.centreXPx - centreXPx) < 0.01,
           qPrintable(QString::number(placed.centreXPx)));
  fileName = folder.filePath("overlaid.png");
  Control<QAction>("SaveOverlaidImage1")->trigger();
  // FITS counts pixels from 1.
  QVERIFY(std::abs(QImage(fileName, "PNG").text("CRPIX1").toDouble() - (centreXPx + 1)) < 0.01);

  fileName = folder.filePath("overlaid.jpg");
  Control<QAction>("SaveOverlaidImage1")->trigger();
  QFile savedFile(fileName);
  QVERIFY(savedFile.open(QIODevice::ReadOnly));
  QCOMPARE(savedFile.read(3), QByteArray("\xFF\xD8\xFF"));
  const QImage saved(fileName, "JPEG");
  QCOMPARE(saved.size(), QSize(1200, 900));

  auto* table = Control<QTableWidget>("Table_MeasuredPoints");
  table->selectRow(0);
  table->findChild<QAction*>(QStringLiteral("DeletePoint"))->trigger();
  Control<QAction>("CloseImage1")->trigger();
  QVERIFY(!Control<QAction>("CloseImage1")->isEnabled());
  ExpectShows(ScrollBar()->value(), true, 2026);
}

void FormMainTest::badImageKeepsTheWindowAndItsPoints() {
  ShowWindow();
  ClickPictureAt({500, 300});
  QTemporaryDir folder;
  QVERIFY(folder.isValid());
  const QString notAnImage = folder.filePath("notes.png");
  QFile file(notAnImage);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write("observing notes, not a picture\n");
  file.close();
  const QImage before = Picture();
  window_->OpenImage(notAnImage);
  QCOMPARE(reportedErrors_.size(), std::size_t{1});
  QVERIFY(reportedErrors_.front().startsWith(notAnImage));
  reportedErrors_.clear();
  QCOMPARE(window_->MeasuredPoints().size(), std::size_t{1});
  QVERIFY(!Control<QAction>("CloseImage1")->isEnabled());
  QCOMPARE(Picture(), before);
  window_->SetUnsavedPointsPrompt([] { return TForm_Main::UnsavedPointsChoice::Discard; });
}

void FormMainTest::captionAndVersionGrid() {
  QCOMPARE(window_->windowTitle(),
           QStringLiteral("helidisk   Version ") + QStringLiteral(HELIDISK_PROJECT_VERSION));
  auto* grid = Control<QTableWidget>("StringGrid_VersionsInfo");
  QCOMPARE(grid->item(3, 0)->text(), QStringLiteral("FileVersion     "));
  QCOMPARE(grid->item(3, 1)->text(), QStringLiteral(HELIDISK_PROJECT_VERSION));
}

void FormMainTest::versionGridOfTheBuiltProgram() {
  QTableWidget grid;
  FillVersionGrid(grid, QStringLiteral(HELIDISK_PROGRAM));
  QCOMPARE(grid.rowCount(), 17);
  for (const int row : {2, 4, 6, 8, 10, 11}) QCOMPARE(grid.item(row, 1)->text(), QString());
  QCOMPARE(grid.item(3, 1)->text(), QStringLiteral(HELIDISK_PROJECT_VERSION));
  QCOMPARE(grid.item(9, 1)->text(), QStringLiteral(HELIDISK_PROJECT_VERSION));
  QCOMPARE(grid.item(12, 1)->text(), QStringLiteral("Application"));
  for (const int row : {13, 14, 15, 16}) QCOMPARE(grid.item(row, 1)->text(), QStringLiteral("No"));
}

}  // namespace helidisk

QTEST_MAIN(helidisk::FormMainTest)
#include "form_main_test.moc"
