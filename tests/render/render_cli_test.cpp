#include "render_cli_test.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <new>
#include <stdexcept>
#include <vector>

#include "disk_orientation.h"
#include "diskgeometry.h"
#include "grids.h"
#include "program_run.h"
#include "projection.h"
#include "qimagecanvas.h"
#include "recording_canvas.h"
#include "redraw.h"
#include "renderrun.h"
#include "synthetic_sun.h"
#include "trigfunc.h"

namespace helidisk {
namespace {

constexpr std::int32_t kDegree = 3600;  // arc seconds
constexpr std::int32_t kRedMeridian = 280 * kDegree;
constexpr QRgb kBlackPixel = qRgb(0, 0, 0);
constexpr QRgb kYellowPixel = qRgb(255, 255, 0);
constexpr QRgb kRedPixel = qRgb(255, 0, 0);

using Outcome = fakes::ProgramOutcome;

Outcome Run(const QStringList& arguments,
            const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment(),
            const std::function<void()>& inChild = {}) {
  return fakes::RunProgram(QStringLiteral(HELIDISK_RENDER_PROGRAM), arguments, environment,
                           inChild);
}

mode_t FileTypeOf(const QString& path, mode_t* permissions = nullptr) {
  struct stat status {};
  if (::lstat(QFile::encodeName(path).constData(), &status) != 0) return 0;
  if (permissions != nullptr) *permissions = status.st_mode & 07777;
  return status.st_mode & S_IFMT;
}

// A named pipe, a memory device (null or full) or a read-only file; false
// where this system does not let the test make or open a device.
bool MakeTarget(const QString& kind, const QString& path) {
  const QByteArray name = QFile::encodeName(path);
  if (kind == "pipe") return ::mkfifo(name.constData(), 0600) == 0;
  if (kind == "file") {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write("older picture") > 0 &&
           file.setPermissions(QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
  }
  const unsigned minor = kind == "null" ? 3 : 7;
  if (::mknod(name.constData(), S_IFCHR | 0600, makedev(1, minor)) != 0) return false;
  const int probe = ::open(name.constData(), O_WRONLY | O_CLOEXEC);
  if (probe >= 0) ::close(probe);
  return probe >= 0;
}

QStringList Lines(const QByteArray& utf8) {
  QStringList lines = QString::fromUtf8(utf8).split('\n');
  if (!lines.isEmpty() && lines.back().isEmpty()) lines.removeLast();
  return lines;
}

QStringList ReadoutOf(const QStringList& arguments) {
  const Outcome outcome = Run(arguments + QStringList{"--readout"});
  if (outcome.exitCode != 0 || !outcome.err.isEmpty()) return {};
  return Lines(outcome.out);
}

QByteArray FileContents(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll();
}

// The disk's frame for a whole hour of a year at the design size, as the
// renderer's redraw hands it back, so that the tests can ask the projection
// where a point lies.
DiskFrame FrameOfHour(std::int32_t year, std::int32_t hour) {
  RenderOptions options;
  options.year = year;
  options.hourPosition = hour;
  fakes::RecordingCanvas canvas;
  return DrawPicture(options, canvas).frame;
}

fakes::Pixel PixelOf(const DiskFrame& frame, double longitudeArcSeconds,
                     double latitudeArcSeconds) {
  return fakes::PixelOf(frame, longitudeArcSeconds / kDegree, latitudeArcSeconds / kDegree);
}

double ShiftArcSeconds(bool differential, std::int32_t latitude, double hours) {
  return differential ? DifferentialShiftArcSeconds(latitude, hours) : 0.0;
}

// The operations of one redraw on a canvas that already carries the pen and
// brush an earlier redraw leaves, as the picture on screen always does.
std::vector<fakes::CanvasOp> DrawingOperations(std::int32_t year, std::int32_t hour,
                                               bool differential, std::int32_t controlWidth,
                                               std::int32_t controlHeight) {
  fakes::FakeForm form;
  form.geometry = DiskGeometryOfPicture(controlWidth, controlHeight);
  form.year = year;
  form.scrollPosition = hour;
  form.diffRotChecked = differential;
  form.canvas.SetPenColor(kBlack);
  form.canvas.SetPenWidth(2);
  form.canvas.SetBrushColor(kYellow);
  form.canvas.ops.clear();
  Redraw(form);
  std::vector<fakes::CanvasOp> drawing;
  for (const fakes::CanvasOp& op : form.canvas.ops) {
    if (op.kind == fakes::Op::FillRect || op.kind == fakes::Op::Ellipse ||
        op.kind == fakes::Op::LineTo) {
      drawing.push_back(op);
    }
  }
  return drawing;
}

QString HexColor(Color color) {
  return QStringLiteral("#%1%2%3")
      .arg(color.Red, 2, 16, QChar('0'))
      .arg(color.Green, 2, 16, QChar('0'))
      .arg(color.Blue, 2, 16, QChar('0'));
}

struct SvgElement {
  QString name;
  QXmlStreamAttributes attributes;
};

// The root's attributes and its child elements, or an error text.
bool ParseSvg(const QByteArray& document, QXmlStreamAttributes& root,
              std::vector<SvgElement>& elements, QString& error) {
  QXmlStreamReader reader(document);
  int depth = 0;
  while (reader.readNext() != QXmlStreamReader::EndDocument && !reader.hasError()) {
    if (reader.isStartElement()) {
      ++depth;
      if (depth == 1) root = reader.attributes();
      if (depth == 2) elements.push_back({reader.name().toString(), reader.attributes()});
      if (depth > 2) {
        error = "nested element " + reader.name().toString();
        return false;
      }
    } else if (reader.isEndElement()) {
      --depth;
    }
  }
  error = reader.errorString();
  return !reader.hasError();
}

}  // namespace

QString RenderCliTest::PathInDir(const QString& name) const { return dir_.filePath(name); }

void RenderCliTest::initTestCase() { QVERIFY(dir_.isValid()); }

void RenderCliTest::readoutEqualsTheWindowsTexts_data() {
  QTest::addColumn<QString>("hour");
  QTest::addColumn<QString>("separator");
  QTest::addColumn<QStringList>("expected");
  const QStringList position30 = {"Julian.Tag: 2459216.75",  "Datum     : 2021-01-02",
                                  "Zeit UT   : 06:00",       "RAapp     : 18:52:25",
                                  "DEapp     :-22:53:25",    "Distanz   :  0.98330",
                                  "Halbmesser: 16:16",       "Pos.winkel (N):   1.35°",
                                  "Heliogr.Breite:  -3.17°", "Heliogr.Länge : 263.69°"};
  const QStringList position4417 = {"Julian.Tag: 2459399.54",  "Datum     : 2021-07-04",
                                    "Zeit UT   : 01:00",       "RAapp     : 06:53:28",
                                    "DEapp     : 22:52:07",    "Distanz   :  1.01670",
                                    "Halbmesser: 15:44",       "Pos.winkel (N):  -1.23°",
                                    "Heliogr.Breite:   3.20°", "Heliogr.Länge :  11.14°"};
  QStringList position30Comma = position30;
  position30Comma[0] = "Julian.Tag: 2459216,75";
  QStringList position4417Comma = position4417;
  position4417Comma[0] = "Julian.Tag: 2459399,54";
  QTest::newRow("30, full stop") << "30"
                                 << "." << position30;
  QTest::newRow("4417, full stop") << "4417"
                                   << "." << position4417;
  QTest::newRow("30, comma") << "30"
                             << "," << position30Comma;
  QTest::newRow("4417, comma") << "4417"
                               << "," << position4417Comma;
}

void RenderCliTest::readoutEqualsTheWindowsTexts() {
  QFETCH(QString, hour);
  QFETCH(QString, separator);
  QFETCH(QStringList, expected);
  for (const QString grid : {"diff", "fixed"}) {
    QCOMPARE(ReadoutOf({"--year", "2021", "--hour", hour, "--decimal-separator", separator,
                        "--grid", grid}),
             expected);
  }
}

void RenderCliTest::readoutSeparatorDefaultsToTheLocales_data() {
  QTest::addColumn<QString>("locale");
  QTest::addColumn<QString>("julianDay");
  QTest::newRow("C") << "C"
                     << "Julian.Tag: 2459216.75";
  QTest::newRow("German") << "de_DE.UTF-8"
                          << "Julian.Tag: 2459216,75";
  QTest::newRow("British") << "en_GB.UTF-8"
                           << "Julian.Tag: 2459216.75";
}

void RenderCliTest::readoutSeparatorDefaultsToTheLocales() {
  QFETCH(QString, locale);
  QFETCH(QString, julianDay);
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.remove("LC_NUMERIC");
  environment.remove("LANG");
  environment.insert("LC_ALL", locale);
  const Outcome outcome = Run({"--year", "2021", "--hour", "30", "--readout"}, environment);
  QCOMPARE(outcome.exitCode, 0);
  QCOMPARE(Lines(outcome.out).value(0), julianDay);
}

void RenderCliTest::instantGivesTheReadoutOfItsWholeHour_data() {
  QTest::addColumn<QString>("instant");
  QTest::addColumn<QString>("year");
  QTest::addColumn<QString>("hour");
  QTest::newRow("new year") << "2021-01-01T00:00"
                            << "2021"
                            << "0";
  QTest::newRow("position 30") << "2021-01-02T06:00"
                               << "2021"
                               << "30";
  QTest::newRow("position 4417") << "2021-07-04T01:00"
                                 << "2021"
                                 << "4417";
  QTest::newRow("last position, leap year") << "2024-12-30T00:00"
                                            << "2024"
                                            << "8736";
  QTest::newRow("Julian calendar") << "1500-02-29T13:00"
                                   << "1500"
                                   << "1429";
  QTest::newRow("before the era") << "-0044-03-15T12:00"
                                  << "-44"
                                  << "1788";
}

void RenderCliTest::instantGivesTheReadoutOfItsWholeHour() {
  QFETCH(QString, instant);
  QFETCH(QString, year);
  QFETCH(QString, hour);
  const QStringList byHour = ReadoutOf({"--year", year, "--hour", hour});
  QCOMPARE(byHour.size(), kReadoutLabelCount);
  QCOMPARE(ReadoutOf({"--at", instant}), byHour);
}

void RenderCliTest::instantGivesThePictureOfItsWholeHour() {
  const QString byAt = PathInDir("at.png");
  const QString byHour = PathInDir("hour.png");
  QCOMPARE(Run({"--at", "2021-07-04T01:00", "--output", byAt}).exitCode, 0);
  QCOMPARE(Run({"--year", "2021", "--hour", "4417", "--output", byHour}).exitCode, 0);
  QVERIFY(!FileContents(byAt).isEmpty());
  QCOMPARE(FileContents(byAt), FileContents(byHour));
}

void RenderCliTest::instantBetweenHoursAndBeyondTheScrollBar_data() {
  QTest::addColumn<QString>("instant");
  QTest::addColumn<QString>("julianDay");
  QTest::addColumn<QString>("date");
  QTest::addColumn<QString>("time");
  QTest::newRow("half past one") << "2021-07-04T01:30"
                                 << "Julian.Tag: 2459399.56"
                                 << "Datum     : 2021-07-04"
                                 << "Zeit UT   : 01:30";
  QTest::newRow("last minute of a leap year") << "2024-12-31T23:59"
                                              << "Julian.Tag: 2460676.50"
                                              << "Datum     : 2024-12-31"
                                              << "Zeit UT   : 23:59";
}

void RenderCliTest::instantBetweenHoursAndBeyondTheScrollBar() {
  QFETCH(QString, instant);
  QFETCH(QString, julianDay);
  QFETCH(QString, date);
  QFETCH(QString, time);
  const QStringList readout = ReadoutOf({"--at", instant, "--decimal-separator", "."});
  QCOMPARE(readout.size(), kReadoutLabelCount);
  QCOMPARE(readout[0], julianDay);
  QCOMPARE(readout[1], date);
  QCOMPARE(readout[2], time);
}

void RenderCliTest::pngOfTheDesignSize_data() {
  QTest::addColumn<int>("hour");
  QTest::addColumn<bool>("differential");
  QTest::newRow("new year, differential") << 0 << true;
  QTest::newRow("new year, fixed") << 0 << false;
  QTest::newRow("4417, differential") << 4417 << true;
  QTest::newRow("4582, fixed") << 4582 << false;
  QTest::newRow("2000, differential") << 2000 << true;
}

void RenderCliTest::pngOfTheDesignSize() {
  QFETCH(int, hour);
  QFETCH(bool, differential);
  const QString path = PathInDir("design.png");
  const Outcome outcome = Run({"--year", "2021", "--hour", QString::number(hour), "--grid",
                               differential ? "diff" : "fixed", "--output", path});
  QCOMPARE(outcome.exitCode, 0);
  QVERIFY(outcome.err.isEmpty());
  QVERIFY(outcome.out.isEmpty());
  const QImage image(path, "PNG");
  QCOMPARE(image.size(), QSize(998, 626));

  for (const QPoint corner : {QPoint(0, 0), QPoint(997, 0), QPoint(0, 625), QPoint(997, 625)}) {
    QCOMPARE(image.pixel(corner), kBlackPixel);
  }

  const DiskFrame frame = FrameOfHour(2021, hour);
  // The middle of the grid cell nearest the disk centre, 5 deg north.
  const std::int32_t cellLatitude = 5 * kDegree;
  const double cellShift = ShiftArcSeconds(differential, cellLatitude, hour);
  const double centreLongitude = frame.l0Rad * RadToDeg * kDegree;
  const double cellLongitude =
      cellShift + (std::floor((centreLongitude - cellShift) / (10 * kDegree)) * 10 + 5) * kDegree;
  const fakes::Pixel cell = PixelOf(frame, cellLongitude, cellLatitude);
  QVERIFY(cell.depth > 0.9);
  QCOMPARE(image.pixel(cell.x, cell.y), kYellowPixel);

  // The red meridian where the projection puts its samples (every odd
  // degree is one in both grids), away from the parallels and from the
  // axis markers it carries at 25 deg.
  int visibleSamples = 0;
  for (const std::int32_t latitude : {-43 * kDegree, -13 * kDegree, 13 * kDegree, 43 * kDegree}) {
    const fakes::Pixel sample =
        PixelOf(frame, kRedMeridian + ShiftArcSeconds(differential, latitude, hour), latitude);
    if (sample.depth < 0.2) continue;
    ++visibleSamples;
    QCOMPARE(image.pixel(sample.x, sample.y), kRedPixel);
  }
  QVERIFY(visibleSamples > 0);
}

void RenderCliTest::pngHoldsTheRasterCanvasExactly() {
  const QString path = PathInDir("exact.png");
  QCOMPARE(
      Run({"--year", "2021", "--hour", "4417", "--size", "640x480", "--output", path}).exitCode, 0);
  RenderOptions options;
  options.year = 2021;
  options.hourPosition = 4417;
  options.controlWidth = 640;
  options.controlHeight = 480;
  QImageCanvas canvas;
  canvas.SetWidth(638);
  canvas.SetHeight(478);
  DrawPicture(options, canvas);
  const QImage written = QImage(path, "PNG").convertToFormat(QImage::Format_RGB32);
  QCOMPARE(written, canvas.Image());
}

void RenderCliTest::picturesLoadOnlyWhatTheyNeed_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<bool>("loadsQt");
  QTest::newRow("PNG") << "disk.png" << false;
  QTest::newRow("SVG") << "disk.svg" << false;
  QTest::newRow("PDF page") << "disk.pdf" << true;
}

void RenderCliTest::picturesLoadOnlyWhatTheyNeed() {
  QFETCH(QString, name);
  QFETCH(bool, loadsQt);
  // The dynamic loader names every file it opens on standard error.  A
  // page starts Qt, which under QT_FATAL_WARNINGS needs a session's
  // runtime folder not to end in its complaint about the missing one.
  QTemporaryDir runtime;
  QVERIFY(runtime.isValid());
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("LD_DEBUG", "files");
  environment.insert("XDG_RUNTIME_DIR", runtime.path());
  const Outcome outcome = Run({"--hour", "4417", "--output", PathInDir(name)}, environment);
  QCOMPARE(outcome.exitCode, 0);
  QCOMPARE(outcome.err.contains("libQt6Gui.so"), loadsQt);
  QVERIFY2(!outcome.err.contains("/imageformats/"), outcome.err.constData());
}

void RenderCliTest::svgHoldsOneElementPerDrawingOperation_data() {
  QTest::addColumn<int>("hour");
  QTest::addColumn<bool>("differential");
  QTest::addColumn<int>("controlWidth");
  QTest::addColumn<int>("controlHeight");
  QTest::newRow("4417, differential, design size") << 4417 << true << 1000 << 628;
  QTest::newRow("30, fixed, design size") << 30 << false << 1000 << 628;
  QTest::newRow("negative radius") << 30 << true << 300 << 20;
  QTest::newRow("empty image") << 30 << true << 2 << 2;
}

void RenderCliTest::svgHoldsOneElementPerDrawingOperation() {
  QFETCH(int, hour);
  QFETCH(bool, differential);
  QFETCH(int, controlWidth);
  QFETCH(int, controlHeight);
  const QString path = PathInDir("picture.svg");
  const Outcome outcome = Run(
      {"--year", "2021", "--hour", QString::number(hour), "--grid", differential ? "diff" : "fixed",
       "--size", QStringLiteral("%1x%2").arg(controlWidth).arg(controlHeight), "--output", path});
  QCOMPARE(outcome.exitCode, 0);

  QXmlStreamAttributes root;
  std::vector<SvgElement> elements;
  QString error;
  QVERIFY2(ParseSvg(FileContents(path), root, elements, error), qPrintable(error));
  const QString width = QString::number(std::max(controlWidth - 2, 0));
  const QString height = QString::number(std::max(controlHeight - 2, 0));
  QCOMPARE(root.value("width").toString(), width);
  QCOMPARE(root.value("height").toString(), height);
  QCOMPARE(root.value("viewBox").toString(), "0 0 " + width + " " + height);

  const std::vector<fakes::CanvasOp> operations =
      DrawingOperations(2021, hour, differential, controlWidth, controlHeight);
  QCOMPARE(elements.size(), operations.size());
  for (std::size_t i = 0; i < operations.size(); ++i) {
    const fakes::CanvasOp& op = operations[i];
    const SvgElement& element = elements[i];
    if (op.kind == fakes::Op::FillRect) {
      QCOMPARE(element.name, "rect");
    } else if (op.kind == fakes::Op::Ellipse) {
      QCOMPARE(element.name, "ellipse");
      QCOMPARE(element.attributes.value("stroke").toString(), HexColor(op.penColor));
    } else {
      QCOMPARE(element.name, "line");
      QCOMPARE(element.attributes.value("stroke").toString(), HexColor(op.penColor));
      QCOMPARE(element.attributes.value("stroke-width").toInt(), op.penWidth);
      QCOMPARE(element.attributes.value("stroke-linecap").toString(),
               op.penWidth > 1 ? "round" : "");
    }
  }
}

void RenderCliTest::standardOutputTakesThePicture_data() {
  QTest::addColumn<QString>("format");
  QTest::newRow("png") << "png";
  QTest::newRow("svg") << "svg";
}

void RenderCliTest::standardOutputTakesThePicture() {
  QFETCH(QString, format);
  const QString path = PathInDir("file." + format);
  const QStringList instant = {"--year", "2021", "--hour", "4417"};
  QCOMPARE(Run(instant + QStringList{"--output", path}).exitCode, 0);
  const Outcome outcome = Run(instant + QStringList{"--output", "-", "--format", format});
  QCOMPARE(outcome.exitCode, 0);
  QVERIFY(outcome.err.isEmpty());
  QVERIFY(!outcome.out.isEmpty());
  QCOMPARE(outcome.out, FileContents(path));
}

void RenderCliTest::formatOverridesTheExtension() {
  const QString path = PathInDir("picture.dat");
  QCOMPARE(Run({"--year", "2021", "--output", path, "--format", "png"}).exitCode, 0);
  QCOMPARE(QImage(path, "PNG").size(), QSize(998, 626));
}

void RenderCliTest::orientationsReflectTheSkyView() {
  const auto pictureIn = [this](const QString& orientation) {
    const QString path = PathInDir(orientation + ".png");
    const Outcome outcome = Run({"--at", "2026-04-07T12:00", "--grid", "fixed", "--orientation",
                                 orientation, "--output", path});
    return outcome.exitCode == 0 ? QImage(path, "PNG") : QImage();
  };
  const QImage sky = pictureIn("sky");
  QVERIFY(!sky.isNull());
  constexpr int kCentreX = 499;
  constexpr int kCentreY = 313;
  struct Case {
    const char* orientation;
    bool reflectX, reflectY;
  };
  for (const Case c : {Case{"mirror", true, false}, Case{"inverted", true, true},
                       Case{"inverted-mirror", false, true}}) {
    const QImage view = pictureIn(c.orientation);
    QCOMPARE(view.size(), sky.size());
    // Rounding and the pixel rows of even-width pens put a reflected line
    // at most one pixel off: a pixel differs when no sky pixel within one
    // pixel of its reflection has its colour.
    const auto nearInSky = [&sky](int skyX, int skyY, QRgb colour) {
      for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
          if (sky.valid(skyX + dx, skyY + dy) && sky.pixel(skyX + dx, skyY + dy) == colour) {
            return true;
          }
        }
      }
      return false;
    };
    qint64 compared = 0;
    qint64 differing = 0;
    for (int y = 0; y < view.height(); ++y) {
      for (int x = 0; x < view.width(); ++x) {
        const int skyX = c.reflectX ? 2 * kCentreX - x : x;
        const int skyY = c.reflectY ? 2 * kCentreY - y : y;
        if (!sky.valid(skyX, skyY)) continue;
        ++compared;
        differing += nearInSky(skyX, skyY, view.pixel(x, y)) ? 0 : 1;
      }
    }
    QVERIFY2(differing * 200 < compared, qPrintable(QStringLiteral("%1: %2 of %3 pixels differ")
                                                        .arg(c.orientation)
                                                        .arg(differing)
                                                        .arg(compared)));
    QVERIFY2(differing > 0, c.orientation);  // the compass is not reflected
  }
}

