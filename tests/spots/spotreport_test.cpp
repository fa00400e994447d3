// The report formats: spot and group rows, the daily line, the month file
// that collects the lines, and the observation file read back.
#include "spotreport.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "observationfile.h"

namespace helidisk {
namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find("\r\n", start);
    lines.push_back(text.substr(start, end - start));
    start = end == std::string::npos ? text.size() : end + 2;
  }
  return lines;
}

DetectedSpot ReportedSpot(double latitudeDeg, double longitudeDeg, double areaMsh, int umbrae) {
  DetectedSpot spot;
  spot.place = {100.5, 200.25, latitudeDeg, longitudeDeg, longitudeDeg - 180, 0.9, 45};
  spot.pixels = 40;
  spot.areaMsh = areaMsh;
  spot.umbraAreaMsh = areaMsh / 4;
  for (int i = 0; i < umbrae; ++i) spot.umbrae.push_back({spot.place, 8, areaMsh / 8});
  return spot;
}

DailyReport Day(const std::string& date, const std::string& ut, int g, int f,
                const std::string& observer = "XYZ") {
  DailyReport report;
  report.date = date;
  report.ut = ut;
  report.seeing = 3;
  report.counts.whole = {g, f};
  report.counts.north = {g, f};
  report.observerCode = observer;
  return report;
}

TEST(SpotRows, OneCsvRecordASpotWithItsGroupAndCount) {
  std::vector<DetectedSpot> spots{ReportedSpot(10, 180, 120, 2), ReportedSpot(-20, 200, 8, 0)};
  GroupSpots(spots);
  const std::vector<std::string> lines = Lines(SpotsCsv(spots));
  ASSERT_EQ(lines.size(), 3U);
  EXPECT_EQ(lines[0],
            "group,spot,x_px,y_px,latitude_deg,longitude_deg,cm_distance_deg,mu,"
            "position_angle_deg,area_msh,umbra_area_msh,umbrae,counted_spots,partial");
  EXPECT_EQ(lines[1], "1,1,100.5,200.25,10,180,0,0.9,45,120,30,2,2,false");
  EXPECT_EQ(lines[2], "2,2,100.5,200.25,-20,200,20,0.9,45,8,2,0,1,false");
}

TEST(GroupRows, NameTheHemisphereAndTheClasses) {
  std::vector<DetectedSpot> spots{ReportedSpot(-10, 180, 900, 3)};
  GroupSpots(spots);
  const std::vector<std::string> lines = Lines(GroupsCsv(SetRegionNumber(spots, 1, 13664)));
  ASSERT_EQ(lines.size(), 2U);
  EXPECT_EQ(lines[0],
            "group,hemisphere,latitude_deg,longitude_deg,cm_distance_deg,longitude_extent_deg,"
            "spots,area_msh,zurich,zurich_source,mcintosh,mcintosh_source,region");
  EXPECT_EQ(lines[1], "1,S,-10,180,0,0,3,900,H,proposed,Hhx,proposed,13664");
  const std::vector<std::string> chosen = Lines(GroupsCsv(SetGroupClasses(spots, 1, 'H', "Hkx")));
  EXPECT_EQ(chosen[1], "1,S,-10,180,0,0,3,900,H,observer,Hkx,observer,13664");
}

TEST(Counts, JsonNamesTheWholeDiskAndBothHemispheres) {
  SunspotCounts counts;
  counts.whole = {3, 14};
  counts.north = {1, 4};
  counts.south = {2, 10};
  counts.k = 0.6;
  EXPECT_EQ(CountsJson(counts).dump(),
            R"({"g":3,"f":14,"R":44,"k":0.6,"kR":26.4,"north":{"g":1,"f":4,"R":14},)"
            R"("south":{"g":2,"f":10,"R":30}})");
}

