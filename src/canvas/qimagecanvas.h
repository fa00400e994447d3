// The picture's raster image, drawn on through the raster canvas.
//
// The pixels live in one QImage (Format_RGB32) that the window shows and a
// renderer may save.  No painter is ever held open, so the image is
// complete after every call; an image shared with a reader is detached
// before it is drawn on.
#pragma once

#include <QImage>
#include <cstdint>

#include "rastercanvas.h"

namespace helidisk {

class QImageCanvas final : public RasterCanvas {
 public:
  QImageCanvas() = default;

  // The window sizes the picture one side at a time.  While either side is
  // zero or negative the image is null and every drawing operation does
  // nothing.  Resizing keeps the pixels the old and new image share and
  // paints the new ones white; pen and brush are unaffected.
  void SetWidth(std::int32_t widthPixels);
  void SetHeight(std::int32_t heightPixels);
  // The sides as last set, zero or negative ones included.
  std::int32_t Width() const { return widthPixels_; }
  std::int32_t Height() const { return heightPixels_; }

  const QImage& Image() const { return image_; }

  // Draws from now on over the given picture, which the canvas takes as it
  // is (converted to 32-bit RGB) with its size; pen and brush are
  // unaffected.
  void Adopt(QImage picture);

 private:
  PixelView Pixels() override;
  void ResizeImage(std::int32_t widthPixels, std::int32_t heightPixels);

  QImage image_;
  std::int32_t widthPixels_ = 0;
  std::int32_t heightPixels_ = 0;
};

}  // namespace helidisk
