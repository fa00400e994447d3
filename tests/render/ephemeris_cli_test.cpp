// helidisk-render --ephemeris and --aberration, run as a user runs them.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cmath>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "program_run.h"
#include "synthetic_sun.h"

namespace helidisk {
namespace {

fakes::ProgramOutcome Render(const QStringList& arguments) {
  return fakes::RunProgram(QStringLiteral(HELIDISK_RENDER_PROGRAM), arguments);
}

nlohmann::json JsonOf(const QStringList& arguments) {
  const fakes::ProgramOutcome outcome = Render(arguments);
  EXPECT_EQ(outcome.exitCode, 0) << outcome.err.toStdString();
  return nlohmann::json::parse(outcome.out.toStdString(), nullptr, false);
}

std::vector<std::string> KeysOf(const nlohmann::json& object) {
  std::vector<std::string> keys;
  for (const auto& item : object.items()) keys.push_back(item.key());
  return keys;
}

struct OutOfRange {
  const char* what;
  QStringList arguments;
  // The file the run would write, in the temporary folder; empty for
  // standard output.
  QString outputName;
};

// Nothing written, neither file nor standard output, exit status 2, and the
// message names the theory's range.
TEST(EphemerisOption, InstantsOutsideThePreciseRangeAreRefused) {
  const OutOfRange cases[] = {
      {"readout a minute before 1900", {"--at", "1899-12-31T23:59", "--readout"}, ""},
      {"json at the first minute of 2101", {"--at", "2101-01-01T00:00", "--json"}, ""},
      {"located point in 1850", {"--at", "1850-06-01T12:00", "--locate", "499,313"}, ""},
      {"table ending in 1900", {"--table", "--from", "1899-12-31", "--to", "1900-01-02"}, "t.csv"},
      {"table reaching 2101", {"--table", "--from", "2100-12-30", "--to", "2101-01-01"}, "t.json"},
      {"PNG picture", {"--at", "1850-06-01T12:00"}, "p.png"},
      {"SVG picture", {"--year", "2101", "--hour", "0"}, "p.svg"},
      {"PDF page", {"--at", "1899-06-01T00:00"}, "p.pdf"},
  };
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  for (const OutOfRange& c : cases) {
    SCOPED_TRACE(c.what);
    QStringList arguments = c.arguments;
    arguments << "--ephemeris"
              << "precise";
    const QString output = folder.filePath(c.outputName);
    if (!c.outputName.isEmpty()) arguments << "--output" << output;
    const fakes::ProgramOutcome outcome = Render(arguments);
    EXPECT_EQ(outcome.exitCode, 2);
    EXPECT_TRUE(outcome.out.isEmpty());
    EXPECT_TRUE(outcome.err.contains("1900-01-01 to 2100-12-31 (UTC)"))
        << outcome.err.toStdString();
    if (!c.outputName.isEmpty()) {
      EXPECT_FALSE(QFile::exists(output));
    }
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).size(), 0);
  }
}

// The first and the last minute the precise theory serves, and the standard
// theory far outside that range.
TEST(EphemerisOption, TheRangesOwnEdgesAreServed) {
  const QStringList cases[] = {
      {"--at", "1900-01-01T00:00", "--readout", "--ephemeris", "precise"},
      {"--at", "2100-12-31T23:59", "--readout", "--ephemeris", "precise"},
      {"--table", "--from", "1900-01-01", "--to", "2100-12-31", "--step", "1000d", "--ephemeris",
       "precise"},
      {"--at", "1850-06-01T12:00", "--readout"},
  };
  for (const QStringList& arguments : cases) {
    SCOPED_TRACE(arguments.join(' ').toStdString());
    const fakes::ProgramOutcome outcome = Render(arguments);
    EXPECT_EQ(outcome.exitCode, 0) << outcome.err.toStdString();
    EXPECT_FALSE(outcome.out.isEmpty());
  }
}

TEST(EphemerisOption, BadChoicesAreUsageErrors) {
  const QStringList cases[] = {
      {"--at", "2013-01-01T00:00", "--readout", "--aberration"},
      {"--at", "2013-01-01T00:00", "--readout", "--ephemeris", "vsop87"},
      {"--at", "2013-01-01T00:00", "--readout", "--ephemeris"},
  };
  for (const QStringList& arguments : cases) {
    SCOPED_TRACE(arguments.join(' ').toStdString());
    const fakes::ProgramOutcome outcome = Render(arguments);
    EXPECT_EQ(outcome.exitCode, 2);
    EXPECT_TRUE(outcome.out.isEmpty());
    EXPECT_TRUE(outcome.err.contains("--aberration") || outcome.err.contains("--ephemeris"));
  }
}

