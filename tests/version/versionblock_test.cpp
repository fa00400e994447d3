#include "versionblock.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "block_builder.h"

namespace helidisk {
namespace {

using testing::BlockBuilder;
using Bytes = std::vector<std::uint8_t>;

void PutU16(Bytes& bytes, std::size_t offset, std::uint16_t value) {
  bytes.at(offset) = static_cast<std::uint8_t>(value & 0xFF);
  bytes.at(offset + 1) = static_cast<std::uint8_t>(value >> 8);
}

std::uint16_t U16At(const Bytes& bytes, std::size_t offset) {
  return static_cast<std::uint16_t>(bytes.at(offset) | (bytes.at(offset + 1) << 8));
}

std::size_t Find(const Bytes& bytes, std::string_view text) {
  const auto at =
      std::search(bytes.begin(), bytes.end(), text.begin(), text.end(),
                  [](std::uint8_t byte, char c) { return byte == static_cast<std::uint8_t>(c); });
  if (at == bytes.end()) throw std::logic_error("not in the block: " + std::string(text));
  return static_cast<std::size_t>(at - bytes.begin());
}

// A block like the program's, with two translations: the strings of the
// first in a table "080904E4", those of the second in "040704B0".
Bytes SampleBlock(bool withFixedInfo = true) {
  BlockBuilder builder;
  auto& writer = builder.Writer();
  const auto fixed = FixedFileInfoWords(testing::FixedInfo(1, 0, 0x3F, 0x05));
  if (withFixedInfo) {
    writer.OpenNode(kVersionRootKey, fixed);
  } else {
    writer.OpenNode(kVersionRootKey);
  }
  writer.OpenNode("StringFileInfo");
  writer.OpenNode("080904E4");
  writer.OpenTextNode("CompanyName", "ACME");
  writer.CloseNode();
  writer.OpenTextNode("LegalCopyright", "(C) ACME");
  writer.CloseNode();
  writer.OpenTextNode("Comments", "");
  writer.CloseNode();
  writer.CloseNode();
  writer.OpenNode("040704B0");
  writer.OpenTextNode("CompanyName", "Firma");
  writer.CloseNode();
  writer.CloseNode();
  writer.CloseNode();
  writer.OpenNode("VarFileInfo");
  const std::array<std::uint32_t, 2> translations = {0x04E40809, 0x04B00407};
  writer.OpenNode("Translation", translations);
  writer.CloseNode();
  writer.CloseNode();
  writer.CloseNode();
  return builder.Bytes();
}

bool Query(const Bytes& block, std::string_view path, std::string& text) {
  std::span<const std::uint8_t> value;
  if (!VerQueryValue(block, path, value)) return false;
  text.assign(value.begin(), value.end());
  return true;
}

TEST(VersionBlockWriter, LaysOutNodesAsDocumented) {
  BlockBuilder builder;
  builder.Writer().OpenNode(kVersionRootKey);
  builder.Writer().OpenTextNode("A", "xy");
  builder.Writer().CloseNode();
  builder.Writer().CloseNode();
  // Root: length 31 (to the end of the child's value), no value, key and its
  // zero in 16 bytes.  Child at 20: length 11, value length 3, key "A",
  // padding to 28, "xy" and its zero; one byte of padding ends the block.
  const Bytes expected = {31,  0,   0,   0,   'V', 'S', '_', 'V', 'E', 'R', 'S',
                          'I', 'O', 'N', '_', 'I', 'N', 'F', 'O', 0,   11,  0,
                          3,   0,   'A', 0,   0,   0,   'x', 'y', 0,   0};
  EXPECT_EQ(builder.Bytes(), expected);
}

TEST(VersionBlockWriter, RefusesNodesLongerThanSixteenBits) {
  BlockBuilder builder;
  builder.Writer().OpenNode(kVersionRootKey);
  EXPECT_THROW(builder.Writer().OpenTextNode("Long", std::string(0x10000, 'x')), std::length_error);
}

TEST(VerQueryValue, FindsEachKindOfPath) {
  const Bytes block = SampleBlock();
  struct Case {
    const char* path;
    bool found;
    std::string value;
  };
  const std::string translations("\x09\x08\xE4\x04\x07\x04\xB0\x04", 8);
  const Case cases[] = {
      {"\\StringFileInfo\\080904E4\\CompanyName", true, std::string("ACME\0", 5)},
      {"\\StringFileInfo\\080904E4\\LegalCopyRight", true, std::string("(C) ACME\0", 9)},
      {"\\STRINGFILEINFO\\080904e4\\companyname", true, std::string("ACME\0", 5)},
      {"\\StringFileInfo\\080904E4\\Comments", true, std::string("\0", 1)},
      {"\\StringFileInfo\\040704B0\\CompanyName", true, std::string("Firma\0", 6)},
      {"StringFileInfo\\080904E4\\CompanyName", true, std::string("ACME\0", 5)},
      {"\\StringFileInfo\\\\080904E4\\CompanyName\\", true, std::string("ACME\0", 5)},
      {"\\VarFileInfo\\Translation", true, translations},
      {"\\varfileinfo\\TRANSLATION", true, translations},
      {"\\StringFileInfo\\080904E4\\SpecialBuild", false, ""},
      {"\\StringFileInfo\\080904E4\\CompanyNam", false, ""},
      {"\\StringFileInfo\\080904E4\\CompanyNameX", false, ""},
      {"\\StringFileInfo\\040904E4\\CompanyName", false, ""},
      {"\\StringFileInfo\\080904E4", false, ""},
      {"\\StringFileInfo", false, ""},
      {"\\VarFileInfo", false, ""},
      {"\\VarFileInfo\\Translation\\More", false, ""},
      {"\\Translation", false, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    std::string value;
    EXPECT_EQ(Query(block, c.path, value), c.found);
    EXPECT_EQ(value, c.value);
  }
}

TEST(VerQueryValue, RootPathGivesTheFixedFileInfo) {
  const Bytes block = SampleBlock();
  for (const char* path : {"", "\\", "\\\\"}) {
    SCOPED_TRACE(path);
    std::span<const std::uint8_t> value;
    ASSERT_TRUE(VerQueryValue(block, path, value));
    ASSERT_EQ(value.size(), kFixedFileInfoBytes);
    const VsFixedFileInfo info = ReadFixedFileInfo(value);
    EXPECT_EQ(info.dwSignature, kFixedFileInfoSignature);
    EXPECT_EQ(info.dwFileFlagsMask, 0x3Fu);
    EXPECT_EQ(info.dwFileFlags, 0x05u);
    EXPECT_EQ(info.dwFileType, 1u);
  }
}

TEST(VerQueryValue, RootWithoutFixedInfoStillHoldsStrings) {
  const Bytes block = SampleBlock(false);
  std::string value;
  EXPECT_FALSE(Query(block, "", value));
  EXPECT_TRUE(Query(block, "\\StringFileInfo\\080904E4\\CompanyName", value));
  EXPECT_EQ(value, std::string("ACME\0", 5));
}

TEST(VerQueryValue, SpoiledFixedInfoIsMissing) {
  const Bytes good = SampleBlock();
  const std::size_t fixedAt = Find(good, "\xBD\x04\xEF\xFE");
  std::string value;

  Bytes wrongSignature = good;
  wrongSignature[fixedAt] = 0xBC;
  EXPECT_FALSE(Query(wrongSignature, "", value));

  Bytes tooShort = good;
  PutU16(tooShort, 2, kFixedFileInfoBytes - 4);
  EXPECT_FALSE(Query(tooShort, "", value));
  EXPECT_FALSE(Query(tooShort, "\\VarFileInfo\\Translation", value))
      << "children now start inside the shortened value";
}

TEST(VerQueryValue, OnlyAVersionRootCounts) {
  Bytes block = SampleBlock();
  block[4] = 'W';  // "WS_VERSION_INFO"
  std::string value;
  EXPECT_FALSE(Query(block, "", value));
  EXPECT_FALSE(Query(block, "\\VarFileInfo\\Translation", value));
  Bytes lowerCase = SampleBlock();
  lowerCase[4] = 'v';
  EXPECT_TRUE(Query(lowerCase, "\\VarFileInfo\\Translation", value));
}

TEST(VerQueryValue, EveryTruncationIsMissing) {
  const Bytes block = SampleBlock();
  const std::size_t rootLength = U16At(block, 0);
  for (std::size_t size = 0; size < rootLength; ++size) {
    SCOPED_TRACE(size);
    const Bytes truncated(block.begin(), block.begin() + static_cast<std::ptrdiff_t>(size));
    std::string value;
    EXPECT_FALSE(Query(truncated, "", value));
    EXPECT_FALSE(Query(truncated, "\\VarFileInfo\\Translation", value));
    EXPECT_FALSE(Query(truncated, "\\StringFileInfo\\080904E4\\CompanyName", value));
  }
}

// Each case spoils one length field of the sample block; the lookup of the
// company name must fail, and the translation (in a later sibling) must be
// found or not as given.
TEST(VerQueryValue, InconsistentLengthsAreMissing) {
  const Bytes good = SampleBlock();
  const std::size_t stringFileInfo = Find(good, "StringFileInfo") - 4;
  const std::size_t table = Find(good, "080904E4") - 4;
  const std::size_t company = Find(good, "CompanyName") - 4;
  const std::size_t root = 0;
  struct Case {
    const char* what;
    std::size_t offset;
    std::uint16_t value;
    bool translationFound;
  };
  const Case cases[] = {
      {"root longer than the block", root, static_cast<std::uint16_t>(good.size() + 4), false},
      {"root of the longest length", root, 0xFFFF, false},
      {"root of length 0", root, 0, false},
      {"root shorter than its key", root, 10, false},
      {"child of length 0", stringFileInfo, 0, false},
      {"child of length 4", stringFileInfo, 4, false},
      {"child past its parent", stringFileInfo, static_cast<std::uint16_t>(good.size()), false},
      {"table of length 0", table, 0, true},
      {"string of length 0", company, 0, true},
      {"string value past the node", company + 2, 200, true},
      {"string value of the longest length", company + 2, 0xFFFF, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Bytes block = good;
    PutU16(block, c.offset, c.value);
    std::string value;
    EXPECT_FALSE(Query(block, "\\StringFileInfo\\080904E4\\CompanyName", value));
    EXPECT_EQ(Query(block, "\\VarFileInfo\\Translation", value), c.translationFound);
  }
}

TEST(VerQueryValue, MissingTerminatorsAreMissing) {
  const Bytes good = SampleBlock();
  std::string value;

  Bytes textWithoutZero = good;
  textWithoutZero.at(Find(good, "ACME") + 4) = '!';
  EXPECT_FALSE(Query(textWithoutZero, "\\StringFileInfo\\080904E4\\CompanyName", value));
  EXPECT_TRUE(Query(textWithoutZero, "\\StringFileInfo\\080904E4\\LegalCopyright", value));

  // A key that runs to the end of its node: "CompanyName" in a node only as
  // long as its header and the key's letters.
  Bytes keyWithoutZero = good;
  const std::size_t company = Find(good, "CompanyName") - 4;
  PutU16(keyWithoutZero, company, 4 + 11);
  PutU16(keyWithoutZero, company + 2, 0);
  EXPECT_FALSE(Query(keyWithoutZero, "\\StringFileInfo\\080904E4\\CompanyName", value));
  EXPECT_FALSE(Query(keyWithoutZero, "\\StringFileInfo\\080904E4\\LegalCopyright", value));
}

TEST(VerQueryValue, ManySiblingsAreWalkedToTheEnd) {
  BlockBuilder builder;
  auto& writer = builder.Writer();
  writer.OpenNode(kVersionRootKey);
  writer.OpenNode("VarFileInfo");
  constexpr int kSiblings = 8000;  // eight bytes each: near the 16-bit limit
  for (int i = 0; i < kSiblings; ++i) {
    writer.OpenNode("x");
    writer.CloseNode();
  }
  const std::array<std::uint32_t, 1> translation = {0x04E40809};
  writer.OpenNode("Translation", translation);
  writer.CloseNode();
  writer.CloseNode();
  writer.CloseNode();
  std::string value;
  EXPECT_TRUE(Query(builder.Bytes(), "\\VarFileInfo\\Translation", value));
  EXPECT_FALSE(Query(builder.Bytes(), "\\VarFileInfo\\Other", value));
}

// A chain of nodes, each the only child of the one before, the innermost
// with a value: the lookup only ever walks down the keys of the path.
TEST(VerQueryValue, DeepNestingOnlyCostsItsPath) {
  constexpr std::size_t kDepth = 4000;
  constexpr std::size_t kRootHeader = 20;
  const std::size_t total = kRootHeader + kDepth * 8 + 4;
  ASSERT_LE(total, 0xFFFFu);
  Bytes block(total, 0);
  PutU16(block, 0, static_cast<std::uint16_t>(total));
  std::copy(kVersionRootKey.begin(), kVersionRootKey.end(), block.begin() + 4);
  std::string deepPath;
  for (std::size_t level = 0; level < kDepth; ++level) {
    const std::size_t start = kRootHeader + level * 8;
    PutU16(block, start, static_cast<std::uint16_t>(total - start));
    block[start + 4] = 'k';
    deepPath += "\\k";
  }
  PutU16(block, total - 12 + 2, 4);
  std::copy_n("abcd", 4, block.end() - 4);

  std::string value;
  EXPECT_TRUE(Query(block, deepPath, value));
  EXPECT_EQ(value, "abcd");
  EXPECT_FALSE(Query(block, deepPath + "\\k", value));
  EXPECT_FALSE(Query(block, deepPath.substr(2), value)) << "a node without a value";
  EXPECT_FALSE(Query(block, "\\StringFileInfo\\080904E4\\CompanyName", value));
  EXPECT_FALSE(Query(block, "", value));
}

TEST(VersionValues, WordsTextsAndFixedInfo) {
  const Bytes value = {1, 0, 0, 0, 0x78, 0x56, 0x34, 0x12, 0xFF};
  EXPECT_EQ(ValueWord(value, 0), 1u);
  EXPECT_EQ(ValueWord(value, 1), 0x12345678u);
  EXPECT_EQ(ValueWord(value, 2), 0u) << "a partial word past the end";
  EXPECT_EQ(ValueText(Bytes{'a', 'b', 0, 'c'}), "ab");
  EXPECT_EQ(ValueText(Bytes{'a', 'b'}), "ab");
  EXPECT_EQ(ValueText(Bytes{}), "");

  const auto words = FixedFileInfoWords(testing::FixedInfo(5, 0x1234, 0x3F, 0x21));
  Bytes fixed;
  for (const std::uint32_t word : words) {
    for (int shift = 0; shift < 32; shift += 8)
      fixed.push_back(static_cast<std::uint8_t>(word >> shift));
  }
  const VsFixedFileInfo info = ReadFixedFileInfo(fixed);
  EXPECT_EQ(info.dwFileType, 5u);
  EXPECT_EQ(info.dwFileSubtype, 0x1234u);
  EXPECT_EQ(info.dwFileFlags, 0x21u);
  EXPECT_EQ(info.dwFileDateLS, 0u);
  const VsFixedFileInfo shortInfo = ReadFixedFileInfo(std::span(fixed).first(36));
  EXPECT_EQ(shortInfo.dwFileFlags, 0x21u);
  EXPECT_EQ(shortInfo.dwFileType, 0u) << "fields past a short value read as 0";
}

}  // namespace
}  // namespace helidisk
