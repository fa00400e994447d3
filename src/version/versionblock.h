// The version block: the executable's version information as a small,
// little-endian tree of nodes, laid out as the classic 16-bit ("ANSI")
// version resource so that the lookup can behave as the platform's
// version-resource service does.
//
// Every node starts at a multiple of 4 bytes from the start of the block:
//
//   offset 0   u16  length        bytes of the whole node, its children
//                                 included, trailing padding excluded
//   offset 2   u16  value length  bytes of the value
//   offset 4   key                8-bit characters and a terminating zero
//              padding            zero bytes up to a multiple of 4
//              value              `value length` bytes
//              padding            zero bytes up to a multiple of 4
//              children           nodes, each padded to a multiple of 4
//                                 before the next one starts
//
// The tree of a version block:
//
//   "VS_VERSION_INFO"       value: the fixed file information, 13 u32
//     "StringFileInfo"        no value
//       "080904E4"              string table: language and code page in hex
//         "CompanyName"           value: the text and its terminating zero
//         ...
//     "VarFileInfo"           no value
//       "Translation"           value: u32 entries, language in the low
//                               16 bits, code page in the high 16 bits
//
// A node's length is 16-bit, so a block is never longer than 64 KiB; the
// lookup below never reads outside the block it is given and treats every
// inconsistent length as a missing node.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string_view>

namespace helidisk {

// Name of the ELF section that carries an executable's version block.
inline constexpr std::string_view kVersionSectionName = ".helidisk_version";

// The root node's length is 16-bit; a section may add padding after it.
inline constexpr std::uint32_t kMaxVersionBlockBytes = 0x10000;
inline constexpr std::string_view kVersionRootKey = "VS_VERSION_INFO";
inline constexpr std::uint32_t kFixedFileInfoSignature = 0xFEEF04BD;
inline constexpr std::uint32_t kFixedFileInfoStructVersion = 0x00010000;

// The fixed file information, the value of the root node, field by field.
struct VsFixedFileInfo {
  std::uint32_t dwSignature = 0;
  std::uint32_t dwStrucVersion = 0;
  std::uint32_t dwFileVersionMS = 0;
  std::uint32_t dwFileVersionLS = 0;
  std::uint32_t dwProductVersionMS = 0;
  std::uint32_t dwProductVersionLS = 0;
  std::uint32_t dwFileFlagsMask = 0;
  std::uint32_t dwFileFlags = 0;
  std::uint32_t dwFileOS = 0;
  std::uint32_t dwFileType = 0;
  std::uint32_t dwFileSubtype = 0;
  std::uint32_t dwFileDateMS = 0;
  std::uint32_t dwFileDateLS = 0;
};
inline constexpr std::size_t kFixedFileInfoWords = 13;
inline constexpr std::size_t kFixedFileInfoBytes = kFixedFileInfoWords * 4;

constexpr std::array<std::uint32_t, kFixedFileInfoWords> FixedFileInfoWords(
    const VsFixedFileInfo& info) {
  return {info.dwSignature,     info.dwStrucVersion,     info.dwFileVersionMS,
          info.dwFileVersionLS, info.dwProductVersionMS, info.dwProductVersionLS,
          info.dwFileFlagsMask, info.dwFileFlags,        info.dwFileOS,
          info.dwFileType,      info.dwFileSubtype,      info.dwFileDateMS,
          info.dwFileDateLS};
}

// The platform's `VerQueryValue` over a block held in memory.  The path is a
// sequence of keys, each after a backslash; key names are compared without
// regard to letter case.
//
// - "" or "\" designates the root node and gives the fixed file information
//   (found only when the value holds all 13 words and the signature);
// - "\VarFileInfo\Translation" gives the array of translation entries;
// - a path beginning with "\StringFileInfo\" gives a text: `value` then ends
//   just after the text's terminating zero, and a value without one counts
//   as missing.
//
// Any other path gives the node's value as it stands.  A node without a
// value, or one that cannot be reached through consistent lengths, is
// missing: the result is false and `value` is left alone.
bool VerQueryValue(std::span<const std::uint8_t> block, std::string_view subBlock,
                   std::span<const std::uint8_t>& value);

// The fixed file information from the value the root path gave.
VsFixedFileInfo ReadFixedFileInfo(std::span<const std::uint8_t> value);

// The text of a value a "\StringFileInfo\" path gave, without its zero.
std::string_view ValueText(std::span<const std::uint8_t> value);

// Little-endian u32 number `index` of a value; 0 past its end.
std::uint32_t ValueWord(std::span<const std::uint8_t> value, std::size_t index);

// Writes a version block node by node into a byte sink.  It is constexpr so
// that the program's own block is assembled by the compiler; the sink needs
// `Size()`, `Put(byte)` and `Patch16(offset, value)`.
template <typename Sink>
class VersionBlockWriter {
 public:
  constexpr explicit VersionBlockWriter(Sink& sink) : sink_(sink) {}

