// The picture module that helidisk-render loads for a run that makes a
// picture or reads an image.
#include <cstring>

#include "picturemodule.h"
#include "renderer.h"
#include "renderrun.h"

extern "C" __attribute__((visibility("default"))) int helidisk_render_pictures(
    const char* version, std::size_t optionsSize, const helidisk::RenderOptions* options,
    std::FILE* out, std::FILE* err) {
  using helidisk::kRendererName;
  if (std::strcmp(version, HELIDISK_VERSION_TEXT) != 0 ||
      optionsSize != sizeof(helidisk::RenderOptions)) {
    helidisk::PrintTo(err, std::string(kRendererName) + ": the picture module " +
                               HELIDISK_VERSION_TEXT + " does not belong to this program (" +
                               version + ")\n");
    return helidisk::kExitFailure;
  }
  return helidisk::ReportingFailures(err,
                                     [&] { return helidisk::RenderPictures(*options, out, err); });
}
