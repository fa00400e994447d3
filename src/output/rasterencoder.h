// Raster pictures as PNG and JPEG bytes, written with zlib and
// libjpeg-turbo directly: Qt's image writer would first look through every
// image-format plug-in installed, which costs a short run more than the
// whole picture does.
#pragma once

#include <QByteArray>
#include <QImage>
#include <span>
#include <string>
#include <string_view>

#include "pictureformat.h"
#include "pngwriter.h"

namespace helidisk {

// The image as a PNG, as EncodePngPixels writes it.  Raises PictureError
// when it cannot be encoded.
std::string EncodePng(const QImage& image, std::span<const PngText> texts = {});

// The image as a baseline JPEG of quality 92.  Raises PictureError.
std::string EncodeJpeg(const QImage& image);

// A PNG or a JPEG as the format says; PictureError for any other format.
std::string EncodeRaster(const QImage& image, PictureFormat format);

// The bytes as the output file writer takes them.
std::string_view BytesOf(const QByteArray& bytes);

}  // namespace helidisk
