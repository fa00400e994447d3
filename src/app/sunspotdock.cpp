#include "sunspotdock.h"

#include <QAction>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <set>

#include "ephemerisrecord.h"
#include "outputfile.h"
#include "spotedit.h"
#include "spotimage.h"
#include "spotreport.h"
#include "trigfunc.h"

namespace helidisk {

namespace {

const QStringList kSpotHeaders = {"Group", "Lat °",    "Carr. lon °", "CMD °",
                                  "μ",     "Area MSH", "Umbra MSH",   "Counted"};
const QStringList kGroupHeaders = {"Group",    "Hem.",   "Lat °",    "Carr. lon °",
                                   "Extent °", "Spots",  "Area MSH", "Zurich",
                                   "McIntosh", "Region", "Proposed"};
// The group table's columns the observer types into: the classes (empty
// for the proposal, which the last column shows) and the region number.
constexpr int kZurichColumn = 7;
constexpr int kMcIntoshColumn = 8;
constexpr int kRegionColumn = 9;

QTableWidget* NewTable(const QStringList& headers, QWidget* parent) {
  auto* table = new QTableWidget(0, static_cast<int>(headers.size()), parent);
  table->setHorizontalHeaderLabels(headers);
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  table->verticalHeader()->setVisible(true);
  return table;
}

void SetRow(QTableWidget* table, int row, const QStringList& texts) {
  for (int column = 0; column < texts.size(); ++column) {
    table->setItem(row, column, new QTableWidgetItem(texts[column]));
  }
}

QString Fixed(double value, int decimals) { return QString::number(value, 'f', decimals); }

// What stands at the path: nothing, or its bytes.  A file that is there
// but cannot be read raises SpotError, so that it is not taken for a new
// one and replaced.
std::optional<std::string> ReadWholeFile(const QString& path) {
  QFile file(path);
  if (!file.exists()) return std::nullopt;
  if (!file.open(QIODevice::ReadOnly)) throw SpotError("it cannot be read");
  return file.readAll().toStdString();
}

// "x, y, area" or "x, y, area, pore" in the image's pixels and MSH; the
// pixel clicked, if any, stands in the field already.
std::optional<SunspotDock::AddedSpot> AskForSpot(QWidget* parent,
                                                 const std::optional<QPointF>& pixel) {
  bool given = false;
  const QPointF at = pixel.value_or(QPointF());
  const QString text = QInputDialog::getText(
      parent, QStringLiteral("Add spot"),
      QStringLiteral(
          "Pixel x, y of the image, area in MSH, and \"pore\" for a spot without umbra:"),
      QLineEdit::Normal, QStringLiteral("%1, %2, 10").arg(at.x(), 0, 'f', 1).arg(at.y(), 0, 'f', 1),
      &given);
  if (!given) return std::nullopt;
  const QStringList parts = text.split(QLatin1Char(','), Qt::SkipEmptyParts);
  if (parts.size() < 3 || parts.size() > 4) return std::nullopt;
  SunspotDock::AddedSpot spot;
  bool xOk = false;
  bool yOk = false;
  bool areaOk = false;
  spot.xPx = parts[0].trimmed().toDouble(&xOk);
  spot.yPx = parts[1].trimmed().toDouble(&yOk);
  spot.areaMsh = parts[2].trimmed().toDouble(&areaOk);
  spot.pore = parts.size() == 4 && parts[3].trimmed() == QStringLiteral("pore");
  if (!xOk || !yOk || !areaOk || !(spot.areaMsh >= 0)) return std::nullopt;
  return spot;
}

QPushButton* Button(const QString& text, QWidget* parent) { return new QPushButton(text, parent); }

// An observation belongs to the image it was made on: its spots' pixels
// and areas mean nothing on another one.  The image at the recorded path
// must still be there with the recorded SHA-256; otherwise the observation
// is refused rather than shown over a different picture.
void RequireItsOwnImage(const SunspotObservation& observation) {
  const QString image = QString::fromStdString(observation.imagePath);
  if (!QFileInfo::exists(image)) {
    throw SpotError("its image " + observation.imagePath +
                    " is not there, so it cannot be checked against the recorded checksum");
  }
  if (FileSha256(image) != observation.imageSha256) {
    throw SpotError("the image " + observation.imagePath +
                    " is not the one it was made on (its SHA-256 differs from the recorded one)");
  }
}

}  // namespace

SunspotDock::SunspotDock(QMainWindow* window)
    : QDockWidget(QStringLiteral("Sunspots"), window),
      spotTable_(NewTable(kSpotHeaders, this)),
      groupTable_(NewTable(kGroupHeaders, this)),
      counts_(
          new QLabel(QStringLiteral("No detection yet: open an image and press Detect."), this)),
      k_(new QDoubleSpinBox(this)),
      observer_(new QLineEdit(this)),
      addOnClick_(new QPushButton(QStringLiteral("Add on &click"), this)) {
  setObjectName(QStringLiteral("SunspotDock"));
  k_->setRange(0.01, 10);
  k_->setDecimals(3);
  k_->setSingleStep(0.05);
  k_->setValue(1);
  k_->setPrefix(QStringLiteral("k = "));
  observer_->setPlaceholderText(QStringLiteral("observer code"));
  observer_->setMaxLength(16);
  counts_->setWordWrap(true);
  saveChooser_ = [this](const QString& title, const QString& filter) {
    return QFileDialog::getSaveFileName(this, title, QString(), filter);
  };
  openChooser_ = [this](const QString& title, const QString& filter) {
    return QFileDialog::getOpenFileName(this, title, QString(), filter);
  };
  spotAsker_ = [this](const std::optional<QPointF>& pixel) { return AskForSpot(this, pixel); };
  warner_ = [this](const QString& text) {
    QMessageBox::warning(this, QStringLiteral("Sunspots"), text);
  };

  auto* body = new QWidget(this);
  auto* layout = new QVBoxLayout(body);
  auto* actions = new QHBoxLayout;
  QPushButton* detect = Button(QStringLiteral("&Detect"), body);
  QPushButton* remove = Button(QStringLiteral("&Remove"), body);
  QPushButton* merge = Button(QStringLiteral("&Merge groups"), body);
  QPushButton* split = Button(QStringLiteral("&Split off"), body);
  QPushButton* add = Button(QStringLiteral("&Add…"), body);
  addOnClick_->setCheckable(true);
  addOnClick_->setToolTip(QStringLiteral("The next click on the image adds a spot there"));
  for (QPushButton* button : {detect, remove, merge, split, add, addOnClick_}) {
    actions->addWidget(button);
  }
  auto* files = new QHBoxLayout;
  QPushButton* save = Button(QStringLiteral("Save observation…"), body);
  QPushButton* open = Button(QStringLiteral("Open observation…"), body);
  QPushButton* exportSpots = Button(QStringLiteral("Export spots…"), body);
  QPushButton* month = Button(QStringLiteral("Add to month file…"), body);
  for (QPushButton* button : {save, open, exportSpots, month}) files->addWidget(button);
  auto* observer = new QHBoxLayout;
  observer->addWidget(k_);
  observer->addWidget(observer_);
  layout->addLayout(actions);
  layout->addWidget(spotTable_, 3);
  layout->addWidget(groupTable_, 2);
  layout->addWidget(counts_);
  layout->addLayout(observer);
  layout->addLayout(files);
  setWidget(body);

  connect(detect, &QPushButton::clicked, this, &SunspotDock::DetectRequested);
  connect(remove, &QPushButton::clicked, this, &SunspotDock::RemoveSelected);
  connect(merge, &QPushButton::clicked, this, &SunspotDock::MergeSelected);
  connect(split, &QPushButton::clicked, this, &SunspotDock::SplitSelected);
  connect(add, &QPushButton::clicked, this, [this] { AddSpot(); });
  connect(save, &QPushButton::clicked, this, &SunspotDock::SaveObservation);
  connect(open, &QPushButton::clicked, this, &SunspotDock::OpenObservation);
  connect(exportSpots, &QPushButton::clicked, this, &SunspotDock::ExportSpots);
  connect(month, &QPushButton::clicked, this, &SunspotDock::AddToMonthFile);
  connect(k_, &QDoubleSpinBox::valueChanged, this, [this](double k) {
    observation_.counts = CountSunspots(observation_.groups, k);
    ShowObservation();
  });
  groupTable_->setEditTriggers(QAbstractItemView::DoubleClicked |
                               QAbstractItemView::EditKeyPressed);
  connect(groupTable_, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
    switch (item->column()) {
      case kZurichColumn:
        SetZurichOfRow(item->row(), item->text());
        break;
      case kMcIntoshColumn:
        SetMcIntoshOfRow(item->row(), item->text());
        break;
      case kRegionColumn:
        SetRegionOfRow(item->row(), item->text());
        break;
      default:
        break;
    }
  });
  connect(observer_, &QLineEdit::textChanged, this,
          [this](const QString& code) { observation_.observerCode = code.toStdString(); });
}

