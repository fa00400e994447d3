// The window's File -> Save picture as… and Print… and Edit -> Copy picture,
// driven through their menu actions and shortcuts with the dialogs
// replaced: what they write is what helidisk-render writes for the same
// choices, and what a printer puts on paper has the disk's true size.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QDockWidget>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QProcess>
#include <QScrollBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QWindow>
#include <QtTest>
#include <cmath>
#include <memory>
#include <vector>

#include "application.h"
#include "diskpage.h"
#include "form_main.h"
#include "pageoptionsdialog.h"
#include "pdf_raster.h"
#include "pictureactions.h"

#ifndef HELIDISK_RENDER_PROGRAM
#error "HELIDISK_RENDER_PROGRAM must name the built helidisk-render executable"
#endif

namespace helidisk {
namespace {

constexpr int kDotsPerInch = 254;  // ten pixels a millimetre
constexpr int kTolerancePx = 3;

QByteArray FileContents(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool RunRenderer(const QStringList& arguments) {
  QProcess process;
  process.start(QStringLiteral(HELIDISK_RENDER_PROGRAM), arguments);
  return process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit &&
         process.exitCode() == 0;
}

}  // namespace

class PictureActionsTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void cleanupTestCase();
  void init();
  void cleanup();

  void saveEqualsTheRenderersFile_data();
  void saveEqualsTheRenderersFile();
  void savedPageHasTheChosenDiameter();
  void failedSaveSaysWhyAndChangesNothing_data();
  void failedSaveSaysWhyAndChangesNothing();
  // Ctrl+C copies the picture, unless a table has the focus: the points
  // table copies the points, the version grid its cell.
  void copyFollowsTheFocus();
  void printedPageHasTheChosenDiameter();
  void printRefusesPaperTooSmall();
  void shortcutsReachTheActions();
  // The page dialog reads the diameter as the command line does and
  // refuses a disk too large for the paper chosen.
  void pageDialogChecksTheDiameter();

 private:
  QWidget* Control(const char* name) const;
  PictureActions& Actions() const;
  void ShowAt2021Hour(int hour);
  QString Saved(const QString& name);

  QTemporaryDir dir_;
  std::unique_ptr<TForm_Main> window_;
  std::vector<QString> reportedErrors_;
  ErrorReporter savedReporter_;
};

void PictureActionsTest::initTestCase() {
  QVERIFY(dir_.isValid());
  savedReporter_ =
      SetErrorReporter([this](const QString& message) { reportedErrors_.push_back(message); });
}

void PictureActionsTest::cleanupTestCase() { SetErrorReporter(savedReporter_); }

void PictureActionsTest::init() {
  reportedErrors_.clear();
  window_ = std::make_unique<TForm_Main>();
  window_->SetYearSource([] { return 2021; });
}

void PictureActionsTest::cleanup() {
  window_.reset();
  QVERIFY(reportedErrors_.empty());
}

QWidget* PictureActionsTest::Control(const char* name) const {
  auto* control = window_->findChild<QWidget*>(QString::fromLatin1(name));
  if (control == nullptr) qFatal("no control %s", name);
  return control;
}

PictureActions& PictureActionsTest::Actions() const {
  auto* actions = window_->findChild<PictureActions*>(QStringLiteral("PictureActions"));
  if (actions == nullptr) qFatal("no picture actions");
  return *actions;
}

void PictureActionsTest::ShowAt2021Hour(int hour) {
  window_->show();
  window_->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(window_.get()));
  qobject_cast<QScrollBar*>(Control("ScrollBar1"))->setValue(hour);
}

// Saves through File -> Save picture as… into the test's folder.
QString PictureActionsTest::Saved(const QString& name) {
  QString path = dir_.filePath(name);
  QFile::remove(path);
  Actions().SetSavePathPrompt([path] { return QString(path); });
  window_->findChild<QAction*>(QStringLiteral("SavePicture1"))->trigger();
  return path;
}

