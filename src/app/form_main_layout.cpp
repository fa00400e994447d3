// Where the window's controls sit: the readout panel with its labels, the
// picture panel with the scroll bar and the picture, the About panel, and
// how they follow the window's size.
#include <QCheckBox>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QFrame>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QMenuBar>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QTableWidget>
#include <algorithm>
#include <cstdint>

#include "checked.h"
#include "form_main.h"
#include "picturecontrol.h"

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

// The readout of the point under the pointer, in the free space right of
// the three readout columns: four lines and the rotation number below them.
constexpr int kPointerReadoutLeft = 776;
constexpr int kPointerReadoutTop = 4;
constexpr int kPointerReadoutLineSpacing = 20;
constexpr int kPointerReadoutFontPixels = 16;
constexpr int kPointerReadoutRoomPixels = 222;
const char* const kWidestPointerText = "ZM-Abstand: W 179.99°";

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

void TForm_Main::ApplyDesignLook() {
  QIcon icon;
  icon.addFile(QString::fromLatin1(kIconResource));
  icon.addFile(QString::fromLatin1(kLargeIconResource));
  setWindowIcon(icon);
  setFont(SansSerifFont(kDefaultFontPixels));
}

// The client area at its design size below the menu, centred on the screen.
void TForm_Main::PlaceAtDesignSize() {
  const int menuHeight = MainMenu1->isNativeMenuBar() ? 0 : MainMenu1->sizeHint().height();
  const QSize designSize(kDesignClientWidth, kDesignClientHeight + menuHeight);
  setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, designSize,
                                  screen()->availableGeometry()));
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
  // Shown once there are marks on the picture.
  marksLegend_ = new QLabel(Image1);
  marksLegend_->setObjectName(QStringLiteral("MarksLegend"));
  marksLegend_->setTextFormat(Qt::RichText);
  marksLegend_->setStyleSheet(
      QStringLiteral("background: rgba(0, 0, 0, 160); color: white; padding: 2px;"));
  marksLegend_->hide();
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
