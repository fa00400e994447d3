// Raster pictures as PNG and JPEG bytes, written with libpng and
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

namespace helidisk {

// A PNG text chunk: a Latin-1 keyword of 1 to 79 characters and its text.
struct PngText {
  std::string keyword;
  std::string text;
};

// The image as a PNG: with a palette where its colours fit one (the drawn
// disk's handful of flat colours), otherwise as 8-bit RGB; compressed at
// zlib's fastest level.  Raises PictureError when it cannot be encoded.
QByteArray EncodePng(const QImage& image, std::span<const PngText> texts = {});

// The image as a baseline JPEG of quality 92.  Raises PictureError.
QByteArray EncodeJpeg(const QImage& image);

// A JPEG for PictureFormat::Jpeg, otherwise a PNG.
QByteArray EncodeRaster(const QImage& image, PictureFormat format);

// The bytes as the output file writer takes them.
std::string_view BytesOf(const QByteArray& bytes);

}  // namespace helidisk
