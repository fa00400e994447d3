// helidisk-render's pictures: one redraw, exactly as the window runs it,
// onto a raster image, an SVG drawing or a PDF page, or the grid over an
// observer's image.  This half needs Qt; the window saves, copies and
// prints through it, and helidisk-render loads it as its picture module.
#pragma once

#include <QByteArray>
#include <QImage>
#include <cstdio>
#include <string_view>

#include "redraw.h"
#include "renderoptions.h"
#include "renderrun.h"

namespace helidisk {

// A raster picture as a JPEG for PictureFormat::Jpeg, otherwise as a PNG
// (with a palette where its colours fit one).  Raises PictureError when it
// cannot be encoded.
QByteArray EncodeRaster(const QImage& image, PictureFormat format);

// The bytes as the output file writer takes them.
std::string_view BytesOf(const QByteArray& bytes);

// The options' picture as a raster image: a redraw, or a Stonyhurst
// template when they name a B0 alone.  Raises RunError when the redraw
// fails and PictureError when the image has no pixels or no memory.
QImage RenderImage(const RenderOptions& options, RedrawResult& result);

// The picture in the options' format: the image as a PNG or a JPEG, the
// drawing as an SVG, or the page as a PDF (which needs a QGuiApplication for its
// fonts).  Raises RunError when the redraw fails and PictureError when the
// picture cannot be made.
QByteArray RenderPicture(const RenderOptions& options, RedrawResult& result);

// A run that makes a picture or reads an observer's image: the picture
// written, the readout, JSON or located point printed; returns the exit
// status.  Raises what the work raises.
int RenderPictures(const RenderOptions& given, std::FILE* out, std::FILE* err);

}  // namespace helidisk
