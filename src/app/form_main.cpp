#include "form_main.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QDate>
#include <QDateTime>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QFrame>
#include <QGuiApplication>
#include <QHeaderView>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>
#include <QTableWidget>
#include <QWindow>
#include <algorithm>
#include <cmath>
#include <utility>

#include "alignimagesaction.h"
#include "application.h"
#include "carrington.h"
#include "checked.h"
#include "compass.h"
#include "diskgeometry.h"
#include "ephemerismenu.h"
#include "imageerror.h"
#include "imagepanel.h"
#include "instantdialog.h"
#include "instantseries.h"
#include "instantsteps.h"
#include "measuredpointsdock.h"
#include "openedimage.h"
#include "outputfile.h"
#include "pictureactions.h"
#include "picturecontrol.h"
#include "pictureerror.h"
#include "pictureformat.h"
#include "pointmarks.h"
#include "rasterencoder.h"
#include "readout.h"
#include "redraw.h"
#include "rotatedpointsdock.h"
#include "rotationactions.h"
#include "sun.h"
#include "sunspotdock.h"
#include "versioninfo.h"
#include "yearchart.h"

namespace helidisk {
namespace {

// The client area below the menu at the design size: the picture panel
// 1002 x 655 above the readout panel 1002 x 105, so that the picture control
// is 1000 x 628 and the disk's centre (499, 313).  The window's outer size
// adds whatever frame the window manager draws (1010 x 818 with the frame the
// window was designed under).
constexpr int kDesignClientWidth = 1002;
constexpr int kDesignClientHeight = 760;

constexpr int kReadoutPanelHeight = 105;
const QColor kReadoutPanelColor(224, 224, 224);
constexpr int kScrollBarHeight = 25;

constexpr int kArrowStepHours = 1;
constexpr int kTroughStepHours = 6;

// The keys that move the hour, as a desktop scroll bar reads them: the
// arrows by its small change, the page keys by its large change.
struct HourKey {
  Qt::Key Key;
  QAbstractSlider::SliderAction Action;
};
constexpr std::array<HourKey, 6> kHourKeys = {{
    {Qt::Key_Right, QAbstractSlider::SliderSingleStepAdd},
    {Qt::Key_Left, QAbstractSlider::SliderSingleStepSub},
    {Qt::Key_PageDown, QAbstractSlider::SliderPageStepAdd},
    {Qt::Key_PageUp, QAbstractSlider::SliderPageStepSub},
    {Qt::Key_Home, QAbstractSlider::SliderToMinimum},
    {Qt::Key_End, QAbstractSlider::SliderToMaximum},
}};

constexpr int kDefaultFontPixels = 13;
constexpr int kReadoutFontPixels = 20;
constexpr int kTitleFontPixels = 20;

struct ReadoutLabelPlace {
  const char* Name;
  int Left;
  int Top;
};

// Three columns, in the order of ReadoutLabel; until the first redraw each
// label shows its caption alone.
constexpr std::array<ReadoutLabelPlace, kReadoutLabelCount> kReadoutLabelPlaces = {{
    {"Label_JD", 16, 53},
    {"Label_Datum", 16, 5},
    {"Label_Zeit", 16, 29},
    {"Label_RAapp", 272, 5},
    {"Label_DEapp", 272, 29},
    {"Label_Distanz", 272, 53},
    {"Label_Halbmesser", 272, 77},
    {"Label_P", 528, 5},
    {"Label_B0", 528, 29},
    {"Label_L0", 528, 53},
}};

// The longest readout caption, and the room a column leaves it before the
// next column begins.
const char* const kWidestReadoutCaption = "Heliogr.Länge : 359.99°";
constexpr int kReadoutColumnRoomPixels = 240;

const QRect kDiffRotCheckBoxGeometry(528, 80, 153, 17);

// Which ephemeris the readout shows, below the first column.
const QPoint kEphemerisIndicatorPlace(16, 82);

// The readout of the point under the pointer, in the free space right of
// the three readout columns: four lines and the rotation number below them.
constexpr int kPointerReadoutLeft = 776;
constexpr int kPointerReadoutTop = 4;
constexpr int kPointerReadoutLineSpacing = 20;
constexpr int kPointerReadoutFontPixels = 16;
constexpr int kPointerReadoutRoomPixels = 222;
const char* const kWidestPointerText = "ZM-Abstand: W 179.99°";

// Measured points are marked by a small magenta cross, a colour the grid
// does not use.
constexpr Color kMarkColor{255, 0, 255};
constexpr std::int32_t kMarkArmPixels = 5;

// The handles of an opened image's disk: small cyan squares at the centre
// and on the limb, which a press this close to picks up.
constexpr Color kHandleColor{0, 255, 255};
constexpr std::int32_t kHandleHalfSidePixels = 4;
constexpr double kHandleReachPixels = 8;

const char* const kImageFileFilter =
    "Solar images (*.png *.jpg *.jpeg *.tif *.tiff *.fits *.fit *.fts *.fits.gz *.fit.gz "
    "*.fts.gz *.fz);;All files (*)";

// The format a file name's extension names, where it can hold an image
// with its grid.
std::optional<PictureFormat> OverlayFormatOf(const QString& path) {
  const std::optional<PictureFormat> format = FormatOfFileName(path.toStdString());
  if (!format || !Holds(InfoOf(*format), PictureKind::ImageOverlay)) return std::nullopt;
  return format;
}

// The About panel and its contents, relative to the picture panel and to
// the About panel.
const QRect kAboutPanelDesignGeometry(455, 99, 350, 480);
constexpr int kAboutPanelTop = 20;
const QRect kIconGeometry(6, 5, 33, 33);
const QPoint kTitlePosition(43, 10);
const QRect kVersionGridGeometry(3, 43, 342, 345);
constexpr int kVersionGridColumns = 2;
constexpr int kVersionGridRows = 17;
constexpr int kVersionGridColumnWidth = 167;
constexpr int kVersionGridRowHeight = 19;
const QRect kOkButtonGeometry(133, 416, 89, 33);
constexpr int kFileVersionRow = 3;
constexpr int kValueColumn = 1;

const char* const kIconResource = ":/icons/helidisk-32.png";
const char* const kLargeIconResource = ":/icons/helidisk-256.png";

QFont SansSerifFont(int pixelSize, bool bold = false) {
  QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(pixelSize);
  font.setBold(bold);
  return font;
}

QFont FixedPitchFont(int pixelSize) {
  QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  font.setStyleHint(QFont::Monospace);
  font.setFixedPitch(true);
  font.setPixelSize(pixelSize);
  return font;
}

// The window was laid out for bitmap fonts narrower than today's scalable
// ones at the same height: where a text would not fit the room its control
// has, the font is narrowed (never shortened) until it does.
QFont NarrowedToFit(QFont font, const QString& text, int widthPixels) {
  constexpr int kNarrowestStretch = 50;
  for (int stretch = QFont::Unstretched;
       stretch > kNarrowestStretch && QFontMetrics(font).horizontalAdvance(text) > widthPixels;
       --stretch) {
    font.setStretch(stretch - 1);
  }
  return font;
}

QFrame* CreatePanel(QWidget* parent, const char* name, QFrame::Shape shape) {
  auto* panel = new QFrame(parent);
  panel->setObjectName(QString::fromLatin1(name));
  panel->setFrameStyle(shape | QFrame::Raised);
  panel->setLineWidth(1);
  panel->setAutoFillBackground(true);
  return panel;
}

}  // namespace

TForm_Main::TForm_Main() : yearSource_([] { return QDate::currentDate().year(); }) {
  setObjectName(QStringLiteral("Form_Main"));
  setWindowTitle(QStringLiteral("helidisk"));
  QIcon icon;
  icon.addFile(QString::fromLatin1(kIconResource));
  icon.addFile(QString::fromLatin1(kLargeIconResource));
  setWindowIcon(icon);
  setFont(SansSerifFont(kDefaultFontPixels));
  setCentralWidget(new QWidget(this));
  // No minimum size of its own: the window may be made as small as the user
  // likes, the docked panels then overlap or vanish.
  layout()->setSizeConstraint(QLayout::SetNoConstraint);

  pointsDock_ = new MeasuredPointsDock(this);
  addDockWidget(Qt::RightDockWidgetArea, pointsDock_);
  pointsDock_->hide();
  rotatedPointsDock_ = new RotatedPointsDock(this);
  addDockWidget(Qt::RightDockWidgetArea, rotatedPointsDock_);
  rotatedPointsDock_->hide();
  yearChart_ = new YearChartDock(this);
  sunspotDock_ = new SunspotDock(this);
  addDockWidget(Qt::RightDockWidgetArea, sunspotDock_);
  sunspotDock_->hide();
  unsavedPointsPrompt_ = [this] {
    const auto answer = QMessageBox::question(
        this, QStringLiteral("Measured points"),
        QStringLiteral("The measured points have not been saved. Save them?"),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    if (answer == QMessageBox::Save) return UnsavedPointsChoice::Save;
    if (answer == QMessageBox::Discard) return UnsavedPointsChoice::Discard;
    return UnsavedPointsChoice::Cancel;
  };
  fileNamePrompt_ = [this](FileRole role) {
    switch (role) {
      case FileRole::SavePoints:
        return QFileDialog::getSaveFileName(this, QStringLiteral("Save points"), QString(),
                                            QStringLiteral("CSV files (*.csv)"));
      case FileRole::OpenImage:
        return QFileDialog::getOpenFileName(this, QStringLiteral("Open image"), QString(),
                                            QString::fromLatin1(kImageFileFilter));
      case FileRole::SaveOverlaidImage:
        return QFileDialog::getSaveFileName(this, QStringLiteral("Save overlaid image"), QString(),
                                            QStringLiteral("PNG (*.png);;JPEG (*.jpg *.jpeg)"));
    }
    return QString();
  };
  instantPrompt_ = [this](const UtcMinute& shown) { return InstantDialog::Ask(this, shown); };
  sitePrompt_ = [this] { return AskSite(this); };
  imagePanel_ = new ImagePanel(this);
  setAcceptDrops(true);

  CreateMenu();
  CreateReadoutPanel();
  ephemerisMenu_ = new EphemerisMenu(View1, Panel1, kEphemerisIndicatorPlace);
  CreatePicturePanel();
  CreateAboutPanel();

  const int menuHeight = MainMenu1->isNativeMenuBar() ? 0 : MainMenu1->sizeHint().height();
  const QSize designSize(kDesignClientWidth, kDesignClientHeight + menuHeight);
  setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, designSize,
                                  screen()->availableGeometry()));
  qApp->installEventFilter(this);
  BindHandlers();
  RunHandler([this] { FormCreate(); });
}

