// helidisk-render --detect: the sunspots on an observer's image, printed as
// JSON, written as a spot table, a report line, a month file or an
// observation file.
#pragma once

#include <QImage>
#include <cstdio>

#include "greyimage.h"
#include "redraw.h"
#include "renderoptions.h"
#include "report.h"
#include "solarimage.h"

namespace helidisk {

// The image as grey 8-bit pixels: the brightest channel of each, as the
// limb fit reads it, so that a filter's colour keeps its contrast; a grey
// image as it is.
QImage BrightestChannel(const QImage& image);

// The grey image's pixels as the detection reads them, in place: `grey`
// must outlive the view.  They saturate at 255.
GreyImage GreyViewOf(const QImage& grey);

// The SHA-256 of the file's bytes in lower-case hexadecimal; empty when it
// cannot be read.
std::string FileSha256(const QString& path);

// Detects, groups and counts the spots on the image within the result's
// frame and writes what the options ask for: everything is computed before
// anything is written, so that a refused image leaves no report.  Returns
// the exit status; a refused image is reported on `err`, naming the file.
int ReportSpots(const SolarImage& image, const ImageReport& imageReport, const RedrawResult& result,
                Orientation orientation, const RenderOptions& options, std::FILE* out,
                std::FILE* err);

}  // namespace helidisk