QAction* SunspotDock::ShowAction() const {
  QAction* action = toggleViewAction();
  action->setText(QStringLiteral("&Sunspots"));
  action->setObjectName(QStringLiteral("ShowSunspots"));
  return action;
}

void SunspotDock::Detect(const std::optional<SunspotScene>& scene) {
  if (!scene || scene->image == nullptr) {
    Warn(QStringLiteral("Open an observer's white-light image first (File → Open image…)."));
    return;
  }
  SunspotObservation observation;
  try {
    const QImage grey = BrightestChannel(scene->image->display);
    observation.spots = DetectSpots(GreyViewOf(grey), scene->frame, observation.detection).spots;
  } catch (const std::exception& error) {
    Warn(QString::fromUtf8(error.what()));
    return;
  }
  observation.groups = GroupSpots(observation.spots, observation.linkDistanceDeg);
  observation.counts = CountSunspots(observation.groups, k_->value());
  observation.imagePath = QFileInfo(scene->image->path).absoluteFilePath().toStdString();
  observation.imageSha256 = FileSha256(scene->image->path);
  observation.imageWidthPx = scene->image->display.width();
  observation.imageHeightPx = scene->image->display.height();
  observation.utc = UtcMinuteText(scene->instant);
  observation.julianDay = scene->sun.julianDay;
  observation.disk = {scene->frame.centreXPx,
                      scene->frame.centreYPx,
                      scene->frame.radiusPx,
                      scene->sun.pRad * RadToDeg,
                      scene->sun.b0Rad * RadToDeg,
                      scene->sun.l0Rad * RadToDeg,
                      OrientationName(scene->orientation),
                      scene->rotationDeg};
  observation.observerCode = observer_->text().toStdString();
  observation_ = observation;
  hasObservation_ = true;
  frame_ = scene->frame;
  ShowObservation();
}

