#include "largepicture.h"

#include <cstdint>

#include "largebuffer.h"

namespace helidisk {

QImage LargePicture(int widthPx, int heightPx, QImage::Format format) {
  if (format == QImage::Format_Invalid || widthPx <= 0 || heightPx <= 0) return {};
  // QImage's rows start on 32-bit boundaries.
  const qsizetype rowBits =
      static_cast<qsizetype>(widthPx) * QImage::toPixelFormat(format).bitsPerPixel();
  const qsizetype rowBytes = (rowBits + 31) / 32 * 4;
  LargeBuffer buffer = AllocateLargeBuffer(static_cast<std::size_t>(rowBytes) * heightPx);
  if (!buffer) return {};
  std::uint8_t* pixels = buffer.release();
  return {pixels,   widthPx,
          heightPx, rowBytes,
          format,   [](void* bytes) { LargeBufferRelease()(static_cast<std::uint8_t*>(bytes)); },
          pixels};
}

}  // namespace helidisk
