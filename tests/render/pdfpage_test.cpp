// helidisk-render's printed pages, run as a separate process and measured
// as a printer puts them on paper: the disk's true size, the paper, the
// texts, and the page options it refuses.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>

#include "diskpage.h"
#include "pdf_raster.h"

namespace helidisk {
namespace {

// 254 dots per inch: ten pixels a millimetre.
constexpr int kDotsPerInch = 254;
constexpr double kPixelsPerMm = 10;
constexpr int kTolerancePx = 3;

struct Outcome {
  int exitCode = -1;
  QByteArray out;
  QByteArray err;
};

Outcome Run(const QString& program, const QStringList& arguments,
            const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment()) {
  QProcess process;
  process.setProcessEnvironment(environment);
  process.start(program, arguments);
  Outcome outcome;
  if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit) {
    return outcome;
  }
  outcome.exitCode = process.exitCode();
  outcome.out = process.readAllStandardOutput();
  outcome.err = process.readAllStandardError();
  return outcome;
}

Outcome RunRenderer(const QStringList& arguments) {
  return Run(QStringLiteral(HELIDISK_RENDER_PROGRAM), arguments);
}

QString TextOfPdf(const QString& path) {
  return QString::fromUtf8(
      Run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")}).out);
}

}  // namespace

class PdfPageTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QVERIFY(dir_.isValid()); }
  // Whatever the instant, grid, orientation, unit and paper, the disk with
  // its limb line measures the diameter asked for, centred across the
  // paper, and the page is the paper asked for.
  void diskHasItsTrueSize_data();
  void diskHasItsTrueSize();
  // An instant's page says what the readout says, with the rotation, the
  // view and the instant; a template's page names its B0 alone.
  void pageTextsAreTheReadout();
  void templateNamesItsB0Alone();
  void standardOutputTakesThePage();
  // Qt's complaint about a session without a runtime directory is no
  // concern of the page, and does not reach the terminal.
  void noComplaintWithoutRuntimeDirectory();
  void badPagesAreRefused_data();
  void badPagesAreRefused();

 private:
  QTemporaryDir dir_;
};

void PdfPageTest::diskHasItsTrueSize_data() {
  QTest::addColumn<QStringList>("arguments");
  QTest::addColumn<double>("diameterMm");
  QTest::addColumn<int>("paper");
  const QStringList equinox = {"--at", "2026-03-20T14:45"};
  const int a4 = static_cast<int>(PaperSize::A4);
  QTest::newRow("150 mm by default, A4") << equinox << 150.0 << a4;
  QTest::newRow("100 mm") << (equinox + QStringList{"--diameter", "100mm"}) << 100.0 << a4;
  QTest::newRow("near aphelion, rigid grid")
      << QStringList{"--at", "2026-07-06T00:00", "--grid", "fixed"} << 150.0 << a4;
  QTest::newRow("near perihelion, solar north")
      << QStringList{"--at", "2026-01-03T00:00", "--orientation", "solar-north"} << 150.0 << a4;
  QTest::newRow("10 cm on A3, Stonyhurst, inverted")
      << (equinox + QStringList{"--diameter", "10cm", "--page", "A3", "--grid", "stonyhurst",
                                "--orientation", "inverted"})
      << 100.0 << static_cast<int>(PaperSize::A3);
  QTest::newRow("6 in on Letter, mirror")
      << (equinox + QStringList{"--diameter", "6in", "--page", "letter", "--orientation", "mirror"})
      << 152.4 << static_cast<int>(PaperSize::Letter);
  QTest::newRow("template for B0 -3")
      << QStringList{"--grid", "stonyhurst", "--b0", "-3"} << 150.0 << a4;
  QTest::newRow("template for B0 7.25, 180 mm")
      << QStringList{"--grid", "stonyhurst", "--b0", "7.25", "--diameter", "180mm"} << 180.0 << a4;
}