bool SunspotDock::AddsOnClick() const { return addOnClick_->isChecked(); }

void SunspotDock::AddSpotAtClick(QPointF pixel) {
  addOnClick_->setChecked(false);
  AddSpot(pixel);
}

void SunspotDock::AddSpot(const std::optional<QPointF>& pixel) {
  if (!frame_) {
    Warn(QStringLiteral("Spots are added on the disk of a detection: press Detect first."));
    return;
  }
  const std::optional<AddedSpot> added = spotAsker_(pixel);
  if (!added) return;
  if (!Locate(*frame_, added->xPx, added->yPx).onDisk) {
    Warn(QStringLiteral("The pixel %1, %2 lies off the disk.").arg(added->xPx).arg(added->yPx));
    return;
  }
  TakeGroups(AddSpotAt(observation_.spots, *frame_, added->xPx, added->yPx, added->areaMsh,
                       added->pore, observation_.linkDistanceDeg));
}

QString SunspotDock::CountsText() const {
  const SunspotCounts& c = observation_.counts;
  return QStringLiteral("g %1  f %2  R %3  kR %4   north: g %5 f %6 R %7   south: g %8 f %9 R %10")
      .arg(c.whole.g)
      .arg(c.whole.f)
      .arg(c.whole.R())
      .arg(Fixed(c.ScaledR(), 1))
      .arg(c.north.g)
      .arg(c.north.f)
      .arg(c.north.R())
      .arg(c.south.g)
      .arg(c.south.f)
      .arg(c.south.R());
}

void SunspotDock::SetK(double k) { k_->setValue(k); }

