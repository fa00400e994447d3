#include "largebuffer.h"

#include <sys/mman.h>

#include <algorithm>

namespace helidisk {

namespace {

constexpr std::size_t kHugePageBytes = std::size_t{2} << 20;

}  // namespace

LargeBuffer AllocateLargeBuffer(std::size_t bytes) {
  if (bytes < kHugePageBytes) {
    return LargeBuffer(static_cast<std::uint8_t*>(std::malloc(std::max<std::size_t>(bytes, 1))));
  }
  const std::size_t rounded = (bytes + kHugePageBytes - 1) / kHugePageBytes * kHugePageBytes;
  void* memory = std::aligned_alloc(kHugePageBytes, rounded);
  // Only a hint: where the kernel has no huge pages to give, the buffer
  // stays on ordinary ones.
  if (memory != nullptr) madvise(memory, rounded, MADV_HUGEPAGE);
  return LargeBuffer(static_cast<std::uint8_t*>(memory));
}

}  // namespace helidisk