void RenderCliTest::jsonAndLocateDescribeTheInstant() {
  const QStringList instant = {"--at", "2026-01-01T00:00", "--orientation", "mirror"};
  const Outcome json = Run(instant + QStringList{"--json", "--locate", "400,250"});
  QCOMPARE(json.exitCode, 0);
  QJsonParseError error{};
  const QJsonObject object = QJsonDocument::fromJson(json.out, &error).object();
  QCOMPARE(error.error, QJsonParseError::NoError);
  QCOMPARE(object.value("utc").toString(), QStringLiteral("2026-01-01T00:00Z"));
  QCOMPARE(object.value("jd").toDouble(), 2461041.5);
  QCOMPARE(object.value("carrington_rotation").toInt(), 2306);
  QVERIFY(std::abs(object.value("carrington_fraction").toDouble() - 2306.169) < 0.0005);
  QCOMPARE(object.value("orientation").toString(), QStringLiteral("mirror"));
  const QJsonObject disk = object.value("disk").toObject();
  QCOMPARE(disk.value("cx").toDouble(), 499.0);
  QCOMPARE(disk.value("radius").toDouble(), 306.0);

  // The readout's L0 and the JSON's agree to the readout's two decimals.
  const QStringList readout = ReadoutOf(instant);
  QCOMPARE(readout.size(), 10);
  QCOMPARE(QString::number(object.value("l0_deg").toDouble(), 'f', 2) + QString::fromUtf8("°"),
           readout[9].mid(15).trimmed());

  // The point as --locate prints it, line for line.
  const QJsonObject point = object.value("point").toObject();
  QVERIFY(point.value("on_disk").toBool());
  const Outcome located = Run(instant + QStringList{"--locate", "400,250"});
  QCOMPARE(located.exitCode, 0);
  for (const QString& line : Lines(located.out)) {
    const QString name = line.section(": ", 0, 0);
    const QString value = line.section(": ", 1);
    const QJsonValue expected = point.value(name);
    if (expected.isBool()) {
      QCOMPARE(value, QString::fromLatin1(expected.toBool() ? "true" : "false"));
    } else {
      QCOMPARE(value.toDouble(), expected.toDouble());
    }
  }
  // In the mirror view east is on the right: a point left of the centre lies
  // west of the central meridian.
  QVERIFY(point.value("cm_distance_deg").toDouble() > 0);

  const Outcome sky = Run({"--at", "2026-01-01T00:00", "--json", "--locate", "20.5,30"});
  const QJsonObject skyPoint = QJsonDocument::fromJson(sky.out).object().value("point").toObject();
  QVERIFY(!skyPoint.value("on_disk").toBool());
  QVERIFY(skyPoint.value("latitude_deg").isNull());
  QVERIFY(skyPoint.value("rho").toDouble() > 1);
}