void TForm_Main::CreateMenu() {
  MainMenu1 = menuBar();
  MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
  File1 = MainMenu1->addMenu(QStringLiteral("&File"));
  File1->setObjectName(QStringLiteral("File1"));
  CreateImageActions();
  SavePoints1 = File1->addAction(QStringLiteral("Save &points…"));
  SavePoints1->setObjectName(QStringLiteral("SavePoints1"));
  File1->addSeparator();
  Exit1 = File1->addAction(QStringLiteral("E&xit"));
  Exit1->setObjectName(QStringLiteral("Exit1"));
  CreateMeasuringMenus();
  pictureActions_ =
      new PictureActions(this, *this, {File1, SavePoints1, Edit1, Copy1, pointsDock_->Table()});
  alignImages_ = new AlignImagesAction(this, *this, File1, SavePoints1);
  Help1 = MainMenu1->addMenu(QStringLiteral("&Help"));
  Help1->setObjectName(QStringLiteral("Help1"));
  about1 = Help1->addAction(QStringLiteral("&About"));
  about1->setObjectName(QStringLiteral("about1"));
}

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

// Edit -> Copy, the View menu, Go -> Date and time and Now, in menu order.
void TForm_Main::CreateMeasuringMenus() {
  Edit1 = MainMenu1->addMenu(QStringLiteral("&Edit"));
  Edit1->setObjectName(QStringLiteral("Edit1"));
  Copy1 = Edit1->addAction(QStringLiteral("&Copy points"));
  Copy1->setObjectName(QStringLiteral("Copy1"));

  CreateViewMenu();
  View1->addSeparator();
  QAction* showPoints = pointsDock_->toggleViewAction();
  showPoints->setText(QStringLiteral("Measured p&oints"));
  showPoints->setObjectName(QStringLiteral("ShowMeasuredPoints"));
  View1->addAction(showPoints);
  // The table first opens floating beside the window, so that the picture
  // keeps its design size; the user may dock it where it suits.
  connect(showPoints, &QAction::triggered, this, [this](bool shown) {
    if (!shown || pointsDockPlaced_) return;
    pointsDockPlaced_ = true;
    pointsDock_->setFloating(true);
    pointsDock_->move(frameGeometry().topRight());
  });
  View1->addAction(rotatedPointsDock_->ShowAction());
  View1->addAction(yearChart_->ShowAction());
  View1->addAction(sunspotDock_->ShowAction());
  connect(sunspotDock_, &SunspotDock::DetectRequested, this, [this] {
    if (!image_ || !lastRedraw_) return sunspotDock_->Detect(std::nullopt);
    sunspotDock_->Detect(SunspotScene{
        &image_->Image(), image_->ImageFrame(lastRedraw_->sun, PictureOrientation()),
        lastRedraw_->sun, lastRedraw_->instant, PictureOrientation(), image_->RotationDeg()});
  });

  Go1 = MainMenu1->addMenu(QStringLiteral("&Go"));
  Go1->setObjectName(QStringLiteral("Go1"));
  GoDateTime1 = Go1->addAction(QStringLiteral("&Date and time…"));
  GoDateTime1->setObjectName(QStringLiteral("GoDateTime1"));
  GoDateTime1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
  GoNow1 = Go1->addAction(QStringLiteral("&Now"));
  GoNow1->setObjectName(QStringLiteral("GoNow1"));
  GoNow1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
  rotationActions_ = new RotationActions(Go1, this);
  pointsDock_->setWindowTitle(rotationActions_->PointsTitle());
}