void PictureActionsTest::saveEqualsTheRenderersFile_data() {
  QTest::addColumn<QString>("format");
  QTest::addColumn<QString>("goTo");
  QTest::addColumn<bool>("rigid");
  QTest::addColumn<QString>("orientation");
  QTest::addColumn<QStringList>("renderer");
  for (const QString format : {"png", "svg"}) {
    QTest::addRow("%s, hour 4417", qPrintable(format))
        << format << QString() << false << "sky" << QStringList{"--year", "2021", "--hour", "4417"};
    QTest::addRow("%s, hour 4417, rigid, mirror", qPrintable(format))
        << format << QString() << true << "mirror"
        << QStringList{"--year", "2021",  "--hour",        "4417",
                       "--grid", "fixed", "--orientation", "mirror"};
    QTest::addRow("%s, a minute of 1987, inverted", qPrintable(format))
        << format << "1987-03-05T14:37" << false << "inverted"
        << QStringList{"--at", "1987-03-05T14:37", "--orientation", "inverted"};
  }
}

void PictureActionsTest::saveEqualsTheRenderersFile() {
  QFETCH(QString, format);
  QFETCH(QString, goTo);
  QFETCH(bool, rigid);
  QFETCH(QString, orientation);
  QFETCH(QStringList, renderer);
  ShowAt2021Hour(0);
  if (rigid) qobject_cast<QCheckBox*>(Control("CheckBox_DiffRot"))->setChecked(false);
  qobject_cast<QScrollBar*>(Control("ScrollBar1"))->setValue(4417);
  if (!goTo.isEmpty()) {
    const UtcMinute instant = ParseInstantText(goTo.toStdString()).instant;
    window_->SetInstantPrompt([instant](const UtcMinute&) { return instant; });
    window_->findChild<QAction*>(QStringLiteral("GoDateTime1"))->trigger();
  }
  window_->findChild<QAction*>(QStringLiteral("Orientation_") + orientation)->trigger();

  const QString fromWindow = Saved(QStringLiteral("window.") + format);
  const QString fromRenderer = dir_.filePath(QStringLiteral("renderer.") + format);
  QVERIFY(RunRenderer(renderer + QStringList{"--output", fromRenderer}));
  if (format == QStringLiteral("png")) {
    const QImage windowImage(fromWindow);
    QVERIFY(!windowImage.isNull());
    QCOMPARE(windowImage.convertToFormat(QImage::Format_RGB32),
             QImage(fromRenderer).convertToFormat(QImage::Format_RGB32));
  } else {
    QCOMPARE(FileContents(fromWindow), FileContents(fromRenderer));
  }
}

void PictureActionsTest::savedPageHasTheChosenDiameter() {
  ShowAt2021Hour(4417);
  Actions().SetPageOptionsPrompt([](const PageOptions&) {
    return PageOptions{100, PaperSize::A3};
  });
  const QString path = Saved(QStringLiteral("page.pdf"));
  QString error;
  const fakes::GreyRaster raster = fakes::RasterisePdf(path, kDotsPerInch, error);
  QVERIFY2(raster.width > 0, qPrintable(error));
  const PageSizeMm sheet = PageSizeOf(PaperSize::A3);
  QVERIFY(std::abs(raster.height - sheet.heightMm * 10) <= kTolerancePx);
  const fakes::MeasuredDisk disk = fakes::MeasureDisk(raster, kDotsPerInch, sheet, 100);
  QVERIFY2(std::abs(disk.across.Length() - 1000) <= kTolerancePx,
           qPrintable(QString::number(disk.across.Length())));
  QVERIFY2(std::abs(disk.down.Length() - 1000) <= kTolerancePx,
           qPrintable(QString::number(disk.down.Length())));
}

void PictureActionsTest::failedSaveSaysWhyAndChangesNothing_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<bool>("folderThere");
  QTest::addColumn<double>("diameterMm");
  QTest::addColumn<QString>("why");
  QTest::newRow("a folder in the way") << "picture.png" << true << 150.0 << "picture.png";
  QTest::newRow("an unknown type") << "picture.gif" << false << 150.0 << ".png, .svg or .pdf";
  QTest::newRow("a disk larger than the page") << "page.pdf" << false << 300.0 << "does not fit";
}