void PdfPageTest::diskHasItsTrueSize() {
  QFETCH(QStringList, arguments);
  QFETCH(double, diameterMm);
  QFETCH(int, paper);
  const QString path = dir_.filePath(QStringLiteral("page.pdf"));
  const Outcome outcome = RunRenderer(arguments + QStringList{"--output", path});
  QCOMPARE(outcome.exitCode, 0);
  QCOMPARE(outcome.err, QByteArray());

  QString error;
  const fakes::GreyRaster raster = fakes::RasterisePdf(path, kDotsPerInch, error);
  QVERIFY2(raster.width > 0, qPrintable(error));
  const PageSizeMm sheet = PageSizeOf(static_cast<PaperSize>(paper));
  // Qt writes the page in whole points, within a third of a millimetre.
  QVERIFY2(std::abs(raster.width - sheet.widthMm * kPixelsPerMm) <= kTolerancePx,
           qPrintable(QString::number(raster.width)));
  QVERIFY2(std::abs(raster.height - sheet.heightMm * kPixelsPerMm) <= kTolerancePx,
           qPrintable(QString::number(raster.height)));

  const fakes::MeasuredDisk disk = fakes::MeasureDisk(raster, kDotsPerInch, sheet, diameterMm);
  const double expectedPx = diameterMm * kPixelsPerMm;
  QVERIFY2(std::abs(disk.across.Length() - expectedPx) <= kTolerancePx,
           qPrintable(QString::number(disk.across.Length())));
  QVERIFY2(std::abs(disk.down.Length() - expectedPx) <= kTolerancePx,
           qPrintable(QString::number(disk.down.Length())));
  QVERIFY2(std::abs(disk.across.Middle() - raster.width / 2.0) <= kTolerancePx,
           qPrintable(QString::number(disk.across.Middle())));
}

void PdfPageTest::pageTextsAreTheReadout() {
  const QStringList instant = {"--at", "2021-07-04T01:00"};
  const Outcome readout = RunRenderer(instant + QStringList{"--readout"});
  QCOMPARE(readout.exitCode, 0);
  const QString path = dir_.filePath(QStringLiteral("readout.pdf"));
  QCOMPARE(RunRenderer(instant + QStringList{"--output", path, "--grid", "stonyhurst",
                                             "--orientation", "inverted-mirror"})
               .exitCode,
           0);
  // Runs of blanks as pdftotext lays them out may differ from the texts'.
  const QString text = TextOfPdf(path).simplified();
  const QStringList lines = QString::fromUtf8(readout.out).split('\n', Qt::SkipEmptyParts);
  QCOMPARE(lines.size(), 10);
  for (const QString& line : lines) {
    QVERIFY2(text.contains(line.simplified()), qPrintable(line));
  }
  for (const char* line : {"Instant UT: 2021-07-04T01:00Z", "Carr.Rot. : 2245.",
                           "View      : inverted mirror (south up, east left), Stonyhurst grid"}) {
    QVERIFY2(text.contains(QString::fromUtf8(line).simplified()), line);
  }
}

void PdfPageTest::templateNamesItsB0Alone() {
  const QString path = dir_.filePath(QStringLiteral("template.pdf"));
  QCOMPARE(RunRenderer({"--grid", "stonyhurst", "--b0", "-3", "--output", path}).exitCode, 0);
  QCOMPARE(TextOfPdf(path).simplified(), QString::fromUtf8("B0 = -3°"));
}

void PdfPageTest::standardOutputTakesThePage() {
  const Outcome outcome = RunRenderer({"--hour", "30", "--output", "-", "--format", "pdf"});
  QCOMPARE(outcome.exitCode, 0);
  QVERIFY(outcome.out.startsWith("%PDF-"));
  QVERIFY(outcome.out.trimmed().endsWith("%%EOF"));
}

