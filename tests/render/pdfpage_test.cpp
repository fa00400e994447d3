// helidisk-render's printed pages, run as a separate process and measured
// as a printer puts them on paper: the disk's true size, the paper, the
// texts, and the page options it refuses.
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>

#include "diskpage.h"
#include "pdf_raster.h"
#include "program_run.h"

namespace helidisk {
namespace {

constexpr int kTolerancePx = 3;

using Outcome = fakes::ProgramOutcome;

// As from cron or ssh, without a session runtime directory, whose absence
// Qt complains about while it starts: not a word of that may reach the
// terminal.
Outcome Run(const QString& program, const QStringList& arguments) {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.remove("XDG_RUNTIME_DIR");
  return fakes::RunProgram(program, arguments, environment);
}

Outcome RunRenderer(const QStringList& arguments) {
  return Run(QStringLiteral(HELIDISK_RENDER_PROGRAM), arguments);
}

// pdftotext's layout may space the texts' runs of blanks differently.
QString TextOfPdf(const QString& path) {
  return QString::fromUtf8(Run("pdftotext", {"-layout", path, "-"}).out).simplified();
}

}  // namespace

class PdfPageTest : public QObject {
  Q_OBJECT

 private slots:
  // Whatever the instant (and so the Sun's distance), grid, orientation,
  // unit and paper, the disk with its limb line measures the diameter
  // asked for, centred across the paper asked for.
  void diskHasItsTrueSize_data();
  void diskHasItsTrueSize();
  // An instant's page says what the readout says, with the rotation, the
  // view and the instant; a template's page names its B0 alone.
  void pageTexts();
  void badPagesAreRefused_data();
  void badPagesAreRefused();

