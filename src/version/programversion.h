// The program's own version block, assembled by the compiler from the
// dotted four-part version of the build.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string_view>

#include "versionblock.h"

namespace helidisk {

inline constexpr std::string_view kProgramCompanyName = "The helidisk developers";
inline constexpr std::string_view kProgramLegalCopyright =
    "Copyright (C) 2026 The helidisk developers";
inline constexpr std::string_view kProgramOriginalFilename = "helidisk";

// British English in the Windows "Western European" code page 1252.
inline constexpr std::uint16_t kProgramLanguage = 0x0809;
inline constexpr std::uint16_t kProgramCodePage = 0x04E4;
inline constexpr std::string_view kProgramStringTableKey = "080904E4";

inline constexpr std::uint32_t kFileTypeApplication = 1;
inline constexpr std::uint32_t kAllFileFlags = 0x3F;

// "major.minor.patch.tweak", each part 0 ... 65535, as the two 32-bit halves
// of the fixed file information; anything else stops the compilation.
struct VersionNumber {
  std::uint32_t mostSignificant = 0;
  std::uint32_t leastSignificant = 0;
};

constexpr VersionNumber ParseVersionNumber(std::string_view dotted) {
  std::array<std::uint32_t, 4> parts{};
  std::size_t part = 0;
  bool partHasDigit = false;
  for (const char c : dotted) {
    if (c == '.') {
      if (!partHasDigit || ++part == parts.size()) throw std::invalid_argument("version parts");
      partHasDigit = false;
    } else if (c >= '0' && c <= '9') {
      parts[part] = parts[part] * 10 + static_cast<std::uint32_t>(c - '0');
      if (parts[part] > 0xFFFF) throw std::invalid_argument("version part above 65535");
      partHasDigit = true;
    } else {
      throw std::invalid_argument("version: digits and dots only");
    }
  }
  if (part != 3 || !partHasDigit) throw std::invalid_argument("version: four parts");
  return {(parts[0] << 16) | parts[1], (parts[2] << 16) | parts[3]};
}

template <typename Sink>
constexpr void WriteProgramVersionBlock(Sink& sink, std::string_view version) {
  const VersionNumber number = ParseVersionNumber(version);
  VsFixedFileInfo fixed;
  fixed.dwSignature = kFixedFileInfoSignature;
  fixed.dwStrucVersion = kFixedFileInfoStructVersion;
  fixed.dwFileVersionMS = number.mostSignificant;
  fixed.dwFileVersionLS = number.leastSignificant;
  fixed.dwProductVersionMS = number.mostSignificant;
  fixed.dwProductVersionLS = number.leastSignificant;
  fixed.dwFileFlagsMask = kAllFileFlags;
  fixed.dwFileType = kFileTypeApplication;
  const auto fixedWords = FixedFileInfoWords(fixed);
  const std::array<std::uint32_t, 1> translation = {(std::uint32_t{kProgramCodePage} << 16) |
                                                    kProgramLanguage};

  VersionBlockWriter writer(sink);
  writer.OpenNode(kVersionRootKey, fixedWords);
  writer.OpenNode("StringFileInfo");
  writer.OpenNode(kProgramStringTableKey);
  // The keys as version resources spell them ("LegalCopyright"); the reader
  // asks for "LegalCopyRight" and finds them because the lookup ignores
  // letter case, which the About grid's rows rely on.
  const std::array<std::array<std::string_view, 2>, 10> strings = {{
      {"CompanyName", kProgramCompanyName},
      {"FileDescription", ""},
      {"FileVersion", version},
      {"InternalName", ""},
      {"LegalCopyright", kProgramLegalCopyright},
      {"LegalTrademarks", ""},
      {"OriginalFilename", kProgramOriginalFilename},
      {"ProductName", ""},
      {"ProductVersion", version},
      {"Comments", ""},
  }};
  for (const auto& [key, text] : strings) {
    writer.OpenTextNode(key, text);
    writer.CloseNode();
  }
  writer.CloseNode();
  writer.CloseNode();
  writer.OpenNode("VarFileInfo");
  writer.OpenNode("Translation", translation);
  writer.CloseNode();
  writer.CloseNode();
  writer.CloseNode();
}

constexpr std::size_t ProgramVersionBlockSize(std::string_view version) {
  CountingSink sink;
  WriteProgramVersionBlock(sink, version);
  return sink.Size();
}

template <std::size_t N>
constexpr std::array<std::uint8_t, N> BuildProgramVersionBlock(std::string_view version) {
  ArraySink<N> sink;
  WriteProgramVersionBlock(sink, version);
  if (sink.Size() != N) throw std::logic_error("version block size");
  return sink.Bytes();
}

}  // namespace helidisk
