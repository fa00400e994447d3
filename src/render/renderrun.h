// helidisk-render's run: the command line read, the help, the version, the
// readout, JSON, --locate and the tables computed without any toolkit, and
// pictures left to the picture module, which it loads only when a run asks
// for one (the Qt libraries a picture needs take longer to load than a
// whole table takes to compute).  Both halves share what is written and
// printed, and how.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "canvas.h"
#include "diskgeometry.h"
#include "featurereport.h"
#include "redraw.h"
#include "renderoptions.h"
#include "report.h"
#include "viewstate.h"

namespace helidisk {

inline constexpr const char* kRendererName = "helidisk-render";
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;
// 128 + SIGPIPE, as a shell reports a program that wrote into a pipe whose
// reader had gone.
inline constexpr int kExitReaderGone = 141;

// The window as the redraw sees it, with the command line's choices.
class RenderForm final : public FormView {
 public:
  RenderForm(const RenderOptions& options, Canvas& canvas);

  Canvas& ImageCanvas() override { return canvas_; }
  DiskGeometry PictureGeometry() const override;
  double HourPosition() const override { return options_.hourPosition; }
  bool DiffRotChecked() const override { return options_.differentialGrid; }
  bool StonyhurstGridChosen() const override { return options_.stonyhurstGrid; }
  Orientation PictureOrientation() const override { return options_.orientation; }
  EphemerisChoice ChosenEphemeris() const override { return options_.ephemeris; }
  // The readout goes to the result of the redraw, not to labels.
  void SetReadoutCaption(ReadoutLabel /*label*/, const std::string& /*captionUtf8*/) override {}
  std::int32_t CurrentYear() const override { return options_.year; }
  std::string DecimalSeparator() const override { return options_.decimalSeparator; }

 private:
  const RenderOptions& options_;
  Canvas& canvas_;
};

// The picture control's geometry the options name.
DiskGeometry GeometryFor(const RenderOptions& options);

// Runs one redraw for the options' picture control on the canvas, which
// must already have the image's size.  The canvas first takes the pen and
// brush that every earlier redraw leaves behind (black 2 px pen, yellow
// brush), since the picture the window keeps on screen is never its very
// first redraw.  Raises RunError when a check of the redraw fails.
RedrawResult RenderOnto(const RenderOptions& options, Canvas& canvas);

// The redraw for its record alone: the drawing goes nowhere.
RedrawResult RedrawRecordOf(const RenderOptions& options);

// The image's size for the options' picture control: two pixels narrower
// and shorter, zero or negative for controls under 3 pixels.
std::int32_t ImageWidthFor(const RenderOptions& options);
std::int32_t ImageHeightFor(const RenderOptions& options);

// A picture that could not be made: no memory for the image, or a failed
// encoding.
class PictureError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Runs the work and returns its exit status; any error it raises is
// reported on `err` with the program's name and gives exit status 1.
int ReportingFailures(std::FILE* err, const std::function<int()>& work);

// The writing and printing both halves do; each returns the exit status.
void PrintTo(std::FILE* stream, const std::string& text);
// Whatever goes to standard output (the picture, the readout, the help or
// the version) is the run's result: when it is lost, the run has failed and
// says so, except where the reader of a pipe closed it having read what it
// wanted: then the status is kExitReaderGone, and nothing is said.
int WriteToStandardOutput(std::FILE* out, std::FILE* err, std::string_view bytes);
// To standard output ("-", or no path at all) or into the file.
int WriteResult(const std::string& path, std::string_view bytes, std::FILE* out, std::FILE* err);
void WarnOfUnknownAccuracy(std::FILE* err, std::int32_t year);
// The same for the year of --rotate-to, where there is one.
void WarnOfUnknownAccuracyAtRotation(const RenderOptions& options, std::FILE* err);
// Exit status 1 with a message where the theory puts the Sun at an
// impossible distance; 0 otherwise.
int FailUnlessPlausible(const SunEphemeris& sun, std::FILE* err);
// What is printed on standard output besides a picture: the readout, the
// point under a pixel, or the instant as JSON, and a feature carried to
// another instant in the frame `frameAt` gives (by default the drawn
// disk's).
std::string TextOf(const RenderOptions& options, const RedrawResult& result,
                   Orientation orientation, const std::optional<ImageReport>& image,
                   const FrameAtInstant& frameAt = {});

// Whether the run makes a picture or reads an image, the work of the
// picture module.
bool NeedsPictureModule(const RenderOptions& options);

// The whole program after its name: parses the arguments, renders, writes
// the picture and prints the readout; returns the exit status (0 done,
// 1 failed redraw or write, 2 bad command line).
int RunRenderer(const std::vector<std::string>& arguments, std::FILE* out, std::FILE* err);

}  // namespace helidisk
