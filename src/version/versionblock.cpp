#include "versionblock.h"

#include <algorithm>
#include <optional>

namespace helidisk {
namespace {

constexpr std::size_t kNodeHeaderBytes = 4;
constexpr std::string_view kStringFileInfoKey = "StringFileInfo";

constexpr std::size_t AlignToFour(std::size_t offset) { return (offset + 3) & ~std::size_t{3}; }

std::uint16_t U16At(std::span<const std::uint8_t> bytes, std::size_t offset) {
  return static_cast<std::uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
}

struct Node {
  std::size_t end = 0;
  std::string_view key;
  std::span<const std::uint8_t> value;
  std::size_t childrenStart = 0;
};

// The node at `start`, which must fit before `limit` (its parent's end).
// Every node takes at least five bytes (header and the key's zero), so a walk
// over siblings always moves forward.
std::optional<Node> ReadNode(std::span<const std::uint8_t> block, std::size_t start,
                             std::size_t limit) {
  if (start % 4 != 0 || start > limit || limit - start < kNodeHeaderBytes) return std::nullopt;
  const std::size_t length = U16At(block, start);
  const std::size_t valueLength = U16At(block, start + 2);
  if (length > limit - start) return std::nullopt;

  Node node;
  node.end = start + length;
  const std::size_t keyStart = start + kNodeHeaderBytes;
  if (keyStart >= node.end) return std::nullopt;
  const auto keyArea = block.subspan(keyStart, node.end - keyStart);
  const auto zero = std::find(keyArea.begin(), keyArea.end(), std::uint8_t{0});
  if (zero == keyArea.end()) return std::nullopt;
  const auto keyLength = static_cast<std::size_t>(zero - keyArea.begin());
  node.key = std::string_view(reinterpret_cast<const char*>(keyArea.data()), keyLength);

  // A node without a value may end right after its key, before the padding.
  const std::size_t valueStart = AlignToFour(keyStart + keyLength + 1);
  if (valueLength > 0) {
    if (valueStart > node.end || valueLength > node.end - valueStart) return std::nullopt;
    node.value = block.subspan(valueStart, valueLength);
  }
  node.childrenStart = AlignToFour(valueStart + valueLength);
  return node;
}

bool KeysEqual(std::string_view a, std::string_view b) {
  const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [&](char x, char y) { return lower(x) == lower(y); });
}

// A child that follows an inconsistent sibling is out of reach: the walk
// cannot know where it starts.
std::optional<Node> FindChild(std::span<const std::uint8_t> block, const Node& parent,
                              std::string_view key) {
  std::size_t start = parent.childrenStart;
  while (start < parent.end) {
    const std::optional<Node> child = ReadNode(block, start, parent.end);
    if (!child) return std::nullopt;
    if (KeysEqual(child->key, key)) return child;
    start = AlignToFour(child->end);
  }
  return std::nullopt;
}

// The next key of a backslash-separated path; empty keys are skipped, so ""
// and "\" both name the root.
std::string_view NextKey(std::string_view& path) {
  while (!path.empty() && path.front() == '\\') path.remove_prefix(1);
  const std::size_t keyEnd = std::min(path.find('\\'), path.size());
  const std::string_view key = path.substr(0, keyEnd);
  path.remove_prefix(keyEnd);
  return key;
}

bool HoldsFixedFileInfo(std::span<const std::uint8_t> value) {
  return value.size() >= kFixedFileInfoBytes && ValueWord(value, 0) == kFixedFileInfoSignature;
}

}  // namespace

bool VerQueryValue(std::span<const std::uint8_t> block, std::string_view subBlock,
                   std::span<const std::uint8_t>& value) {
  std::optional<Node> node = ReadNode(block, 0, block.size());
  if (!node || !KeysEqual(node->key, kVersionRootKey)) return false;

  std::string_view path = subBlock;
  const std::string_view firstKey = NextKey(path);
  for (std::string_view key = firstKey; !key.empty(); key = NextKey(path)) {
    node = FindChild(block, *node, key);
    if (!node) return false;
  }

  const std::span<const std::uint8_t> found = node->value;
  if (found.empty()) return false;
  if (firstKey.empty()) {
    if (!HoldsFixedFileInfo(found)) return false;
    value = found;
    return true;
  }
  if (KeysEqual(firstKey, kStringFileInfoKey)) {
    const auto zero = std::find(found.begin(), found.end(), std::uint8_t{0});
    if (zero == found.end()) return false;
    value = found.first(static_cast<std::size_t>(zero - found.begin()) + 1);
    return true;
  }
  value = found;
  return true;
}

std::uint32_t ValueWord(std::span<const std::uint8_t> value, std::size_t index) {
  if (index >= value.size() / 4) return 0;
  const std::size_t offset = index * 4;
  return static_cast<std::uint32_t>(value[offset]) |
         (static_cast<std::uint32_t>(value[offset + 1]) << 8) |
         (static_cast<std::uint32_t>(value[offset + 2]) << 16) |
         (static_cast<std::uint32_t>(value[offset + 3]) << 24);
}

VsFixedFileInfo ReadFixedFileInfo(std::span<const std::uint8_t> value) {
  std::size_t index = 0;
  const auto next = [&] { return ValueWord(value, index++); };
  VsFixedFileInfo info;
  info.dwSignature = next();
  info.dwStrucVersion = next();
  info.dwFileVersionMS = next();
  info.dwFileVersionLS = next();
  info.dwProductVersionMS = next();
  info.dwProductVersionLS = next();
  info.dwFileFlagsMask = next();
  info.dwFileFlags = next();
  info.dwFileOS = next();
  info.dwFileType = next();
  info.dwFileSubtype = next();
  info.dwFileDateMS = next();
  info.dwFileDateLS = next();
  return info;
}

std::string_view ValueText(std::span<const std::uint8_t> value) {
  const auto zero = std::find(value.begin(), value.end(), std::uint8_t{0});
  return {reinterpret_cast<const char*>(value.data()),
          static_cast<std::size_t>(zero - value.begin())};
}

}  // namespace helidisk
