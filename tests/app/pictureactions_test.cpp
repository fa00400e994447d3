// The window's File -> Save picture as… and Print… and Edit -> Copy picture,
// driven through their actions and shortcuts with the dialogs replaced:
// what they write is what helidisk-render writes for the same choices, and
// what a printer puts on paper has the disk's true size.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QDockWidget>
#include <QImage>
#include <QPrinter>
#include <QScrollBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QWindow>
#include <QtTest>
#include <cmath>
#include <memory>
#include <vector>

#include "application.h"
#include "form_main.h"
#include "pdf_raster.h"
#include "pictureactions.h"
#include "program_run.h"
#include "window_control.h"

namespace helidisk {
namespace {

QByteArray FileContents(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool RunRenderer(const QStringList& arguments) {
  return fakes::RunProgram(QStringLiteral(HELIDISK_RENDER_PROGRAM), arguments).exitCode == 0;
}

// The disk 1000 px across at 254 dpi for 100 mm, within 3 px.
bool HasTrueSize(const fakes::MeasuredPage& page, double diameterMm) {
  const double expectedPx = diameterMm * fakes::kPixelsPerMm;
  return page.error.isEmpty() && std::abs(page.diskAcrossPx - expectedPx) <= 3 &&
         std::abs(page.diskDownPx - expectedPx) <= 3;
}

}  // namespace

class PictureActionsTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void init();
  void cleanup();

  void saveEqualsTheRenderersFile_data();
  void saveEqualsTheRenderersFile();
  // The bytes start as the format the name's extension says.
  void savedFileIsTheFormatItsNameSays_data();
  void savedFileIsTheFormatItsNameSays();
  void savedAndPrintedPagesHaveTheChosenDiameter();
  // Whatever stood at the path stays as it was, and nothing else appears.
  void failedSaveSaysWhyAndChangesNothing_data();
  void failedSaveSaysWhyAndChangesNothing();
  // Ctrl+C copies the picture, unless a table has the focus: the points
  // table copies the points, the version grid its cell.
  void copyFollowsTheFocus();

 private:
  template <typename T>
  T* Control(const char* name) const {
    return fakes::ControlNamed<T>(*window_, name);
  }
  PictureActions& Actions() const { return *Control<PictureActions>("PictureActions"); }
  void ShowAtHour(int hour);
  void SaveTo(const QString& path);
  void PressCtrl(Qt::Key key) const {
    QTest::keyClick(window_->windowHandle(), key, Qt::ControlModifier);
  }

  QTemporaryDir dir_;
  std::unique_ptr<TForm_Main> window_;
  std::vector<QString> reportedErrors_;
};

void PictureActionsTest::initTestCase() {
  QVERIFY(dir_.isValid());
  SetErrorReporter([this](const QString& message) { reportedErrors_.push_back(message); });
}

void PictureActionsTest::init() {
  reportedErrors_.clear();
  window_ = std::make_unique<TForm_Main>();
  window_->SetYearSource([] { return 2021; });
}

void PictureActionsTest::cleanup() {
  window_.reset();
  QVERIFY(reportedErrors_.empty());
}

void PictureActionsTest::ShowAtHour(int hour) {
  window_->show();
  window_->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(window_.get()));
  Control<QScrollBar>("ScrollBar1")->setValue(hour);
}

// Through the shortcut of File -> Save picture as….
void PictureActionsTest::SaveTo(const QString& path) {
  Actions().SetSavePathPrompt([path] { return QString(path); });
  PressCtrl(Qt::Key_S);
}