void RenderCliTest::farYearsWarnOrFail_data() {
  QTest::addColumn<QStringList>("instant");
  QTest::addColumn<int>("exitCode");
  QTest::addColumn<QString>("message");
  QTest::newRow("beyond the calendar, --year")
      << QStringList{"--year", "5874738"} << 1 << "the redraw failed: Integer overflow";
  QTest::newRow("beyond the calendar, --at")
      << QStringList{"--at", "5874738-01-01T00:00"} << 1 << "the redraw failed: Integer overflow";
  QTest::newRow("negative distance") << QStringList{"--year", "500000"} << 1 << "-29.16186";
  QTest::newRow("distance beyond the field")
      << QStringList{"--year", "2000000"} << 1 << "the solar theory fails";
  QTest::newRow("after the known range")
      << QStringList{"--year", "12000"} << 0 << "accuracy of the solar theory is unknown";
  QTest::newRow("before the known range")
      << QStringList{"--at", "-5000-06-01T00:00"} << 0 << "for the year -5000";
}

void RenderCliTest::farYearsWarnOrFail() {
  QFETCH(QStringList, instant);
  QFETCH(int, exitCode);
  QFETCH(QString, message);
  const QString path = PathInDir("far.png");
  QFile::remove(path);
  const Outcome outcome = Run(instant + QStringList{"--readout", "--output", path});
  QCOMPARE(outcome.exitCode, exitCode);
  QVERIFY2(outcome.err.contains(message.toUtf8()), outcome.err.constData());
  QCOMPARE(QFile::exists(path), exitCode == 0);
  QCOMPARE(Lines(outcome.out).size(), exitCode == 0 ? 10 : 0);
}

