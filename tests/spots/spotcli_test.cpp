// helidisk-render --detect run as a separate process on generated spotted
// Suns written as PNG files: the JSON, the spot table, the report files,
// and the refusals.
#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QFile>
#include <QTemporaryDir>
#include <nlohmann/json.hpp>
#include <ostream>
#include <string>
#include <vector>

#include "program_run.h"
#include "spotgroups.h"
#include "spotted_sun_file.h"

namespace helidisk {
namespace {

using Json = nlohmann::json;

constexpr int kSidePx = 1024;

fakes::ProgramOutcome RunDetect(const QStringList& arguments) {
  return fakes::RunProgram(HELIDISK_RENDER_PROGRAM,
                           QStringList{"--at", fakes::kSpottedSunInstant} + arguments);
}

class SpotCli : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    ASSERT_TRUE(fakes::WriteSpottedSun(ImagePath(), kSidePx, fakes::ActiveDaySpots()));
  }
  QString ImagePath() const { return dir_.filePath("sun.png"); }
  QString PathOf(const char* name) const { return dir_.filePath(name); }

  QTemporaryDir dir_;
};

TEST_F(SpotCli, JsonGivesEverySpotWhereItWasPutAndTheCounts) {
  const fakes::ProgramOutcome run = RunDetect({"--image", ImagePath(), "--detect", "--json"});
  ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
  const Json json = Json::parse(run.out.toStdString());
  const std::vector<fakes::CapSpot> truth = fakes::ActiveDaySpots();
  ASSERT_EQ(json["spots"].size(), truth.size());
  for (const fakes::CapSpot& spot : truth) {
    const SpotPlace place{0, 0, spot.latitudeDeg, spot.longitudeDeg, 0, 0, 0};
    double nearest = 360;
    double mu = 0;
    for (const Json& found : json["spots"]) {
      const SpotPlace at{0, 0, found["latitude_deg"], found["longitude_deg"], 0, 0, 0};
      if (HeliographicDistanceDeg(place, at) < nearest) {
        nearest = HeliographicDistanceDeg(place, at);
        mu = found["mu"];
      }
    }
    EXPECT_LT(nearest, mu >= 0.5 ? 0.3 : 1.0) << "spot at " << spot.latitudeDeg;
  }
  const Json& counts = json["counts"];
  EXPECT_EQ(counts["g"], 5);
  EXPECT_EQ(counts["f"], 8);
  EXPECT_EQ(counts["R"], 58);
  EXPECT_EQ(counts["north"], (Json{{"g", 2}, {"f", 5}, {"R", 25}}));
  EXPECT_EQ(counts["south"], (Json{{"g", 3}, {"f", 3}, {"R", 33}}));
  EXPECT_EQ(json["groups"].size(), 5U);
  EXPECT_EQ(json["image"]["source"], "fit");
}

TEST_F(SpotCli, OutputWritesOneCsvRowASpot) {
  const QString table = PathOf("spots.csv");
  const fakes::ProgramOutcome run =
      RunDetect({"--image", ImagePath(), "--detect", "--table-format", "csv", "--output", table});
  ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
  EXPECT_TRUE(run.out.isEmpty());
  QFile file(table);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QList<QByteArray> lines = file.readAll().split('\n');
  // The header, eight spots, and the empty piece after the last line end.
  ASSERT_EQ(lines.size(), 10);
  EXPECT_TRUE(lines[0].startsWith("group,spot,x_px,y_px,latitude_deg,longitude_deg"));
}

TEST_F(SpotCli, GroupTableWritesOneRowAGroupBesideTheSpotTable) {
  const QString spots = PathOf("spots.json");
  const QString groups = PathOf("groups.csv");
  const fakes::ProgramOutcome run =
      RunDetect({"--image", ImagePath(), "--detect", "--output", spots, "--group-table", groups});
  ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
  QFile spotFile(spots);
  ASSERT_TRUE(spotFile.open(QIODevice::ReadOnly));
  EXPECT_EQ(Json::parse(spotFile.readAll().toStdString()).size(), 8U);
  QFile groupFile(groups);
  ASSERT_TRUE(groupFile.open(QIODevice::ReadOnly));
  const QList<QByteArray> lines = groupFile.readAll().split('\n');
  ASSERT_EQ(lines.size(), 7);
  EXPECT_TRUE(lines[0].startsWith("group,hemisphere,latitude_deg"));
}

TEST_F(SpotCli, ObservationFileNamesTheImageByItsChecksum) {
  const QString observation = PathOf("day.json");
  const fakes::ProgramOutcome run = RunDetect(
      {"--image", ImagePath(), "--detect", "--observation", observation, "--observer", "TST"});
  ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
  QFile file(observation);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const Json json = Json::parse(file.readAll().toStdString());
  EXPECT_EQ(json["format"], "helidisk sunspot observation");
  QFile image(ImagePath());
  ASSERT_TRUE(image.open(QIODevice::ReadOnly));
  EXPECT_EQ(
      json["image"]["sha256"],
      QCryptographicHash::hash(image.readAll(), QCryptographicHash::Sha256).toHex().toStdString());
  EXPECT_EQ(json["observer"], "TST");
  EXPECT_EQ(json["counts"]["R"], 58);
}

