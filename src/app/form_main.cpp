#include "form_main.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDate>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QFrame>
#include <QHeaderView>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QTableWidget>
#include <QWindow>
#include <algorithm>
#include <utility>

#include "application.h"
#include "checked.h"
#include "diskgeometry.h"
#include "picturecontrol.h"
#include "redraw.h"
#include "versioninfo.h"

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

// Whole hours from 1 January, 0 h UT: 364 days at most.
constexpr int kLastHourPosition = 8736;
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
  const char* DesignCaption;
};

// Three columns; the first redraw replaces the captions.
constexpr std::array<ReadoutLabelPlace, kReadoutLabelCount> kReadoutLabelPlaces = {{
    {"Label_JD", 16, 53, "Julian.Tag: "},
    {"Label_Datum", 16, 5, "Datum     :  "},
    {"Label_Zeit", 16, 29, "Zeit UT   : "},
    {"Label_RAapp", 272, 5, "RAapp     :"},
    {"Label_DEapp", 272, 29, "DEapp     :"},
    {"Label_Distanz", 272, 53, "Distanz   : "},
    {"Label_Halbmesser", 272, 77, "Halbmesser: "},
    {"Label_P", 528, 5, "Pos.winkel (N):"},
    {"Label_B0", 528, 29, "Heliogr.Breite:"},
    {"Label_L0", 528, 53, "Heliogr.Länge :"},
}};

// The longest readout caption, and the room a column leaves it before the
// next column begins.
const char* const kWidestReadoutCaption = "Heliogr.Länge : 359.99°";
constexpr int kReadoutColumnRoomPixels = 240;

const QRect kDiffRotCheckBoxGeometry(528, 80, 153, 17);

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

  CreateMenu();
  CreateReadoutPanel();
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
  Exit1 = File1->addAction(QStringLiteral("E&xit"));
  Exit1->setObjectName(QStringLiteral("Exit1"));
  Help1 = MainMenu1->addMenu(QStringLiteral("&Help"));
  Help1->setObjectName(QStringLiteral("Help1"));
  about1 = Help1->addAction(QStringLiteral("&About"));
  about1->setObjectName(QStringLiteral("about1"));
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
    auto* label = new QLabel(QString::fromUtf8(place.DesignCaption), Panel1);
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
  connect(ScrollBar1, &QScrollBar::valueChanged, this, bind(&TForm_Main::ScrollBar1Change));
  connect(ScrollBar1, &QScrollBar::actionTriggered, this, bind(&TForm_Main::ScrollBar1Scroll));
  connect(CheckBox_DiffRot, &QCheckBox::toggled, this, bind(&TForm_Main::CheckBox_DiffRotClick));
  connect(Exit1, &QAction::triggered, this, bind(&TForm_Main::Exit1Click));
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
  if (watched == centralWidget() && event->type() == QEvent::Resize) AlignClientArea();
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

double TForm_Main::HourPosition() const { return ScrollBar1->value(); }

bool TForm_Main::DiffRotChecked() const { return CheckBox_DiffRot->isChecked(); }

void TForm_Main::SetReadoutCaption(ReadoutLabel label, const std::string& captionUtf8) {
  QLabel* readoutLabel = readoutLabels_.at(static_cast<std::size_t>(label));
  readoutLabel->setText(
      QString::fromUtf8(captionUtf8.data(), static_cast<qsizetype>(captionUtf8.size())));
  readoutLabel->adjustSize();
}

std::int32_t TForm_Main::CurrentYear() const { return yearSource_(); }

std::string TForm_Main::DecimalSeparator() const { return QLocale().decimalPoint().toStdString(); }

void TForm_Main::SetYearSource(YearSource source) { yearSource_ = std::move(source); }

void TForm_Main::ScrollBar1Change() {
  if (!pictureSized_) return;
  Redraw(*this);
  Image1->update();
}

void TForm_Main::FormActivate() {
  move(x(), 0);
  ScrollBar1Change();
}

// Bound to the change of state, by mouse or keyboard, so that the picture
// never contradicts the check box; a click that changes nothing keeps the
// chosen hour.  Hour 0 is where the differentially rotating meridians have
// no shift yet.
void TForm_Main::CheckBox_DiffRotClick() {
  ScrollBar1->setValue(0);
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
  ProcessPendingEvents();
  RequestTermination();
}

void TForm_Main::FormResize() {
  AlignClientArea();
  ProcessPendingEvents();
  const DiskGeometry geometry = DiskGeometryOfPicture(Image1->width(), Image1->height());
  SetDiskGeometry(geometry);
  Image1->Canvas().SetWidth(ImageWidthOf(geometry));
  Image1->Canvas().SetHeight(ImageHeightOf(geometry));
  pictureSized_ = true;
  ScrollBar1Change();
}

void TForm_Main::Exit1Click() {
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

}  // namespace helidisk
