// Writes the fuzzer's seed corpus into the directory given: the program's
// own block, ELF files carrying it in each class and byte order, and a few
// spoiled blocks and files.
#include <algorithm>
#include <array>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "block_builder.h"
#include "elf_image.h"
#include "programversion.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using helidisk::testing::ElfImage;
using helidisk::testing::MakeElf;

constexpr std::string_view kVersion = "1.0.0.0";
constexpr auto kProgramBlock =
    helidisk::BuildProgramVersionBlock<helidisk::ProgramVersionBlockSize(kVersion)>(kVersion);

void Write(const std::string& directory, const std::string& name, const Bytes& bytes) {
  std::ofstream(directory + "/" + name, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

void PutU16(Bytes& bytes, std::size_t offset, std::uint16_t value) {
  bytes.at(offset) = static_cast<std::uint8_t>(value & 0xFF);
  bytes.at(offset + 1) = static_cast<std::uint8_t>(value >> 8);
}

ElfImage ElfWith(const Bytes& block, helidisk::testing::ElfFormat format = {}) {
  return MakeElf({{".text", Bytes(16, 0xC3)}, {std::string(helidisk::kVersionSectionName), block}},
                 format);
}

Bytes TwoTranslationsOfTypeFive() {
  helidisk::testing::BlockBuilder builder;
  auto& writer = builder.Writer();
  const auto fixed = helidisk::FixedFileInfoWords(helidisk::testing::FixedInfo(5, 0, 0x3F, 0x21));
  writer.OpenNode(helidisk::kVersionRootKey, fixed);
  writer.OpenNode("StringFileInfo");
  writer.OpenNode("040704B0");
  writer.OpenTextNode("companyname", "Firma");
  writer.CloseNode();
  writer.CloseNode();
  writer.CloseNode();
  writer.OpenNode("VarFileInfo");
  const std::array<std::uint32_t, 2> translations = {0x04B00407, 0x04E40809};
  writer.OpenNode("Translation", translations);
  writer.CloseNode();
  writer.CloseNode();
  writer.CloseNode();
  return builder.Bytes();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s CORPUS-DIRECTORY\n", argv[0]);
    return 2;
  }
  const std::string directory = argv[1];
  const Bytes block(kProgramBlock.begin(), kProgramBlock.end());
  Write(directory, "program-block", block);
  Write(directory, "program-elf64le", ElfWith(block).bytes);
  Write(directory, "program-elf64be", ElfWith(block, {true, true}).bytes);
  Write(directory, "program-elf32le", ElfWith(block, {false, false}).bytes);
  Write(directory, "program-elf32be", ElfWith(block, {false, true}).bytes);
  Write(directory, "two-translations-block", TwoTranslationsOfTypeFive());

  Bytes rootTooLong = block;
  PutU16(rootTooLong, 0, static_cast<std::uint16_t>(block.size() + 8));
  Write(directory, "root-too-long-block", rootTooLong);

  Bytes zeroLengthChild = block;
  PutU16(zeroLengthChild, 72, 0);  // "StringFileInfo", after the root's fixed info
  Write(directory, "zero-length-child-block", zeroLengthChild);

  Bytes unterminatedText = block;
  const std::string company = "developers";
  const auto at =
      std::search(unterminatedText.begin(), unterminatedText.end(), company.begin(), company.end());
  *(at + static_cast<std::ptrdiff_t>(company.size())) = '!';
  Write(directory, "unterminated-text-block", unterminatedText);

  ElfImage badNameTable = ElfWith(block);
  badNameTable.Put(badNameTable.ShstrndxField(), 2, 0xFFFF);
  Write(directory, "bad-name-table-elf", badNameTable.bytes);

  ElfImage sectionPastEnd = ElfWith(block);
  sectionPastEnd.Put(sectionPastEnd.ShSizeField(2), sectionPastEnd.WordBytes(), 0xFFFFFFF0);
  Write(directory, "section-past-end-elf", sectionPastEnd.bytes);
  return 0;
}