// The orientations as the observer's instrument shows the Sun; choosing one
// redraws at once and keeps the hour.
void TForm_Main::CreateViewMenu() {
  struct OrientationItem {
    Orientation orientation;
    const char* text;
  };
  static constexpr OrientationItem kItems[] = {
      {Orientation::Sky, "&Sky view (north up, east left)"},
      {Orientation::Mirror, "&Mirror view (north up, east right) — star diagonal"},
      {Orientation::Inverted, "&Inverted view (south up, east right) — telescope, projection"},
      {Orientation::InvertedMirror, "Inverted mi&rror view (south up, east left)"},
      {Orientation::SolarNorth, "Solar &north up"},
  };
  View1 = MainMenu1->addMenu(QStringLiteral("&View"));
  View1->setObjectName(QStringLiteral("View1"));
  orientationGroup_ = new QActionGroup(this);
  orientationGroup_->setExclusionPolicy(QActionGroup::ExclusionPolicy::Exclusive);
  for (const OrientationItem& item : kItems) {
    QAction* action = View1->addAction(QString::fromUtf8(item.text));
    action->setObjectName(
        QString::fromStdString("Orientation_" + OrientationName(item.orientation)));
    action->setCheckable(true);
    action->setChecked(item.orientation == Orientation::Sky);
    action->setData(static_cast<int>(item.orientation));
    orientationGroup_->addAction(action);
  }
}

void TForm_Main::CreateReadoutPanel() {
  Panel1 = CreatePanel(centralWidget(), "Panel1", QFrame::NoFrame);
  QPalette palette = Panel1->palette();
  palette.setColor(QPalette::Window, kReadoutPanelColor);
  Panel1->setPalette(palette);

  const QFont readoutFont =
      NarrowedToFit(FixedPitchFont(kReadoutFontPixels), QString::fromUtf8(kWidestReadoutCaption),
                    kReadoutColumnRoomPixels);
  for (std::size_t index = 0; index < kReadoutLabelPlaces.size(); ++index) {
    const ReadoutLabelPlace& place = kReadoutLabelPlaces[index];
    auto* label = new QLabel(QString::fromUtf8(kReadoutCaptions[index]), Panel1);
    label->setObjectName(QString::fromLatin1(place.Name));
    label->setFont(readoutFont);
    label->move(place.Left, place.Top);
    label->adjustSize();
    readoutLabels_[index] = label;
  }
  Label_JD = readoutLabels_[static_cast<std::size_t>(ReadoutLabel::JD)];
  Label_Datum = readoutLabels_[static_cast<std::size_t>(ReadoutLabel::Datum)];
  Label_Zeit = readoutLabels_[static_cast<std::size_t>(ReadoutLabel::Zeit)];
  Label_RAapp = readoutLabels_[static_cast<std::size_t>(ReadoutLabel::RAapp)];
  Label_DEapp = readoutLabels_[static_cast<std::size_t>(ReadoutLabel::DEapp)];
  Label_Distanz = readoutLabels_[static_cast<std::size_t>(ReadoutLabel::Distanz)];
  Label_Halbmesser = readoutLabels_[static_cast<std::size_t>(ReadoutLabel::Halbmesser)];
  Label_P = readoutLabels_[static_cast<std::size_t>(ReadoutLabel::P)];
  Label_B0 = readoutLabels_[static_cast<std::size_t>(ReadoutLabel::B0)];
  Label_L0 = readoutLabels_[static_cast<std::size_t>(ReadoutLabel::L0)];

  CheckBox_DiffRot = new QCheckBox(QStringLiteral("Differentielle Rotation"), Panel1);
  CheckBox_DiffRot->setObjectName(QStringLiteral("CheckBox_DiffRot"));
  CheckBox_DiffRot->setGeometry(kDiffRotCheckBoxGeometry);
  const int captionRoom =
      kDiffRotCheckBoxGeometry.width() -
      (CheckBox_DiffRot->sizeHint().width() -
       CheckBox_DiffRot->fontMetrics().horizontalAdvance(CheckBox_DiffRot->text()));
  CheckBox_DiffRot->setFont(
      NarrowedToFit(CheckBox_DiffRot->font(), CheckBox_DiffRot->text(), captionRoom));
  CheckBox_DiffRot->setChecked(true);
  CreatePointerReadout();
}

