// The sunspot panel on a generated spotted Sun opened as the window opens
// an image: detection, the observer's edits, k, and the files.
#include "sunspotdock.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QFile>
#include <QItemSelectionModel>
#include <QMainWindow>
#include <QTableWidget>
#include <QTemporaryDir>

#include "spotted_sun_file.h"

namespace helidisk {
namespace {

constexpr int kSidePx = 1024;

// A file dialog in which the user always picks this path.
SunspotDock::PathChooser ChoosingAlways(const QString& path) {
  return [path](const QString& /*title*/, const QString& /*filter*/) { return QString(path); };
}

class SunspotPanel : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    ASSERT_TRUE(fakes::WriteSpottedSun(dir_.filePath("sun.png"), kSidePx, fakes::ActiveDaySpots()));
    image_ = LoadSolarImage(dir_.filePath("sun.png"));
    dock_.SetWarner([this](const QString& text) { warnings_ << text; });
  }

  SunspotScene Scene() const {
    SunspotScene scene;
    scene.image = &image_;
    scene.frame = fakes::SpottedSunFrame(kSidePx, 0.45 * kSidePx);
    scene.sun = fakes::SpottedSunEphemeris();
    scene.instant = CalendarInstantOf(scene.sun.julianDay);
    return scene;
  }

  void SelectRows(const std::vector<int>& rows) {
    QItemSelectionModel* selection = dock_.SpotTable()->selectionModel();
    selection->clearSelection();
    for (const int row : rows) {
      selection->select(dock_.SpotTable()->model()->index(row, 0),
                        QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
  }

  QTemporaryDir dir_;
  QMainWindow window_;
  SunspotDock dock_{&window_};
  SolarImage image_;
  QStringList warnings_;
};

TEST_F(SunspotPanel, DetectShowsTheSpotsGroupsAndCounts) {
  dock_.Detect(Scene());
  EXPECT_TRUE(warnings_.isEmpty()) << warnings_.join("; ").toStdString();
  EXPECT_EQ(dock_.SpotTable()->rowCount(), 8);
  EXPECT_EQ(dock_.GroupTable()->rowCount(), 5);
  EXPECT_TRUE(dock_.CountsText().startsWith("g 5  f 8  R 58  kR 58.0"))
      << dock_.CountsText().toStdString();
  dock_.SetK(0.5);
  EXPECT_TRUE(dock_.CountsText().startsWith("g 5  f 8  R 58  kR 29.0"))
      << dock_.CountsText().toStdString();
}

TEST_F(SunspotPanel, WithoutAnImageItSaysWhatToDo) {
  dock_.Detect(std::nullopt);
  ASSERT_EQ(warnings_.size(), 1);
  EXPECT_TRUE(warnings_.front().contains("Open an observer's white-light image"));
}

TEST_F(SunspotPanel, EditsChangeTheCounts) {
  dock_.Detect(Scene());
  // The largest spot, alone in its group.
  SelectRows({0});
  dock_.RemoveSelected();
  EXPECT_EQ(dock_.SpotTable()->rowCount(), 7);
  EXPECT_TRUE(dock_.CountsText().startsWith("g 4  f 7  R 47")) << dock_.CountsText().toStdString();
  SelectRows({0, 1});
  dock_.MergeSelected();
  const int mergedG = dock_.Observation().counts.whole.g;
  EXPECT_LE(mergedG, 4);
  SelectRows({1});
  dock_.SplitSelected();
  EXPECT_EQ(dock_.Observation().counts.whole.f, 7);
  EXPECT_GE(dock_.Observation().counts.whole.g, mergedG);
}

TEST_F(SunspotPanel, AddedSpotJoinsTheCountsAndOneOffTheDiskIsRefused) {
  dock_.Detect(Scene());
  dock_.SetSpotAsker([](auto) { return SunspotDock::AddedSpot{511.5, 300, 40, false}; });
  dock_.AddSpot();
  EXPECT_EQ(dock_.SpotTable()->rowCount(), 9);
  EXPECT_EQ(dock_.Observation().counts.whole.f, 9);
  dock_.SetSpotAsker([](auto) { return SunspotDock::AddedSpot{2, 2, 40, false}; });
  dock_.AddSpot();
  EXPECT_EQ(dock_.SpotTable()->rowCount(), 9);
  ASSERT_EQ(warnings_.size(), 1);
  EXPECT_TRUE(warnings_.front().contains("off the disk"));
}

TEST_F(SunspotPanel, SavedObservationOpensAgainAndAForeignFileIsKept) {
  dock_.Detect(Scene());
  const QString path = dir_.filePath("day.json");
  dock_.SetSavePathChooser(ChoosingAlways(path));
  ASSERT_TRUE(dock_.SaveObservation());

  QMainWindow other;
  SunspotDock reopened(&other);
  reopened.SetOpenPathChooser(ChoosingAlways(path));
  ASSERT_TRUE(reopened.OpenObservation());
  EXPECT_EQ(reopened.SpotTable()->rowCount(), 8);
  EXPECT_EQ(reopened.CountsText(), dock_.CountsText());

  const QString foreign = dir_.filePath("foreign.json");
  {
    QFile file(foreign);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[\"not an observation\"]");
  }
  dock_.SetSavePathChooser(ChoosingAlways(foreign));
  EXPECT_FALSE(dock_.SaveObservation());
  ASSERT_EQ(warnings_.size(), 1);
  QFile file(foreign);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), "[\"not an observation\"]");
}

// What happens to the observation's image between saving and reopening.
enum class ImageAfterSaving { Kept, Replaced, Removed };

struct ReopeningCase {
  const char* name;
  ImageAfterSaving image;
  bool opens;
  const char* warning;  // a part of the message; empty when it opens
};

