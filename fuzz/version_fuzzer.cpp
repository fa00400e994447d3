// Feeds arbitrary bytes to the version reader twice: as an ELF file whose
// version section is then looked up, and as a version block.  Besides the
// sanitizers' findings, a lookup that hands back a value outside the block,
// a text without its zero or a short fixed file information is a fault.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "elfsection.h"
#include "versionblock.h"
#include "versionfile.h"

namespace helidisk {
namespace {

void Require(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "version fuzzer: %s\n", what);
    __builtin_trap();
  }
}

bool Inside(std::span<const std::uint8_t> value, std::span<const std::uint8_t> block) {
  return value.data() >= block.data() && value.data() + value.size() <= block.data() + block.size();
}

bool Lookup(std::span<const std::uint8_t> block, std::string_view path,
            std::span<const std::uint8_t>& value) {
  if (!VerQueryValue(block, path, value)) return false;
  Require(!value.empty() && Inside(value, block), "value outside the block");
  return true;
}

void QueryText(std::span<const std::uint8_t> block, const std::string& path) {
  std::span<const std::uint8_t> value;
  if (Lookup(block, path, value)) {
    Require(value.back() == 0, "text without its zero");
    Require(ValueText(value).size() == value.size() - 1, "zero inside the text's value");
  }
}

// What the version reader does with a block: the fixed file information,
// then every key under the first translation, plus a few fixed paths.
void QueryLikeTheReader(std::span<const std::uint8_t> block) {
  std::span<const std::uint8_t> value;
  for (const char* root : {"", "\\"}) {
    if (Lookup(block, root, value)) {
      Require(value.size() >= kFixedFileInfoBytes, "short fixed file information");
      Require(ReadFixedFileInfo(value).dwSignature == kFixedFileInfoSignature, "signature");
    }
  }
  QueryText(block, "\\StringFileInfo\\080904E4\\CompanyName");
  QueryText(block, "\\StringFileInfo\\080904E4\\LegalCopyright");
  if (!Lookup(block, "\\VarFileInfo\\Translation", value) || value.size() < 4) return;

  const std::uint32_t translation = ValueWord(value, 0);
  std::array<char, 9> table{};
  std::snprintf(table.data(), table.size(), "%.4X%.4X", translation & 0xFFFF, translation >> 16);
  for (const char* key : {"CompanyName", "FileDescription", "FileVersion", "InternalName",
                          "LegalCopyRight", "LegalTradeMarks", "OriginalFileName", "ProductName",
                          "ProductVersion", "Comments", "SpecialBuild", "PrivateBuild"}) {
    QueryText(block, std::string("\\StringFileInfo\\") + table.data() + "\\" + key);
  }
}

}  // namespace
}  // namespace helidisk

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace helidisk;
  const std::span<const std::uint8_t> input(data, size);

  const MemoryByteSource file(input);
  const std::optional<ElfSectionRange> section = FindElfSection(file, kVersionSectionName);
  if (section) {
    Require(section->offset <= size && section->size <= size - section->offset,
            "section outside the file");
  }
  const std::uint32_t blockSize = VersionBlockSize(file);
  Require(blockSize <= kMaxVersionBlockBytes, "block size above the cap");
  if (blockSize > 0) {
    std::vector<std::uint8_t> block(blockSize);
    Require(ReadVersionBlock(file, block), "a block that has a size but cannot be read");
    QueryLikeTheReader(block);
  }

  QueryLikeTheReader(input);
  // Any path at all, here the input's first bytes, must be looked up safely.
  std::span<const std::uint8_t> value;
  Lookup(input,
         std::string_view(reinterpret_cast<const char*>(data), std::min<std::size_t>(size, 64)),
         value);
  return 0;
}
