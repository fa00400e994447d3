// Finding the Sun's disk on an image without a usable header: edge points
// on the limb from the intensity profile along rays, then a circle fit that
// ignores what is not limb (clouds, the frame cutting the disk, spots,
// prominences).
//
// The edge points: the image is reduced to grey (the brightest channel, so
// that a red H-alpha or an orange filter image keeps its contrast); Otsu's
// threshold splits sky from disk, and the centroid of the disk pixels is
// the rough centre.  Along rays from there the last fall through a level a
// third of the way from sky to disk marks the limb; the profile, averaged
// across the ray, passes halfway between the levels just inside and just
// outside near the limb; around that crossing, a model of the limb is
// fitted to the profile by Gauss-Newton: a step from sky to disk with the
// limb darkening's slope inside, blurred by a Gaussian (seeing, focus), so
// that a blurred limb is found where the unblurred edge lies rather than
// inside it, where its half level and its steepest point are.  Where the
// model does not settle the half-level crossing stands.  Rays that leave
// the image while still on the disk give no point.
//
// The fit: RANSAC over circles through three points, then geometric least
// squares (Gauss-Newton on the distances) on the inliers, repeated with the
// residual cut tightened to 2.5 times the RMS residual until the inliers
// settle.
#pragma once

#include <QImage>

namespace helidisk {

struct LimbFit {
  double centreXPx = 0;  // pixels of the image as shown, (0, 0) the top-left pixel's centre
  double centreYPx = 0;
  double radiusPx = 0;
  double rmsPx = 0;    // RMS distance of the points used from the circle
  int edgePoints = 0;  // limb points the final fit used
};

// Raises ImageError ("no solar disk found: ...") when the image shows no
// disk: too little contrast, too few limb points, or limb points that do
// not follow a circle over at least a third of its circumference.
LimbFit FitLimb(const QImage& image);

}  // namespace helidisk
