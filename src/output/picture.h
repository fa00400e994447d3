// A picture request turned into a picture: one redraw, exactly as the
// window runs it, onto a QImage, a PNG, an SVG drawing or a PDF page.  The
// window saves, copies and prints through it, and helidisk-render's
// picture module writes its pages with it.
#pragma once

#include <QImage>
#include <string>

#include "diskpage.h"
#include "pictureformat.h"
#include "picturerequest.h"
#include "redraw.h"

namespace helidisk {

// The request's picture as a raster image: a redraw, or a Stonyhurst
// template when it names a B0 alone (whose record stays empty).  Raises
// RunError when the redraw fails and PictureError when the image has no
// pixels or no memory.
QImage RenderImage(const PictureRequest& request, RedrawResult& result);

// A file's bytes: the picture as a PNG, an SVG drawing or, on the page's
// paper with the disk at its diameter, a PDF (which needs a
// QGuiApplication for its fonts).  Raises as RenderImage does, and
// PictureError for a format that cannot hold a drawn disk.
std::string RenderPicture(const PictureRequest& request, PictureFormat format,
                          const PageOptions& page, RedrawResult& result);

}  // namespace helidisk
