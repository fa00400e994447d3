#include "drawnpicture.h"

#include <new>

#include "pictureerror.h"
#include "pngwriter.h"
#include "rastercanvas.h"
#include "stonyhurst.h"
#include "svgcanvas.h"
#include "trigfunc.h"

namespace helidisk {

namespace {

std::string PngOf(const PictureRequest& request, RedrawResult& result) {
  const std::int32_t width = ImageWidthOf(request);
  const std::int32_t height = ImageHeightOf(request);
  try {
    PixelCanvas canvas(width, height);
    DrawRequest(request, canvas, result);
    const PixelView pixels = canvas.View();
    return EncodePngPixels({pixels.Pixels, static_cast<std::size_t>(pixels.RowStride),
                            static_cast<std::uint32_t>(pixels.Width),
                            static_cast<std::uint32_t>(pixels.Height)});
  } catch (const std::bad_alloc&) {
    throw PictureError("not enough memory for an image of " + std::to_string(width) + "x" +
                       std::to_string(height) + " pixels");
  }
}

std::string SvgOf(const PictureRequest& request, RedrawResult& result) {
  SvgCanvas canvas(ImageWidthOf(request), ImageHeightOf(request));
  DrawRequest(request, canvas, result);
  return canvas.Document();
}

}  // namespace

void DrawRequest(const PictureRequest& request, Canvas& canvas, RedrawResult& result) {
  if (request.templateB0Deg) {
    DrawStonyhurstTemplate(canvas, GeometryOf(request), *request.templateB0Deg * DegToRad);
  } else {
    result = DrawPicture(request, canvas);
  }
}

void RequireImagePixels(const PictureRequest& request) {
  if (ImageWidthOf(request) <= 0 || ImageHeightOf(request) <= 0) {
    throw PictureError("a picture control of " + std::to_string(request.controlWidth) + "x" +
                       std::to_string(request.controlHeight) + " leaves the image no pixels");
  }
}

std::string DrawnPictureBytes(const PictureRequest& request, PictureFormat format,
                              RedrawResult& result) {
  switch (format) {
    case PictureFormat::Svg:
      return SvgOf(request, result);
    case PictureFormat::Png:
      RequireImagePixels(request);
      return PngOf(request, result);
    default:
      throw PictureError("the drawn disk is not written as " + std::string(InfoOf(format).name) +
                         "; it is a PNG, SVG or PDF");
  }
}

}  // namespace helidisk
