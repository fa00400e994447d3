// An observer's image as the sunspot detection reads it, and the checksum
// an observation file names its image by.
#pragma once

#include <QImage>
#include <QString>
#include <string>

#include "greyimage.h"

namespace helidisk {

// The image as grey 8-bit pixels: the brightest channel of each, as the
// limb fit reads it, so that a filter's colour keeps its contrast; a grey
// image as it is.
QImage BrightestChannel(const QImage& image);

// The grey image's pixels as the detection reads them, in place: `grey`
// must outlive the view.  They saturate at 255.
GreyImage GreyViewOf(const QImage& grey);

// The SHA-256 of the file's bytes in lower-case hexadecimal; empty when it
// cannot be read.
std::string FileSha256(const QString& path);

}  // namespace helidisk
