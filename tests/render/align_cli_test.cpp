// helidisk-render --images ... --align run as a user runs it: photographs
// with their EXIF time aligned into a folder with a movie, an image
// without a disk named and skipped, and the command lines it refuses.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "exif_jpeg.h"
#include "program_run.h"
#include "renderoptions.h"
#include "synthetic_sun.h"

namespace helidisk {
namespace {

fakes::ProgramOutcome RunRenderer(const QStringList& arguments) {
  return fakes::RunProgram(QStringLiteral(HELIDISK_RENDER_PROGRAM), arguments);
}

CommandLine Parsed(const std::vector<std::string>& arguments) {
  return ParseCommandLine(arguments, 2024, ".");
}

TEST(AlignCommandLine, ReadsTheImagesUpToTheNextOption) {
  const CommandLine line =
      Parsed({"--images", "a.jpg", "b.fits", "c.png", "--align", "--output", "out/", "--size",
              "600", "--rotate-to", "2024-05-11T12:00", "--model", "allen", "--movie", "m.webp"});
  ASSERT_EQ(line.action, CommandAction::Render) << line.error;
  EXPECT_EQ(line.options.imagePaths, (std::vector<std::string>{"a.jpg", "b.fits", "c.png"}));
  EXPECT_TRUE(line.options.align);
  EXPECT_EQ(line.options.alignSidePx, 600);
  EXPECT_EQ(line.options.moviePath, "m.webp");
  EXPECT_EQ(line.options.rotationModel, "allen");
  ASSERT_TRUE(line.options.rotateTo);
  EXPECT_EQ(line.options.rotateTo->year, 2024);
  EXPECT_EQ(line.options.rotateTo->hours, (31 + 29 + 31 + 30 + 10) * 24.0 + 12);
  EXPECT_EQ(Parsed({"--images=x.jpg", "y.jpg", "--align", "--output", "d"}).options.imagePaths,
            (std::vector<std::string>{"x.jpg", "y.jpg"}));
}

TEST(AlignCommandLine, RefusesWhatDoesNotMakeASequence) {
  struct Case {
    std::vector<std::string> arguments;
    std::string message;
  };
  const Case cases[] = {
      {{"--images", "--align", "--output", "d"}, "--images needs a value"},
      {{"--align", "--output", "d"}, "--align needs the images"},
      {{"--images", "a.jpg", "--align"}, "give --output DIR/"},
      {{"--images", "a.jpg", "--output", "d"}, "--images belongs to an aligned sequence"},
      {{"--movie", "m.webp", "--output", "x.png"}, "--movie belongs to an aligned sequence"},
      {{"--size", "500", "--output", "x.png"}, "--size N sets an aligned sequence's frames"},
      {{"--images", "a.jpg", "--align", "--output", "d", "--size", "500x400"},
       "an aligned frame is square"},
      {{"--images", "a.jpg", "--align", "--output", "d", "--size", "15"}, "'15' is not"},
      {{"--images", "a.jpg", "--align", "--output", "d", "--movie", "m.mp4"},
       "an MP4 would need a video encoder"},
      {{"--images", "a.jpg", "--align", "--output", "d", "--model", "snodgrass"},
       "--model names the law that --rotate-to de-rotates"},
      {{"--images", "a.jpg", "--align", "--output", "d", "--at", "2024-01-01T00:00"},
       "--at does not apply to --align"},
      {{"--images", "a.jpg", "--align", "--output", "d", "--rotation", "3", "--site", "1,2"},
       "give one of them"},
      // The frames are placed by the standard theory alone.
      {{"--images", "a.jpg", "--align", "--output", "d", "--ephemeris", "precise"},
       "--ephemeris does not apply to --align"},
  };
  for (const Case& c : cases) {
    const CommandLine line = Parsed(c.arguments);
    EXPECT_EQ(line.action, CommandAction::Reject) << c.message;
    EXPECT_NE(line.error.find(c.message), std::string::npos) << line.error;
  }
}

// Three photographs an hour apart, the disk in other places and sizes,
// and one of an overcast sky.
class AlignRun : public ::testing::Test {
 protected:
  void SetUp() override {
    const double centres[][3] = {
        {150.3, 141.2, 110.4}, {171.8, 158.6, 118.9}, {139.5, 162.1, 101.7}};
    for (int index = 0; index < 3; ++index) {
      const QImage picture = fakes::RedImage(
          fakes::MakeSun(320, 300, centres[index][0], centres[index][1], centres[index][2], 0.01));
      const std::string time = "2024:05:10 0" + std::to_string(7 + index) + ":00:00";
      inputs_.append(Write(QStringLiteral("sun-%1.jpg").arg(index),
                           fakes::JpegWithExif(picture, time.c_str(), "+00:00")));
    }
    QImage sky(320, 300, QImage::Format_RGB32);
    sky.fill(qRgb(90, 90, 95));
    overcast_ = Write("overcast.jpg", fakes::JpegWithExif(sky, "2024:05:10 10:00:00", "+00:00"));
  }

