#include "qimagecanvas.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace helidisk {

void QImageCanvas::SetWidth(std::int32_t widthPixels) {
  widthPixels_ = widthPixels;
  ResizeImage(widthPixels_, heightPixels_);
}

void QImageCanvas::SetHeight(std::int32_t heightPixels) {
  heightPixels_ = heightPixels;
  ResizeImage(widthPixels_, heightPixels_);
}

void QImageCanvas::ResizeImage(std::int32_t widthPixels, std::int32_t heightPixels) {
  if (widthPixels <= 0 || heightPixels <= 0) {
    image_ = QImage();
    return;
  }
  if (image_.width() == widthPixels && image_.height() == heightPixels) return;
  QImage resized(widthPixels, heightPixels, QImage::Format_RGB32);
  resized.fill(PixelOf(kWhite));
  const int sharedWidth = std::min(image_.width(), widthPixels);
  const int sharedHeight = std::min(image_.height(), heightPixels);
  for (int y = 0; y < sharedHeight; ++y) {
    std::memcpy(resized.scanLine(y), image_.constScanLine(y), sharedWidth * sizeof(QRgb));
  }
  image_ = std::move(resized);
}

void QImageCanvas::Adopt(QImage picture) {
  image_ = picture.format() == QImage::Format_RGB32 ? std::move(picture)
                                                    : picture.convertToFormat(QImage::Format_RGB32);
  widthPixels_ = image_.width();
  heightPixels_ = image_.height();
}

PixelView QImageCanvas::Pixels() {
  if (image_.isNull()) return {};
  return {reinterpret_cast<std::uint32_t*>(image_.bits()),
          image_.bytesPerLine() / static_cast<std::int64_t>(sizeof(QRgb)), image_.width(),
          image_.height()};
}

}  // namespace helidisk
