// A set of observers' images turned into aligned frames: each image opened,
// its disk found, its instant and orientation read, resampled to the common
// layout (optionally de-rotated to one instant), stamped with its time and
// written as PNG and FITS with its geometry.  Images whose disk or time
// cannot be read are reported and skipped, never written mis-aligned.
//
// Two frames are in work at once, one for each core; the frames are handed
// on in the order given, so that a movie receives them in sequence and no
// more than two images are held at any time.
#pragma once

#include <QImage>
#include <QString>
#include <QStringList>
#include <atomic>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "alignment.h"
#include "overlay.h"
#include "site.h"

namespace helidisk {

struct AlignSettings {
  int sidePx = 1024;
  // How to read images whose header does not fix it (photographs): the
  // orientation turned by the camera's angle, or the zenith up at a site.
  // A header's solar-north view counts unless `viewChosen`.
  ImageView view;
  std::optional<Site> site;
  bool viewChosen = false;
  std::optional<Derotation> derotation;
  std::string modelName;  // the rotation model's name, for the stamp and the header
  QString outputFolder;
};

// One frame's outcome: the files written, or why the image was skipped.
struct FrameResult {
  QString sourcePath;
  bool aligned = false;
  QString problem;       // "FILE: why", when skipped
  QStringList written;   // the PNG and the FITS file
  double julianDay = 0;  // the image's instant, when aligned
};

// The frame of one image: fills `frame` (reused from call to call) and
// returns the image's instant.  Raises ImageError naming the file when the
// image cannot be opened, gives no time in UT, or shows no disk.
double AlignImage(const QString& path, const AlignSettings& settings, QImage& frame);

// The time stamp drawn in the frame's top-left corner: "YYYY-MM-DD
// hh:mm:ss UT", and below it the reference instant and the model when
// de-rotated.
void StampFrame(QImage& frame, double julianDay, const AlignSettings& settings);

// The names the frame of `sourcePath` is written under: the source's name
// with "-aligned" and .png or .fits, in the output folder.
QString AlignedFramePath(const QString& sourcePath, const QString& outputFolder,
                         const QString& suffix);

// Called once a frame, in the order of the paths, from whichever worker
// finished it, never two at once; `frame` is the stamped frame (null when
// skipped).  What it raises ends the run: no further image is taken, and
// AlignSequence raises it once the images in work are done.
using FrameConsumer =
    std::function<void(int index, const FrameResult& result, const QImage& frame)>;

// Aligns all the images, two at a time; returns each one's outcome in the
// order given.  An image whose frame would take the name of an earlier
// one's is skipped, so that no frame of the run replaces another.  Stops
// taking new images once `cancelled` is set.
std::vector<FrameResult> AlignSequence(const QStringList& paths, const AlignSettings& settings,
                                       const FrameConsumer& consumer,
                                       const std::atomic<bool>* cancelled = nullptr);

}  // namespace helidisk
