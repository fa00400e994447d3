// helidisk-render --table: its rows against the single-instant --json of the
// built program, its three formats, and the command lines and years it
// refuses.
#include <fcntl.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <clocale>
#include <cmath>
#include <functional>
#include <nlohmann/json.hpp>
#include <optional>
#include <utility>

#include "ephemeristable.h"

namespace helidisk {
namespace {

using Json = nlohmann::ordered_json;

constexpr int kColumns = 11;

struct Outcome {
  int exitCode = -1;
  QByteArray out;
  QByteArray err;
};

Outcome Run(const QStringList& arguments, const std::function<void()>& inChild = {}) {
  QProcess process;
  if (inChild) process.setChildProcessModifier(inChild);
  process.start(QStringLiteral(HELIDISK_RENDER_PROGRAM), arguments);
  Outcome outcome;
  if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit) {
    return outcome;
  }
  outcome.exitCode = process.exitCode();
  outcome.out = process.readAllStandardOutput();
  outcome.err = process.readAllStandardError();
  return outcome;
}

Json JsonOf(const QByteArray& bytes) {
  return Json::parse(bytes.constBegin(), bytes.constEnd(), nullptr, false);
}

// The records of an RFC 4180 file: fields split at commas outside quotes, a
// doubled quote inside quotes read as one; every record must end in CR LF.
// Empty when the text breaks the rules.
std::optional<QList<QStringList>> CsvRecords(const QByteArray& bytes) {
  QList<QStringList> records;
  QStringList fields;
  QString field;
  bool quoted = false;
  for (qsizetype i = 0; i < bytes.size(); ++i) {
    const char c = bytes[i];
    if (quoted) {
      if (c != '"') {
        field += QChar::fromLatin1(c);
      } else if (i + 1 < bytes.size() && bytes[i + 1] == '"') {
        field += '"';
        ++i;
      } else {
        quoted = false;
      }
    } else if (c == '"' && field.isEmpty()) {
      quoted = true;
    } else if (c == ',') {
      fields << std::exchange(field, {});
    } else if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
      fields << std::exchange(field, {});
      records << std::exchange(fields, {});
      ++i;
    } else if (c == '\r' || c == '\n' || c == '"') {
      return std::nullopt;
    } else {
      field += QChar::fromLatin1(c);
    }
  }
  if (quoted || !field.isEmpty() || !fields.isEmpty()) return std::nullopt;
  return records;
}

}  // namespace

class TableTest : public QObject {
  Q_OBJECT

 private slots:
  void rowsEqualTheSingleInstantJson_data();
  void rowsEqualTheSingleInstantJson();
  void rotationStepsWhereL0Wraps();
  void csvIsRfc4180AndIgnoresTheLocale();
  void jsonIsOneArrayOfObjects();
  void textColumnsAlign();
  void badCommandLinesWriteNothing_data();
  void badCommandLinesWriteNothing();
  void failuresWriteNothingAndWarnOnce();
  void outputFileTakesTheTable();
};

// The last row of each table is a held-out instant, reached by whole steps
// across a calendar edge or far into a long table computed in parts.  At
// most of these minutes a Julian day taken straight from the date and time
// differs from the redraw's in its last bit.
void TableTest::rowsEqualTheSingleInstantJson_data() {
  QTest::addColumn<QString>("from");
  QTest::addColumn<QString>("step");
  QTest::addColumn<QString>("instant");
  QTest::newRow("equinox") << "2026-03-18T14:41"
                           << "1d"
                           << "2026-03-20T14:41";
  QTest::newRow("odd minutes") << "1987-03-05T14:00"
                               << "43m"
                               << "1987-03-05T14:43";
  QTest::newRow("calendar reform") << "1582-10-04"
                                   << "1d"
                                   << "1582-10-15T00:00";
  QTest::newRow("leap day") << "2024-02-28T23:53"
                            << "1d"
                            << "2024-02-29T23:53";
  QTest::newRow("early year") << "-4000-06-30T12:00"
                              << "1d"
                              << "-4000-07-01T12:00";
  QTest::newRow("last known year") << "9999-12-31T20:27"
                                   << "3h"
                                   << "9999-12-31T23:27";
  QTest::newRow("row 5000 of an hourly year") << "2026-01-01"
                                              << "1h"
                                              << "2026-07-28T08:00";
}

void TableTest::rowsEqualTheSingleInstantJson() {
  QFETCH(QString, from);
  QFETCH(QString, step);
  QFETCH(QString, instant);
  const Outcome single = Run({"--at", instant, "--json"});
  QCOMPARE(single.exitCode, 0);
  const Json expected = JsonOf(single.out);
  const QStringList range = {"--table", "--from", from, "--step", step, "--to", instant};

  const Outcome json = Run(range + QStringList{"--format", "json"});
  QCOMPARE(json.exitCode, 0);
  const Json row = JsonOf(json.out).back();
  QCOMPARE(row.size(), std::size_t{kColumns});
  for (const auto& [name, value] : row.items()) {
    QVERIFY2(value == expected.at(name), name.c_str());
  }

  const Outcome csv = Run(range + QStringList{"--format", "csv"});
  QCOMPARE(csv.exitCode, 0);
  const auto records = CsvRecords(csv.out);
  QVERIFY(records);
  const QStringList& names = records->front();
  const QStringList& fields = records->back();
  QCOMPARE(fields.size(), kColumns);
  QCOMPARE(fields[0].toStdString(), expected.at("utc").get<std::string>());
  for (int column = 1; column < kColumns; ++column) {
    QCOMPARE(fields[column].toDouble(), expected.at(names[column].toStdString()).get<double>());
  }
}