void TForm_Main::CreatePointerReadout() {
  const QFont font =
      NarrowedToFit(FixedPitchFont(kPointerReadoutFontPixels),
                    QString::fromUtf8(kWidestPointerText), kPointerReadoutRoomPixels);
  const auto createLabel = [this, &font](const QString& name, int line) {
    auto* label = new QLabel(Panel1);
    label->setObjectName(name);
    label->setFont(font);
    label->move(kPointerReadoutLeft, kPointerReadoutTop + line * kPointerReadoutLineSpacing);
    return label;
  };
  for (int line = 0; line < kPointerReadoutLines; ++line) {
    pointerLabels_[static_cast<std::size_t>(line)] =
        createLabel(QStringLiteral("Label_Pointer%1").arg(line + 1), line);
  }
  Label_Rotation = createLabel(QStringLiteral("Label_Rotation"), kPointerReadoutLines);
}

void TForm_Main::CreatePicturePanel() {
  // The raised 1-px bevel puts the panel's children at (1, 1).
  Panel2 = CreatePanel(centralWidget(), "Panel2", QFrame::Panel);

  ScrollBar1 = new QScrollBar(Qt::Horizontal, Panel2);
  ScrollBar1->setObjectName(QStringLiteral("ScrollBar1"));
  ScrollBar1->setRange(0, kLastHourPosition);
  ScrollBar1->setSingleStep(kArrowStepHours);
  ScrollBar1->setPageStep(kTroughStepHours);
  ScrollBar1->setValue(0);
  // Qt leaves scroll bars out of the focus chain; the hour is the window's
  // main control, reached by Tab and by a click like any other.
  ScrollBar1->setFocusPolicy(Qt::StrongFocus);

  Image1 = new PictureControl(Panel2);
  Image1->setObjectName(QStringLiteral("Image1"));
}

void TForm_Main::CreateAboutPanel() {
  Panel_About = CreatePanel(Panel2, "Panel_About", QFrame::Panel);
  Panel_About->setGeometry(kAboutPanelDesignGeometry);
  aboutAnchor_ = AnchorOf(kAboutPanelDesignGeometry,
                          QSize(kDesignClientWidth, kDesignClientHeight - kReadoutPanelHeight));

  Image2 = new QLabel(Panel_About);
  Image2->setObjectName(QStringLiteral("Image2"));
  Image2->setGeometry(kIconGeometry);
  Image2->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  Image2->setPixmap(QPixmap(QString::fromLatin1(kIconResource)));

  Label_helidisk = new QLabel(QStringLiteral("helidisk"), Panel_About);
  Label_helidisk->setObjectName(QStringLiteral("Label_helidisk"));
  Label_helidisk->setFont(SansSerifFont(kTitleFontPixels, true));
  Label_helidisk->move(kTitlePosition);
  Label_helidisk->adjustSize();

  StringGrid_VersionsInfo = new QTableWidget(kVersionGridRows, kVersionGridColumns, Panel_About);
  StringGrid_VersionsInfo->setObjectName(QStringLiteral("StringGrid_VersionsInfo"));
  StringGrid_VersionsInfo->setGeometry(kVersionGridGeometry);
  StringGrid_VersionsInfo->setFont(SansSerifFont(kDefaultFontPixels, true));
  StringGrid_VersionsInfo->horizontalHeader()->hide();
  StringGrid_VersionsInfo->verticalHeader()->hide();
  StringGrid_VersionsInfo->horizontalHeader()->setMinimumSectionSize(0);
  StringGrid_VersionsInfo->verticalHeader()->setMinimumSectionSize(0);
  StringGrid_VersionsInfo->horizontalHeader()->setDefaultSectionSize(kVersionGridColumnWidth);
  StringGrid_VersionsInfo->verticalHeader()->setDefaultSectionSize(kVersionGridRowHeight);
  StringGrid_VersionsInfo->setShowGrid(true);
  StringGrid_VersionsInfo->setWordWrap(false);
  StringGrid_VersionsInfo->setEditTriggers(QAbstractItemView::NoEditTriggers);
  StringGrid_VersionsInfo->setSelectionMode(QAbstractItemView::SingleSelection);
  StringGrid_VersionsInfo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  StringGrid_VersionsInfo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

  Button_About_OK = new QPushButton(QStringLiteral("OK"), Panel_About);
  Button_About_OK->setObjectName(QStringLiteral("Button_About_OK"));
  Button_About_OK->setGeometry(kOkButtonGeometry);
}