// Whatever stood at the path stays as it was, and nothing else appears.
void PictureActionsTest::failedSaveSaysWhyAndChangesNothing() {
  QFETCH(QString, name);
  QFETCH(bool, folderThere);
  QFETCH(double, diameterMm);
  QFETCH(QString, why);
  ShowAt2021Hour(30);
  QTemporaryDir folder;
  QVERIFY(folder.isValid());
  const QString path = folder.filePath(name);
  if (folderThere) {
    QVERIFY(QDir(folder.path()).mkdir(name));
  } else {
    QFile older(path);
    QVERIFY(older.open(QIODevice::WriteOnly) && older.write("older picture") > 0);
  }
  Actions().SetSavePathPrompt([path] { return QString(path); });
  Actions().SetPageOptionsPrompt([diameterMm](const PageOptions&) {
    return PageOptions{diameterMm, PaperSize::A4};
  });
  window_->findChild<QAction*>(QStringLiteral("SavePicture1"))->trigger();

  QCOMPARE(reportedErrors_.size(), std::size_t{1});
  QVERIFY2(reportedErrors_.front().contains(path), qPrintable(reportedErrors_.front()));
  QVERIFY2(reportedErrors_.front().contains(why), qPrintable(reportedErrors_.front()));
  reportedErrors_.clear();
  QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
           QStringList{name});
  if (folderThere) {
    QVERIFY(QFileInfo(path).isDir());
  } else {
    QCOMPARE(FileContents(path), QByteArray("older picture"));
  }
}

void PictureActionsTest::copyFollowsTheFocus() {
  ShowAt2021Hour(4417);
  const QString rendered = dir_.filePath(QStringLiteral("copy.png"));
  QVERIFY(RunRenderer({"--year", "2021", "--hour", "4417", "--output", rendered}));
  QWidget* picture = Control("Image1");
  const QPoint spot(560, 280);
  QTest::mouseClick(picture, Qt::LeftButton, Qt::NoModifier, spot);
  QCOMPARE(window_->MeasuredPoints().size(), std::size_t{1});

  QApplication::clipboard()->clear();
  QTest::keyClick(window_->windowHandle(), Qt::Key_C, Qt::ControlModifier);
  // The picture as saved, without the marks of measured points.
  QCOMPARE(QApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32),
           QImage(rendered).convertToFormat(QImage::Format_RGB32));

  qobject_cast<QDockWidget*>(Control("Dock_MeasuredPoints"))->show();
  auto* points = qobject_cast<QTableWidget*>(Control("Table_MeasuredPoints"));
  points->setFocus();
  QTRY_COMPARE(QApplication::focusWidget(), points);
  QApplication::clipboard()->clear();
  QTest::keyClick(window_->windowHandle(), Qt::Key_C, Qt::ControlModifier);
  QVERIFY(QApplication::clipboard()->image().isNull());
  const QStringList lines = QApplication::clipboard()->text().split('\n', Qt::SkipEmptyParts);
  QCOMPARE(lines.size(), 2);
  QVERIFY(lines[0].startsWith(QStringLiteral("utc\tx_px\ty_px")));

  window_->findChild<QAction*>(QStringLiteral("about1"))->trigger();
  auto* versions = qobject_cast<QTableWidget*>(Control("StringGrid_VersionsInfo"));
  versions->setFocus();
  QTRY_COMPARE(QApplication::focusWidget(), versions);
  versions->setCurrentCell(0, 0);
  QApplication::clipboard()->clear();
  QTest::keyClick(window_->windowHandle(), Qt::Key_C, Qt::ControlModifier);
  QVERIFY(QApplication::clipboard()->image().isNull());
  QCOMPARE(QApplication::clipboard()->text(), versions->item(0, 0)->text());
}

void PictureActionsTest::printedPageHasTheChosenDiameter() {
  ShowAt2021Hour(4417);
  const QString path = dir_.filePath(QStringLiteral("printed.pdf"));
  QFile::remove(path);
  Actions().SetPageOptionsPrompt([](const PageOptions&) {
    return PageOptions{150, PaperSize::A4};
  });
  Actions().SetPrintPrompt([path](QPrinter& printer) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    return true;
  });
  window_->findChild<QAction*>(QStringLiteral("Print1"))->trigger();
  QString error;
  const fakes::GreyRaster raster = fakes::RasterisePdf(path, kDotsPerInch, error);
  QVERIFY2(raster.width > 0, qPrintable(error));
  const PageSizeMm sheet = PageSizeOf(PaperSize::A4);
  QVERIFY(std::abs(raster.width - sheet.widthMm * 10) <= kTolerancePx);
  QVERIFY(std::abs(raster.height - sheet.heightMm * 10) <= kTolerancePx);
  const fakes::MeasuredDisk disk = fakes::MeasureDisk(raster, kDotsPerInch, sheet, 150);
  QVERIFY2(std::abs(disk.across.Length() - 1500) <= kTolerancePx,
           qPrintable(QString::number(disk.across.Length())));
  QVERIFY2(std::abs(disk.down.Length() - 1500) <= kTolerancePx,
           qPrintable(QString::number(disk.down.Length())));
}