TEST(DailyReport, LineCarriesDateTimeSeeingCountsAndObserver) {
  DailyReport report = Day("2026-06-15", "10:30", 2, 7);
  report.counts.north = {1, 5};
  report.counts.south = {1, 2};
  EXPECT_EQ(DailyReportHeader(), "Date,UT,Seeing,g,f,R,Ng,Nf,Sg,Sf,k,Obs\r\n");
  EXPECT_EQ(DailyReportLine(report), "2026-06-15,10:30,3,2,7,27,1,5,1,2,1,XYZ\r\n");
  report.seeing.reset();
  EXPECT_EQ(DailyReportLine(report), "2026-06-15,10:30,,2,7,27,1,5,1,2,1,XYZ\r\n");
}

// A month file after the days were put into it, in that order.
struct MonthCase {
  std::string name;
  std::vector<DailyReport> days;
  std::vector<std::string> expected;  // the lines after the header
};

void PrintTo(const MonthCase& c, std::ostream* os) { *os << c.name; }

class MonthFile : public testing::TestWithParam<MonthCase> {};

TEST_P(MonthFile, CollectsTheDaysInOrder) {
  std::string month;
  for (const DailyReport& day : GetParam().days) month = MergeIntoMonthFile(month, day);
  std::vector<std::string> lines = Lines(month);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.front(), "Date,UT,Seeing,g,f,R,Ng,Nf,Sg,Sf,k,Obs");
  lines.erase(lines.begin());
  EXPECT_EQ(lines, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Days, MonthFile,
    testing::Values(MonthCase{"OneDay",
                              {Day("2026-06-02", "09:00", 1, 2)},
                              {"2026-06-02,09:00,3,1,2,12,1,2,0,0,1,XYZ"}},
                    MonthCase{"OutOfOrder",
                              {Day("2026-06-03", "09:00", 1, 2), Day("2026-06-01", "12:00", 2, 3)},
                              {"2026-06-01,12:00,3,2,3,23,2,3,0,0,1,XYZ",
                               "2026-06-03,09:00,3,1,2,12,1,2,0,0,1,XYZ"}},
                    MonthCase{"SameDayRecounted",
                              {Day("2026-06-03", "09:00", 1, 2), Day("2026-06-03", "09:00", 4, 9)},
                              {"2026-06-03,09:00,3,4,9,49,4,9,0,0,1,XYZ"}},
                    MonthCase{"SameDayTwoObservers",
                              {Day("2026-06-03", "09:00", 1, 2, "AAA"),
                               Day("2026-06-03", "09:00", 1, 3, "BBB")},
                              {"2026-06-03,09:00,3,1,2,12,1,2,0,0,1,AAA",
                               "2026-06-03,09:00,3,1,3,13,1,3,0,0,1,BBB"}}),
    [](const testing::TestParamInfo<MonthCase>& info) { return info.param.name; });

TEST(MonthFile, RefusesAForeignOrDamagedFile) {
  const DailyReport day = Day("2026-06-03", "09:00", 1, 2);
  EXPECT_THROW(MergeIntoMonthFile("name,value\r\nx,1\r\n", day), SpotError);
  const std::string damaged = DailyReportHeader() + "2026-06-01,09:00,3,1\r\n";
  EXPECT_THROW(MergeIntoMonthFile(damaged, day), SpotError);
}

SunspotObservation SampleObservation() {
  SunspotObservation observation;
  observation.imagePath = "/data/sun.png";
  observation.imageSha256 = std::string(64, 'a');
  observation.imageWidthPx = 2048;
  observation.imageHeightPx = 2048;
  observation.utc = "2026-06-15T10:30Z";
  observation.julianDay = 2461206.9375;
  observation.disk = {1023.5, 1023.25, 921.5, -9.6, 1.03, 276.4, "sky", 0};
  observation.spots = {ReportedSpot(10, 180, 120, 2), ReportedSpot(11, 183, 8, 0)};
  GroupSpots(observation.spots);
  SetRegionNumber(observation.spots, 1, 13664);
  observation.groups = SetGroupClasses(observation.spots, 1, 0, "Cko");
  observation.counts = CountSunspots(observation.groups, 0.8);
  observation.observerCode = "XYZ";
  observation.seeing = 2;
  observation.notes = "thin cirrus \"at times\"";
  return observation;
}

