// File -> Align images… driven through its action with the dialogs
// replaced: photographs aligned into a folder as taken or de-rotated to the
// window's instant, an image without a disk listed in the report, and a
// run cancelled from its progress dialog.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "alignimagesaction.h"
#include "application.h"
#include "exif_jpeg.h"
#include "form_main.h"
#include "synthetic_sun.h"

namespace helidisk {

class AlignImagesTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void init();
  void cleanup();

  void alignsIntoTheFolderAndListsWhatWasSkipped_data();
  void alignsIntoTheFolderAndListsWhatWasSkipped();
  void cancelStopsTakingImages();

 private:
  AlignImagesAction& Action() const {
    auto* action = window_->findChild<AlignImagesAction*>(QStringLiteral("AlignImagesAction"));
    if (action == nullptr) qFatal("no AlignImagesAction");
    return *action;
  }
  QString WritePhotograph(const QString& name, const QImage& picture, const char* time) const;
  // Runs the command to its end; returns the report's text.
  QString RunToEnd(const QStringList& files, const QString& folder, const std::string& model,
                   bool cancel = false);

  QTemporaryDir dir_;
  QStringList suns_;
  QString overcast_;
  std::unique_ptr<TForm_Main> window_;
  std::vector<QString> reportedErrors_;
};

QString AlignImagesTest::WritePhotograph(const QString& name, const QImage& picture,
                                         const char* time) const {
  QFile file(dir_.filePath(name));
  if (!file.open(QIODevice::WriteOnly)) return {};
  file.write(fakes::JpegWithExif(picture, time, "+00:00"));
  return file.fileName();
}

void AlignImagesTest::initTestCase() {
  QVERIFY(dir_.isValid());
  SetErrorReporter([this](const QString& message) { reportedErrors_.push_back(message); });
  const char* times[] = {"2024:05:10 07:00:00", "2024:05:10 09:30:00", "2024:05:11 08:00:00",
                         "2024:05:11 10:00:00", "2024:05:12 07:00:00", "2024:05:12 09:00:00"};
  for (int index = 0; index < 6; ++index) {
    const QImage sun = fakes::RedImage(
        fakes::MakeSun(300, 280, 140.5 + 3 * index, 139.2 - 2 * index, 100.3 + index, 0.01));
    suns_.append(WritePhotograph(QStringLiteral("sun-%1.jpg").arg(index), sun, times[index]));
  }
  QImage sky(300, 280, QImage::Format_RGB32);
  sky.fill(qRgb(80, 80, 90));
  overcast_ = WritePhotograph("overcast.jpg", sky, "2024:05:10 08:00:00");
}

void AlignImagesTest::init() {
  reportedErrors_.clear();
  window_ = std::make_unique<TForm_Main>();
  // 2024-05-11 12:00 UT: hour 3156 of 2024.
  window_->SetYearSource([] { return 2024; });
  window_->findChild<QScrollBar*>(QStringLiteral("ScrollBar1"))->setValue(3156);
}

void AlignImagesTest::cleanup() {
  window_.reset();
  QVERIFY(reportedErrors_.empty());
}

QString AlignImagesTest::RunToEnd(const QStringList& files, const QString& folder,
                                  const std::string& model, bool cancel) {
  AlignImagesAction& action = Action();
  QString report;
  QString instantAsked;
  action.SetFilesPrompt([files] { return files; });
  action.SetFolderPrompt([folder] { return folder; });
  action.SetModelPrompt([model, &instantAsked](const QString& instant) {
    instantAsked = instant;
    return std::optional<std::string>(model);
  });
  action.SetReportShown([&report](const QString&, const QString& text) { report = text; });
  QSignalSpy finished(&action, &AlignImagesAction::Finished);
  action.Action()->trigger();
  if (cancel) action.Cancel();
  if (!finished.wait(120000)) return QStringLiteral("(no end)");
  [&] { QCOMPARE(instantAsked, QStringLiteral("2024-05-11 12:00 UT")); }();
  return report;
}

void AlignImagesTest::alignsIntoTheFolderAndListsWhatWasSkipped_data() {
  QTest::addColumn<QString>("model");
  QTest::addColumn<QString>("dateObs");
  QTest::addRow("as taken") << ""
                            << "2024-05-10T09:30:00.000";
  QTest::addRow("de-rotated by howard") << "howard"
                                        << "2024-05-11T12:00:00.000";
}

void AlignImagesTest::alignsIntoTheFolderAndListsWhatWasSkipped() {
  QFETCH(QString, model);
  QFETCH(QString, dateObs);
  const QString folder = dir_.filePath("frames-" + model);
  const QString report = RunToEnd({suns_[0], overcast_, suns_[1]}, folder, model.toStdString());
  QVERIFY2(report.startsWith("2 of 3 images aligned into"), qPrintable(report));
  QVERIFY2(report.contains(overcast_ + ": no solar disk found"), qPrintable(report));
  QCOMPARE(QDir(folder).entryList(QDir::Files),
           (QStringList{"sun-0-aligned.fits", "sun-0-aligned.png", "sun-1-aligned.fits",
                        "sun-1-aligned.png"}));
  const QImage frame(QDir(folder).filePath("sun-1-aligned.png"));
  QCOMPARE(frame.size(), QSize(1024, 1024));
  QCOMPARE(frame.text("DATE-OBS"), dateObs);
  QVERIFY(Action().Action()->isEnabled());
}

void AlignImagesTest::cancelStopsTakingImages() {
  const QString folder = dir_.filePath("cancelled");
  const QString report = RunToEnd(suns_, folder, "", true);
  QVERIFY2(report.contains("Cancelled before the remaining images"), qPrintable(report));
  // Each of the two workers finishes the image it holds, and takes no other.
  QVERIFY2(QDir(folder).entryList(QDir::Files).size() <= 4, qPrintable(report));
}

}  // namespace helidisk

QTEST_MAIN(helidisk::AlignImagesTest)
#include "alignimages_test.moc"