// The paper chosen in the print dialog decides: a disk too large for it is
// refused before anything reaches the printer.
void PictureActionsTest::printRefusesPaperTooSmall() {
  ShowAt2021Hour(4417);
  const QString path = dir_.filePath(QStringLiteral("a5.pdf"));
  QFile::remove(path);
  Actions().SetPageOptionsPrompt([](const PageOptions&) {
    return PageOptions{150, PaperSize::A4};
  });
  Actions().SetPrintPrompt([path](QPrinter& printer) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setPageSize(QPageSize(QPageSize::A5));
    return true;
  });
  window_->findChild<QAction*>(QStringLiteral("Print1"))->trigger();
  QCOMPARE(reportedErrors_.size(), std::size_t{1});
  QVERIFY2(reportedErrors_.front().contains(QStringLiteral("does not fit")),
           qPrintable(reportedErrors_.front()));
  reportedErrors_.clear();
  QVERIFY(!QFile::exists(path));
}

void PictureActionsTest::shortcutsReachTheActions() {
  ShowAt2021Hour(0);
  int savePrompts = 0;
  int pagePrompts = 0;
  Actions().SetSavePathPrompt([&savePrompts] {
    ++savePrompts;
    return QString();
  });
  Actions().SetPageOptionsPrompt([&pagePrompts](const PageOptions&) {
    ++pagePrompts;
    return std::optional<PageOptions>();
  });
  QTest::keyClick(window_->windowHandle(), Qt::Key_S, Qt::ControlModifier);
  QCOMPARE(savePrompts, 1);
  QTest::keyClick(window_->windowHandle(), Qt::Key_P, Qt::ControlModifier);
  QCOMPARE(pagePrompts, 1);
  // Cancelled: nothing saved, printed or reported.
  QVERIFY(reportedErrors_.empty());
}

void PictureActionsTest::pageDialogChecksTheDiameter() {
  PageOptionsDialog dialog(nullptr, PageOptions{150, PaperSize::A4});
  auto* diameter = dialog.findChild<QLineEdit*>(QStringLiteral("DiameterText"));
  auto* paper = dialog.findChild<QComboBox*>(QStringLiteral("PaperChoice"));
  auto* problem = dialog.findChild<QLabel*>(QStringLiteral("PageProblem"));
  QVERIFY(diameter != nullptr && paper != nullptr && problem != nullptr);
  QCOMPARE(diameter->text(), QStringLiteral("150mm"));
  QVERIFY(dialog.Options().has_value());

  struct Step {
    const char* diameter;
    PaperSize paper;
    double diameterMm;  // 0: refused
    const char* problem;
  };
  for (const Step& step :
       {Step{"20cm", PaperSize::A4, 0, "does not fit"}, Step{"20cm", PaperSize::A3, 200, ""},
        Step{"6in", PaperSize::Letter, 152.4, ""}, Step{"150", PaperSize::A4, 0, "unit"},
        Step{"0mm", PaperSize::A4, 0, "greater than 0"}}) {
    diameter->setText(QString::fromLatin1(step.diameter));
    paper->setCurrentIndex(paper->findData(static_cast<int>(step.paper)));
    const std::optional<PageOptions> options = dialog.Options();
    QCOMPARE(options.has_value(), step.diameterMm > 0);
    if (options) {
      QCOMPARE(options->diameterMm, step.diameterMm);
      QCOMPARE(options->paper, step.paper);
      QVERIFY(problem->text().isEmpty());
    } else {
      QVERIFY2(problem->text().contains(QString::fromLatin1(step.problem)),
               qPrintable(problem->text()));
    }
  }
}

}  // namespace helidisk

QTEST_MAIN(helidisk::PictureActionsTest)
#include "pictureactions_test.moc"
