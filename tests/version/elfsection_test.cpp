#include "elfsection.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

#include "elf_image.h"
#include "versionblock.h"
#include "versionfile.h"

namespace helidisk {
namespace {

using testing::ElfFormat;
using testing::ElfImage;
using testing::MakeElf;
using Bytes = std::vector<std::uint8_t>;

const ElfFormat kFormats[] = {{true, false}, {true, true}, {false, false}, {false, true}};

std::string FormatName(const ElfFormat& format) {
  return std::string(format.is64 ? "ELF64" : "ELF32") + (format.bigEndian ? " BE" : " LE");
}

Bytes Contents(std::string_view text) {
  Bytes bytes(text.begin(), text.end());
  return bytes;
}

// Three sections: a near-namesake, the wanted one, and a later namesake.
ElfImage ThreeSections(const ElfFormat& format) {
  return MakeElf({{".helidisk_versio", Contents("decoy")},
                  {".helidisk_version", Contents("wanted")},
                  {".helidisk_version", Contents("second")}},
                 format);
}

std::optional<Bytes> SectionBytes(const Bytes& file, std::string_view name) {
  const MemoryByteSource source(file);
  const std::optional<ElfSectionRange> range = FindElfSection(source, name);
  if (!range) return std::nullopt;
  Bytes contents(range->size);
  if (!source.ReadAt(range->offset, contents)) throw std::logic_error("range outside the file");
  return contents;
}

TEST(FindElfSection, FindsTheFirstSectionOfThatNameInEveryFormat) {
  for (const ElfFormat& format : kFormats) {
    SCOPED_TRACE(FormatName(format));
    const ElfImage image = ThreeSections(format);
    EXPECT_EQ(SectionBytes(image.bytes, ".helidisk_version"), Contents("wanted"));
    EXPECT_EQ(SectionBytes(image.bytes, ".helidisk_versio"), Contents("decoy"));
    EXPECT_EQ(SectionBytes(image.bytes, ".shstrtab").value().size(), 64u);
    EXPECT_EQ(SectionBytes(image.bytes, ".helidisk"), std::nullopt);
    EXPECT_EQ(SectionBytes(image.bytes, ".helidisk_version2"), std::nullopt);
    EXPECT_EQ(SectionBytes(image.bytes, ""), std::nullopt);
  }
}

TEST(FindElfSection, SkipsSectionsWithoutContents) {
  const ElfImage image = MakeElf({{".helidisk_version", Contents("bss"), testing::kSectionNoBits},
                                  {".helidisk_version", Contents("data")}});
  EXPECT_EQ(SectionBytes(image.bytes, ".helidisk_version"), Contents("data"));
}

TEST(FindElfSection, RejectsFilesThatAreNotElf) {
  const Bytes good = ThreeSections({}).bytes;
  struct Case {
    const char* what;
    std::size_t offset;
    std::uint8_t value;
  };
  const Case cases[] = {
      {"magic", 1, 'e'},      {"class 0", 4, 0},      {"class 3", 4, 3},
      {"byte order 0", 5, 0}, {"byte order 3", 5, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Bytes file = good;
    file[c.offset] = c.value;
    EXPECT_EQ(SectionBytes(file, ".helidisk_version"), std::nullopt);
  }
  EXPECT_EQ(SectionBytes(Bytes{}, ".helidisk_version"), std::nullopt);
  EXPECT_EQ(SectionBytes(Contents("#!/bin/sh\necho\n"), ".helidisk_version"), std::nullopt);
}

// Each case spoils one field of the file; the section must then not be found.
TEST(FindElfSection, RejectsInconsistentHeaders) {
  constexpr std::uint64_t kMax64 = std::numeric_limits<std::uint64_t>::max();
  for (const ElfFormat& format : kFormats) {
    SCOPED_TRACE(FormatName(format));
    const ElfImage good = ThreeSections(format);
    const std::uint64_t maxWord = format.is64 ? kMax64 : 0xFFFFFFFF;
    const std::size_t nameTable = 4;  // null, three sections, the name table
    const std::size_t wanted = 2;
    struct Case {
      const char* what;
      std::size_t offset;
      std::size_t width;
      std::uint64_t value;
    };
    const std::size_t word = good.WordBytes();
    const Case cases[] = {
        {"no section headers", good.ShoffField(), word, 0},
        {"headers past the end", good.ShoffField(), word, good.bytes.size()},
        {"headers overrunning the end", good.ShoffField(), word, good.sectionHeadersOffset + 8},
        {"header offset wrapping around", good.ShoffField(), word, maxWord - 16},
        {"header entries too small", good.ShentsizeField(), 2, good.sectionHeaderBytes - 1},
        {"header entries too large for the file", good.ShentsizeField(), 2, 0xFFFF},
        {"no sections", good.ShnumField(), 2, 0},
        {"more sections than the file holds", good.ShnumField(), 2, 0xFFFF},
        {"name table index past the count", good.ShstrndxField(), 2, 5},
        {"name table index reserved", good.ShstrndxField(), 2, 0xFFFF},
        {"name table past the end", good.ShOffsetField(nameTable), word, good.bytes.size()},
        {"name table wrapping around", good.ShOffsetField(nameTable), word, maxWord - 2},
        {"name table too long", good.ShSizeField(nameTable), word, good.bytes.size()},
        {"name table without bits", good.SectionHeader(nameTable) + 4, 4, testing::kSectionNoBits},
        {"name past the name table", good.ShNameField(wanted), 4, 64},
        {"name offset huge", good.ShNameField(wanted), 4, 0xFFFFFFFF},
        {"section past the end", good.ShOffsetField(wanted), word, good.bytes.size() - 3},
        {"section wrapping around", good.ShOffsetField(wanted), word, maxWord - 2},
        {"section size huge", good.ShSizeField(wanted), word, maxWord},
    };
    for (const Case& c : cases) {
      SCOPED_TRACE(c.what);
      ElfImage image = good;
      image.Put(c.offset, c.width, c.value);
      // With only the wanted section's header spoiled, the later namesake
      // is found instead.
      const bool inWantedHeader =
          c.offset >= good.SectionHeader(wanted) && c.offset < good.SectionHeader(wanted + 1);
      EXPECT_EQ(SectionBytes(image.bytes, ".helidisk_version"),
                inWantedHeader ? std::optional(Contents("second")) : std::nullopt);
    }
  }
}

TEST(FindElfSection, NameMustEndInsideTheNameTable) {
  // The name table ends with ".shstrtab" and its zero; cut the zero off.
  ElfImage image = MakeElf({{".helidisk_version", Contents("v")}});
  const std::size_t nameTable = 2;
  image.Put(image.ShSizeField(nameTable), image.WordBytes(), 1 + 18 + 9);
  EXPECT_EQ(SectionBytes(image.bytes, ".helidisk_version"), Contents("v"));
  EXPECT_EQ(SectionBytes(image.bytes, ".shstrtab"), std::nullopt);
  image.Put(image.ShSizeField(nameTable), image.WordBytes(), 1 + 17);
  EXPECT_EQ(SectionBytes(image.bytes, ".helidisk_version"), std::nullopt);
}

TEST(FindElfSection, EveryTruncationFailsCleanly) {
  for (const ElfFormat& format : kFormats) {
    SCOPED_TRACE(FormatName(format));
    const Bytes good = ThreeSections(format).bytes;
    for (std::size_t size = 0; size < good.size(); ++size) {
      const Bytes truncated(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(size));
      EXPECT_EQ(SectionBytes(truncated, ".helidisk_version"), std::nullopt) << size;
    }
  }
}

class TempDir {
 public:
  TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "helidisk-elf-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp");
    path_ = pattern;
  }
  ~TempDir() { std::filesystem::remove_all(path_); }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  std::string Write(const std::string& name, const Bytes& bytes) const {
    std::string file = (path_ / name).string();
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return file;
  }
  std::filesystem::path Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

TEST(FileVersionInfo, ReadsTheSectionOfAFile) {
  const TempDir dir;
  const Bytes block = Contents("a version block, whatever it holds");
  const std::string file = dir.Write(
      "program", MakeElf({{".text", Bytes(100, 0x90)}, {".helidisk_version", block}}).bytes);
  std::uint32_t handle = 77;
  ASSERT_EQ(GetFileVersionInfoSize(file, handle), block.size());
  EXPECT_EQ(handle, 0u);

  Bytes buffer(block.size(), 0xAA);
  ASSERT_TRUE(GetFileVersionInfo(file, handle, buffer));
  EXPECT_EQ(buffer, block);

  Bytes shortBuffer(5, 0xAA);
  ASSERT_TRUE(GetFileVersionInfo(file, handle, shortBuffer));
  EXPECT_EQ(shortBuffer, Contents("a ver"));

  Bytes longBuffer(block.size() + 3, 0xAA);
  ASSERT_TRUE(GetFileVersionInfo(file, handle, longBuffer));
  EXPECT_TRUE(std::equal(block.begin(), block.end(), longBuffer.begin()));
  EXPECT_EQ(longBuffer.back(), 0xAA);
}

TEST(FileVersionInfo, NoBlockInFilesWithoutOne) {
  const TempDir dir;
  const Bytes tooLong(kMaxVersionBlockBytes + 1, 1);
  const std::string fifo = (dir.Path() / "fifo").string();
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const std::string files[] = {
      dir.Write("empty", {}),
      dir.Write("garbage", Contents("\x7F"
                                    "ELF and then nothing sensible")),
      dir.Write("no section", MakeElf({{".text", Bytes(16, 0x90)}}).bytes),
      dir.Write("empty section", MakeElf({{".helidisk_version", {}}}).bytes),
      dir.Write("too long", MakeElf({{".helidisk_version", tooLong}}).bytes),
      dir.Path().string(),
      (dir.Path() / "missing").string(),
      fifo,
  };
  for (const std::string& file : files) {
    SCOPED_TRACE(file);
    std::uint32_t handle = 77;
    EXPECT_EQ(GetFileVersionInfoSize(file, handle), 0u);
    Bytes buffer(8, 0xAA);
    EXPECT_FALSE(GetFileVersionInfo(file, handle, buffer));
    EXPECT_EQ(buffer, Bytes(8, 0xAA));
  }
  std::uint32_t handle = 0;
  const Bytes longest(kMaxVersionBlockBytes, 2);
  EXPECT_EQ(GetFileVersionInfoSize(
                dir.Write("longest", MakeElf({{".helidisk_version", longest}}).bytes), handle),
            kMaxVersionBlockBytes);
}

}  // namespace
}  // namespace helidisk
