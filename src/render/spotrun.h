// helidisk-render --detect: the sunspots on an observer's image, printed as
// JSON, written as a spot table, a report line, a month file or an
// observation file.
#pragma once

#include <QImage>
#include <cstdio>

#include "redraw.h"
#include "renderoptions.h"
#include "report.h"
#include "solarimage.h"

namespace helidisk {

// Detects, groups and counts the spots on the image within the result's
// frame and writes what the options ask for: everything is computed before
// anything is written, so that a refused image leaves no report.  Returns
// the exit status; a refused image is reported on `err`, naming the file.
int ReportSpots(const SolarImage& image, const ImageReport& imageReport, const RedrawResult& result,
                Orientation orientation, const RenderOptions& options, std::FILE* out,
                std::FILE* err);

}  // namespace helidisk