 private:
  QTemporaryDir dir_;
};

void PdfPageTest::diskHasItsTrueSize_data() {
  QTest::addColumn<QStringList>("arguments");
  QTest::addColumn<double>("diameterMm");
  QTest::addColumn<int>("paper");
  const int a4 = static_cast<int>(PaperSize::A4);
  QTest::newRow("defaults: 150 mm, A4") << QStringList{"--at", "2026-03-20T14:45"} << 150.0 << a4;
  QTest::newRow("100 mm near aphelion, rigid")
      << QStringList{"--at", "2026-07-06T00:00", "--grid", "fixed", "--diameter", "100mm"} << 100.0
      << a4;
  QTest::newRow("10 cm on A3 near perihelion, Stonyhurst, inverted")
      << QStringList{"--at", "2026-01-03T00:00", "--diameter", "10cm",          "--page",
                     "A3",   "--grid",           "stonyhurst", "--orientation", "inverted"}
      << 100.0 << static_cast<int>(PaperSize::A3);
  QTest::newRow("6 in on Letter, mirror")
      << QStringList{"--diameter", "6in", "--page", "letter", "--orientation", "mirror"} << 152.4
      << static_cast<int>(PaperSize::Letter);
  QTest::newRow("template for B0 -3")
      << QStringList{"--grid", "stonyhurst", "--b0", "-3"} << 150.0 << a4;
}

void PdfPageTest::diskHasItsTrueSize() {
  QFETCH(QStringList, arguments);
  QFETCH(double, diameterMm);
  QFETCH(int, paper);
  const QString path = dir_.filePath("page.pdf");
  const Outcome outcome = RunRenderer(arguments + QStringList{"--output", path});
  QCOMPARE(outcome.exitCode, 0);
  QCOMPARE(outcome.err, QByteArray());
  const PageSizeMm sheet = PageSizeOf(static_cast<PaperSize>(paper));
  const fakes::MeasuredPage page = fakes::MeasurePdfPage(path, sheet, diameterMm);
  QVERIFY2(page.error.isEmpty(), qPrintable(page.error));
  // Qt writes the paper in whole points, within a third of a millimetre.
  QVERIFY(std::abs(page.widthPx - sheet.widthMm * fakes::kPixelsPerMm) <= kTolerancePx);
  QVERIFY(std::abs(page.heightPx - sheet.heightMm * fakes::kPixelsPerMm) <= kTolerancePx);
  const double expectedPx = diameterMm * fakes::kPixelsPerMm;
  QVERIFY2(std::abs(page.diskAcrossPx - expectedPx) <= kTolerancePx,
           qPrintable(QString::number(page.diskAcrossPx)));
  QVERIFY2(std::abs(page.diskDownPx - expectedPx) <= kTolerancePx,
           qPrintable(QString::number(page.diskDownPx)));
  QVERIFY(std::abs(page.diskMiddleXPx - page.widthPx / 2.0) <= kTolerancePx);
}

void PdfPageTest::pageTexts() {
  const QStringList instant = {"--at", "2021-07-04T01:00"};
  const QString path = dir_.filePath("readout.pdf");
  QCOMPARE(RunRenderer(instant + QStringList{"--output", path, "--grid", "stonyhurst",
                                             "--orientation", "inverted-mirror"})
               .exitCode,
           0);
  const QString text = TextOfPdf(path);
  QStringList lines = QString::fromUtf8(RunRenderer(instant + QStringList{"--readout"}).out)
                          .split('\n', Qt::SkipEmptyParts);
  QCOMPARE(lines.size(), 10);
  lines << "Instant UT: 2021-07-04T01:00Z"
        << "Carr.Rot. : 2245."
        << "View : inverted mirror (south up, east left), Stonyhurst grid";
  for (const QString& line : lines) QVERIFY2(text.contains(line.simplified()), qPrintable(line));

  QCOMPARE(RunRenderer({"--grid", "stonyhurst", "--b0", "-3", "--output", path}).exitCode, 0);
  QCOMPARE(TextOfPdf(path), QString::fromUtf8("B0 = -3°"));
}

void PdfPageTest::badPagesAreRefused_data() {
  QTest::addColumn<QStringList>("arguments");
  QTest::addColumn<QString>("named");
  const QStringList pdf = {"--output", "{dir}/page.pdf"};
  const QStringList template3 = pdf + QStringList{"--grid", "stonyhurst", "--b0", "3"};
  QTest::newRow("diameter 0") << (pdf + QStringList{"--diameter", "0mm"}) << "--diameter";
  QTest::newRow("diameter without unit")
      << (pdf + QStringList{"--diameter", "150"}) << "mm, cm or in";
  QTest::newRow("wider than A4") << (pdf + QStringList{"--diameter", "20cm"}) << "at most 192.6 mm";
  QTest::newRow("page unknown") << (pdf + QStringList{"--page", "A5"}) << "A4, A3 or Letter";
  QTest::newRow("diameter for a PNG")
      << QStringList{"--output", "{dir}/x.png", "--diameter", "1in"} << "PDF";
  QTest::newRow("size for a PDF") << (pdf + QStringList{"--size", "500x500"}) << "--size";
  QTest::newRow("template of a rigid grid")
      << (pdf + QStringList{"--b0", "3", "--grid", "fixed"}) << "--grid stonyhurst";
  QTest::newRow("template at an instant") << (template3 + QStringList{"--hour", "3"}) << "--hour";
  QTest::newRow("template turned")
      << (template3 + QStringList{"--orientation", "sky"}) << "--orientation";
  QTest::newRow("template beyond the pole")
      << (pdf + QStringList{"--grid", "stonyhurst", "--b0", "91"}) << "-90 to 90";
}

void PdfPageTest::badPagesAreRefused() {
  QFETCH(QStringList, arguments);
  QFETCH(QString, named);
  QTemporaryDir target;
  arguments.replaceInStrings("{dir}", target.path());
  const Outcome outcome = RunRenderer(arguments);
  QCOMPARE(outcome.exitCode, 2);
  QVERIFY2(outcome.err.contains(named.toUtf8()), outcome.err.constData());
  QVERIFY(QDir(target.path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
}

}  // namespace helidisk

QTEST_GUILESS_MAIN(helidisk::PdfPageTest)
#include "pdfpage_test.moc"
