// Writes small ELF files for the tests: a file header, the sections' bytes,
// the section-name table and the section headers, and nothing else a
// section lookup does not need.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace helidisk::testing {

inline constexpr std::uint32_t kSectionProgBits = 1;
inline constexpr std::uint32_t kSectionNoBits = 8;

struct ElfSection {
  std::string name;
  std::vector<std::uint8_t> contents;
  std::uint32_t type = kSectionProgBits;
};

struct ElfFormat {
  bool is64 = true;
  bool bigEndian = false;
};

// Where the writer put things, for tests that spoil them afterwards.
struct ElfImage {
  std::vector<std::uint8_t> bytes;
  ElfFormat format;
  std::size_t sectionHeadersOffset = 0;
  std::size_t sectionHeaderBytes = 0;
  std::vector<std::size_t> contentOffsets;  // of the given sections, in order

  // Offsets of header fields, by class.
  std::size_t ShoffField() const { return format.is64 ? 0x28 : 0x20; }
  std::size_t ShentsizeField() const { return format.is64 ? 0x3A : 0x2E; }
  std::size_t ShnumField() const { return ShentsizeField() + 2; }
  std::size_t ShstrndxField() const { return ShentsizeField() + 4; }
  std::size_t WordBytes() const { return format.is64 ? 8 : 4; }
  // Section header fields of section `index` (0 is the null section, the
  // given sections follow from 1, the name table last).
  std::size_t SectionHeader(std::size_t index) const {
    return sectionHeadersOffset + index * sectionHeaderBytes;
  }
  std::size_t ShNameField(std::size_t index) const { return SectionHeader(index); }
  std::size_t ShOffsetField(std::size_t index) const {
    return SectionHeader(index) + (format.is64 ? 0x18 : 0x10);
  }
  std::size_t ShSizeField(std::size_t index) const { return ShOffsetField(index) + WordBytes(); }

  void Put(std::size_t offset, std::size_t width, std::uint64_t value) {
    for (std::size_t i = 0; i < width; ++i) {
      const std::size_t shift = 8 * (format.bigEndian ? width - 1 - i : i);
      bytes.at(offset + i) = static_cast<std::uint8_t>(value >> shift);
    }
  }
};

inline ElfImage MakeElf(const std::vector<ElfSection>& sections, ElfFormat format = {}) {
  ElfImage image;
  image.format = format;
  const std::size_t headerBytes = format.is64 ? 64 : 52;
  image.sectionHeaderBytes = format.is64 ? 64 : 40;
  auto& bytes = image.bytes;
  bytes.assign(headerBytes, 0);
  const auto align = [&](std::size_t to) {
    while (bytes.size() % to != 0) bytes.push_back(0);
  };

  std::string names(1, '\0');
  std::vector<std::size_t> nameOffsets;
  for (const ElfSection& section : sections) {
    align(4);
    image.contentOffsets.push_back(bytes.size());
    bytes.insert(bytes.end(), section.contents.begin(), section.contents.end());
    nameOffsets.push_back(names.size());
    names += section.name + '\0';
  }
  const std::size_t nameTableNameOffset = names.size();
  names += std::string(".shstrtab") + '\0';
  const std::size_t nameTableOffset = bytes.size();
  bytes.insert(bytes.end(), names.begin(), names.end());
  align(8);

  const std::size_t sectionCount = sections.size() + 2;
  image.sectionHeadersOffset = bytes.size();
  bytes.resize(bytes.size() + sectionCount * image.sectionHeaderBytes, 0);

  bytes[0] = 0x7F;
  bytes[1] = 'E';
  bytes[2] = 'L';
  bytes[3] = 'F';
  bytes[4] = format.is64 ? 2 : 1;
  bytes[5] = format.bigEndian ? 2 : 1;
  bytes[6] = 1;
  image.Put(0x10, 2, 2);  // e_type: an executable
  image.Put(0x14, 4, 1);  // e_version
  image.Put(image.ShoffField(), image.WordBytes(), image.sectionHeadersOffset);
  image.Put(image.ShentsizeField() - 6, 2, headerBytes);  // e_ehsize
  image.Put(image.ShentsizeField(), 2, image.sectionHeaderBytes);
  image.Put(image.ShnumField(), 2, sectionCount);
  image.Put(image.ShstrndxField(), 2, sectionCount - 1);

  const auto putSection = [&](std::size_t index, std::size_t nameOffset, std::uint32_t type,
                              std::size_t offset, std::size_t size) {
    image.Put(image.ShNameField(index), 4, nameOffset);
    image.Put(image.SectionHeader(index) + 4, 4, type);
    image.Put(image.ShOffsetField(index), image.WordBytes(), offset);
    image.Put(image.ShSizeField(index), image.WordBytes(), size);
  };
  for (std::size_t i = 0; i < sections.size(); ++i) {
    putSection(i + 1, nameOffsets[i], sections[i].type, image.contentOffsets[i],
               sections[i].contents.size());
  }
  putSection(sectionCount - 1, nameTableNameOffset, 3, nameTableOffset, names.size());
  return image;
}

}  // namespace helidisk::testing
