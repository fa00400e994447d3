// helidisk-render --table: its rows against the single-instant --json of the
// built program, its three formats, and the command lines and years it
// refuses.
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <clocale>
#include <cmath>
#include <nlohmann/json.hpp>
#include <optional>
#include <utility>

#include "ephemeristable.h"
#include "program_run.h"

namespace helidisk {
namespace {

using Json = nlohmann::ordered_json;

constexpr int kColumns = 11;

using Outcome = fakes::ProgramOutcome;

Outcome Run(const QStringList& arguments) {
  return fakes::RunProgram(QStringLiteral(HELIDISK_RENDER_PROGRAM), arguments);
}

Json JsonOf(const QByteArray& bytes) {
  return Json::parse(bytes.constBegin(), bytes.constEnd(), nullptr, false);
}

// The records of a CSV file as RFC 4180 reads them, for a table whose
// fields need no quotes: every record ends in CR LF, and no field holds a
// quote or a line break of its own.  Empty when the text breaks the rules.
std::optional<QList<QStringList>> CsvRecords(const QByteArray& bytes) {
  QList<QByteArray> lines = bytes.split('\n');
  if (!lines.takeLast().isEmpty()) return std::nullopt;
  QList<QStringList> records;
  for (const QByteArray& record : lines) {
    if (!record.endsWith('\r') || record.count('\r') != 1 || record.contains('"')) {
      return std::nullopt;
    }
    records << QString::fromUtf8(record.chopped(1)).split(',');
  }
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
  void textColumnsAlign();
  void badCommandLinesWriteNothing_data();
  void badCommandLinesWriteNothing();
  void failuresWriteNothingAndWarnOnce();
};

// The last row of each table is a held-out instant, reached by whole steps
// across a calendar edge or far into a long table computed in parts.  At
// most of these minutes a Julian day taken straight from the date and time
// differs from the redraw's in its last bit.
void TableTest::rowsEqualTheSingleInstantJson_data() {
  // From, step and the held-out instant.
  QTest::addColumn<QStringList>("table");
  QTest::newRow("equinox") << QStringList{"2026-03-18T14:41", "1d", "2026-03-20T14:41"};
  QTest::newRow("odd minutes") << QStringList{"1987-03-05T14:00", "43m", "1987-03-05T14:43"};
  QTest::newRow("calendar reform") << QStringList{"1582-10-04", "1d", "1582-10-15T00:00"};
  QTest::newRow("leap day") << QStringList{"2024-02-28T23:53", "1d", "2024-02-29T23:53"};
  QTest::newRow("early year") << QStringList{"-4000-06-30T12:00", "1d", "-4000-07-01T12:00"};
  QTest::newRow("last known year") << QStringList{"9999-12-31T20:27", "3h", "9999-12-31T23:27"};
  QTest::newRow("row 5000 of an hourly year")
      << QStringList{"2026-01-01", "1h", "2026-07-28T08:00"};
}

void TableTest::rowsEqualTheSingleInstantJson() {
  QFETCH(QStringList, table);
  const QString& instant = table[2];
  const Outcome single = Run({"--at", instant, "--json"});
  QCOMPARE(single.exitCode, 0);
  const Json expected = JsonOf(single.out);
  const QStringList range = {"--table", "--from", table[0], "--step", table[1], "--to", instant};

  // One array of objects, keyed in the order of --json.
  const Outcome json = Run(range + QStringList{"--format", "json"});
  QCOMPARE(json.exitCode, 0);
  const Json rows = JsonOf(json.out);
  QVERIFY(rows.is_array());
  auto expectedName = expected.items().begin();
  for (const auto& [name, value] : rows.back().items()) {
    QCOMPARE(name, (expectedName++).key());
    QVERIFY2(value == expected.at(name), name.c_str());
  }
  QCOMPARE(rows.back().size(), std::size_t{kColumns});

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
  for (const QStringList& fields : *records) QCOMPARE(fields.size(), kColumns);

  if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) {
    QSKIP("the de_DE.UTF-8 locale is not installed");
  }
  QCOMPARE(std::localeconv()->decimal_point, ",");
  const std::string german = EphemerisTable(series, TableFormat::Csv);
  std::setlocale(LC_ALL, "C");
  QCOMPARE(german, plain);
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
  const QString table = "--table";
  QTest::newRow("step of 0") << QStringList{table, "--step", "0h"} << "--step";
  QTest::newRow("step without unit") << QStringList{table, "--step", "15"} << "--step";
  QTest::newRow("empty range") << QStringList{table, "--from", "2026-02-01", "--to", "2026-01-31"}
                               << "empty";
  QTest::newRow("over a million rows")
      << QStringList{table, "--from", "2000-01-01", "--to", "2001-12-31", "--step", "1m"}
      << "1000000";
  QTest::newRow("from in the calendar gap")
      << QStringList{table, "--from", "1582-10-05"} << "--from";
  QTest::newRow("picture format") << QStringList{table, "--format", "svg"} << "picture format";
  QTest::newRow("picture option") << QStringList{table, "--size", "10x10"} << "--size";
  QTest::newRow("single instant") << QStringList{table, "--hour", "3"} << "--hour";
  QTest::newRow("year with both ends")
      << QStringList{table, "--year", "2026", "--from", "2026-01-01", "--to", "2026-01-02"}
      << "--year";
  QTest::newRow("table format for a picture") << QStringList{"--format", "csv"} << "--table";
  QTest::newRow("step for a picture") << QStringList{"--step", "1h"} << "--table";
}

void TableTest::badCommandLinesWriteNothing() {
  QFETCH(QStringList, arguments);
  QFETCH(QString, named);
  QTemporaryDir target;
  QVERIFY(target.isValid());
  const Outcome outcome = Run(arguments + QStringList{"--output", target.filePath("t.csv")});
  QCOMPARE(outcome.exitCode, 2);
  QVERIFY(outcome.out.isEmpty());
  QVERIFY2(outcome.err.contains(named.toUtf8()), outcome.err.constData());
  QVERIFY(QDir(target.path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
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
  QFile written(path);  // CSV, as the extension says
  QVERIFY(written.open(QIODevice::ReadOnly));
  QVERIFY(written.readAll().startsWith("utc,jd,"));
}

}  // namespace helidisk

QTEST_GUILESS_MAIN(helidisk::TableTest)
#include "table_test.moc"
