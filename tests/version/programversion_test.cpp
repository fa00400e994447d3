#include "programversion.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "versionfile.h"

namespace helidisk {
namespace {

constexpr std::string_view kProjectVersion = HELIDISK_PROJECT_VERSION;

constexpr std::string_view kSampleVersion = "1.2.3.4";
constexpr auto kSampleBlock =
    BuildProgramVersionBlock<ProgramVersionBlockSize(kSampleVersion)>(kSampleVersion);

constexpr auto kProjectBlock =
    BuildProgramVersionBlock<ProgramVersionBlockSize(kProjectVersion)>(kProjectVersion);

struct Found {
  bool found = false;
  std::string text;
};

Found Text(std::span<const std::uint8_t> block, const std::string& key) {
  std::span<const std::uint8_t> value;
  if (!VerQueryValue(block, "\\StringFileInfo\\080904E4\\" + key, value)) return {};
  return {true, std::string(ValueText(value))};
}

TEST(ParseVersionNumber, FourPartsIntoTwoWords) {
  struct Case {
    const char* dotted;
    std::uint32_t mostSignificant, leastSignificant;
  };
  const Case cases[] = {
      {"1.2.3.4", 0x00010002, 0x00030004},
      {"0.0.0.0", 0, 0},
      {"65535.0.1.65535", 0xFFFF0000, 0x0001FFFF},
      {"007.10.100.1000", 0x0007000A, 0x006403E8},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dotted);
    const VersionNumber number = ParseVersionNumber(c.dotted);
    EXPECT_EQ(number.mostSignificant, c.mostSignificant);
    EXPECT_EQ(number.leastSignificant, c.leastSignificant);
  }
}

TEST(ParseVersionNumber, RejectsAnythingElse) {
  for (const char* dotted :
       {"", "1.2.3", "1.2.3.4.5", "1..3.4", ".1.2.3", "1.2.3.4.", "65536.0.0.0", "1.2.3.x",
        "1.2.3.-4", " 1.2.3.4", "99999999999.0.0.0"}) {
    SCOPED_TRACE(dotted);
    EXPECT_THROW(ParseVersionNumber(dotted), std::invalid_argument);
  }
}

TEST(ProgramVersionBlock, HoldsTheProgramsStrings) {
  struct Case {
    const char* key;
    Found expected;
  };
  const Case cases[] = {
      {"CompanyName", {true, "The helidisk developers"}},
      {"FileDescription", {true, ""}},
      {"FileVersion", {true, "1.2.3.4"}},
      {"InternalName", {true, ""}},
      {"LegalCopyright", {true, "Copyright (C) 2026 The helidisk developers"}},
      {"LegalTrademarks", {true, ""}},
      {"OriginalFilename", {true, "helidisk"}},
      {"ProductName", {true, ""}},
      {"ProductVersion", {true, "1.2.3.4"}},
      {"Comments", {true, ""}},
      {"SpecialBuild", {false, ""}},
      {"PrivateBuild", {false, ""}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    const Found found = Text(kSampleBlock, c.key);
    EXPECT_EQ(found.found, c.expected.found);
    EXPECT_EQ(found.text, c.expected.text);
  }
}

TEST(ProgramVersionBlock, SpellsTheKeysExactly) {
  const std::string block(kSampleBlock.begin(), kSampleBlock.end());
  for (const char* key :
       {"CompanyName", "FileDescription", "FileVersion", "InternalName", "LegalCopyright",
        "LegalTrademarks", "OriginalFilename", "ProductName", "ProductVersion", "Comments",
        "StringFileInfo", "080904E4", "VarFileInfo", "Translation", "VS_VERSION_INFO"}) {
    SCOPED_TRACE(key);
    EXPECT_NE(block.find(std::string(key) + '\0'), std::string::npos);
  }
}

TEST(ProgramVersionBlock, OneBritishTranslation) {
  std::span<const std::uint8_t> value;
  ASSERT_TRUE(VerQueryValue(kSampleBlock, "\\VarFileInfo\\Translation", value));
  ASSERT_EQ(value.size(), 4u);
  EXPECT_EQ(ValueWord(value, 0), 0x04E40809u);
}

TEST(ProgramVersionBlock, FixedInfoOfAnApplication) {
  std::span<const std::uint8_t> value;
  ASSERT_TRUE(VerQueryValue(kSampleBlock, "\\", value));
  const VsFixedFileInfo info = ReadFixedFileInfo(value);
  EXPECT_EQ(info.dwSignature, 0xFEEF04BDu);
  EXPECT_EQ(info.dwStrucVersion, 0x00010000u);
  EXPECT_EQ(info.dwFileVersionMS, 0x00010002u);
  EXPECT_EQ(info.dwFileVersionLS, 0x00030004u);
  EXPECT_EQ(info.dwProductVersionMS, 0x00010002u);
  EXPECT_EQ(info.dwProductVersionLS, 0x00030004u);
  EXPECT_EQ(info.dwFileFlagsMask, 0x3Fu);
  EXPECT_EQ(info.dwFileFlags, 0u);
  EXPECT_EQ(info.dwFileType, 1u);
  EXPECT_EQ(info.dwFileSubtype, 0u);
}

// This test program links the block as the program does: its own ELF file
// must carry the block of the project's version in the version section.
TEST(ProgramVersionBlock, LinkedIntoTheExecutable) {
  const std::string self = "/proc/self/exe";
  std::uint32_t handle = 0;
  const std::uint32_t size = GetFileVersionInfoSize(self, handle);
  ASSERT_EQ(size, kProjectBlock.size());
  std::vector<std::uint8_t> buffer(size);
  ASSERT_TRUE(GetFileVersionInfo(self, handle, buffer));
  EXPECT_TRUE(std::equal(buffer.begin(), buffer.end(), kProjectBlock.begin()));
  EXPECT_EQ(Text(buffer, "FileVersion").text, kProjectVersion);
  EXPECT_EQ(Text(buffer, "ProductVersion").text, kProjectVersion);
}

}  // namespace
}  // namespace helidisk
