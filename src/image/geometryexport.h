// Pictures written with their geometry: FITS through cfitsio (loaded on
// first use, as for reading), PNG with the same keywords in text chunks.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <string>
#include <vector>

#include "imagegeometry.h"

namespace helidisk {

// Writes the picture as an 8-bit FITS image with the cards and the
// HISTORY lines: a grey picture as one plane, any other as three (red,
// green, blue), rows upward as FITS counts them.  The file is written
// beside `path` and renamed over it when complete.  Raises ImageError
// naming the file when it cannot be written.
void WriteFitsPicture(const QImage& picture, const std::vector<GeometryCard>& cards,
                      const std::vector<std::string>& history, const QString& path);

// The picture as a PNG whose tEXt chunks carry the cards, one chunk a
// keyword, the value as CardValueText writes it.  Raises ImageError
// (naming `path`) when it cannot be encoded.
QByteArray PngWithGeometry(const QImage& picture, const std::vector<GeometryCard>& cards,
                           const QString& path);

}  // namespace helidisk