void TForm_Main::BindHandlers() {
  const auto bind = [this](void (TForm_Main::*handler)()) {
    return [this, handler] { RunHandler([this, handler] { (this->*handler)(); }); };
  };
  connect(ScrollBar1, &QScrollBar::valueChanged, this,
          bind(&TForm_Main::ScrollBar1PositionChanged));
  connect(ScrollBar1, &QScrollBar::actionTriggered, this, bind(&TForm_Main::ScrollBar1Scroll));
  connect(CheckBox_DiffRot, &QCheckBox::toggled, this, bind(&TForm_Main::CheckBox_DiffRotClick));
  connect(Exit1, &QAction::triggered, this, bind(&TForm_Main::Exit1Click));
  connect(yearChart_, &YearChartDock::HourChosen, ScrollBar1, &QScrollBar::setValue);
  connect(orientationGroup_, &QActionGroup::triggered, this, bind(&TForm_Main::ScrollBar1Change));
  connect(Image1, &PictureControl::PointerMoved, this, [this](QPointF imagePoint) {
    RunHandler([this, imagePoint] { Image1PointerMoved(imagePoint); });
  });
  connect(Image1, &PictureControl::PointerLeft, this, bind(&TForm_Main::Image1PointerLeft));
  connect(Image1, &PictureControl::Clicked, this, [this](QPointF imagePoint) {
    RunHandler([this, imagePoint] { Image1Clicked(imagePoint); });
  });
  connect(
      pointsDock_, &MeasuredPointsDock::DeleteRequested, this,
      [this](const std::vector<int>& rows) { RunHandler([this, &rows] { DeletePoints(rows); }); });
  connect(SavePoints1, &QAction::triggered, this,
          [this] { RunHandler([this] { SavePointsAskingWhere(); }); });
  connect(Copy1, &QAction::triggered, this, bind(&TForm_Main::CopyPointsClick));
  connect(GoDateTime1, &QAction::triggered, this, bind(&TForm_Main::GoDateTimeClick));
  connect(GoNow1, &QAction::triggered, this, bind(&TForm_Main::GoNowClick));
  connect(rotationActions_, &RotationActions::StepRequested, this,
          [this](double hours) { RunHandler([this, hours] { StepHoursClick(hours); }); });
  connect(rotationActions_, &RotationActions::ModelChosen, this,
          bind(&TForm_Main::RotationModelChosen));
  connect(OpenImage1, &QAction::triggered, this, bind(&TForm_Main::OpenImageClick));
  connect(CloseImage1, &QAction::triggered, this, bind(&TForm_Main::CloseImageClick));
  connect(SaveOverlaidImage1, &QAction::triggered, this, bind(&TForm_Main::SaveOverlaidImageClick));
  connect(Image1, &PictureControl::Pressed, this, [this](QPointF imagePoint) {
    RunHandler([this, imagePoint] { Image1Pressed(imagePoint); });
  });
  connect(Image1, &PictureControl::Released, this, bind(&TForm_Main::Image1Released));
  connect(imagePanel_, &ImagePanel::RotationEdited, this, [this](double degrees) {
    RunHandler([this, degrees] { ImageRotationEdited(degrees); });
  });
  connect(imagePanel_, &ImagePanel::OpacityEdited, this,
          [this](double opacity) { RunHandler([this, opacity] { ImageOpacityEdited(opacity); }); });
  connect(imagePanel_, &ImagePanel::ChangeTimeRequested, this, bind(&TForm_Main::GoDateTimeClick));
  connect(imagePanel_, &ImagePanel::SiteRequested, this, bind(&TForm_Main::ImageSiteClick));
  connect(ephemerisMenu_, &EphemerisMenu::Changed, this, [this](EphemerisChoice previous) {
    RunHandler([this, previous] { EphemerisChanged(previous); });
  });
  connect(about1, &QAction::triggered, this, bind(&TForm_Main::about1Click));
  connect(Button_About_OK, &QPushButton::clicked, this, bind(&TForm_Main::Button_About_OKClick));
}

bool TForm_Main::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate) RunHandler([this] { FormActivate(); });
  return QMainWindow::event(event);
}

void TForm_Main::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  RunHandler([this] { FormResize(); });
}

bool TForm_Main::eventFilter(QObject* watched, QEvent* event) {
  if (watched == centralWidget() && event->type() == QEvent::Resize) {
    AlignClientArea();
    // A dock taken in or out changes the picture without resizing the
    // window: the disk follows as on any resize.
    if (pictureSized_ &&
        DiskGeometryOfPicture(Image1->width(), Image1->height()) != diskGeometry_) {
      RunHandler([this] { FormResize(); });
    }
  }
  if (event->type() == QEvent::KeyPress && TakesHourKeys(watched) &&
      StepHourByKey(static_cast<const QKeyEvent&>(*event))) {
    return true;
  }
  if (keyPreview_ && IsKeyReleaseOnThisWindow(watched, event)) {
    const auto& keyEvent = static_cast<const QKeyEvent&>(*event);
    RunHandler([this, &keyEvent] { FormKeyUp(keyEvent); });
  }
  return QMainWindow::eventFilter(watched, event);
}

// A key event reaches the window's platform window before Qt hands it on to
// the focused control: seen there, it is seen once, whatever has the focus.
bool TForm_Main::IsKeyReleaseOnThisWindow(const QObject* watched, const QEvent* event) const {
  return event->type() == QEvent::KeyRelease && watched != nullptr && watched == windowHandle();
}

// The scroll bar's keys step the hour wherever the focus is, except in the
// About panel's controls, which use them themselves: the version grid moves
// its cell (and passes a key on to the window when the cell cannot move),
// the button moves the focus.  The check box, a button too, would move the
// focus with the arrows; it keeps only its space bar.  QScrollBar steps back
// on Right and forward on Left (its controls are inverted), so the scroll
// bar takes its keys from here as well.  Without a focused control the keys
// go to the window itself.
bool TForm_Main::TakesHourKeys(const QObject* watched) const {
  return watched == ScrollBar1 || watched == CheckBox_DiffRot ||
         (watched == this && QApplication::focusWidget() == nullptr);
}

