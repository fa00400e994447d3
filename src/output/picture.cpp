#include "picture.h"

#include <string>

#include "drawnpicture.h"
#include "pdfpage.h"
#include "pictureerror.h"
#include "qimagecanvas.h"

namespace helidisk {

QImage RenderImage(const PictureRequest& request, RedrawResult& result) {
  RequireImagePixels(request);
  QImageCanvas canvas;
  canvas.SetWidth(ImageWidthOf(request));
  canvas.SetHeight(ImageHeightOf(request));
  if (canvas.Image().isNull()) {
    throw PictureError("not enough memory for an image of " + std::to_string(canvas.Width()) + "x" +
                       std::to_string(canvas.Height()) + " pixels");
  }
  DrawRequest(request, canvas, result);
  return canvas.Image();
}

std::string RenderPicture(const PictureRequest& request, PictureFormat format,
                          const PageOptions& page, RedrawResult& result) {
  if (InfoOf(format).holdsPage) return RenderPdfPage(request, page, result);
  return DrawnPictureBytes(request, format, result);
}

}  // namespace helidisk