void RenderCliTest::gridOverAnImageLiesWhereLocateSays() {
  fakes::SyntheticSun sun = fakes::MakeSun(900, 700, 431.6, 352.3, 300, 0.02);
  const QString imagePath = PathInDir("sun.png");
  QVERIFY(fakes::GreyImage(sun).save(imagePath));
  const QString overlaid = PathInDir("overlaid.png");
  const QStringList common = {"--image", imagePath, "--at",       "2026-01-01T00:00",
                              "--grid",  "fixed",   "--rotation", "30"};
  const Outcome drawn = Run(common + QStringList{"--output", overlaid, "--json"});
  QCOMPARE(drawn.exitCode, 0);
  const QJsonObject image = QJsonDocument::fromJson(drawn.out).object().value("image").toObject();
  QCOMPARE(image.value("source").toString(), QStringLiteral("fit"));
  QVERIFY(std::abs(image.value("cx").toDouble() - 431.6) < 0.5);
  QVERIFY(std::abs(image.value("radius").toDouble() - 300) < 0.5);
  QCOMPARE(image.value("rotation_deg").toDouble(), 30.0);

  const QImage picture(overlaid, "PNG");
  QCOMPARE(picture.size(), QSize(900, 700));
  int checked = 0;
  for (int y = 100; y < 600 && checked < 3; y += 37) {
    for (int x = 150; x < 750; ++x) {
      if (picture.pixel(x, y) != kRedPixel) continue;
      const Outcome located =
          Run(common + QStringList{"--locate", QStringLiteral("%1,%2").arg(x).arg(y)});
      QCOMPARE(located.exitCode, 0);
      const QStringList lines = Lines(located.out);
      const double longitude = lines.filter("longitude_deg: ").front().mid(15).toDouble();
      const double mu = lines.filter("mu: ").front().mid(4).toDouble();
      // The 2 px pen and the rounding to pixels put the line within two
      // pixels of its meridian, an angle that grows toward the limb.
      const double pixelDeg = 2 * RadToDeg / (300 * std::max(mu, 0.2));
      QVERIFY2(std::abs(longitude - 280) < pixelDeg,
               qPrintable(QStringLiteral("(%1, %2) at %3").arg(x).arg(y).arg(longitude)));
      ++checked;
      break;
    }
  }
  QVERIFY(checked > 0);
}

