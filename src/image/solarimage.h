// Opening an observer's solar image: a photograph (PNG, JPEG, TIFF and the
// other formats of Qt's image readers) or a FITS file, with the instant it
// was taken and, for a FITS file, what its header says about the disk.
//
// Pixel coordinates everywhere are those of the image as shown: x to the
// right, y downward, (0, 0) the centre of the top-left pixel.  A FITS
// image, whose rows run upward, is shown flipped the right way up; a
// photograph is shown as its EXIF orientation turns it.
#pragma once

#include <QImage>
#include <QString>
#include <optional>

#include "imageerror.h"
#include "limbfit.h"
#include "obstime.h"
#include "solarwcs.h"

namespace helidisk {

enum class ImageKind { Fits, Photograph };

struct SolarImage {
  QString path;
  ImageKind kind = ImageKind::Photograph;
  QString formatName;  // "FITS", or Qt's name of the format upper-cased: "PNG", "JPEG", "TIFF"
  // The picture to show.  A FITS image is 8-bit grey, stretched between the
  // 0.5 % and 99.5 % points of its values, undefined pixels black; a
  // photograph keeps the format it decoded to.
  QImage display;
  // From DATE-OBS / TIME-OBS or EXIF DateTimeOriginal / OffsetTimeOriginal
  // (of a JPEG, a TIFF or a PNG's eXIf chunk).
  std::optional<ObservationTime> observed;
  // What a FITS header says; empty for a photograph.
  HeaderGeometry header;
};

// Opens the file.  Raises ImageError, naming the file and the problem, for
// an empty, truncated or unreadable file, one that is no image, a FITS file
// without an image or whose pixels are all undefined, and an image over
// 8192 x 8192 pixels (refused before its pixels are decoded).  Decoders run
// under Qt's allocation limit, which this sets process-wide to what an
// 8192 x 8192 image of 64-bit pixels needs.
SolarImage LoadSolarImage(const QString& path);

enum class DiskSource { Header, Fit };

struct ImageDisk {
  double centreXPx = 0;
  double centreYPx = 0;
  double radiusPx = 0;
  DiskSource source = DiskSource::Fit;
  double fitRmsPx = 0;  // the limb fit's RMS residual; 0 for a header placement
  int edgePoints = 0;   // limb points the fit used; 0 for a header placement
};

// The disk on the image: from the header where it gives the Sun's centre
// and either its radius or the scale (the radius then from the ephemeris
// semi-diameter at the image's instant, which must be known), else from a
// fit of the limb.  Raises ImageError naming the file when no disk is found.
ImageDisk LocateDisk(const SolarImage& image);

}  // namespace helidisk