  QString Write(const QString& name, const QByteArray& bytes) {
    QFile file(directory_.filePath(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return file.fileName();
  }

  QTemporaryDir directory_;
  QStringList inputs_;
  QString overcast_;
};

TEST_F(AlignRun, WritesFramesAndMovieAndNamesTheImageWithoutADisk) {
  const QString output = directory_.filePath("frames");
  const QString movie = directory_.filePath("movie.webp");
  QStringList arguments = {"--images"};
  arguments << inputs_[0] << overcast_ << inputs_[1] << inputs_[2];
  arguments << "--align"
            << "--output" << output + "/"
            << "--size"
            << "200"
            << "--movie" << movie;
  const fakes::ProgramOutcome outcome = RunRenderer(arguments);

  // One image skipped: the run says so in its status and on standard error.
  EXPECT_EQ(outcome.exitCode, 1);
  const QString err = QString::fromUtf8(outcome.err);
  EXPECT_TRUE(err.contains("helidisk-render: skipped " + overcast_ + ": no solar disk found"))
      << err.toStdString();
  // Not a terminal: one progress line a frame, no carriage returns.
  EXPECT_FALSE(err.contains('\r'));
  EXPECT_TRUE(err.contains("aligned 1 of 4\n")) << err.toStdString();
  EXPECT_TRUE(err.contains("aligned 3 of 4, 1 skipped\n")) << err.toStdString();
  EXPECT_TRUE(outcome.out.isEmpty());

  EXPECT_EQ(QDir(output).entryList(QDir::Files),
            (QStringList{"sun-0-aligned.fits", "sun-0-aligned.png", "sun-1-aligned.fits",
                         "sun-1-aligned.png", "sun-2-aligned.fits", "sun-2-aligned.png"}));
  const QImage frame(QDir(output).filePath("sun-1-aligned.png"));
  EXPECT_EQ(frame.size(), QSize(200, 200));
  EXPECT_EQ(frame.text("CRPIX1"), "100.5");
  EXPECT_EQ(frame.text("DATE-OBS"), "2024-05-10T08:00:00.000");

  // An animated WebP of the three frames: RIFF, WEBP, ANIM, one ANMF each.
  QFile movieFile(movie);
  ASSERT_TRUE(movieFile.open(QIODevice::ReadOnly));
  const QByteArray bytes = movieFile.readAll();
  EXPECT_TRUE(bytes.startsWith("RIFF"));
  EXPECT_EQ(bytes.mid(8, 4), "WEBP");
  EXPECT_TRUE(bytes.contains("ANIM"));
  EXPECT_EQ(bytes.count("ANMF"), 3);
}

TEST_F(AlignRun, EveryImageAlignedEndsWithStatusZero) {
  const QString output = directory_.filePath("frames");
  QStringList arguments = {"--images"};
  arguments << inputs_ << "--align"
            << "--output" << output << "--size"
            << "128";
  const fakes::ProgramOutcome outcome = RunRenderer(arguments);
  EXPECT_EQ(outcome.exitCode, 0) << outcome.err.toStdString();
  EXPECT_EQ(QDir(output).entryList(QDir::Files).size(), 6);
}

// The grid over a photograph written as PNG carries the photograph's
// geometry: the disk's centre the picture reports, solar north turned by P
// and the camera's angle; a mirrored view, which the keywords cannot
// describe, carries none.
TEST_F(AlignRun, OverlaidPngCarriesTheImagesGeometry) {
  struct Case {
    QStringList view;
    std::optional<double> extraTurnDeg;
  };
  const Case cases[] = {{{}, 0.0}, {{"--rotation", "30"}, 30.0}, {{"--orientation", "mirror"}, {}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.view.join(' ').toStdString());
    const QString picture = directory_.filePath("overlaid.png");
    QFile::remove(picture);
    const fakes::ProgramOutcome outcome =
        RunRenderer(QStringList{"--image", inputs_[1], "--output", picture, "--json"} + c.view);
    ASSERT_EQ(outcome.exitCode, 0) << outcome.err.toStdString();
    const nlohmann::json json = nlohmann::json::parse(outcome.out.toStdString());
    const QImage read(picture);
    ASSERT_FALSE(read.isNull());
    if (!c.extraTurnDeg) {
      EXPECT_TRUE(read.text("CRPIX1").isEmpty());
      continue;
    }
    const nlohmann::json& image = json["image"];
    EXPECT_NEAR(read.text("CRPIX1").toDouble() - 1, image["cx"].get<double>(), 1e-9);
    EXPECT_NEAR(read.height() - read.text("CRPIX2").toDouble(), image["cy"].get<double>(), 1e-9);
    EXPECT_NEAR(read.text("CROTA2").toDouble(), -(json["p_deg"].get<double>() + *c.extraTurnDeg),
                1e-9);
    EXPECT_EQ(read.text("DATE-OBS"), "2024-05-10T08:00:00.000");
  }
}

}  // namespace
}  // namespace helidisk