// Each key is one action of the scroll bar: its change handler redraws once
// when the position moves.
bool TForm_Main::StepHourByKey(const QKeyEvent& event) {
  const auto* hourKey =
      std::find_if(kHourKeys.begin(), kHourKeys.end(),
                   [&event](const HourKey& candidate) { return candidate.Key == event.key(); });
  if (hourKey == kHourKeys.end()) return false;
  ScrollBar1->triggerAction(hourKey->Action);
  return true;
}

// The readout panel docked to the bottom, the picture panel filling the rest.
void TForm_Main::AlignClientArea() {
  const QSize client = centralWidget()->size();
  const int readoutTop = client.height() - kReadoutPanelHeight;
  Panel1->setGeometry(0, readoutTop, client.width(), kReadoutPanelHeight);
  Panel2->setGeometry(0, 0, client.width(), std::max(0, readoutTop));
  AlignPicturePanel();
}

// Inside the bevel: the scroll bar docked to the bottom, the picture control
// filling the rest, the About panel where its anchor puts it.
void TForm_Main::AlignPicturePanel() {
  const QRect inside = Panel2->contentsRect();
  const int width = std::max(0, inside.width());
  const int scrollBarTop = inside.top() + inside.height() - kScrollBarHeight;
  ScrollBar1->setGeometry(inside.left(), scrollBarTop, width, kScrollBarHeight);
  Image1->setGeometry(inside.left(), inside.top(), width, std::max(0, scrollBarTop - inside.top()));
  FollowAboutAnchor();
}

TForm_Main::Anchor TForm_Main::AnchorOf(const QRect& geometry, const QSize& parentSize) {
  return {QPoint(geometry.left() + geometry.width() / 2, geometry.top() + geometry.height() / 2),
          parentSize};
}

void TForm_Main::RememberAboutAnchor() {
  aboutAnchor_ = AnchorOf(Panel_About->geometry(), Panel2->size());
}

void TForm_Main::FollowAboutAnchor() {
  const QSize original = aboutAnchor_.ParentSize;
  if (original.width() <= 0 || original.height() <= 0) return;
  const QSize parent = Panel2->size();
  const auto scaled = [](int coordinate, int size, int originalSize) {
    return static_cast<int>(static_cast<std::int64_t>(coordinate) * size / originalSize);
  };
  const int left =
      scaled(aboutAnchor_.Centre.x(), parent.width(), original.width()) - Panel_About->width() / 2;
  const int top = scaled(aboutAnchor_.Centre.y(), parent.height(), original.height()) -
                  Panel_About->height() / 2;
  Panel_About->move(left, top);
}

Canvas& TForm_Main::ImageCanvas() { return Image1->Canvas(); }

DiskGeometry TForm_Main::PictureGeometry() const { return diskGeometry_; }

double TForm_Main::HourPosition() const {
  return exactHours_.value_or(static_cast<double>(ScrollBar1->value()));
}

bool TForm_Main::DiffRotChecked() const { return CheckBox_DiffRot->isChecked(); }

Orientation TForm_Main::PictureOrientation() const {
  return static_cast<Orientation>(orientationGroup_->checkedAction()->data().toInt());
}

void TForm_Main::SetReadoutCaption(ReadoutLabel label, const std::string& captionUtf8) {
  QLabel* readoutLabel = readoutLabels_.at(static_cast<std::size_t>(label));
  readoutLabel->setText(
      QString::fromUtf8(captionUtf8.data(), static_cast<qsizetype>(captionUtf8.size())));
  readoutLabel->adjustSize();
}

EphemerisChoice TForm_Main::ChosenEphemeris() const { return ephemerisMenu_->Choice(); }

std::int32_t TForm_Main::CurrentYear() const { return chosenYear_.value_or(yearSource_()); }

std::string TForm_Main::DecimalSeparator() const { return QLocale().decimalPoint().toStdString(); }

void TForm_Main::SetYearSource(YearSource source) { yearSource_ = std::move(source); }

void TForm_Main::SetUnsavedPointsPrompt(UnsavedPointsPrompt prompt) {
  unsavedPointsPrompt_ = std::move(prompt);
}

void TForm_Main::SetFileNamePrompt(FileNamePrompt prompt) { fileNamePrompt_ = std::move(prompt); }

void TForm_Main::SetSitePrompt(SitePrompt prompt) { sitePrompt_ = std::move(prompt); }

void TForm_Main::SetInstantPrompt(InstantPrompt prompt) { instantPrompt_ = std::move(prompt); }

void TForm_Main::ScrollBar1Change() {
  if (!pictureSized_) return;
  lastRedraw_ = Redraw(*this);
  ++redrawCount_;
  shownFrame_ = lastRedraw_->frame;
  if (image_) ShowOpenedImage();
  DrawMeasuredPointMarks();
  Label_Rotation->setText(QString::fromStdString(CarringtonRotationText(
      CarringtonRotationOf(lastRedraw_->sun.julianDay, lastRedraw_->sun.l0Rad))));
  Label_Rotation->adjustSize();
  // A pointer held still over the picture now points at another place.
  ShowPointerReadoutAtPointer();
  yearChart_->Follow(CurrentYear(), HourPosition());
  Image1->update();
}

// Moving the scroll bar returns from an exact instant to the whole hours of
// the year shown.
void TForm_Main::ScrollBar1PositionChanged() {
  exactHours_.reset();
  ScrollBar1Change();
}

// The window was designed to fill a screen of its time from the top edge:
// every activation puts it back there.
void TForm_Main::FormActivate() {
  move(x(), 0);
  ScrollBar1Change();
}

// Bound to the change of state, by mouse or keyboard, so that the picture
// never contradicts the check box; a click that changes nothing keeps the
// chosen hour.  Hour 0 is where the differentially rotating meridians have
// no shift yet.
void TForm_Main::CheckBox_DiffRotClick() {
  exactHours_.reset();
  ScrollBar1->setValue(0);
  ScrollBar1Change();
}

