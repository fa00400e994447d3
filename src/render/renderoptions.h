// The command line of helidisk-render: what to draw and where to put it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "diskframe.h"
#include "diskpage.h"
#include "ephemerischoice.h"
#include "ephemeristable.h"
#include "featurerotation.h"
#include "instantseries.h"
#include "pictureformat.h"
#include "picturerequest.h"
#include "site.h"
#include "spotdetect.h"
#include "spotgroups.h"

namespace helidisk {

inline constexpr std::int32_t kLargestControlSide = 20000;
// The square frames of an aligned sequence, --size N.
inline constexpr std::int32_t kDefaultAlignedSide = 1024;
inline constexpr std::int32_t kSmallestAlignedSide = 16;
inline constexpr std::int32_t kLargestAlignedSide = 8192;

// A pixel of the picture, real-valued: x to the right, y downward, (0, 0)
// the centre of the top-left pixel.
struct PixelQuery {
  double x = 0;
  double y = 0;
};

// Sunspots found on the image (--detect) and how they are reported.
struct SpotRunOptions {
  bool detect = false;
  DetectionSettings detection;
  double linkDistanceDeg = kDefaultLinkDistanceDeg;
  double k = 1;
  // The spot table's format when --output names one; by the file's
  // extension otherwise.
  TableFormat tableFormat = TableFormat::Csv;
  bool printReportLine = false;
  std::string observerCode;
  std::optional<int> seeing;
  // The month file the day's report line goes into.
  std::string monthFilePath;
  // The observation file written.
  std::string observationPath;
  // The group rows written, as CSV or JSON by the file's extension.
  std::string groupTablePath;
  TableFormat groupTableFormat = TableFormat::Csv;
};

// The picture the command line asks for, and what else the run does.
struct RenderOptions : PictureRequest {
  // Empty: no picture.  "-": standard output.
  std::string outputPath;
  PictureFormat format = PictureFormat::Png;
  // A PDF's page: the disk's diameter on paper and the paper.
  PageOptions page;
  bool printReadout = false;
  // An observer's image to draw the grid over, instead of the drawn disk;
  // its instant comes from the file unless --at gives one.
  std::string imagePath;
  bool instantGiven = false;
  // Given on the command line: they override what an image's header says.
  bool orientationGiven = false;
  std::optional<double> rotationDeg;
  std::optional<Site> site;
  // The instant as one JSON object on standard output.
  bool printJson = false;
  // The point under this pixel, on standard output.
  std::optional<PixelQuery> locate;
  // A feature given by its heliographic latitude and Carrington longitude
  // at the instant, on standard output.
  std::optional<HeliographicPosition> feature;
  // The instant the feature, or the point under the located pixel, is
  // carried to by the rotation law, as a year and the hours since its
  // 1 January, 0 h UT.
  std::optional<YearHours> rotateTo;
  std::string rotationModel = std::string(kDefaultRotationModel);
  // With --table: the ephemeris from tableFrom to tableTo (both included)
  // every tableStepMinutes instead of a picture, written to outputPath ("-"
  // or empty: standard output).  At most kMostTableRows rows, unless the
  // calendar routines cannot reckon with the range: then the run fails.
  bool printTable = false;
  UtcMinute tableFrom;
  UtcMinute tableTo;
  std::int64_t tableStepMinutes = kMinutesPerDay;
  TableFormat tableFormat = TableFormat::Text;
  SpotRunOptions spots;
  // With --align: the observer's images (--images), each aligned into the
  // folder outputPath as a square frame of alignSidePx (--size N), and the
  // frames gathered into an animated WebP at moviePath (--movie).
  bool align = false;
  std::vector<std::string> imagePaths;
  std::int32_t alignSidePx = kDefaultAlignedSide;
  std::string moviePath;
};

enum class CommandAction { Render, ShowHelp, ShowVersion, Reject };

struct CommandLine {
  CommandAction action = CommandAction::Render;
  RenderOptions options;
  // Why the command line was rejected, naming the option.
  std::string error;
};

// Reads the arguments after the program name.  The year of the local clock
// and the locale's decimal separator are the defaults, as in the window.
CommandLine ParseCommandLine(const std::vector<std::string>& arguments, std::int32_t currentYear,
                             const std::string& localeDecimalSeparator);

std::string HelpText();

}  // namespace helidisk