void SunspotDock::ShowObservation() {
  const std::vector<DetectedSpot>& spots = observation_.spots;
  spotTable_->setRowCount(static_cast<int>(spots.size()));
  for (std::size_t i = 0; i < spots.size(); ++i) {
    const DetectedSpot& spot = spots[i];
    SetRow(
        spotTable_, static_cast<int>(i),
        {QString::number(spot.group), Fixed(spot.place.latitudeDeg, 1),
         Fixed(spot.place.longitudeDeg, 1), Fixed(spot.place.cmDistanceDeg, 1),
         Fixed(spot.place.mu, 2), Fixed(spot.areaMsh, 0), Fixed(spot.umbraAreaMsh, 0),
         QString::number(spot.CountedSpots()) + (spot.partial ? QStringLiteral(" (limb)") : "")});
  }
  const std::vector<SpotGroup>& groups = observation_.groups;
  const QSignalBlocker quiet(groupTable_);
  groupTable_->setRowCount(static_cast<int>(groups.size()));
  for (std::size_t i = 0; i < groups.size(); ++i) {
    const SpotGroup& group = groups[i];
    SetRow(groupTable_, static_cast<int>(i),
           {QString::number(group.number),
            group.hemisphere == Hemisphere::North ? QStringLiteral("N") : QStringLiteral("S"),
            Fixed(group.latitudeDeg, 1), Fixed(group.longitudeDeg, 1),
            Fixed(group.longitudeExtentDeg, 1), QString::number(group.countedSpots),
            Fixed(group.areaMsh, 0), QString(QChar::fromLatin1(group.zurichClass)),
            QString::fromStdString(group.mcIntoshClass),
            group.region > 0 ? QString::number(group.region) : QString(),
            QStringLiteral("%1 %2").arg(QChar::fromLatin1(group.zurichProposal),
                                        QString::fromStdString(group.mcIntoshProposal))});
    for (const int column : {kZurichColumn, kMcIntoshColumn, kRegionColumn}) {
      groupTable_->item(static_cast<int>(i), column)
          ->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable);
    }
    // The observer's own classes stand out from the proposals.
    for (const auto& [column, chosen] : {std::pair{kZurichColumn, group.zurichChosen},
                                         std::pair{kMcIntoshColumn, group.mcIntoshChosen}}) {
      QTableWidgetItem* item = groupTable_->item(static_cast<int>(i), column);
      QFont font = item->font();
      font.setBold(chosen);
      item->setFont(font);
    }
  }
  spotTable_->resizeColumnsToContents();
  groupTable_->resizeColumnsToContents();
  counts_->setText(hasObservation_ ? CountsText() : QString());
  emit ObservationShown();
}

void SunspotDock::TakeGroups(const std::vector<SpotGroup>& groups) {
  observation_.groups = groups;
  observation_.counts = CountSunspots(groups, k_->value());
  ShowObservation();
}

std::vector<int> SunspotDock::SelectedSpots() const {
  std::set<int> rows;
  for (const QModelIndex& index : spotTable_->selectionModel()->selectedRows()) {
    rows.insert(index.row());
  }
  return {rows.begin(), rows.end()};
}

void SunspotDock::RemoveSelected() { TakeGroups(RemoveSpots(observation_.spots, SelectedSpots())); }

void SunspotDock::MergeSelected() {
  TakeGroups(MergeGroupsOf(observation_.spots, SelectedSpots()));
}

void SunspotDock::SplitSelected() {
  TakeGroups(SplitIntoNewGroup(observation_.spots, SelectedSpots()));
}

const SpotGroup* SunspotDock::GroupInRow(int row) const {
  if (row < 0 || static_cast<std::size_t>(row) >= observation_.groups.size()) return nullptr;
  return &observation_.groups[static_cast<std::size_t>(row)];
}

void SunspotDock::SetRegionOfRow(int row, const QString& text) {
  const SpotGroup* group = GroupInRow(row);
  if (group == nullptr) return;
  bool number = false;
  const int region = text.trimmed().isEmpty() ? 0 : text.trimmed().toInt(&number);
  if (!text.trimmed().isEmpty() && (!number || region <= 0)) {
    Warn(QStringLiteral("A region number is a whole number above 0, such as 13664."));
    ShowObservation();
    return;
  }
  TakeGroups(SetRegionNumber(observation_.spots, group->number, region));
}

void SunspotDock::SetZurichOfRow(int row, const QString& text) {
  const SpotGroup* group = GroupInRow(row);
  if (group == nullptr) return;
  const QString typed = text.trimmed().toUpper();
  // More than one letter is no class: '?' has SetGroupClasses refuse it.
  const char zurich =
      typed.isEmpty() ? char{0} : (typed.size() == 1 ? typed.front().toLatin1() : '?');
  SetClasses(group->number, zurich, group->mcIntoshChosen ? group->mcIntoshClass : std::string());
}