// The grid over an image written as FITS carries the observer's geometry:
// opened again, the file is placed by its header, not by a limb fit, with
// the same disk, and a pixel of it lies at the same heliographic place as
// on the image it came from.  A mirrored view has no such geometry.
void RenderCliTest::gridOverAnImageAsFitsIsPlacedByItsHeader() {
  fakes::SyntheticSun sun = fakes::MakeSun(900, 700, 431.6, 352.3, 300, 0.02);
  const QString imagePath = PathInDir("sun.png");
  QVERIFY(fakes::GreyImage(sun).save(imagePath));
  const QString fitsPath = PathInDir("overlaid.fits");
  const QStringList at = {"--at", "2026-01-01T00:00"};
  const QStringList turned = {"--rotation", "30"};
  QCOMPARE(Run(QStringList{"--image", imagePath} + at + turned + QStringList{"--output", fitsPath})
               .exitCode,
           0);
  const auto placed = [&](const QString& path, const QStringList& view) {
    const Outcome outcome = Run(QStringList{"--image", path} + at + view +
                                QStringList{"--json", "--locate", "500,250"});
    return QJsonDocument::fromJson(outcome.out).object();
  };
  const QJsonObject original = placed(imagePath, turned);
  const QJsonObject exported = placed(fitsPath, {});
  QCOMPARE(exported.value("image").toObject().value("source").toString(), QStringLiteral("header"));
  for (const char* key : {"cx", "cy", "radius"}) {
    QVERIFY2(std::abs(exported.value("image").toObject().value(key).toDouble() -
                      original.value("image").toObject().value(key).toDouble()) < 1e-3,
             key);
  }
  QVERIFY(original.value("point").toObject().value("on_disk").toBool());
  for (const char* key : {"latitude_deg", "longitude_deg"}) {
    QVERIFY2(std::abs(exported.value("point").toObject().value(key).toDouble() -
                      original.value("point").toObject().value(key).toDouble()) < 1e-3,
             key);
  }

  const Outcome mirrored = Run(QStringList{"--image", imagePath} + at +
                               QStringList{"--orientation", "mirror", "--output", fitsPath});
  QCOMPARE(mirrored.exitCode, 1);
  QVERIFY2(mirrored.err.contains("mirrored view"), mirrored.err.constData());
  // Written as any other output, also into a pipe.
  const Outcome piped = Run(QStringList{"--image", imagePath} + at + turned +
                            QStringList{"--format", "fits", "--output", "-"});
  QCOMPARE(piped.exitCode, 0);
  QFile file(fitsPath);
  QVERIFY(file.open(QIODevice::ReadOnly));
  QCOMPARE(piped.out, file.readAll());
}