  constexpr void OpenNode(std::string_view key) { OpenNodeWithValue(key, 0); }

  constexpr void OpenNode(std::string_view key, std::span<const std::uint32_t> words) {
    OpenNodeWithValue(key, words.size() * 4);
    for (const std::uint32_t word : words) PutU32(word);
    EndContent();
  }

  constexpr void OpenTextNode(std::string_view key, std::string_view text) {
    OpenNodeWithValue(key, text.size() + 1);
    PutText(text);
    EndContent();
  }

  constexpr void CloseNode() {
    if (depth_ == 0) throw std::logic_error("version block: no open node");
    --depth_;
    const std::size_t start = openStarts_[depth_];
    sink_.Patch16(start, CheckedU16(contentEnd_ - start));
  }

 private:
  static constexpr std::size_t kMaxDepth = 8;

  constexpr void OpenNodeWithValue(std::string_view key, std::size_t valueBytes) {
    if (depth_ == kMaxDepth) throw std::logic_error("version block: nodes nested too deeply");
    PadToFour();
    openStarts_[depth_++] = sink_.Size();
    PutU16(0);  // the length, patched when the node is closed
    PutU16(CheckedU16(valueBytes));
    PutText(key);
    EndContent();
  }

  // A node ends with its last key, value or child; the padding after that
  // belongs to no node.
  constexpr void EndContent() {
    contentEnd_ = sink_.Size();
    PadToFour();
  }

  static constexpr std::uint16_t CheckedU16(std::size_t bytes) {
    if (bytes > 0xFFFF) throw std::length_error("version block: node longer than 64 KiB");
    return static_cast<std::uint16_t>(bytes);
  }

  constexpr void PutU16(std::uint16_t value) {
    sink_.Put(static_cast<std::uint8_t>(value & 0xFF));
    sink_.Put(static_cast<std::uint8_t>(value >> 8));
  }

  constexpr void PutU32(std::uint32_t value) {
    PutU16(static_cast<std::uint16_t>(value & 0xFFFF));
    PutU16(static_cast<std::uint16_t>(value >> 16));
  }

  constexpr void PutText(std::string_view text) {
    for (const char c : text) sink_.Put(static_cast<std::uint8_t>(c));
    sink_.Put(0);
  }

  constexpr void PadToFour() {
    while (sink_.Size() % 4 != 0) sink_.Put(0);
  }

  Sink& sink_;
  std::array<std::size_t, kMaxDepth> openStarts_{};
  std::size_t depth_ = 0;
  std::size_t contentEnd_ = 0;
};

// Sinks for the writer: one that only counts, to size the array, and one
// that fills an array of that size.
class CountingSink {
 public:
  constexpr std::size_t Size() const { return size_; }
  constexpr void Put(std::uint8_t) { ++size_; }
  constexpr void Patch16(std::size_t, std::uint16_t) {}

 private:
  std::size_t size_ = 0;
};

template <std::size_t N>
class ArraySink {
 public:
  constexpr std::size_t Size() const { return size_; }
  constexpr void Put(std::uint8_t byte) { bytes_.at(size_++) = byte; }
  constexpr void Patch16(std::size_t offset, std::uint16_t value) {
    bytes_.at(offset) = static_cast<std::uint8_t>(value & 0xFF);
    bytes_.at(offset + 1) = static_cast<std::uint8_t>(value >> 8);
  }
  constexpr const std::array<std::uint8_t, N>& Bytes() const { return bytes_; }

 private:
  std::array<std::uint8_t, N> bytes_{};
  std::size_t size_ = 0;
};

}  // namespace helidisk
