// Buffers of many megabytes -- a decoded photograph, its grey levels -- on
// the kernel's transparent huge pages where it offers them.  Every fresh
// 4 KiB page costs a page fault when first touched, and on a virtual
// machine a fault costs as much as decoding the page's pixels: a 2048 x
// 2048 photograph of 32-bit pixels is 4,096 of them, or 8 huge pages.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

namespace helidisk {

struct LargeBufferRelease {
  void operator()(std::uint8_t* bytes) const { std::free(bytes); }
};
using LargeBuffer = std::unique_ptr<std::uint8_t[], LargeBufferRelease>;

// `bytes` bytes, not cleared; null when there is not enough memory.
// Released with std::free, also when handed on as a raw pointer.
LargeBuffer AllocateLargeBuffer(std::size_t bytes);

}  // namespace helidisk
