// helidisk-render --feature, --rotate-to and --model run as a user runs
// them: the feature's figures at the later instant against SunPy's rotated
// frame and against the program's own --locate, and the command lines it
// refuses.
#include <gtest/gtest.h>

#include <QStringList>
#include <cmath>
#include <nlohmann/json.hpp>
#include <string>

#include "program_run.h"

namespace helidisk {
namespace {

using Json = nlohmann::ordered_json;

fakes::ProgramOutcome RunRenderer(const QStringList& arguments) {
  return fakes::RunProgram(QStringLiteral(HELIDISK_RENDER_PROGRAM), arguments);
}

Json JsonRun(const QStringList& arguments) {
  const fakes::ProgramOutcome outcome = RunRenderer(arguments);
  EXPECT_EQ(outcome.exitCode, 0) << outcome.err.toStdString();
  return Json::parse(outcome.out.constBegin(), outcome.out.constEnd(), nullptr, false);
}

double SignedDeg(double angleDeg) { return std::remainder(angleDeg, 360.0); }

TEST(FeatureCliTest, FeatureAtItsOwnInstantOnTheDiskCentreIsThere) {
  // The disk centre's own heliographic coordinates, from --locate.
  const Json centre = JsonRun({"--at", "2026-12-10T12:00", "--locate", "499,313", "--json"});
  const std::string feature = std::to_string(centre["point"]["latitude_deg"].get<double>()) + "," +
                              std::to_string(centre["point"]["longitude_deg"].get<double>());
  const Json json =
      JsonRun({"--at", "2026-12-10T12:00", "--feature", QString::fromStdString(feature), "--json"});
  const Json& seen = json["feature"];
  EXPECT_EQ(seen["utc"], "2026-12-10T12:00Z");
  EXPECT_EQ(seen["days"], 0.0);
  EXPECT_EQ(seen["model"], "howard");
  EXPECT_NEAR(seen["x"].get<double>(), 499, 0.01);
  EXPECT_NEAR(seen["y"].get<double>(), 313, 0.01);
  EXPECT_NEAR(seen["cm_distance_deg"].get<double>(), 0, 1e-4);
  EXPECT_NEAR(seen["mu"].get<double>(), 1, 1e-9);
  EXPECT_EQ(seen["visible"], true);
}

// SunPy 4.1.2's RotatedSunFrame (tools/reference/sunpy_rotation.py): the
// changes of the Carrington and of the Stonyhurst longitude from T0 to T1.
TEST(FeatureCliTest, RotatedFeatureMatchesSunPyAndTheLocatedPixel) {
  struct Case {
    QString model, from, to, feature;
    double carringtonChangeDeg, stonyhurstChangeDeg;
  };
  const Case cases[] = {
      {"howard", "2024-03-01T00:00", "2024-03-15T00:00", "15,200", -0.114783, -175.650707},
      {"snodgrass", "2025-06-21T06:30", "2025-06-24T06:30", "-30,10", -1.926237, 37.783236},
      {"allen", "2026-12-10T12:00", "2026-12-20T12:00", "-60,75.5", -19.944084, 111.805963},
      {"rigid", "2026-09-05T18:00", "2026-09-10T18:00", "22.5,359", -0.000102, 66.027550},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.model.toStdString() + " from " + c.from.toStdString());
    const Json start = JsonRun({"--at", c.from, "--feature", c.feature, "--json"})["feature"];
    const Json end = JsonRun({"--at", c.from, "--feature", c.feature, "--rotate-to", c.to,
                              "--model", c.model, "--json"})["feature"];
    EXPECT_EQ(end["model"], c.model.toStdString());
    EXPECT_EQ(end["utc"], c.to.toStdString() + "Z");
    EXPECT_DOUBLE_EQ(end["latitude_deg"].get<double>(), start["latitude_deg"].get<double>());
    EXPECT_NEAR(SignedDeg(end["longitude_deg"].get<double>() -
                          start["longitude_deg"].get<double>() - c.carringtonChangeDeg),
                0, 0.01);
    EXPECT_NEAR(SignedDeg(end["cm_distance_deg"].get<double>() -
                          start["cm_distance_deg"].get<double>() - c.stonyhurstChangeDeg),
                0, 0.01);
    EXPECT_EQ(end["visible"].get<bool>(), end["mu"].get<double>() > 0);

    // The window's own inverse projection at the later instant finds the
    // feature under its pixel, where that pixel shows the near side.
    if (!end["visible"].get<bool>()) continue;
    const QString pixel = QString::number(end["x"].get<double>(), 'g', 17) + "," +
                          QString::number(end["y"].get<double>(), 'g', 17);
    const Json located = JsonRun({"--at", c.to, "--locate", pixel, "--json"})["point"];
    EXPECT_NEAR(located["latitude_deg"].get<double>(), end["latitude_deg"].get<double>(), 1e-6);
    EXPECT_NEAR(
        SignedDeg(located["longitude_deg"].get<double>() - end["longitude_deg"].get<double>()), 0,
        1e-6);
  }
}

TEST(FeatureCliTest, LocatedPointCarriedForwardAndBack) {
  struct Case {
    QString pixel, to;
    double days;
    bool onDisk;
  };
  const Case cases[] = {
      {"560,280", "2026-12-12T00:00", 1.5, true},
      {"440,350", "2026-12-05T12:00", -5, true},
      {"5,5", "2026-12-11T12:00", 1, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pixel.toStdString() + " to " + c.to.toStdString());
    const Json json =
        JsonRun({"--at", "2026-12-10T12:00", "--locate", c.pixel, "--rotate-to", c.to, "--json"});
    const Json& point = json["point"];
    ASSERT_TRUE(point.contains("rotated"));
    if (!c.onDisk) {
      EXPECT_TRUE(point["rotated"].is_null());
      continue;
    }
    const Json& rotated = point["rotated"];
    EXPECT_NEAR(rotated["days"].get<double>(), c.days, 1e-9);
    EXPECT_DOUBLE_EQ(rotated["latitude_deg"].get<double>(), point["latitude_deg"].get<double>());
    // A synodic rotation is 13.2 ... 13.5 deg/day at these latitudes.
    const double cmdChange =
        rotated["cm_distance_deg"].get<double>() - point["cm_distance_deg"].get<double>();
    EXPECT_GT(cmdChange / c.days, 13.0);
    EXPECT_LT(cmdChange / c.days, 13.6);
  }
}

TEST(FeatureCliTest, TextLinesNameEveryFigure) {
  const fakes::ProgramOutcome outcome =
      RunRenderer({"--at", "2026-12-10T12:00", "--feature", "89.9,20", "--model", "snodgrass"});
  ASSERT_EQ(outcome.exitCode, 0) << outcome.err.toStdString();
  const QStringList lines = QString::fromUtf8(outcome.out).split('\n', Qt::SkipEmptyParts);
  const QStringList names = {"utc",
                             "jd",
                             "days",
                             "model",
                             "latitude_deg",
                             "longitude_deg",
                             "cm_distance_deg",
                             "mu",
                             "x",
                             "y",
                             "visible",
                             "central_meridian_utc",
                             "central_meridian_jd",
                             "west_limb_utc",
                             "west_limb_jd"};
  ASSERT_EQ(lines.size(), names.size());
  for (int i = 0; i < names.size(); ++i) EXPECT_TRUE(lines[i].startsWith(names[i] + ": "));
  EXPECT_EQ(lines[3].toStdString(), "model: snodgrass");
  // So near the north pole, with B0 -0.3 deg turning the south pole toward
  // the Earth, the parallel never reaches the limb: the feature stays on the
  // far side.
  EXPECT_EQ(lines[10].toStdString(), "visible: false");
  EXPECT_EQ(lines[13].toStdString(), "west_limb_utc: -");
}

TEST(FeatureCliTest, BadCommandLinesAreRefusedWithExitStatus2) {
  struct Case {
    QStringList arguments;
    std::string message;
  };
  const Case cases[] = {
      {{"--feature", "91,0"}, "--feature: '91,0' is not B,L in degrees"},
      {{"--feature", "10,-1"}, "--feature: '10,-1' is not B,L"},
      {{"--feature", "10"}, "--feature: '10' is not B,L"},
      {{"--feature", "ten,20"}, "--feature: 'ten,20' is not B,L"},
      {{"--feature", "10,20", "--model", "Howard"},
       "--model: 'Howard' is not one of rigid, howard, snodgrass, allen"},
      {{"--feature", "10,20", "--rotate-to", "2026-02-30T00:00"},
       "--rotate-to: '2026-02-30T00:00'"},
      {{"--feature", "10,20", "--rotate-to", "tomorrow"}, "--rotate-to: 'tomorrow'"},
      {{"--rotate-to", "2026-12-11T00:00", "--json"}, "give --feature B,L or --locate X,Y"},
      {{"--feature", "10,20", "--locate", "1,1"}, "give one of them"},
      {{"--locate", "1,1", "--model", "allen"}, "--model names the law that --rotate-to"},
      {{"--feature", "10,20", "--image", "sun.png"}, "cannot be combined with --image"},
      {{"--table", "--feature", "10,20"}, "--feature does not apply to --table"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arguments.join(' ').toStdString());
    const fakes::ProgramOutcome outcome = RunRenderer(c.arguments);
    EXPECT_EQ(outcome.exitCode, 2);
    EXPECT_TRUE(outcome.out.isEmpty());
    EXPECT_NE(outcome.err.toStdString().find(c.message), std::string::npos)
        << outcome.err.toStdString();
  }
}

}  // namespace
}  // namespace helidisk
