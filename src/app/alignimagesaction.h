// File -> Align images…: a set of the observer's images aligned into a
// folder as helidisk-render --align writes them (the disk centred, one
// radius, solar north up, stamped with the time, PNG and FITS with their
// geometry), optionally de-rotated to the instant the window shows.  The
// images are aligned two at a time away from the window, behind a progress
// dialog that cancels; the images that could not be aligned are listed
// with the reason when the run ends.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <atomic>
#include <functional>
#include <optional>
#include <string>
#include <thread>

#include "alignedsequence.h"
#include "viewstate.h"

class QAction;
class QMenu;
class QProgressDialog;
class QWidget;

namespace helidisk {

class AlignImagesAction final : public QObject {
  Q_OBJECT

 public:
  // Puts File -> Align images… before `anchor` in the menu.
  AlignImagesAction(QWidget* window, const FormView& view, QMenu* file, QAction* anchor);
  // Cancels a run still going and waits for the image in work.
  ~AlignImagesAction() override;
  AlignImagesAction(const AlignImagesAction&) = delete;
  AlignImagesAction& operator=(const AlignImagesAction&) = delete;

  QAction* Action() const { return action_; }

  // What the command asks, replaceable so that a test can answer: the
  // images (empty: cancelled), the folder (empty: cancelled), the rotation
  // model to de-rotate by to the window's instant (std::nullopt: cancelled,
  // "" for none), and the closing report.
  using FilesPrompt = std::function<QStringList()>;
  using FolderPrompt = std::function<QString()>;
  using ModelPrompt = std::function<std::optional<std::string>(const QString& instant)>;
  using ReportShown = std::function<void(const QString& title, const QString& text)>;
  void SetFilesPrompt(FilesPrompt prompt) { filesPrompt_ = std::move(prompt); }
  void SetFolderPrompt(FolderPrompt prompt) { folderPrompt_ = std::move(prompt); }
  void SetModelPrompt(ModelPrompt prompt) { modelPrompt_ = std::move(prompt); }
  void SetReportShown(ReportShown shown) { reportShown_ = std::move(shown); }

  bool Running() const { return worker_.joinable(); }
  void Cancel() { cancelled_ = true; }

 signals:
  // The run has ended (done or cancelled): frames written and images skipped.
  void Finished(int aligned, int skipped);

 private:
  void AlignClick();
  std::optional<AlignSettings> AskSettings();
  void Start(const QStringList& paths, const AlignSettings& settings);
  // In the window's thread, from the worker's frames in their order.
  void FrameDone(int done, const QString& problem);
  void RunEnded(const QString& failure);

  QStringList AskFiles() const;
  QString AskFolder() const;
  std::optional<std::string> AskModel(const QString& instant) const;
  void ShowReport(const QString& title, const QString& text) const;

  QWidget* window_;
  const FormView& view_;
  QAction* action_;
  QProgressDialog* progress_ = nullptr;
  std::thread worker_;
  std::atomic<bool> cancelled_ = false;
  int total_ = 0;
  int aligned_ = 0;
  QStringList problems_;
  QString lastFolder_;
  FilesPrompt filesPrompt_;
  FolderPrompt folderPrompt_;
  ModelPrompt modelPrompt_;
  ReportShown reportShown_;
};

}  // namespace helidisk
