// Finding a named section in an ELF file (32 or 64 bit, either byte order)
// without trusting any of its numbers: only the file header, the section
// headers, the section-name table and the wanted section are read, each
// through a range check against the size of the file.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace helidisk {

// Random access to the bytes of a file or of a buffer.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual std::uint64_t Size() const = 0;
  // Fills all of `out` from `offset`; false if any byte is not there.
  virtual bool ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) const = 0;
};

class MemoryByteSource final : public ByteSource {
 public:
  explicit MemoryByteSource(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  std::uint64_t Size() const override { return bytes_.size(); }
  bool ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) const override;

 private:
  std::span<const std::uint8_t> bytes_;
};

// Where a section's contents lie in the file.
struct ElfSectionRange {
  std::uint64_t offset = 0;
  std::uint64_t size = 0;
};

// The first section called `name` that has contents in the file (not a
// SHT_NOBITS section), lying wholly inside the file.  nullopt for anything
// that is not a well-formed ELF file with such a section.  Files that need
// extended section numbering (65280 sections and more) are not supported.
std::optional<ElfSectionRange> FindElfSection(const ByteSource& file, std::string_view name);

}  // namespace helidisk