void PdfPageTest::noComplaintWithoutRuntimeDirectory() {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.remove(QStringLiteral("XDG_RUNTIME_DIR"));
  environment.remove(QStringLiteral("QT_FATAL_WARNINGS"));
  const QString path = dir_.filePath(QStringLiteral("cron.pdf"));
  const Outcome outcome =
      Run(QStringLiteral(HELIDISK_RENDER_PROGRAM), {"--hour", "30", "--output", path}, environment);
  QCOMPARE(outcome.exitCode, 0);
  QCOMPARE(outcome.err, QByteArray());
  QVERIFY(QFile::exists(path));
}

void PdfPageTest::badPagesAreRefused_data() {
  QTest::addColumn<QStringList>("arguments");
  QTest::addColumn<QString>("named");
  const QStringList pdf = {"--output", "{dir}/page.pdf"};
  const QStringList png = {"--output", "{dir}/picture.png"};
  QTest::newRow("diameter 0") << (pdf + QStringList{"--diameter", "0mm"}) << "--diameter";
  QTest::newRow("diameter negative") << (pdf + QStringList{"--diameter", "-5cm"}) << "--diameter";
  QTest::newRow("diameter without unit")
      << (pdf + QStringList{"--diameter", "150"}) << "mm, cm or in";
  QTest::newRow("diameter in points") << (pdf + QStringList{"--diameter", "400pt"}) << "--diameter";
  QTest::newRow("diameter wider than A4")
      << (pdf + QStringList{"--diameter", "200mm"}) << "at most 192.6 mm";
  QTest::newRow("diameter wider than Letter")
      << (pdf + QStringList{"--diameter", "7.9in", "--page", "Letter"}) << "at most";
  QTest::newRow("diameter in metres") << (pdf + QStringList{"--diameter", "1m"}) << "--diameter";
  QTest::newRow("page unknown") << (pdf + QStringList{"--page", "A5"}) << "A4, A3 or Letter";
  QTest::newRow("diameter for a PNG") << (png + QStringList{"--diameter", "100mm"}) << "PDF";
  QTest::newRow("page for a PNG") << (png + QStringList{"--page", "A3"}) << "PDF";
  QTest::newRow("size for a PDF") << (pdf + QStringList{"--size", "500x500"}) << "--size";
  QTest::newRow("template without Stonyhurst grid")
      << (pdf + QStringList{"--b0", "3"}) << "--grid stonyhurst";
  QTest::newRow("template with rigid grid")
      << (pdf + QStringList{"--b0", "3", "--grid", "fixed"}) << "--grid stonyhurst";
  QTest::newRow("template at an instant")
      << (pdf + QStringList{"--grid", "stonyhurst", "--b0", "3", "--at", "2026-01-01T00:00"})
      << "--at";
  QTest::newRow("template with readout")
      << QStringList{"--grid", "stonyhurst", "--b0", "3", "--readout"} << "--readout";
  QTest::newRow("template turned")
      << (pdf + QStringList{"--grid", "stonyhurst", "--b0", "3", "--orientation", "sky"})
      << "--orientation";
  QTest::newRow("template beyond the pole")
      << (pdf + QStringList{"--grid", "stonyhurst", "--b0", "91"}) << "-90 to 90";
  QTest::newRow("template without output")
      << QStringList{"--grid", "stonyhurst", "--b0", "3"} << "--output";
}

void PdfPageTest::badPagesAreRefused() {
  QFETCH(QStringList, arguments);
  QFETCH(QString, named);
  QTemporaryDir target;
  QVERIFY(target.isValid());
  arguments.replaceInStrings(QStringLiteral("{dir}"), target.path());
  const Outcome outcome = RunRenderer(arguments);
  QCOMPARE(outcome.exitCode, 2);
  QVERIFY(outcome.out.isEmpty());
  QVERIFY2(outcome.err.contains(named.toUtf8()), outcome.err.constData());
  QVERIFY(QDir(target.path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
}

}  // namespace helidisk

QTEST_GUILESS_MAIN(helidisk::PdfPageTest)
#include "pdfpage_test.moc"