TEST_F(SunspotPanel, ReopenedObservationIsRefusedUnlessItsImageIsTheSame) {
  const ReopeningCase cases[] = {
      {"image kept", ImageAfterSaving::Kept, true, ""},
      {"image replaced by another", ImageAfterSaving::Replaced, false, "SHA-256 differs"},
      {"image removed", ImageAfterSaving::Removed, false, "is not there"},
  };
  for (const ReopeningCase& c : cases) {
    SCOPED_TRACE(c.name);
    warnings_.clear();
    const QString sun = dir_.filePath("sun.png");
    ASSERT_TRUE(fakes::WriteSpottedSun(sun, kSidePx, fakes::ActiveDaySpots()));
    image_ = LoadSolarImage(sun);
    dock_.Detect(Scene());
    const QString path = dir_.filePath("day.json");
    QFile::remove(path);
    dock_.SetSavePathChooser(ChoosingAlways(path));
    ASSERT_TRUE(dock_.SaveObservation());
    if (c.image == ImageAfterSaving::Replaced) {
      ASSERT_TRUE(fakes::WriteSpottedSun(sun, kSidePx / 2, fakes::ActiveDaySpots()));
    } else if (c.image == ImageAfterSaving::Removed) {
      ASSERT_TRUE(QFile::remove(sun));
    }
    QFile saved(path);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QByteArray savedBytes = saved.readAll();
    saved.close();

    QMainWindow other;
    SunspotDock reopened(&other);
    QStringList reopenWarnings;
    reopened.SetWarner([&reopenWarnings](const QString& text) { reopenWarnings << text; });
    reopened.SetOpenPathChooser(ChoosingAlways(path));
    EXPECT_EQ(reopened.OpenObservation(), c.opens);
    if (c.opens) {
      EXPECT_TRUE(reopenWarnings.isEmpty());
      EXPECT_EQ(reopened.SpotTable()->rowCount(), 8);
    } else {
      ASSERT_EQ(reopenWarnings.size(), 1);
      EXPECT_TRUE(reopenWarnings.front().contains(QString::fromUtf8(c.warning)))
          << reopenWarnings.front().toStdString();
      EXPECT_EQ(reopened.SpotTable()->rowCount(), 0);
      EXPECT_TRUE(reopened.Observation().spots.empty());
    }
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), savedBytes);
  }
}

TEST_F(SunspotPanel, RegionNumberTypedIntoTheGroupTableIsKept) {
  dock_.Detect(Scene());
  dock_.GroupTable()->item(1, 9)->setText("13664");
  EXPECT_EQ(dock_.Observation().groups[1].region, 13664);
  EXPECT_EQ(dock_.GroupTable()->item(1, 9)->text(), "13664");
  dock_.GroupTable()->item(0, 9)->setText("AR one");
  ASSERT_EQ(warnings_.size(), 1);
  EXPECT_EQ(dock_.Observation().groups[0].region, 0);
  EXPECT_EQ(dock_.GroupTable()->item(0, 9)->text(), "");
}

// The observer's classes are typed over the proposals, which stay in view;
// a class McIntosh does not list is refused, and an empty cell gives the
// proposal back.
TEST_F(SunspotPanel, ClassesTypedIntoTheGroupTableOverrideTheProposal) {
  constexpr int kZurich = 7;
  constexpr int kMcIntosh = 8;
  constexpr int kProposed = 10;
  dock_.Detect(Scene());
  QTableWidget* groups = dock_.GroupTable();
  const QString proposed = groups->item(1, kProposed)->text();
  EXPECT_EQ(proposed, QStringLiteral("%1 %2").arg(groups->item(1, kZurich)->text(),
                                                  groups->item(1, kMcIntosh)->text()));
  groups->item(1, kZurich)->setText("g");
  groups->item(1, kMcIntosh)->setText("ekc");
  const SpotGroup& chosen = dock_.Observation().groups[1];
  EXPECT_EQ(chosen.zurichClass, 'G');
  EXPECT_EQ(chosen.mcIntoshClass, "Ekc");
  EXPECT_TRUE(chosen.zurichChosen && chosen.mcIntoshChosen);
  EXPECT_EQ(groups->item(1, kMcIntosh)->text(), "Ekc");
  EXPECT_TRUE(groups->item(1, kMcIntosh)->font().bold());
  EXPECT_EQ(groups->item(1, kProposed)->text(), proposed);

  groups->item(1, kMcIntosh)->setText("Exq");
  ASSERT_EQ(warnings_.size(), 1);
  EXPECT_EQ(dock_.Observation().groups[1].mcIntoshClass, "Ekc");
  EXPECT_EQ(groups->item(1, kMcIntosh)->text(), "Ekc");

  groups->item(1, kZurich)->setText("");
  EXPECT_FALSE(dock_.Observation().groups[1].zurichChosen);
  EXPECT_EQ(groups->item(1, kZurich)->text(), proposed.left(1));
  EXPECT_EQ(dock_.Observation().groups[1].mcIntoshClass, "Ekc");
}

TEST_F(SunspotPanel, MonthFileGetsTheDaysLine) {
  dock_.Detect(Scene());
  const QString path = dir_.filePath("2026-06.csv");
  dock_.SetSavePathChooser(ChoosingAlways(path));
  ASSERT_TRUE(dock_.AddToMonthFile());
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(),
            "Date,UT,Seeing,g,f,R,Ng,Nf,Sg,Sf,k,Obs\r\n2026-06-15,10:30,,5,8,58,2,5,3,3,1,\r\n");
}

}  // namespace
}  // namespace helidisk

int main(int argc, char* argv[]) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