// --json keeps its keys whatever the theory and names the theory and the
// aberration choice.
TEST(EphemerisOption, JsonNamesTheTheory) {
  const QStringList instant{"--at", "2013-01-01T00:00", "--json"};
  const nlohmann::json standard = JsonOf(instant);
  const nlohmann::json precise = JsonOf(instant + QStringList{"--ephemeris", "precise"});
  const nlohmann::json almanac =
      JsonOf(instant + QStringList{"--ephemeris", "precise", "--aberration"});
  EXPECT_EQ(standard.value("ephemeris", ""), "standard");
  EXPECT_EQ(standard.value("aberration", true), false);
  EXPECT_EQ(precise.value("ephemeris", ""), "precise");
  EXPECT_EQ(precise.value("aberration", true), false);
  EXPECT_EQ(almanac.value("ephemeris", ""), "precise");
  EXPECT_EQ(almanac.value("aberration", false), true);
  EXPECT_EQ(KeysOf(standard), KeysOf(precise));
  EXPECT_EQ(KeysOf(standard), KeysOf(almanac));

  // Stellar aberration lowers L0 by 20.5" at 1 AU, a little more at
  // perihelion (0.983 AU in January).
  const double loweredArcSec =
      (precise["l0_deg"].get<double>() - almanac["l0_deg"].get<double>()) * 3600;
  EXPECT_NEAR(loweredArcSec, 20.5 / 0.9833, 0.3);
  // The standard theory differs from the precise one by more than the
  // precise one's error, and by less than its own stated accuracy.
  const double theoriesApartDeg =
      std::abs(standard["l0_deg"].get<double>() - precise["l0_deg"].get<double>());
  EXPECT_GT(theoriesApartDeg, 1.0 / 3600);
  EXPECT_LT(theoriesApartDeg, 0.15);
}

// An observer's image takes its grid from the chosen theory, and an instant
// the precise one does not serve leaves no overlaid image behind.
TEST(EphemerisOption, ImageOverlaysFollowTheChoice) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  const QString image = folder.filePath("sun.png");
  ASSERT_TRUE(fakes::GreyImage(fakes::MakeSun(400, 300, 201.5, 148.25, 120)).save(image));
  const QString overlaid = folder.filePath("overlaid.png");
  const QStringList precise{"--image", image, "--ephemeris", "precise", "--output", overlaid};

  const fakes::ProgramOutcome refused = Render(precise + QStringList{"--at", "1899-12-31T12:00"});
  EXPECT_EQ(refused.exitCode, 2);
  EXPECT_TRUE(refused.err.contains("1900-01-01 to 2100-12-31 (UTC)")) << refused.err.toStdString();
  EXPECT_FALSE(QFile::exists(overlaid));

  const nlohmann::json served = JsonOf(precise + QStringList{"--at", "2013-06-17T05:00", "--json"});
  EXPECT_TRUE(QFile::exists(overlaid));
  EXPECT_EQ(served.value("ephemeris", ""), "precise");
  EXPECT_TRUE(served.contains("image"));
}

// A table's row is the instant's --json figure, bit for bit, by either
// theory.
TEST(EphemerisOption, TableRowsComeFromTheChosenTheory) {
  for (const QStringList& choice : {QStringList{}, QStringList{"--ephemeris", "precise"},
                                    QStringList{"--ephemeris", "precise", "--aberration"}}) {
    SCOPED_TRACE(choice.join(' ').toStdString());
    const nlohmann::json single =
        JsonOf(QStringList{"--at", "2013-06-17T05:00", "--json"} + choice);
    const nlohmann::json table =
        JsonOf(QStringList{"--table", "--from", "2013-06-17T04:00", "--to", "2013-06-17T06:00",
                           "--step", "1h", "--format", "json"} +
               choice);
    ASSERT_TRUE(table.is_array());
    ASSERT_EQ(table.size(), 3u);
    for (const char* key : {"p_deg", "b0_deg", "l0_deg", "distance_au", "carrington_fraction"}) {
      EXPECT_EQ(table[1][key], single[key]) << key;
    }
  }
}

}  // namespace
}  // namespace helidisk
