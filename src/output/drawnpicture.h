// The drawn disk made without a toolkit: one redraw, exactly as the window
// runs it, onto the raster canvas or an SVG drawing.  helidisk-render writes
// its PNG and SVG pictures with it before Qt is ever loaded, and the window
// saves the same bytes.
#pragma once

#include <string>

#include "canvas.h"
#include "pictureformat.h"
#include "picturerequest.h"
#include "redraw.h"

namespace helidisk {

// The request drawn on the canvas: a redraw, or a Stonyhurst template when
// it names a B0 alone (whose record stays empty).  Raises RunError when the
// redraw fails.
void DrawRequest(const PictureRequest& request, Canvas& canvas, RedrawResult& result);

// Raises PictureError when the request's picture control leaves the image
// no pixels.
void RequireImagePixels(const PictureRequest& request);

// The picture as a PNG or an SVG drawing's bytes.  Raises RunError when the
// redraw fails and PictureError when the image has no pixels or no memory,
// or the format is another.
std::string DrawnPictureBytes(const PictureRequest& request, PictureFormat format,
                              RedrawResult& result);

}  // namespace helidisk