void RenderCliTest::badImagesFailNamingTheFile_data() {
  QTest::addColumn<QByteArray>("contents");
  QTest::addColumn<QString>("problem");
  QTest::newRow("empty") << QByteArray() << "empty";
  QTest::newRow("text") << QByteArray("not a picture at all\n") << "sun.png";
  QTest::newRow("no disk") << QByteArray("no disk") << "sun.png";
}

void RenderCliTest::badImagesFailNamingTheFile() {
  QFETCH(QByteArray, contents);
  QFETCH(QString, problem);
  const QString imagePath = PathInDir("sun.png");
  if (QTest::currentDataTag() == QByteArrayLiteral("no disk")) {
    QImage dark(200, 150, QImage::Format_Grayscale8);
    dark.fill(12);
    QVERIFY(dark.save(imagePath));
  } else {
    QFile file(imagePath);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(contents);
  }
  const QString output = PathInDir("over.png");
  QFile::remove(output);
  const Outcome outcome =
      Run({"--image", imagePath, "--at", "2026-01-01T00:00", "--output", output});
  QCOMPARE(outcome.exitCode, 1);
  QVERIFY2(outcome.err.contains(imagePath.toUtf8()), outcome.err.constData());
  QVERIFY2(outcome.err.contains(problem.toUtf8()), outcome.err.constData());
  QVERIFY(!QFile::exists(output));
}

