// helidisk-render --images FILES... --align --output DIR/: the observer's
// images as aligned frames in a folder, optionally de-rotated to one
// instant and gathered into an animated WebP, with a progress line on the
// terminal.
#pragma once

#include <cstdio>

#include "alignedsequence.h"
#include "renderoptions.h"

namespace helidisk {

// The frames' settings the options name.
AlignSettings AlignSettingsOf(const RenderOptions& options);

// Aligns the images into the output folder (made if missing), writes the
// movie where asked, and reports each skipped image on `err` with the
// reason.  Returns 0 when every image was aligned and written, 1 when any
// was skipped or the movie could not be written (the frames that could be
// made are written all the same).
int RenderAlignedSequence(const RenderOptions& options, std::FILE* err);

}  // namespace helidisk
