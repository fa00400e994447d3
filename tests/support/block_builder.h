// Version blocks built at run time for the tests, with the same writer the
// program's own block is built with.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "versionblock.h"

namespace helidisk::testing {

class VectorSink {
 public:
  std::size_t Size() const { return bytes_.size(); }
  void Put(std::uint8_t byte) { bytes_.push_back(byte); }
  void Patch16(std::size_t offset, std::uint16_t value) {
    bytes_.at(offset) = static_cast<std::uint8_t>(value & 0xFF);
    bytes_.at(offset + 1) = static_cast<std::uint8_t>(value >> 8);
  }
  const std::vector<std::uint8_t>& Bytes() const { return bytes_; }

 private:
  std::vector<std::uint8_t> bytes_;
};

// Owns the sink the writer writes to.
class BlockBuilder {
 public:
  BlockBuilder() : writer_(sink_) {}
  BlockBuilder(const BlockBuilder&) = delete;
  BlockBuilder& operator=(const BlockBuilder&) = delete;

  VersionBlockWriter<VectorSink>& Writer() { return writer_; }
  const std::vector<std::uint8_t>& Bytes() const { return sink_.Bytes(); }

 private:
  VectorSink sink_;
  VersionBlockWriter<VectorSink> writer_;
};

inline VsFixedFileInfo FixedInfo(std::uint32_t type, std::uint32_t subtype,
                                 std::uint32_t flagsMask = 0x3F, std::uint32_t flags = 0) {
  VsFixedFileInfo info;
  info.dwSignature = kFixedFileInfoSignature;
  info.dwStrucVersion = kFixedFileInfoStructVersion;
  info.dwFileFlagsMask = flagsMask;
  info.dwFileFlags = flags;
  info.dwFileType = type;
  info.dwFileSubtype = subtype;
  return info;
}

}  // namespace helidisk::testing