void PictureActionsTest::saveEqualsTheRenderersFile_data() {
  QTest::addColumn<QString>("format");
  QTest::addColumn<QString>("goTo");
  QTest::addColumn<bool>("rigid");
  QTest::addColumn<QString>("orientation");
  QTest::addColumn<QStringList>("renderer");
  for (const QString format : {"png", "svg"}) {
    QTest::addRow("%s, hour 4417, rigid, mirror", qPrintable(format))
        << format << QString() << true << "mirror"
        << QStringList{"--year", "2021",  "--hour",        "4417",
                       "--grid", "fixed", "--orientation", "mirror"};
    QTest::addRow("%s, a minute of 1987, differential, inverted", qPrintable(format))
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
  ShowAtHour(0);
  Control<QCheckBox>("CheckBox_DiffRot")->setChecked(!rigid);
  Control<QScrollBar>("ScrollBar1")->setValue(4417);
  if (!goTo.isEmpty()) {
    const UtcMinute instant = ParseInstantText(goTo.toStdString()).instant;
    window_->SetInstantPrompt([instant](const UtcMinute&) { return instant; });
    Control<QAction>("GoDateTime1")->trigger();
  }
  Control<QAction>(qPrintable("Orientation_" + orientation))->trigger();

  const QString fromWindow = dir_.filePath("window." + format);
  const QString fromRenderer = dir_.filePath("renderer." + format);
  SaveTo(fromWindow);
  QVERIFY(RunRenderer(renderer + QStringList{"--output", fromRenderer}));
  if (format == "png") {
    const QImage saved(fromWindow);
    QVERIFY(!saved.isNull());
    QCOMPARE(saved.convertToFormat(QImage::Format_RGB32),
             QImage(fromRenderer).convertToFormat(QImage::Format_RGB32));
  } else {
    QCOMPARE(FileContents(fromWindow), FileContents(fromRenderer));
  }
}

void PictureActionsTest::savedFileIsTheFormatItsNameSays_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<QByteArray>("magic");
  QTest::newRow("png") << "picture.png" << QByteArray("\x89PNG\r\n\x1a\n");
  QTest::newRow("upper-case PNG") << "PICTURE.PNG" << QByteArray("\x89PNG\r\n\x1a\n");
  QTest::newRow("svg") << "picture.svg" << QByteArray("<?xml");
  QTest::newRow("pdf") << "picture.pdf" << QByteArray("%PDF-");
}

void PictureActionsTest::savedFileIsTheFormatItsNameSays() {
  QFETCH(QString, name);
  QFETCH(QByteArray, magic);
  ShowAtHour(30);
  Actions().SetPageOptionsPrompt([](const PageOptions&) {
    return PageOptions{150, PaperSize::A4};
  });
  const QString path = dir_.filePath(name);
  SaveTo(path);
  QVERIFY2(FileContents(path).startsWith(magic), qPrintable(FileContents(path).left(8).toHex()));
}

// A saved page takes the page dialog's paper and diameter; a printed one
// the diameter, on the paper of the print dialog, which refuses a disk too
// large for it before anything reaches the printer.
void PictureActionsTest::savedAndPrintedPagesHaveTheChosenDiameter() {
  ShowAtHour(4417);
  Actions().SetPageOptionsPrompt([](const PageOptions&) {
    return PageOptions{100, PaperSize::A3};
  });
  const QString saved = dir_.filePath("saved.pdf");
  SaveTo(saved);
  QVERIFY(HasTrueSize(fakes::MeasurePdfPage(saved, PageSizeOf(PaperSize::A3), 100), 100));

  Actions().SetPageOptionsPrompt([](const PageOptions&) {
    return PageOptions{150, PaperSize::A4};
  });
  const QString printed = dir_.filePath("printed.pdf");
  QPageSize::PageSizeId paper = QPageSize::A4;
  Actions().SetPrintPrompt([&](QPrinter& printer) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(printed);
    printer.setPageSize(QPageSize(paper));
    return true;
  });
  PressCtrl(Qt::Key_P);
  QVERIFY(HasTrueSize(fakes::MeasurePdfPage(printed, PageSizeOf(PaperSize::A4), 150), 150));

  QVERIFY(QFile::remove(printed));
  paper = QPageSize::A5;
  PressCtrl(Qt::Key_P);
  QCOMPARE(reportedErrors_.size(), std::size_t{1});
  QVERIFY2(reportedErrors_.front().contains("does not fit"), qPrintable(reportedErrors_.front()));
  reportedErrors_.clear();
  QVERIFY(!QFile::exists(printed));
}