void RenderCliTest::badInputIsRefused_data() {
  QTest::addColumn<QStringList>("arguments");
  QTest::addColumn<QString>("named");
  const QString out = "{out}";
  const QStringList to = {"--output", out};
  QTest::newRow("unknown option") << (QStringList{"--colour", "red"} + to) << "--colour";
  QTest::newRow("stray argument") << (QStringList{"2021"} + to) << "'2021'";
  QTest::newRow("hour without value") << (to + QStringList{"--hour"}) << "--hour";
  QTest::newRow("hour not a number") << (QStringList{"--hour", "noon"} + to) << "0 to 8736";
  QTest::newRow("hour fraction") << (QStringList{"--hour", "12.5"} + to) << "0 to 8736";
  QTest::newRow("hour below 0") << (QStringList{"--hour", "-1"} + to) << "0 to 8736";
  QTest::newRow("hour above 8736") << (QStringList{"--hour", "8737"} + to) << "0 to 8736";
  QTest::newRow("hour twice") << (QStringList{"--hour", "1", "--hour", "2"} + to) << "--hour";
  QTest::newRow("year malformed") << (QStringList{"--year", "20x1"} + to) << "--year";
  QTest::newRow("year beyond int32")
      << (QStringList{"--year", "2147483648"} + to) << "-2147483648 to 2147483647";
  QTest::newRow("grid unknown") << (QStringList{"--grid", "both"} + to)
                                << "diff, fixed or stonyhurst";
  QTest::newRow("size width 0") << (QStringList{"--size", "0x628"} + to) << "1 to 20000";
  QTest::newRow("size height 0") << (QStringList{"--size", "1000x0"} + to) << "1 to 20000";
  QTest::newRow("size too wide") << (QStringList{"--size", "20001x628"} + to) << "1 to 20000";
  QTest::newRow("size too high") << (QStringList{"--size", "1000x20001"} + to) << "1 to 20000";
  QTest::newRow("size negative") << (QStringList{"--size", "-5x628"} + to) << "1 to 20000";
  QTest::newRow("size malformed") << (QStringList{"--size", "1000*628"} + to) << "--size";
  QTest::newRow("size without height") << (QStringList{"--size", "1000x"} + to) << "--size";
  QTest::newRow("png without pixels") << (QStringList{"--size", "2x600"} + to) << "--size";
  QTest::newRow("instant malformed") << (QStringList{"--at", "2021-07-04 01:00"} + to) << "--at";
  QTest::newRow("instant month 13") << (QStringList{"--at", "2021-13-01T00:00"} + to) << "--at";
  QTest::newRow("instant 29 February") << (QStringList{"--at", "2021-02-29T00:00"} + to) << "--at";
  QTest::newRow("instant hour 24") << (QStringList{"--at", "2021-01-01T24:00"} + to) << "--at";
  QTest::newRow("instant in the calendar gap")
      << (QStringList{"--at", "1582-10-10T00:00"} + to) << "--at";
  QTest::newRow("instant with hour")
      << (QStringList{"--at", "2021-01-01T00:00", "--hour", "3"} + to) << "--at";
  QTest::newRow("instant with year")
      << (QStringList{"--year", "2021", "--at", "2021-01-01T00:00"} + to) << "--at";
  QTest::newRow("unknown extension") << QStringList{"--output", "{dir}/picture.jpg"} << "--output";
  QTest::newRow("no extension") << QStringList{"--output", "{dir}/picture"} << "--output";
  QTest::newRow("locate one number") << (QStringList{"--locate", "3"} + to) << "--locate";
  QTest::newRow("locate words") << (QStringList{"--locate", "a,b"} + to) << "--locate";
  QTest::newRow("locate infinite") << (QStringList{"--locate", "1,inf"} + to) << "--locate";
  QTest::newRow("json with readout") << QStringList{"--json", "--readout"} << "--json";
  QTest::newRow("orientation unknown")
      << (QStringList{"--orientation", "upside-down"} + to) << "sky, mirror, inverted";
  QTest::newRow("orientation in capitals")
      << (QStringList{"--orientation", "Sky"} + to) << "--orientation";
  QTest::newRow("format unknown") << (QStringList{"--format", "gif"} + to)
                                  << "png, svg, pdf, jpeg or fits";
  QTest::newRow("rotation without image") << (QStringList{"--rotation", "10"} + to) << "--image";
  QTest::newRow("site out of range")
      << (QStringList{"--image", "{dir}/x.png", "--site", "95,10", "--output", "{out}"})
      << "--site";
  QTest::newRow("image with hour")
      << (QStringList{"--image", "{dir}/x.png", "--hour", "3", "--output", "{out}"}) << "--image";
  QTest::newRow("image as SVG") << (QStringList{"--image", "{dir}/x.png", "--output",
                                                "{dir}/x.svg"})
                                << "PNG, JPEG or FITS";
  QTest::newRow("standard output without format") << QStringList{"--output", "-"} << "--output";
  QTest::newRow("separator of two characters")
      << (QStringList{"--decimal-separator", ",,"} + to) << "--decimal-separator";
  QTest::newRow("separator a digit") << (QStringList{"--decimal-separator", "5"} + to) << "'5'";
  QTest::newRow("separator a minus") << (QStringList{"--decimal-separator", "-"} + to) << "'-'";
  QTest::newRow("separator a line separator")
      << (QStringList{"--decimal-separator", QString(QChar(0x2028))} + to) << "U+2028";
  QTest::newRow("separator a combining mark")
      << (QStringList{"--decimal-separator", QString(QChar(0x0301))} + to) << "U+0301";
  QTest::newRow("separator a control character")
      << (QStringList{"--decimal-separator", QString(QChar(0x07))} + to)
      << "U+0007 is not a printable character";
  QTest::newRow("separator empty")
      << (QStringList{"--decimal-separator", ""} + to) << "--decimal-separator";
  QTest::newRow("output empty") << QStringList{"--output="} << "--output";
  QTest::newRow("readout with a value") << (QStringList{"--readout=yes"} + to) << "--readout";
  QTest::newRow("nothing to do") << QStringList{"--hour", "3"} << "--output";
}