TEST_F(SpotCli, ForeignFileInTheObservationsPlaceIsLeftAsItIs) {
  const QString observation = PathOf("notes.json");
  const QByteArray foreign = R"({"shopping": ["eggs"]})";
  {
    QFile file(observation);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(foreign);
  }
  const fakes::ProgramOutcome run =
      RunDetect({"--image", ImagePath(), "--detect", "--observation", observation});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.err.toStdString().find("not a helidisk sunspot observation"), std::string::npos)
      << run.err.toStdString();
  QFile file(observation);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), foreign);
}

TEST_F(SpotCli, MonthFileCollectsTheLinesOfTwoObservers) {
  const QString month = PathOf("2026-06.csv");
  for (const char* observer : {"BBB", "AAA"}) {
    const fakes::ProgramOutcome run = RunDetect(
        {"--image", ImagePath(), "--detect", "--month-file", month, "--observer", observer});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
  }
  QFile file(month);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(),
            "Date,UT,Seeing,g,f,R,Ng,Nf,Sg,Sf,k,Obs\r\n"
            "2026-06-15,10:30,,5,8,58,2,5,3,3,1,AAA\r\n"
            "2026-06-15,10:30,,5,8,58,2,5,3,3,1,BBB\r\n");
}

// Images and command lines that must give a clear message and no report.
struct RefusalCase {
  std::string name;
  std::vector<fakes::CapSpot> spots;
  double brightness = 1;  // 3: a saturated disk; 0: a black picture
  QStringList arguments;
  int exitCode = 1;
  std::string message;
};

void PrintTo(const RefusalCase& c, std::ostream* os) { *os << c.name; }

std::vector<fakes::CapSpot> Mottles() {
  std::vector<fakes::CapSpot> mottles;
  for (int lat = -60; lat <= 60; lat += 6) {
    for (int cmd = -66; cmd <= 66; cmd += 6) {
      mottles.push_back(fakes::SpotFromCentralMeridian(cmd, lat, 30, 0));
    }
  }
  return mottles;
}

class SpotCliRefusal : public testing::TestWithParam<RefusalCase> {};

TEST_P(SpotCliRefusal, SaysWhyAndWritesNoReport) {
  const RefusalCase& c = GetParam();
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString image = dir.filePath("sun.png");
  const DiskFrame frame = fakes::SpottedSunFrame(kSidePx, 0.45 * kSidePx);
  GreyImage grey = fakes::HeliographicSun(frame, kSidePx, kSidePx, c.spots, 1);
  for (float& value : grey.values) value *= static_cast<float>(c.brightness);
  ASSERT_TRUE(fakes::GreyPicture(grey).save(image, "PNG"));
  const QString table = dir.filePath("spots.csv");
  QStringList arguments = c.arguments;
  arguments.replaceInStrings("IMAGE", image);
  arguments.replaceInStrings("TABLE", table);
  const fakes::ProgramOutcome run = RunDetect(arguments);
  EXPECT_EQ(run.exitCode, c.exitCode);
  EXPECT_NE(run.err.toStdString().find(c.message), std::string::npos) << run.err.toStdString();
  EXPECT_TRUE(run.out.isEmpty()) << run.out.toStdString();
  EXPECT_FALSE(QFile::exists(table));
}

const QStringList kDetectAll = {"--image", "IMAGE", "--detect", "--json"};
const QStringList kDetectTable = {"--image", "IMAGE", "--detect", "--output", "TABLE"};

INSTANTIATE_TEST_SUITE_P(
    BadInput, SpotCliRefusal,
    testing::Values(RefusalCase{"BlackPicture", {}, 0, kDetectTable, 1, "no solar disk found"},
                    RefusalCase{"SaturatedDisk", {}, 3, kDetectTable, 1, "the disk is saturated"},
                    RefusalCase{"HalphaMottles", Mottles(), 1, kDetectTable, 1,
                                "looks like an H-alpha"},
                    RefusalCase{"NoImage", {}, 1, {"--detect", "--json"}, 2, "give --image FILE"},
                    RefusalCase{"UmbraBrighterThanPenumbra",
                                {},
                                1,
                                kDetectAll + QStringList{"--umbra", "0.9"},
                                2,
                                "--umbra must be darker than --penumbra"},
                    RefusalCase{"ThresholdOutOfRange",
                                {},
                                1,
                                kDetectAll + QStringList{"--penumbra", "1.5"},
                                2,
                                "--penumbra: '1.5' is not a fraction between 0 and 1"},
                    RefusalCase{"TableOfUnknownFormat",
                                {},
                                1,
                                {"--image", "IMAGE", "--detect", "--output", "spots.txt"},
                                2,
                                "names no spot table"},
                    RefusalCase{"SpotOptionWithoutDetect",
                                {},
                                1,
                                {"--image", "IMAGE", "--json", "--k", "0.6"},
                                2,
                                "--k only applies together with --detect"}),
    [](const testing::TestParamInfo<RefusalCase>& info) { return info.param.name; });

}  // namespace
}  // namespace helidisk