TEST(ObservationFile, ReadsBackWhatItWrote) {
  const SunspotObservation written = SampleObservation();
  const SunspotObservation read = ParseObservation(ObservationText(written));
  EXPECT_EQ(read.imagePath, written.imagePath);
  EXPECT_EQ(read.imageSha256, written.imageSha256);
  EXPECT_EQ(read.utc, written.utc);
  EXPECT_DOUBLE_EQ(read.julianDay, written.julianDay);
  EXPECT_DOUBLE_EQ(read.disk.centreYPx, 1023.25);
  EXPECT_EQ(read.disk.orientation, "sky");
  ASSERT_EQ(read.spots.size(), 2U);
  EXPECT_EQ(read.spots[0].umbrae.size(), 2U);
  EXPECT_DOUBLE_EQ(read.spots[1].place.longitudeDeg, 183);
  ASSERT_EQ(read.groups.size(), 1U);
  EXPECT_EQ(read.groups[0].spots, written.groups[0].spots);
  EXPECT_EQ(read.groups[0].zurichClass, written.groups[0].zurichClass);
  EXPECT_FALSE(read.groups[0].zurichChosen);
  EXPECT_TRUE(read.groups[0].mcIntoshChosen);
  EXPECT_EQ(read.groups[0].mcIntoshClass, "Cko");
  EXPECT_EQ(read.groups[0].mcIntoshProposal, written.groups[0].mcIntoshProposal);
  EXPECT_EQ(read.spots[1].mcIntoshClass, "Cko");
  EXPECT_EQ(read.groups[0].region, 13664);
  EXPECT_EQ(read.spots[1].region, 13664);
  EXPECT_EQ(read.counts.whole.f, 3);
  EXPECT_DOUBLE_EQ(read.counts.k, 0.8);
  EXPECT_EQ(read.seeing, 2);
  EXPECT_EQ(read.notes, written.notes);
  EXPECT_EQ(ObservationText(read), ObservationText(written));
}

struct DamagedCase {
  std::string name;
  std::string text;
  std::string message;
};

void PrintTo(const DamagedCase& c, std::ostream* os) { *os << c.name; }

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

std::vector<DamagedCase> DamagedCases() {
  const std::string good = ObservationText(SampleObservation());
  return {
      {"Empty", "", "not JSON"},
      {"CutShort", good.substr(0, good.size() / 2), "not JSON"},
      {"ForeignJson", R"({"name": "something else"})", "not a helidisk sunspot observation"},
      {"AnArray", "[1, 2]", "not a helidisk sunspot observation"},
      {"LaterVersion",
       Replaced(good, "\"version\": " + std::to_string(kObservationVersion), "\"version\": 7"),
       "later helidisk"},
      {"UnknownClassSource",
       Replaced(good, "\"mcintosh_source\": \"observer\"", "\"mcintosh_source\": \"me\""),
       "neither observer nor proposed"},
      {"ChosenClassThatDoesNotExist",
       Replaced(good, "\"mcintosh\": \"Cko\"", "\"mcintosh\": \"Ckq\""),
       "class that does not exist"},
      {"SpotsMissing", Replaced(good, "\"spots\":", "\"spotz\":"), "\"spots\""},
      {"GroupNamesNoSpot",
       Replaced(good, "\"members\": [\n        1,", "\"members\": [\n        9,"),
       "names a spot that is not there"},
      {"WrongKind", Replaced(good, "\"jd\": 2461206.9375", "\"jd\": \"noon\""), "\"jd\""},
  };
}

class DamagedObservation : public testing::TestWithParam<DamagedCase> {};

TEST_P(DamagedObservation, IsRefusedSayingWhy) {
  try {
    ParseObservation(GetParam().text);
    FAIL() << "read without error";
  } catch (const SpotError& error) {
    EXPECT_NE(std::string(error.what()).find(GetParam().message), std::string::npos)
        << error.what();
  }
}

INSTANTIATE_TEST_SUITE_P(Files, DamagedObservation, testing::ValuesIn(DamagedCases()),
                         [](const testing::TestParamInfo<DamagedCase>& info) {
                           return info.param.name;
                         });

}  // namespace
}  // namespace helidisk