void PictureActionsTest::failedSaveSaysWhyAndChangesNothing_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<bool>("folderThere");
  QTest::addColumn<QString>("why");
  QTest::newRow("a folder in the way") << "picture.png" << true << "picture.png";
  QTest::newRow("an unknown type") << "picture.gif" << false << ".png, .svg or .pdf";
  // A JPEG holds photographs with their grid, not the drawn disk: the
  // window refuses it as the command line does, rather than writing PNG
  // bytes under a .jpg name.
  QTest::newRow("a JPEG name") << "picture.jpg" << false << ".png, .svg or .pdf";
  QTest::newRow("a JPEG name in capitals") << "PICTURE.JPEG" << false << ".png, .svg or .pdf";
  QTest::newRow("a JPEG of the drawn disk") << "picture.jpg" << false << "JPEG is written only";
  QTest::newRow("a disk larger than the page") << "page.pdf" << false << "does not fit";
}

void PictureActionsTest::failedSaveSaysWhyAndChangesNothing() {
  QFETCH(QString, name);
  QFETCH(bool, folderThere);
  QFETCH(QString, why);
  ShowAtHour(30);
  QTemporaryDir folder;
  const QString path = folder.filePath(name);
  QFile older(path);
  QVERIFY(folderThere ? QDir(folder.path()).mkdir(name)
                      : older.open(QIODevice::WriteOnly) && older.write("older picture") > 0);
  older.close();
  Actions().SetPageOptionsPrompt([](const PageOptions&) {
    return PageOptions{300, PaperSize::A4};
  });
  SaveTo(path);

  QCOMPARE(reportedErrors_.size(), std::size_t{1});
  QVERIFY2(reportedErrors_.front().contains(path) && reportedErrors_.front().contains(why),
           qPrintable(reportedErrors_.front()));
  reportedErrors_.clear();
  QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
           QStringList{name});
  QCOMPARE(FileContents(path), folderThere ? QByteArray() : QByteArray("older picture"));
}

void PictureActionsTest::copyFollowsTheFocus() {
  ShowAtHour(4417);
  const QString rendered = dir_.filePath("copy.png");
  QVERIFY(RunRenderer({"--year", "2021", "--hour", "4417", "--output", rendered}));
  QTest::mouseClick(Control<QWidget>("Image1"), Qt::LeftButton, Qt::NoModifier, QPoint(560, 280));
  QCOMPARE(window_->MeasuredPoints().size(), std::size_t{1});
  QClipboard* clipboard = QApplication::clipboard();

  PressCtrl(Qt::Key_C);
  // The picture as saved, without the marks of measured points.
  QCOMPARE(clipboard->image().convertToFormat(QImage::Format_RGB32),
           QImage(rendered).convertToFormat(QImage::Format_RGB32));

  Control<QDockWidget>("Dock_MeasuredPoints")->show();
  auto* points = Control<QTableWidget>("Table_MeasuredPoints");
  points->setFocus();
  QTRY_COMPARE(QApplication::focusWidget(), points);
  PressCtrl(Qt::Key_C);
  QVERIFY(clipboard->image().isNull());
  QVERIFY(clipboard->text().startsWith("utc\tx_px\ty_px"));
  QCOMPARE(clipboard->text().count('\n'), 2);

  Control<QAction>("about1")->trigger();
  auto* versions = Control<QTableWidget>("StringGrid_VersionsInfo");
  versions->setFocus();
  QTRY_COMPARE(QApplication::focusWidget(), versions);
  versions->setCurrentCell(3, 0);
  PressCtrl(Qt::Key_C);
  QCOMPARE(clipboard->text(), versions->item(3, 0)->text());
}

}  // namespace helidisk

QTEST_MAIN(helidisk::PictureActionsTest)
#include "pictureactions_test.moc"