void RenderCliTest::badInputIsRefused() {
  QFETCH(QStringList, arguments);
  QFETCH(QString, named);
  QTemporaryDir target;
  QVERIFY(target.isValid());
  arguments.replaceInStrings("{out}", target.filePath("picture.png"));
  arguments.replaceInStrings("{dir}", target.path());
  const Outcome outcome = Run(arguments);
  QCOMPARE(outcome.exitCode, 2);
  QVERIFY(outcome.out.isEmpty());
  QVERIFY2(outcome.err.contains(named.toUtf8()), outcome.err.constData());
  // Nothing of the command line reaches the terminal as a control byte.
  QVERIFY(std::none_of(outcome.err.cbegin(), outcome.err.cend(),
                       [](char c) { return c >= 0 && c < ' ' && c != '\n'; }));
  QVERIFY(QDir(target.path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
}

void RenderCliTest::unwritableTargetLeavesNoFile() {
  QTemporaryDir target;
  QVERIFY(target.isValid());
  // A directory stands where the picture should go.
  QVERIFY(QDir(target.path()).mkdir("picture.png"));
  const Outcome outcome = Run({"--year", "2021", "--output", target.filePath("picture.png")});
  QCOMPARE(outcome.exitCode, 1);
  QVERIFY2(outcome.err.contains("picture.png"), outcome.err.constData());
  QCOMPARE(QDir(target.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
           QStringList{"picture.png"});
  QVERIFY(QFileInfo(target.filePath("picture.png")).isDir());
}

void RenderCliTest::missingDirectoryIsAFailure() {
  QTemporaryDir target;
  QVERIFY(target.isValid());
  const QString path = target.filePath("no/such/dir/picture.svg");
  const Outcome outcome = Run({"--year", "2021", "--output", path});
  QCOMPARE(outcome.exitCode, 1);
  QVERIFY2(outcome.err.contains("no/such/dir/picture.svg"), outcome.err.constData());
  QVERIFY(QDir(target.path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
}

void RenderCliTest::outputPathKeepsWhatStandsThere_data() {
  QTest::addColumn<QString>("kind");
  QTest::addColumn<bool>("throughLink");
  QTest::addColumn<QString>("reason");
  QTest::newRow("named pipe") << "pipe" << false << QString();
  QTest::newRow("link to a named pipe") << "pipe" << true << QString();
  QTest::newRow("null device") << "null" << false << QString();
  QTest::newRow("full device") << "full" << false << "No space left on device";
  QTest::newRow("read-only file") << "file" << false << QString();
  QTest::newRow("link to a read-only file") << "file" << true << QString();
}

void RenderCliTest::outputPathKeepsWhatStandsThere() {
  QFETCH(QString, kind);
  QFETCH(bool, throughLink);
  QFETCH(QString, reason);
  QTemporaryDir dir;
  QVERIFY(dir.isValid());
  const QString target = dir.filePath("target");
  const QString output = throughLink ? dir.filePath("link") : target;
  if (!MakeTarget(kind, target)) QSKIP("cannot make or open a device here");
  if (throughLink) QVERIFY(QFile::link(target, output));
  const mode_t type = FileTypeOf(target);
  const QStringList instant = {"--year", "2021", "--hour", "4417", "--format", "png"};
  const QByteArray picture = Run(instant + QStringList{"--output", "-"}).out;
  QVERIFY(!picture.isEmpty());

  QProcess reader;
  if (kind == "pipe") reader.start("cat", {target});
  const Outcome outcome = Run(instant + QStringList{"--output", output});
  // A reader left waiting means that nothing ever opened the pipe.
  if (kind == "pipe" && !reader.waitForFinished(5000)) {
    reader.kill();
    reader.waitForFinished();
  }

  QCOMPARE(outcome.exitCode, reason.isEmpty() ? 0 : 1);
  QCOMPARE(QString::fromUtf8(outcome.err),
           reason.isEmpty() ? QString()
                            : "helidisk-render: cannot write '" + output + "': " + reason + "\n");
  mode_t permissions = 0;
  QCOMPARE(FileTypeOf(target, &permissions), type);
  if (throughLink) QCOMPARE(FileTypeOf(output), mode_t{S_IFLNK});
  QCOMPARE(QDir(dir.path())
               .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)
               .size(),
           throughLink ? 2 : 1);
  if (kind == "pipe") QCOMPARE(reader.readAllStandardOutput(), picture);
  if (kind == "file") {
    QCOMPARE(FileContents(target), picture);
    QCOMPARE(permissions, mode_t{0444});
  }
}

void RenderCliTest::failedRedrawWritesNothing() {
  QTemporaryDir target;
  QVERIFY(target.isValid());
  const Outcome outcome = Run({"--year", "2147483647", "--output", target.filePath("picture.png")});
  QCOMPARE(outcome.exitCode, 1);
  QVERIFY2(outcome.err.contains("Integer overflow"), outcome.err.constData());
  QVERIFY(QDir(target.path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
}

// An image larger than the memory the process may take is refused as a
// failure, not written empty.
void RenderCliTest::imageBeyondMemoryIsAFailure() {
#if defined(__SANITIZE_ADDRESS__)
  QSKIP("AddressSanitizer reserves more address space than the limit allows");
#endif
  QTemporaryDir target;
  QVERIFY(target.isValid());
  const auto limitAddressSpace = [] {
    constexpr rlim_t kAddressSpaceBytes = rlim_t{1} << 30;
    const rlimit limit{kAddressSpaceBytes, kAddressSpaceBytes};
    setrlimit(RLIMIT_AS, &limit);
  };
  const Outcome outcome = Run({"--size", "20000x20000", "--output", target.filePath("picture.png")},
                              QProcessEnvironment::systemEnvironment(), limitAddressSpace);
  QCOMPARE(outcome.exitCode, 1);
  QVERIFY2(outcome.err.contains("not enough memory"), outcome.err.constData());
  QVERIFY(QDir(target.path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
}

void RenderCliTest::anyErrorEndsInExitStatusOne() {
  struct Case {
    std::function<int()> work;
    QByteArray message;
  };
  const Case cases[] = {
      {[]() -> int { throw std::bad_alloc(); }, "helidisk-render: not enough memory\n"},
      {[]() -> int { throw std::length_error("vector too long"); },
       "helidisk-render: vector too long\n"},
      {[] { return 0; }, ""},
  };
  for (const Case& c : cases) {
    std::FILE* err = std::tmpfile();
    QVERIFY(err != nullptr);
    const int status = ReportingFailures(err, c.work);
    QCOMPARE(status, c.message.isEmpty() ? 0 : 1);
    std::rewind(err);
    QByteArray written(256, '\0');
    written.resize(static_cast<qsizetype>(std::fread(written.data(), 1, 256, err)));
    std::fclose(err);
    QCOMPARE(written, c.message);
  }
}

void RenderCliTest::helpAndVersion() {
  const Outcome version = Run({"--version"});
  QCOMPARE(version.exitCode, 0);
  QCOMPARE(version.out, QByteArray("helidisk-render " HELIDISK_PROJECT_VERSION "\n"));

  const Outcome help = Run({"--help"});
  QCOMPARE(help.exitCode, 0);
  for (const char* option : {"--year", "--hour", "--at", "--grid", "--size", "--output", "--format",
                             "--readout", "--decimal-separator", "--version"}) {
    QVERIFY2(help.out.contains(option), option);
  }
}

void RenderCliTest::lostHelpAndVersionAreFailures_data() {
  QTest::addColumn<QString>("option");
  QTest::addColumn<bool>("closed");
  for (const QString option : {"--help", "--version"}) {
    QTest::addRow("%s, full", qPrintable(option)) << option << false;
    QTest::addRow("%s, closed", qPrintable(option)) << option << true;
  }
}

void RenderCliTest::lostHelpAndVersionAreFailures() {
  QFETCH(QString, option);
  QFETCH(bool, closed);
  const auto loseStandardOutput = [closed] {
    if (closed) {
      ::close(STDOUT_FILENO);
      return;
    }
    const int full = ::open("/dev/full", O_WRONLY);
    ::dup2(full, STDOUT_FILENO);
    ::close(full);
  };
  const Outcome outcome =
      Run({option}, QProcessEnvironment::systemEnvironment(), loseStandardOutput);
  QCOMPARE(outcome.exitCode, 1);
  QCOMPARE(outcome.err, QByteArray("helidisk-render: cannot write to standard output\n"));
}

}  // namespace helidisk

QTEST_GUILESS_MAIN(helidisk::RenderCliTest)
