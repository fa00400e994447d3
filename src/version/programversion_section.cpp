// Places the program's version block in its own ELF section, where the
// About panel's reader finds it in the executable file.  `used` keeps the
// compiler from dropping the unreferenced array, `retain` keeps the linker's
// section garbage collection from dropping the section.
#include "programversion.h"

#ifndef HELIDISK_VERSION_TEXT
#error "HELIDISK_VERSION_TEXT must name the dotted four-part version of the build"
#endif

namespace helidisk {
namespace {

constexpr std::string_view kVersion = HELIDISK_VERSION_TEXT;
constexpr std::size_t kBlockBytes = ProgramVersionBlockSize(kVersion);
static_assert(kVersionSectionName == ".helidisk_version", "the section the reader looks in");

}  // namespace

[[gnu::used, gnu::retain, gnu::section(".helidisk_version"),
  gnu::aligned(4)]] extern const std::array<std::uint8_t, kBlockBytes>
    ProgramVersionBlock = BuildProgramVersionBlock<kBlockBytes>(kVersion);

}  // namespace helidisk
