// The window's construction, its menus and the bindings of its handlers,
// the events it sees first, and what it tells the redraw.
#include "form_main.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDate>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <utility>

#include "alignimagesaction.h"
#include "application.h"
#include "ephemerismenu.h"
#include "imagepanel.h"
#include "instantdialog.h"
#include "measuredpointsdock.h"
#include "pictureactions.h"
#include "picturecontrol.h"
#include "pictureformat.h"
#include "rotatedpointsdock.h"
#include "rotationactions.h"
#include "sunspotdock.h"
#include "versioninfo.h"
#include "yearchart.h"

namespace helidisk {
namespace {

// Which ephemeris the readout shows, below the first column.
const QPoint kEphemerisIndicatorPlace(16, 82);

const char* const kImageFileFilter =
    "Solar images (*.png *.jpg *.jpeg *.tif *.tiff *.fits *.fit *.fts *.fits.gz *.fit.gz "
    "*.fts.gz *.fz);;All files (*)";

// The version grid's row of the file version, and its column of values.
constexpr int kFileVersionRow = 3;
constexpr int kValueColumn = 1;

}  // namespace

TForm_Main::TForm_Main() : yearSource_([] { return QDate::currentDate().year(); }) {
  setObjectName(QStringLiteral("Form_Main"));
  setWindowTitle(QStringLiteral("helidisk"));
  ApplyDesignLook();
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
      case FileRole::SaveOverlaidImage: {
        QStringList filters;
        for (const PictureFormatInfo* info : FormatsHolding(PictureKind::ImageOverlay)) {
          filters << QString::fromUtf8(info->dialogFilter);
        }
        return QFileDialog::getSaveFileName(this, QStringLiteral("Save overlaid image"), QString(),
                                            filters.join(QStringLiteral(";;")));
      }
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

  PlaceAtDesignSize();
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
  connect(sunspotDock_, &SunspotDock::ObservationShown, this,
          [this] { RunHandler([this] { ScrollBar1Change(); }); });
  connect(sunspotDock_, &SunspotDock::DetectRequested, this, [this] {
    if (!session_.image || !lastRedraw_) return sunspotDock_->Detect(std::nullopt);
    sunspotDock_->Detect(SunspotScene{
        &session_.image->Image(),
        session_.image->ImageFrame(lastRedraw_->sun, PictureOrientation()), lastRedraw_->sun,
        lastRedraw_->instant, PictureOrientation(), session_.image->RotationDeg()});
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

Canvas& TForm_Main::ImageCanvas() { return Image1->Canvas(); }

DiskGeometry TForm_Main::PictureGeometry() const { return diskGeometry_; }

double TForm_Main::HourPosition() const {
  return session_.instant.exactHours.value_or(static_cast<double>(ScrollBar1->value()));
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

std::int32_t TForm_Main::CurrentYear() const {
  return session_.instant.year.value_or(yearSource_());
}

std::string TForm_Main::DecimalSeparator() const { return QLocale().decimalPoint().toStdString(); }

void TForm_Main::SetYearSource(YearSource source) { yearSource_ = std::move(source); }

void TForm_Main::SetUnsavedPointsPrompt(UnsavedPointsPrompt prompt) {
  unsavedPointsPrompt_ = std::move(prompt);
}

void TForm_Main::SetFileNamePrompt(FileNamePrompt prompt) { fileNamePrompt_ = std::move(prompt); }

void TForm_Main::SetSitePrompt(SitePrompt prompt) { sitePrompt_ = std::move(prompt); }

void TForm_Main::SetInstantPrompt(InstantPrompt prompt) { instantPrompt_ = std::move(prompt); }

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
  if (session_.image) session_.image->FitInto(Image1->Image().size());
  pictureSized_ = true;
  ScrollBar1Change();
}

void TForm_Main::Exit1Click() {
  if (!ConfirmDiscardingPoints()) return;
  ProcessPendingEvents();
  RequestTermination();
}

void TForm_Main::closeEvent(QCloseEvent* event) {
  bool mayClose = true;
  RunHandler([this, &mayClose] { mayClose = ConfirmDiscardingPoints(); });
  if (mayClose) {
    QMainWindow::closeEvent(event);
  } else {
    event->ignore();
  }
}

TForm_Main::~TForm_Main() = default;

}  // namespace helidisk
