// The picture module's one entry point, which helidisk-render finds by
// name in the module it loads: a whole run that makes a picture or reads an
// observer's image.
#pragma once

#include <cstdio>

#include "renderoptions.h"

namespace helidisk {

inline constexpr const char* kPictureModuleEntry = "helidisk_render_pictures";

// `version` is the program's version text, `optionsSize` sizeof
// RenderOptions: a module from another build refuses the run.  Returns the
// run's exit status.
using PictureModuleEntry = int (*)(const char* version, std::size_t optionsSize,
                                   const RenderOptions* options, std::FILE* out, std::FILE* err);

}  // namespace helidisk