// L0 runs down from 360 deg to 0 deg through each rotation: where it jumps
// back up, the next rotation begins.
void TableTest::rotationStepsWhereL0Wraps() {
  const Outcome daily = Run({"--table", "--year", "2026", "--format", "json"});
  QCOMPARE(daily.exitCode, 0);
  const Json rows = JsonOf(daily.out);
  QCOMPARE(rows.size(), std::size_t{365});
  int wraps = 0;
  for (std::size_t i = 1; i < rows.size(); ++i) {
    const bool wrapped = rows[i]["l0_deg"].get<double>() > rows[i - 1]["l0_deg"].get<double>();
    wraps += wrapped ? 1 : 0;
    QCOMPARE(rows[i]["carrington_rotation"].get<int>(),
             rows[i - 1]["carrington_rotation"].get<int>() + (wrapped ? 1 : 0));
    const double fraction =
        rows[i]["carrington_rotation"].get<int>() + (360 - rows[i]["l0_deg"].get<double>()) / 360;
    QVERIFY(std::abs(rows[i]["carrington_fraction"].get<double>() - fraction) < 1e-9);
  }
  QCOMPARE(wraps, 13);
}

// Under a locale with a decimal comma the numbers still take a full stop.
void TableTest::csvIsRfc4180AndIgnoresTheLocale() {
  const InstantSeries series = SeriesFromTo({2026, 1, 1, 0, 0}, {2026, 1, 10, 0, 0}, 360);
  const std::string plain = EphemerisTable(series, TableFormat::Csv);
  const auto records = CsvRecords(QByteArray::fromStdString(plain));
  QVERIFY(records);
  QCOMPARE(records->size(), 38);
  QCOMPARE(records->front().join(','),
           QStringLiteral("utc,jd,ra_hours,dec_deg,distance_au,semidiameter_arcsec,p_deg,b0_deg,"
                          "l0_deg,carrington_rotation,carrington_fraction"));
  for (const QStringList& fields : *records) QCOMPARE(fields.size(), kColumns);
  QCOMPARE(records->at(1).at(1), QStringLiteral("2461041.5"));

  if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) {
    QSKIP("the de_DE.UTF-8 locale is not installed");
  }
  QCOMPARE(std::localeconv()->decimal_point, ",");
  const std::string german = EphemerisTable(series, TableFormat::Csv);
  std::setlocale(LC_ALL, "C");
  QCOMPARE(german, plain);
}

void TableTest::jsonIsOneArrayOfObjects() {
  const Outcome outcome = Run({"--table", "--from", "2026-06-01", "--to", "2026-06-02", "--step",
                               "90m", "--format", "json"});
  QCOMPARE(outcome.exitCode, 0);
  const Json rows = JsonOf(outcome.out);
  QVERIFY(rows.is_array());
  QCOMPARE(rows.size(), std::size_t{17});
  const Json single = JsonOf(Run({"--at", "2026-06-01T00:00", "--json"}).out);
  std::vector<std::string> expectedNames;
  for (const auto& [name, value] : single.items()) expectedNames.push_back(name);
  expectedNames.resize(kColumns);
  for (const Json& row : rows) {
    QVERIFY(row.is_object());
    std::vector<std::string> names;
    for (const auto& [name, value] : row.items()) names.push_back(name);
    QVERIFY(names == expectedNames);
  }
  QCOMPARE(rows[1]["utc"].get<std::string>(), std::string("2026-06-01T01:30Z"));
}

// Every cell ends where its column's name ends (the instant starts where its
// name starts), and the degrees show two decimals, as in the readout.
void TableTest::textColumnsAlign() {
  const Outcome table = Run({"--table", "--from", "2025-12-30", "--to", "2026-01-02"});
  QCOMPARE(table.exitCode, 0);
  const QStringList lines = QString::fromUtf8(table.out).split('\n', Qt::SkipEmptyParts);
  QCOMPARE(lines.size(), 5);
  const QRegularExpression cell(QStringLiteral("\\S+"));
  const auto cellEnds = [&cell](const QString& line) {
    QList<qsizetype> ends;
    for (const QRegularExpressionMatch& match : cell.globalMatch(line)) {
      ends << match.capturedEnd();
    }
    return ends;
  };
  const QList<qsizetype> headerEnds = cellEnds(lines[0]);
  QCOMPARE(headerEnds.size(), kColumns);
  for (const QString& line : lines.mid(1)) {
    QList<qsizetype> ends = cellEnds(line);
    ends[0] = headerEnds[0];
    QCOMPARE(ends, headerEnds);
    QVERIFY(!line.startsWith(' '));
  }
  // P, B0 and L0 as the readout prints them for the same instant.
  const Outcome readout = Run({"--at", "2026-01-01T00:00", "--readout"});
  const QStringList readoutLines = QString::fromUtf8(readout.out).split('\n');
  const QStringList cells = lines[3].split(' ', Qt::SkipEmptyParts);
  QCOMPARE(cells[0], QStringLiteral("2026-01-01T00:00Z"));
  for (int degrees = 0; degrees < 3; ++degrees) {
    const QString shown = readoutLines[7 + degrees].section(':', 1).trimmed();
    QCOMPARE(cells[6 + degrees] + QString::fromUtf8("°"), shown);
  }
}