// The readout, the picture and everything measured on it follow the new
// theory at once; an instant it does not serve keeps the old one.
void TForm_Main::EphemerisChanged(const EphemerisChoice& previous) {
  if (lastRedraw_ && !ChoiceServes(ChosenEphemeris(), lastRedraw_->sun.julianDay)) {
    const double julianDay = lastRedraw_->sun.julianDay;
    ephemerisMenu_->Show(previous);
    ReportError(OutsidePreciseRangeReport(julianDay));
    return;
  }
  ScrollBar1Change();
}

// The new position is applied after this returns; handing the pending
// events to the loop first keeps the window painting during a thumb drag.
void TForm_Main::ScrollBar1Scroll() { ProcessPendingEvents(); }

void TForm_Main::FormCreate() {
  Panel_About->hide();
  // Qt paints every widget through the window's backing store: the window
  // and both panels are double-buffered without being asked.
  keyPreview_ = true;
  FillVersionGrid(*StringGrid_VersionsInfo);
  const QTableWidgetItem* fileVersion =
      StringGrid_VersionsInfo->item(kFileVersionRow, kValueColumn);
  setWindowTitle(QStringLiteral("helidisk   Version ") +
                 (fileVersion != nullptr ? fileVersion->text() : QString()));
}

void TForm_Main::FormKeyUp(const QKeyEvent& event) {
  if (event.key() != Qt::Key_Escape || event.isAutoRepeat()) return;
  if (!ConfirmDiscardingPoints()) return;
  ProcessPendingEvents();
  RequestTermination();
}

void TForm_Main::FormResize() {
  AlignClientArea();
  ProcessPendingEvents();
  diskGeometry_ = DiskGeometryOfPicture(Image1->width(), Image1->height());
  Image1->Canvas().SetWidth(ImageWidthOf(diskGeometry_));
  Image1->Canvas().SetHeight(ImageHeightOf(diskGeometry_));
  if (image_) image_->FitInto(Image1->Image().size());
  pictureSized_ = true;
  ScrollBar1Change();
}

void TForm_Main::Exit1Click() {
  if (!ConfirmDiscardingPoints()) return;
  ProcessPendingEvents();
  RequestTermination();
}

// Centred by the window's outer width, not by the picture panel's.
void TForm_Main::about1Click() {
  Panel_About->move(Panel_About->x(), kAboutPanelTop);
  Panel_About->move(CheckedSub(frameGeometry().width(), Panel_About->width()) / 2,
                    Panel_About->y());
  RememberAboutAnchor();
  Panel_About->show();
  Panel_About->raise();
}

void TForm_Main::Button_About_OKClick() { Panel_About->hide(); }

void TForm_Main::closeEvent(QCloseEvent* event) {
  bool mayClose = true;
  RunHandler([this, &mayClose] { mayClose = ConfirmDiscardingPoints(); });
  if (mayClose) {
    QMainWindow::closeEvent(event);
  } else {
    event->ignore();
  }
}

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
  if (draggedHandle_ != DiskHandle::None && image_) {
    const QPointF onImage = image_->ImagePointOf(imagePoint);
    if (draggedHandle_ == DiskHandle::Centre) {
      image_->MoveCentreTo(onImage);
    } else {
      image_->PutLimbThrough(onImage);
    }
    diskMovedByHand_ = true;
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
  MeasuredPoint point;
  point.instant = lastRedraw_->instant;
  point.julianDay = lastRedraw_->sun.julianDay;
  // On an image, the pixel of the image itself.
  const QPointF pixel = image_ ? image_->ImagePointOf(imagePoint) : imagePoint;
  point.xPx = pixel.x();
  point.yPx = pixel.y();
  point.located = Locate(*shownFrame_, imagePoint.x(), imagePoint.y());
  point.rotation = CarringtonRotationOf(point.julianDay, lastRedraw_->sun.l0Rad);
  points_.push_back(point);
  pointsSaved_ = false;
  pointsDock_->ShowPoints(points_);
  DrawMeasuredPointMarks();
  Image1->update();
}