void SunspotDock::SetMcIntoshOfRow(int row, const QString& text) {
  const SpotGroup* group = GroupInRow(row);
  if (group == nullptr) return;
  // "dkc" and "DKC" mean Dkc: the first letter is the class, the others
  // are lower case.
  const QString typed = text.trimmed();
  const QString mcIntosh = typed.left(1).toUpper() + typed.mid(1).toLower();
  SetClasses(group->number, group->zurichChosen ? group->zurichClass : char{0},
             mcIntosh.toStdString());
}

void SunspotDock::SetClasses(int group, char zurich, const std::string& mcIntosh) {
  try {
    TakeGroups(SetGroupClasses(observation_.spots, group, zurich, mcIntosh));
  } catch (const SpotError& error) {
    Warn(QStringLiteral("The class is not changed: %1.").arg(QString::fromUtf8(error.what())));
    ShowObservation();
  }
}

void SunspotDock::Warn(const QString& text) { warner_(text); }

bool SunspotDock::SaveObservation() {
  if (!hasObservation_) {
    Warn(QStringLiteral("There is no observation to save: detect the spots first."));
    return false;
  }
  const QString path = saveChooser_(QStringLiteral("Save observation"),
                                    QStringLiteral("Sunspot observations (*.json)"));
  if (path.isEmpty()) return false;
  try {
    if (const auto existing = ReadWholeFile(path)) ParseObservation(*existing);
  } catch (const SpotError& error) {
    Warn(QStringLiteral("%1 is not replaced: %2.").arg(path, QString::fromUtf8(error.what())));
    return false;
  }
  std::string reason;
  if (!WriteOutputFile(QFile::encodeName(path).toStdString(), ObservationText(observation_),
                       reason)) {
    Warn(QStringLiteral("Cannot write %1: %2").arg(path, QString::fromStdString(reason)));
    return false;
  }
  return true;
}

bool SunspotDock::OpenObservation() {
  const QString path = openChooser_(QStringLiteral("Open observation"),
                                    QStringLiteral("Sunspot observations (*.json)"));
  if (path.isEmpty()) return false;
  try {
    const auto text = ReadWholeFile(path);
    if (!text) throw SpotError("there is no such file");
    SunspotObservation opened = ParseObservation(*text);
    RequireItsOwnImage(opened);
    observation_ = std::move(opened);
  } catch (const SpotError& error) {
    Warn(QStringLiteral("%1 cannot be opened: %2.").arg(path, QString::fromUtf8(error.what())));
    return false;
  }
  hasObservation_ = true;
  const QSignalBlocker blockK(k_);
  const QSignalBlocker blockObserver(observer_);
  k_->setValue(observation_.counts.k);
  observer_->setText(QString::fromStdString(observation_.observerCode));
  ShowObservation();
  return true;
}

bool SunspotDock::ExportSpots() {
  const QString path =
      saveChooser_(QStringLiteral("Export spots"), QStringLiteral("CSV tables (*.csv)"));
  if (path.isEmpty()) return false;
  std::string reason;
  if (!WriteOutputFile(QFile::encodeName(path).toStdString(), SpotsCsv(observation_.spots),
                       reason)) {
    Warn(QStringLiteral("Cannot write %1: %2").arg(path, QString::fromStdString(reason)));
    return false;
  }
  return true;
}

bool SunspotDock::AddToMonthFile() {
  if (!hasObservation_) {
    Warn(QStringLiteral("There is no observation to report: detect the spots first."));
    return false;
  }
  const QString path =
      saveChooser_(QStringLiteral("Add to month file"), QStringLiteral("Month files (*.csv)"));
  if (path.isEmpty()) return false;
  const std::string utc = observation_.utc;
  const std::size_t t = utc.find('T');
  DailyReport report;
  report.date = utc.substr(0, t);
  report.ut = t == std::string::npos ? std::string() : utc.substr(t + 1, 5);
  report.counts = observation_.counts;
  report.seeing = observation_.seeing;
  report.observerCode = observation_.observerCode;
  std::string merged;
  try {
    merged = MergeIntoMonthFile(ReadWholeFile(path).value_or(""), report);
  } catch (const SpotError& error) {
    Warn(QStringLiteral("%1 is left as it is: %2.").arg(path, QString::fromUtf8(error.what())));
    return false;
  }
  std::string reason;
  if (!WriteOutputFile(QFile::encodeName(path).toStdString(), merged, reason)) {
    Warn(QStringLiteral("Cannot write %1: %2").arg(path, QString::fromStdString(reason)));
    return false;
  }
  return true;
}

}  // namespace helidisk
