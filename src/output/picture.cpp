#include "picture.h"

#include <string>

#include "pdfpage.h"
#include "pictureerror.h"
#include "qimagecanvas.h"
#include "rasterencoder.h"
#include "stonyhurst.h"
#include "svgcanvas.h"
#include "trigfunc.h"

namespace helidisk {

namespace {

// A template has no instant, so its record stays empty.
void DrawRequested(const PictureRequest& request, Canvas& canvas, RedrawResult& result) {
  if (request.templateB0Deg) {
    DrawStonyhurstTemplate(canvas, GeometryOf(request), *request.templateB0Deg * DegToRad);
  } else {
    result = DrawPicture(request, canvas);
  }
}

}  // namespace

QImage RenderImage(const PictureRequest& request, RedrawResult& result) {
  QImageCanvas canvas;
  canvas.SetWidth(ImageWidthOf(request));
  canvas.SetHeight(ImageHeightOf(request));
  if (canvas.Image().isNull()) {
    if (canvas.Width() <= 0 || canvas.Height() <= 0) {
      throw PictureError("a picture control of " + std::to_string(request.controlWidth) + "x" +
                         std::to_string(request.controlHeight) + " leaves the image no pixels");
    }
    throw PictureError("not enough memory for an image of " + std::to_string(canvas.Width()) + "x" +
                       std::to_string(canvas.Height()) + " pixels");
  }
  DrawRequested(request, canvas, result);
  return canvas.Image();
}

QByteArray RenderPicture(const PictureRequest& request, PictureFormat format,
                         const PageOptions& page, RedrawResult& result) {
  const PictureFormatInfo& info = InfoOf(format);
  if (!info.holdsDrawnDisk) {
    throw PictureError("the drawn disk is not written as " + std::string(info.name) +
                       "; it is a PNG, SVG or PDF");
  }
  if (info.holdsPage) return RenderPdfPage(request, page, result);
  if (format == PictureFormat::Svg) {
    SvgCanvas canvas(ImageWidthOf(request), ImageHeightOf(request));
    DrawRequested(request, canvas, result);
    const std::string document = canvas.Document();
    return {document.data(), static_cast<qsizetype>(document.size())};
  }
  return EncodePng(RenderImage(request, result));
}

}  // namespace helidisk