// Each point where it now lies: a point on the disk where the chosen
// rotation law carries it by the instant shown (not at all while it is on
// the far side), a point on the sky at its position angle and distance.
void TForm_Main::DrawMeasuredPointMarks() {
  if (!shownFrame_ || !lastRedraw_) return;
  rotatedPointsDock_->Follow(points_, *shownFrame_, rotationActions_->ChosenModel(),
                             lastRedraw_->sun.julianDay, lastRedraw_->ephemeris);
  if (points_.empty()) return;
  const DiskFrame& frame = *shownFrame_;
  Canvas& canvas = Image1->Canvas();
  canvas.SetPenColor(kMarkColor);
  canvas.SetPenWidth(1);
  for (const MeasuredPoint& point : points_) {
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
  // From the last row up, so that the rows still to go keep their places.
  for (std::size_t index = rows.size(); index-- > 0;) {
    const int row = rows[index];
    if (row >= 0 && row < static_cast<int>(points_.size())) points_.erase(points_.begin() + row);
  }
  pointsSaved_ = points_.empty();
  pointsDock_->ShowPoints(points_);
  ScrollBar1Change();
}

void TForm_Main::CopyPointsClick() {
  QGuiApplication::clipboard()->setText(
      QString::fromStdString(MeasuredPointsTabSeparated(points_)));
}

bool TForm_Main::ConfirmDiscardingPoints() {
  if (points_.empty() || pointsSaved_) return true;
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
  if (!WriteOutputFile(QFile::encodeName(path).toStdString(), MeasuredPointsCsv(points_), reason)) {
    ReportError(QStringLiteral("Cannot save the measured points to '%1': %2")
                    .arg(path, QString::fromLocal8Bit(reason)));
    return false;
  }
  pointsSaved_ = true;
  return true;
}

UtcMinute TForm_Main::ShownInstant() const {
  if (!lastRedraw_) return {};
  const CalendarInstant& instant = lastRedraw_->instant;
  return {instant.year, instant.month, instant.day, static_cast<std::int32_t>(instant.hours),
          static_cast<std::int32_t>(instant.minutes)};
}

// The instant exactly, in its own year: the scroll bar stands on the whole
// hour at or before it without redrawing on its own.
void TForm_Main::ShowInstant(const UtcMinute& instant) {
  ShowHours(instant.year, HoursSinceNewYear(instant));
}

void TForm_Main::ShowHours(std::int32_t year, double hours) {
  const double julianDay = JulianDayOfHourPosition(year, hours);
  if (!ChoiceServes(ChosenEphemeris(), julianDay)) {
    ReportError(OutsidePreciseRangeReport(julianDay));
    return;
  }
  const double distanceAu = ComputeSun(julianDay).distanceAu;
  if (!PlausibleSunDistance(distanceAu)) {
    ReportError(QStringLiteral("The solar theory fails for the year %1: it puts the Sun %2 AU "
                               "from the Earth.")
                    .arg(year)
                    .arg(distanceAu));
    return;
  }
  chosenYear_ = year;
  exactHours_ = hours;
  {
    const QSignalBlocker quiet(ScrollBar1);
    ScrollBar1->setValue(static_cast<int>(
        std::clamp(std::floor(hours), 0.0, static_cast<double>(kLastHourPosition))));
  }
  ScrollBar1Change();
}

void TForm_Main::GoDateTimeClick() {
  const std::optional<UtcMinute> instant = instantPrompt_(ShownInstant());
  if (instant) ShowInstant(*instant);
}

// From the instant shown, into the next or the last year where the step
// leads there.
void TForm_Main::StepHoursClick(double hours) {
  const YearHours stepped = SteppedYearHours({CurrentYear(), HourPosition()}, hours);
  ShowHours(stepped.year, stepped.hours);
}

void TForm_Main::RotationModelChosen() {
  pointsDock_->setWindowTitle(rotationActions_->PointsTitle());
  ScrollBar1Change();
}

void TForm_Main::GoNowClick() {
  const QDateTime now = QDateTime::currentDateTimeUtc();
  ShowInstant({now.date().year(), now.date().month(), now.date().day(), now.time().hour(),
               now.time().minute()});
}

TForm_Main::~TForm_Main() = default;

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
  image_ = std::move(opened);
  diskMovedByHand_ = false;
  if (const std::optional<ImageView> view = image_->HeaderView()) {
    for (QAction* action : orientationGroup_->actions()) {
      action->setChecked(static_cast<Orientation>(action->data().toInt()) == view->orientation);
    }
  }
  image_->FitInto(Image1->Image().size());
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
  image_.reset();
  imagePanel_->hide();
  CloseImage1->setEnabled(false);
  SaveOverlaidImage1->setEnabled(false);
  ScrollBar1Change();
}

// The picture becomes the image fitted into it with the grid of the instant
// over it; the measuring follows the image's disk.
void TForm_Main::ShowOpenedImage() {
  const DiskFrame frame = image_->ShownFrame(lastRedraw_->sun, PictureOrientation());
  Image1->Canvas().Adopt(image_->ShownPicture(frame, DiffRotChecked(), HourPosition()));
  shownFrame_ = frame;
  DrawCompass(Image1->Canvas(), frame);
  DrawDiskHandles();
  const CalendarInstant& instant = lastRedraw_->instant;
  imagePanel_->ShowImage(*image_,
                         QStringLiteral("%1-%2-%3 %4:%5")
                             .arg(instant.year)
                             .arg(instant.month, 2, 10, QLatin1Char('0'))
                             .arg(instant.day, 2, 10, QLatin1Char('0'))
                             .arg(static_cast<int>(instant.hours), 2, 10, QLatin1Char('0'))
                             .arg(static_cast<int>(instant.minutes), 2, 10, QLatin1Char('0')),
                         diskMovedByHand_);
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
  if (!image_ || !shownFrame_) return false;
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
  if (!image_) return;
  image_->SetRotationDeg(degrees);
  ScrollBar1Change();
}

void TForm_Main::ImageOpacityEdited(double opacity) {
  if (!image_) return;
  image_->SetOpacity(opacity);
  ScrollBar1Change();
}

// The camera angle of an alt-azimuth mount at the site, with the zenith up.
void TForm_Main::ImageSiteClick() {
  if (!image_ || !lastRedraw_) return;
  const std::optional<Site> site = sitePrompt_();
  if (!site) return;
  image_->SetRotationDeg(ZenithUpRotationDeg(PictureOrientation(), lastRedraw_->sun,
                                             site->latitudeDeg, site->longitudeDeg));
  ScrollBar1Change();
}

// At the image's full size, the grid at the opacity chosen; PNG or JPEG by
// the name's extension.  A failure says why and leaves the file as it was.
void TForm_Main::SaveOverlaidImageClick() {
  if (!image_ || !lastRedraw_) return;
  const QString path = fileNamePrompt_(FileRole::SaveOverlaidImage);
  if (path.isEmpty()) return;
  const auto failure = [&path](const QString& reason) {
    ReportError(QStringLiteral("Cannot save the overlaid image to '%1': %2").arg(path, reason));
  };
  const std::optional<PictureFormat> format = OverlayFormatOf(path);
  if (!format) return failure(QStringLiteral("the name must end in .png, .jpg or .jpeg"));
  const QImage picture = OverlaidImage(image_->Image().display,
                                       image_->ImageFrame(lastRedraw_->sun, PictureOrientation()),
                                       DiffRotChecked(), HourPosition(), image_->Opacity());
  QByteArray bytes;
  try {
    bytes = EncodeRaster(picture, *format);
  } catch (const PictureError& error) {
    return failure(QString::fromUtf8(error.what()));
  }
  std::string reason;
  if (!WriteOutputFile(QFile::encodeName(path).toStdString(), BytesOf(bytes), reason)) {
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
