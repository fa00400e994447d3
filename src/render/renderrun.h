// helidisk-render's run: the command line read, the help, the version, the
// readout, JSON, --locate, the tables and the drawn disk as PNG or SVG
// made without any toolkit, and pages and observers' images left to the
// picture module, which it loads only when a run asks for one (the Qt
// libraries take longer to load than a whole picture takes to draw).  Both
// halves share what is written and printed, and how.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "featurereport.h"
#include "redraw.h"
#include "renderoptions.h"
#include "report.h"

namespace helidisk {

inline constexpr const char* kRendererName = "helidisk-render";
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;
// 128 + SIGPIPE, as a shell reports a program that wrote into a pipe whose
// reader had gone.
inline constexpr int kExitReaderGone = 141;

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
// Both, for a picture run: a template has no instant of its own.
void WarnOfUnknownAccuracyOfPicture(const RenderOptions& options, std::FILE* err);
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

// A picture run's end: a failure where the theory puts the Sun at an
// impossible distance; otherwise the texts computed, the picture written
// where --output says, and the texts printed.
int WritePictureAndTexts(const RenderOptions& options, const RedrawResult& result,
                         std::string_view picture, const std::function<std::string()>& textsOf,
                         std::FILE* out, std::FILE* err);

// Whether the run writes the drawn disk as a PNG or SVG, which needs no
// toolkit.
bool DrawsDiskWithoutQt(const RenderOptions& options);
// Whether the run makes a page or reads an image, the work of the picture
// module.
bool NeedsPictureModule(const RenderOptions& options);

// The whole program after its name: parses the arguments, renders, writes
// the picture and prints the readout; returns the exit status (0 done,
// 1 failed redraw or write, 2 bad command line).
int RunRenderer(const std::vector<std::string>& arguments, std::FILE* out, std::FILE* err);

}  // namespace helidisk
