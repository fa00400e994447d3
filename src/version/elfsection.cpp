#include "elfsection.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace helidisk {
namespace {

constexpr std::array<std::uint8_t, 4> kElfMagic = {0x7F, 'E', 'L', 'F'};
constexpr std::size_t kClassIndex = 4;
constexpr std::size_t kDataIndex = 5;
constexpr std::uint8_t kClass32 = 1;
constexpr std::uint8_t kClass64 = 2;
constexpr std::uint8_t kDataLittleEndian = 1;
constexpr std::uint8_t kDataBigEndian = 2;
constexpr std::uint32_t kSectionTypeNoBits = 8;
constexpr std::uint16_t kFirstReservedSectionIndex = 0xFF00;

// Field offsets and sizes of the two ELF classes.
struct ElfLayout {
  std::size_t headerBytes;
  std::size_t shoffOffset;
  std::size_t shentsizeOffset;  // followed by e_shnum and e_shstrndx
  std::size_t sectionHeaderBytes;
  std::size_t shTypeOffset;
  std::size_t shOffsetOffset;  // sh_offset, then sh_size, both of `wordBytes`
  std::size_t wordBytes;
};

constexpr ElfLayout kElf32 = {52, 0x20, 0x2E, 40, 4, 0x10, 4};
constexpr ElfLayout kElf64 = {64, 0x28, 0x3A, 64, 4, 0x18, 8};

class FieldReader {
 public:
  FieldReader(std::span<const std::uint8_t> bytes, bool bigEndian)
      : bytes_(bytes), bigEndian_(bigEndian) {}

  // An unsigned field of 2, 4 or 8 bytes; the caller keeps it inside.
  std::uint64_t Unsigned(std::size_t offset, std::size_t width) const {
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < width; ++i) {
      const std::size_t index = bigEndian_ ? offset + i : offset + width - 1 - i;
      value = (value << 8) | bytes_[index];
    }
    return value;
  }

 private:
  std::span<const std::uint8_t> bytes_;
  bool bigEndian_;
};

bool RangeInside(std::uint64_t offset, std::uint64_t size, std::uint64_t fileSize) {
  return offset <= fileSize && size <= fileSize - offset;
}

struct ElfFile {
  const ByteSource& source;
  const ElfLayout& layout;
  bool bigEndian;
  std::uint64_t sectionHeadersOffset;
  std::uint64_t sectionHeaderStride;
  std::uint16_t sectionCount;
};

struct SectionHeader {
  std::uint32_t nameOffset;
  std::uint32_t type;
  ElfSectionRange range;
};

std::optional<SectionHeader> ReadSectionHeader(const ElfFile& elf, std::uint16_t index) {
  std::array<std::uint8_t, kElf64.sectionHeaderBytes> bytes{};
  const auto header = std::span(bytes).first(elf.layout.sectionHeaderBytes);
  const std::uint64_t offset = elf.sectionHeadersOffset + index * elf.sectionHeaderStride;
  if (!elf.source.ReadAt(offset, header)) return std::nullopt;

  const FieldReader fields(header, elf.bigEndian);
  const std::size_t word = elf.layout.wordBytes;
  SectionHeader section{};
  section.nameOffset = static_cast<std::uint32_t>(fields.Unsigned(0, 4));
  section.type = static_cast<std::uint32_t>(fields.Unsigned(elf.layout.shTypeOffset, 4));
  section.range.offset = fields.Unsigned(elf.layout.shOffsetOffset, word);
  section.range.size = fields.Unsigned(elf.layout.shOffsetOffset + word, word);
  if (section.type == kSectionTypeNoBits ||
      !RangeInside(section.range.offset, section.range.size, elf.source.Size())) {
    return std::nullopt;
  }
  return section;
}

std::optional<ElfFile> ReadElfHeader(const ByteSource& source, std::uint16_t& nameTableIndex) {
  std::array<std::uint8_t, kElf64.headerBytes> bytes{};
  const auto ident = std::span(bytes).first(kElf32.headerBytes);
  if (!source.ReadAt(0, ident) || !std::equal(kElfMagic.begin(), kElfMagic.end(), bytes.begin())) {
    return std::nullopt;
  }
  const std::uint8_t elfClass = bytes[kClassIndex];
  const std::uint8_t data = bytes[kDataIndex];
  if ((elfClass != kClass32 && elfClass != kClass64) ||
      (data != kDataLittleEndian && data != kDataBigEndian)) {
    return std::nullopt;
  }
  const ElfLayout& layout = elfClass == kClass64 ? kElf64 : kElf32;
  const auto header = std::span(bytes).first(layout.headerBytes);
  if (!source.ReadAt(0, header)) return std::nullopt;

  const FieldReader fields(header, data == kDataBigEndian);
  const std::uint64_t shoff = fields.Unsigned(layout.shoffOffset, layout.wordBytes);
  const auto shentsize = static_cast<std::uint16_t>(fields.Unsigned(layout.shentsizeOffset, 2));
  const auto shnum = static_cast<std::uint16_t>(fields.Unsigned(layout.shentsizeOffset + 2, 2));
  nameTableIndex = static_cast<std::uint16_t>(fields.Unsigned(layout.shentsizeOffset + 4, 2));

  // Zero sections with a non-zero offset means extended numbering.
  if (shoff == 0 || shnum == 0 || shentsize < layout.sectionHeaderBytes ||
      nameTableIndex >= shnum || nameTableIndex >= kFirstReservedSectionIndex ||
      !RangeInside(shoff, std::uint64_t{shnum} * shentsize, source.Size())) {
    return std::nullopt;
  }
  return ElfFile{source, layout, data == kDataBigEndian, shoff, shentsize, shnum};
}

// True when the name table holds exactly `name` and its zero at `nameOffset`;
// reads no more than the name's length and one byte.
bool NameIs(const ByteSource& source, const ElfSectionRange& nameTable, std::uint32_t nameOffset,
            std::string_view name, std::span<std::uint8_t> scratch) {
  if (nameOffset >= nameTable.size || scratch.size() > nameTable.size - nameOffset) return false;
  if (!source.ReadAt(nameTable.offset + nameOffset, scratch)) return false;
  return scratch.back() == 0 && std::equal(name.begin(), name.end(), scratch.begin());
}

}  // namespace

bool MemoryByteSource::ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) const {
  if (!RangeInside(offset, out.size(), bytes_.size())) return false;
  std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(offset), out.size(), out.begin());
  return true;
}

std::optional<ElfSectionRange> FindElfSection(const ByteSource& file, std::string_view name) {
  constexpr std::size_t kMaxNameBytes = 256;
  if (name.empty() || name.size() >= kMaxNameBytes || name.find('\0') != std::string_view::npos) {
    return std::nullopt;
  }
  std::uint16_t nameTableIndex = 0;
  const std::optional<ElfFile> elf = ReadElfHeader(file, nameTableIndex);
  if (!elf) return std::nullopt;
  const std::optional<SectionHeader> nameTable = ReadSectionHeader(*elf, nameTableIndex);
  if (!nameTable) return std::nullopt;

  std::array<std::uint8_t, kMaxNameBytes> buffer{};
  const auto scratch = std::span(buffer).first(name.size() + 1);
  for (std::uint16_t index = 0; index < elf->sectionCount; ++index) {
    const std::optional<SectionHeader> section = ReadSectionHeader(*elf, index);
    if (section && NameIs(file, nameTable->range, section->nameOffset, name, scratch)) {
      return section->range;
    }
  }
  return std::nullopt;
}

}  // namespace helidisk
