#include "alignimagesaction.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QMenu>
#include <QMessageBox>
#include <QProgressDialog>
#include <QWidget>
#include <new>

#include "imagegeometry.h"
#include "instantseries.h"
#include "solarrotation.h"

namespace helidisk {

namespace {

constexpr int kFrameSidePx = 1024;
// The longest report lists this many skipped images and counts the rest.
constexpr int kProblemsListed = 20;

QString WindowInstantText(double julianDay) {
  QString text = QString::fromStdString(FitsDateText(julianDay)).left(16);
  text[10] = QLatin1Char(' ');
  return text + QStringLiteral(" UT");
}

QString ReportText(int aligned, int total, const QStringList& problems, bool cancelled,
                   const QString& folder) {
  QString text = QStringLiteral("%1 of %2 images aligned into %3.")
                     .arg(aligned)
                     .arg(total)
                     .arg(QDir::toNativeSeparators(folder));
  if (cancelled) text += QStringLiteral("\nCancelled before the remaining images.");
  if (problems.isEmpty()) return text;
  text += QStringLiteral("\n\nSkipped:\n");
  text += problems.mid(0, kProblemsListed).join(QLatin1Char('\n'));
  if (problems.size() > kProblemsListed) {
    text += QStringLiteral("\n… and %1 more").arg(problems.size() - kProblemsListed);
  }
  return text;
}

}  // namespace

AlignImagesAction::AlignImagesAction(QWidget* window, const FormView& view, QMenu* file,
                                     QAction* anchor)
    : QObject(window), window_(window), view_(view) {
  setObjectName(QStringLiteral("AlignImagesAction"));
  action_ = new QAction(QStringLiteral("&Align images…"), this);
  action_->setObjectName(QStringLiteral("AlignImages1"));
  file->insertAction(anchor, action_);
  connect(action_, &QAction::triggered, this, &AlignImagesAction::AlignClick);
}

AlignImagesAction::~AlignImagesAction() {
  cancelled_ = true;
  if (worker_.joinable()) worker_.join();
}

void AlignImagesAction::AlignClick() {
  if (Running()) return;
  const QStringList paths = AskFiles();
  if (paths.isEmpty()) return;
  std::optional<AlignSettings> settings = AskSettings();
  if (!settings) return;
  Start(paths, *settings);
}

std::optional<AlignSettings> AlignImagesAction::AskSettings() {
  const QString folder = AskFolder();
  if (folder.isEmpty()) return std::nullopt;
  lastFolder_ = folder;
  const double windowDay = JulianDayOfHourPosition(view_.CurrentYear(), view_.HourPosition());
  const std::optional<std::string> modelName = AskModel(WindowInstantText(windowDay));
  if (!modelName) return std::nullopt;
  AlignSettings settings;
  settings.sidePx = kFrameSidePx;
  // Photographs are read in the window's orientation; a helioprojective
  // FITS header's own view counts.
  settings.view = ImageView{view_.PictureOrientation(), 0};
  settings.outputFolder = folder;
  if (const RotationModel* model = RotationModelNamed(*modelName)) {
    settings.derotation = Derotation{windowDay, [model](double latitudeDeg) {
                                       return SiderealRateDegPerDay(*model, latitudeDeg);
                                     }};
    settings.modelName = *modelName;
  }
  return settings;
}

void AlignImagesAction::Start(const QStringList& paths, const AlignSettings& settings) {
  if (!QDir().mkpath(settings.outputFolder)) {
    ShowReport(QStringLiteral("Align images"),
               QStringLiteral("Cannot make the folder %1.")
                   .arg(QDir::toNativeSeparators(settings.outputFolder)));
    return;
  }
  total_ = static_cast<int>(paths.size());
  aligned_ = 0;
  problems_.clear();
  cancelled_ = false;
  progress_ = new QProgressDialog(QStringLiteral("Aligning %1 images…").arg(total_),
                                  QStringLiteral("Cancel"), 0, total_, window_);
  progress_->setWindowTitle(QStringLiteral("Align images"));
  progress_->setWindowModality(Qt::WindowModal);
  progress_->setMinimumDuration(0);
  progress_->setAutoClose(false);
  progress_->setAutoReset(false);
  connect(progress_, &QProgressDialog::canceled, this, &AlignImagesAction::Cancel);
  progress_->setValue(0);
  action_->setEnabled(false);
  // No exception may leave the worker: a failure is handed to the window.
  worker_ = std::thread([this, paths, settings] {
    QString failure;
    try {
      AlignSequence(
          paths, settings,
          [this](int index, const FrameResult& result, const QImage& /*frame*/) {
            const QString problem = result.aligned ? QString() : result.problem;
            QMetaObject::invokeMethod(
                this, [this, index, problem] { FrameDone(index + 1, problem); },
                Qt::QueuedConnection);
          },
          &cancelled_);
    } catch (const std::bad_alloc&) {
      failure = QStringLiteral("not enough memory");
    } catch (const std::exception& error) {
      failure = QString::fromStdString(error.what());
    }
    QMetaObject::invokeMethod(
        this, [this, failure] { RunEnded(failure); }, Qt::QueuedConnection);
  });
}

void AlignImagesAction::FrameDone(int done, const QString& problem) {
  if (problem.isEmpty()) {
    ++aligned_;
  } else {
    problems_.append(problem);
  }
  if (progress_ == nullptr) return;
  progress_->setLabelText(QStringLiteral("Aligned %1 of %2 images%3")
                              .arg(aligned_)
                              .arg(total_)
                              .arg(problems_.isEmpty()
                                       ? QString()
                                       : QStringLiteral(", %1 skipped").arg(problems_.size())));
  // Last: a window-modal dialog runs the queued events here, the run's end
  // among them, which closes the dialog.
  progress_->setValue(done);
}

void AlignImagesAction::RunEnded(const QString& failure) {
  if (worker_.joinable()) worker_.join();
  if (progress_ != nullptr) {
    progress_->deleteLater();
    progress_ = nullptr;
  }
  action_->setEnabled(true);
  QString text = ReportText(aligned_, total_, problems_, cancelled_.load(), lastFolder_);
  if (!failure.isEmpty()) text += QStringLiteral("\n\nThe run failed: ") + failure;
  ShowReport(QStringLiteral("Align images"), text);
  emit Finished(aligned_, static_cast<int>(problems_.size()));
}

QStringList AlignImagesAction::AskFiles() const {
  if (filesPrompt_) return filesPrompt_();
  return QFileDialog::getOpenFileNames(
      window_, QStringLiteral("Align images"), QString(),
      QStringLiteral("Solar images (*.png *.jpg *.jpeg *.tif *.tiff *.fits *.fit *.fts);;"
                     "All files (*)"));
}

QString AlignImagesAction::AskFolder() const {
  if (folderPrompt_) return folderPrompt_();
  return QFileDialog::getExistingDirectory(window_, QStringLiteral("Folder for the aligned frames"),
                                           lastFolder_);
}

std::optional<std::string> AlignImagesAction::AskModel(const QString& instant) const {
  if (modelPrompt_) return modelPrompt_(instant);
  const QString none = QStringLiteral("No de-rotation");
  QStringList choices = {none};
  for (const RotationModel& model : RotationModels()) {
    choices.append(QStringLiteral("De-rotate to %1 by %2")
                       .arg(instant, QString::fromUtf8(model.name.data(),
                                                       static_cast<qsizetype>(model.name.size()))));
  }
  bool chosen = false;
  const QString choice =
      QInputDialog::getItem(window_, QStringLiteral("Align images"),
                            QStringLiteral("Frames of the images as taken, or each one turned "
                                           "to the instant the window shows:"),
                            choices, 0, false, &chosen);
  if (!chosen) return std::nullopt;
  const qsizetype index = choices.indexOf(choice);
  if (index <= 0) return std::string();
  return std::string(RotationModels()[static_cast<std::size_t>(index - 1)].name);
}

void AlignImagesAction::ShowReport(const QString& title, const QString& text) const {
  if (reportShown_) {
    reportShown_(title, text);
    return;
  }
  if (problems_.isEmpty()) {
    QMessageBox::information(window_, title, text);
  } else {
    QMessageBox::warning(window_, title, text);
  }
}

}  // namespace helidisk
