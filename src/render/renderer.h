// helidisk-render's work: one redraw, exactly as the window runs it, onto a
// raster or vector canvas, and the picture and readout written out.
#pragma once

#include <QByteArray>
#include <QImage>
#include <array>
#include <cstdio>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "canvas.h"
#include "diskgeometry.h"
#include "redraw.h"
#include "renderoptions.h"
#include "viewstate.h"

namespace helidisk {

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
  // The readout goes to the result of the redraw, not to labels.
  void SetReadoutCaption(ReadoutLabel /*label*/, const std::string& /*captionUtf8*/) override {}
  std::int32_t CurrentYear() const override { return options_.year; }
  std::string DecimalSeparator() const override { return options_.decimalSeparator; }

 private:
  const RenderOptions& options_;
  Canvas& canvas_;
};

// Runs one redraw for the options' picture control on the canvas, which
// must already have the image's size.  The canvas first takes the pen and brush that every
// earlier redraw leaves behind (black 2 px pen, yellow brush), since the
// picture the window keeps on screen is never its very first redraw.
// Raises RunError when a check of the redraw fails.
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

// The options' picture as a raster image: a redraw, or a Stonyhurst
// template when they name a B0 alone.  Raises RunError when the redraw
// fails and PictureError when the image has no pixels or no memory.
QImage RenderImage(const RenderOptions& options, RedrawResult& result);

// The picture in the options' format: the image as a PNG, the drawing as
// an SVG, or the page as a PDF (which needs a QGuiApplication for its
// fonts).  Raises RunError when the redraw fails and PictureError when the
// picture cannot be made.
QByteArray RenderPicture(const RenderOptions& options, RedrawResult& result);

// Runs the work and returns its exit status; any error it raises is
// reported on `err` with the program's name and gives exit status 1.
int ReportingFailures(std::FILE* err, const std::function<int()>& work);

// The whole program after its name: parses the arguments, renders, writes
// the picture and prints the readout; returns the exit status (0 done,
// 1 failed redraw or write, 2 bad command line).
int RunRenderer(const std::vector<std::string>& arguments, std::FILE* out, std::FILE* err);

}  // namespace helidisk
