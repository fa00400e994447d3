// helidisk-render's picture module: the runs that make a picture or read an
// observer's image, with Qt.  helidisk-render loads it only for them.
#pragma once

#include <cstdio>

#include "renderoptions.h"

namespace helidisk {

// A run that makes a picture or reads an observer's image: the picture
// written, the readout, JSON or located point printed; returns the exit
// status.  Raises what the work raises.
int RenderPictures(const RenderOptions& given, std::FILE* out, std::FILE* err);

}  // namespace helidisk
