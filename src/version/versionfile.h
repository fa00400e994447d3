// The version-resource services of the platform, for ELF files: the version
// block is the contents of the section named by kVersionSectionName.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "elfsection.h"

namespace helidisk {

// Size in bytes of the file's version block, 0 if it has none (not a regular
// file, not ELF, no such section, or one longer than kMaxVersionBlockBytes).
// `handle` is set to 0 and passed on to GetFileVersionInfo, which ignores it,
// as the platform's does.
std::uint32_t GetFileVersionInfoSize(const std::string& fileName, std::uint32_t& handle);

// Reads the file's version block into `data`, at most data.size() bytes of
// it; false, with `data` untouched, if the file has none.
bool GetFileVersionInfo(const std::string& fileName, std::uint32_t handle,
                        std::span<std::uint8_t> data);

// The same two services over a file already opened, or held in memory.
std::uint32_t VersionBlockSize(const ByteSource& file);
bool ReadVersionBlock(const ByteSource& file, std::span<std::uint8_t> data);

}  // namespace helidisk
