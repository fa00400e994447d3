// Pictures written with their geometry: FITS through cfitsio (loaded on
// first use, as for reading), PNG with the same keywords in text chunks.
#pragma once

#include <QImage>
#include <QString>
#include <optional>
#include <string>
#include <vector>

#include "diskframe.h"
#include "imagegeometry.h"
#include "pictureformat.h"

namespace helidisk {

// Writes the picture as an 8-bit FITS image with the cards and the
// HISTORY lines: a grey picture as one plane, any other as three (red,
// green, blue), rows upward as FITS counts them.  The file is written
// beside `path` and renamed over it when complete.  Raises ImageError
// naming the file when it cannot be written.
void WriteFitsPicture(const QImage& picture, const std::vector<GeometryCard>& cards,
                      const std::vector<std::string>& history, const QString& path);

// The same FITS file's bytes, written by cfitsio in a temporary folder, so
// that the caller writes them as any other output (into a pipe, over a
// device, keeping a replaced file's permissions).  Errors name `path`.
std::string FitsPictureBytes(const QImage& picture, const std::vector<GeometryCard>& cards,
                             const std::vector<std::string>& history, const QString& path);

// The picture as a PNG whose tEXt chunks carry the cards, one chunk a
// keyword, the value as CardValueText writes it.  Raises ImageError
// (naming `path`) when it cannot be encoded.
std::string PngWithGeometry(const QImage& picture, const std::vector<GeometryCard>& cards,
                            const QString& path);

// Where the frame puts an observer's image's disk on the picture and solar
// north, counterclockwise from up: where it puts the rotation axis.
// Nothing for a mirrored view, which the helioprojective keywords of an
// unmirrored image cannot describe.
std::optional<PictureGeometry> OverlayGeometry(const QImage& picture, const DiskFrame& frame,
                                               const SunEphemeris& sun);

// An observer's image with its grid as the bytes of a file at `path`: PNG
// with the geometry's text chunks (none for a mirrored view), JPEG, or
// FITS with the geometry's keywords and `history`; a FITS file of a
// mirrored view is refused.  Raises ImageError naming `path`.
std::string SaveOverlay(const QImage& picture, const DiskFrame& frame, const SunEphemeris& sun,
                        PictureFormat format, const std::vector<std::string>& history,
                        const QString& path);

}  // namespace helidisk