void TableTest::badCommandLinesWriteNothing_data() {
  QTest::addColumn<QStringList>("arguments");
  QTest::addColumn<QString>("named");
  QTest::newRow("step of 0") << QStringList{"--step", "0h"} << "--step";
  QTest::newRow("step without unit") << QStringList{"--step", "15"} << "--step";
  QTest::newRow("empty range") << QStringList{"--from", "2026-02-01", "--to", "2026-01-31T23:59"}
                               << "empty";
  QTest::newRow("over a million rows")
      << QStringList{"--from", "2000-01-01", "--to", "2001-12-31", "--step", "1m"} << "1000000";
  QTest::newRow("from in the calendar gap") << QStringList{"--from", "1582-10-05"} << "--from";
  QTest::newRow("to malformed") << QStringList{"--to", "2026-1-1"} << "--to";
  QTest::newRow("picture format") << QStringList{"--format", "svg"} << "picture format";
  QTest::newRow("picture option") << QStringList{"--orientation", "mirror"} << "--orientation";
  QTest::newRow("single instant") << QStringList{"--hour", "3"} << "--hour";
  QTest::newRow("year with both ends")
      << QStringList{"--year", "2026", "--from", "2026-01-01", "--to", "2026-01-02"} << "--year";
}

void TableTest::badCommandLinesWriteNothing() {
  QFETCH(QStringList, arguments);
  QFETCH(QString, named);
  QTemporaryDir target;
  QVERIFY(target.isValid());
  const Outcome outcome =
      Run(QStringList{"--table", "--output", target.filePath("t.csv")} + arguments);
  QCOMPARE(outcome.exitCode, 2);
  QVERIFY(outcome.out.isEmpty());
  QVERIFY2(outcome.err.contains(named.toUtf8()), outcome.err.constData());
  QVERIFY(QDir(target.path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));

  // The table's own options and formats without --table.
  for (const QStringList& misplaced : {QStringList{"--format", "csv", "--output", "x.csv"},
                                       QStringList{"--readout", "--step", "1h"}}) {
    QCOMPARE(Run(misplaced).exitCode, 2);
  }
}

void TableTest::failuresWriteNothingAndWarnOnce() {
  QTemporaryDir target;
  QVERIFY(target.isValid());
  const QString path = target.filePath("far.csv");
  const Outcome far =
      Run({"--table", "--year", "500000", "--to", "500000-01-03", "--output", path});
  QCOMPARE(far.exitCode, 1);
  QVERIFY2(far.err.contains("the solar theory fails for 500000-01-01T00:00"), far.err.constData());
  QVERIFY(!QFile::exists(path));

  const Outcome late =
      Run({"--table", "--from", "9999-12-30", "--to", "10000-01-03", "--output", path});
  QCOMPARE(late.exitCode, 0);
  QCOMPARE(late.err.count("warning"), 1);
  QVERIFY2(late.err.contains("for the year 10000"), late.err.constData());
  QVERIFY(QFile::exists(path));

  const Outcome lost = Run({"--table", "--year", "2026"}, [] {
    const int full = ::open("/dev/full", O_WRONLY);
    ::dup2(full, STDOUT_FILENO);
    ::close(full);
  });
  QCOMPARE(lost.exitCode, 1);
  QCOMPARE(lost.err, QByteArray("helidisk-render: cannot write to standard output\n"));
}

// The file's extension names the format unless --format does.
void TableTest::outputFileTakesTheTable() {
  QTemporaryDir target;
  QVERIFY(target.isValid());
  const QStringList range = {"--table", "--from", "2026-05-01", "--to", "2026-05-03"};
  for (const char* format : {"csv", "json", "text"}) {
    const Outcome printed = Run(range + QStringList{"--format", format});
    const QString path = target.filePath(QStringLiteral("table.") + format);
    QFile::remove(path);
    QVERIFY(QFile(path).open(QIODevice::WriteOnly));  // replaced, not appended to
    QCOMPARE(Run(range + QStringList{"--output", path}).exitCode, 0);
    QFile written(path);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.readAll(), printed.out);
  }
}

}  // namespace helidisk

QTEST_GUILESS_MAIN(helidisk::TableTest)
#include "table_test.moc"
