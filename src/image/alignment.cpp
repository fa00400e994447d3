#include "alignment.h"

#include <cmath>
#include <cstdint>
#include <optional>

#include "solarrotation.h"
#include "trigfunc.h"

namespace helidisk {

namespace {

constexpr double kDiskShareOfSide = 0.88;
constexpr int kWeightOne = 1024;

// Pixel (x, y) of the source as an affine function of the target pixel
// (u, v): x = xu u + xv v + x0, likewise y.
struct AffineMap {
  double xu = 0;
  double xv = 0;
  double x0 = 0;
  double yu = 0;
  double yv = 0;
  double y0 = 0;
};

// Without rotation both frames show the same sphere: a target pixel's
// sky-plane point goes back to the tilted sphere through the transpose of
// the target's orthogonal turn, and out through the source's turn.
AffineMap SkyPlaneMap(const DiskFrame& source, const DiskFrame& target) {
  // Target pixel -> target sky plane: sx = (u - cx) / R, sy = (cy - v) / R.
  // Sky plane -> tilted sphere: tx = xx sx + yx sy, ty = xy sx + yy sy.
  // Tilted sphere -> source sky plane -> source pixel.
  const double k = source.radiusPx / target.radiusPx;
  const double txPerSx = target.xx;
  const double txPerSy = target.yx;
  const double tyPerSx = target.xy;
  const double tyPerSy = target.yy;
  // Source sky coordinates per target sky coordinate.
  const double qxPerSx = source.xx * txPerSx + source.xy * tyPerSx;
  const double qxPerSy = source.xx * txPerSy + source.xy * tyPerSy;
  const double qyPerSx = source.yx * txPerSx + source.yy * tyPerSx;
  const double qyPerSy = source.yx * txPerSy + source.yy * tyPerSy;
  AffineMap map;
  // x = cxs + rs qx, y = cys - rs qy, with sx = (u - cxt) / Rt, sy = (cyt - v) / Rt.
  map.xu = k * qxPerSx;
  map.xv = -k * qxPerSy;
  map.x0 = source.centreXPx - map.xu * target.centreXPx - map.xv * target.centreYPx;
  map.yu = -k * qyPerSx;
  map.yv = k * qyPerSy;
  map.y0 = source.centreYPx - map.yu * target.centreXPx - map.yv * target.centreYPx;
  return map;
}

// Bilinear sampling of 8-bit grey or 32-bit RGB pixels; black outside the
// image, whose outermost pixel centres bound it.
class Sampler {
 public:
  explicit Sampler(const QImage& image)
      : image_(image), maxX_(image.width() - 1), maxY_(image.height() - 1) {}

  bool Inside(double x, double y) const { return x >= 0 && y >= 0 && x <= maxX_ && y <= maxY_; }

  std::uint8_t Grey(double x, double y) const {
    if (!Inside(x, y)) return 0;
    const Corners c = CornersAt(x, y);
    const uchar* row0 = image_.constScanLine(c.y0);
    const uchar* row1 = image_.constScanLine(c.y1);
    return Blend(row0[c.x0], row0[c.x1], row1[c.x0], row1[c.x1], c.wx, c.wy);
  }

  QRgb Colour(double x, double y) const {
    if (!Inside(x, y)) return qRgb(0, 0, 0);
    const Corners c = CornersAt(x, y);
    const auto* row0 = reinterpret_cast<const QRgb*>(image_.constScanLine(c.y0));
    const auto* row1 = reinterpret_cast<const QRgb*>(image_.constScanLine(c.y1));
    const QRgb a = row0[c.x0];
    const QRgb b = row0[c.x1];
    const QRgb d = row1[c.x0];
    const QRgb e = row1[c.x1];
    return qRgb(Blend(qRed(a), qRed(b), qRed(d), qRed(e), c.wx, c.wy),
                Blend(qGreen(a), qGreen(b), qGreen(d), qGreen(e), c.wx, c.wy),
                Blend(qBlue(a), qBlue(b), qBlue(d), qBlue(e), c.wx, c.wy));
  }

 private:
  struct Corners {
    int x0, x1, y0, y1;
    int wx, wy;  // the weights of the right and lower neighbours, 0 ... kWeightOne
  };

  Corners CornersAt(double x, double y) const {
    const int x0 = static_cast<int>(x);
    const int y0 = static_cast<int>(y);
    return {x0,
            x0 < maxX_ ? x0 + 1 : x0,
            y0,
            y0 < maxY_ ? y0 + 1 : y0,
            static_cast<int>((x - x0) * kWeightOne),
            static_cast<int>((y - y0) * kWeightOne)};
  }

  // In fixed point: the weights in 1024ths of a pixel (cut, not rounded:
  // half a 1024th of a pixel on average), the sum rounded.
  static std::uint8_t Blend(int a, int b, int c, int d, int wx, int wy) {
    const int top = a * (kWeightOne - wx) + b * wx;
    const int bottom = c * (kWeightOne - wx) + d * wx;
    const int sum = top * (kWeightOne - wy) + bottom * wy;
    return static_cast<std::uint8_t>((sum + kWeightOne * kWeightOne / 2) /
                                     (kWeightOne * kWeightOne));
  }

  const QImage& image_;
  int maxX_;
  int maxY_;
};

// The source pixel showing the target pixel's point of the disk as it
// lay at the source's instant: the point's latitude and longitude at the
// reference instant, its longitude turned back by the rotation over the
// time between, projected into the source's frame.  `std::nullopt` when
// it lay on the far side then.
struct SourcePixel {
  double xPx = 0;
  double yPx = 0;
};

std::optional<SourcePixel> DerotatedSourcePixel(const DiskFrame& source, const DiskFrame& target,
                                                const Derotation& derotation, double days, double u,
                                                double v) {
  const LocatedPoint point = Locate(target, u, v);
  const double latitudeDeg = point.latitudeRad * RadToDeg;
  const double longitudeRad =
      point.longitudeRad + LongitudeDriftDeg(derotation, latitudeDeg, days) * DegToRad;
  const ProjectedPoint projected = Project(source, longitudeRad, point.latitudeRad);
  if (projected.depth < 0) return std::nullopt;
  return SourcePixel{projected.xPx, projected.yPx};
}

bool IsGrey(const QImage& image) { return image.format() == QImage::Format_Grayscale8; }

template <bool Grey>
void FillRows(const Sampler& sampler, const DiskFrame& source, const DiskFrame& target,
              const std::optional<Derotation>& derotation, double days, QImage& out) {
  const AffineMap map = SkyPlaneMap(source, target);
  const int side = out.width();
  const double radius2 = target.radiusPx * target.radiusPx;
  for (int v = 0; v < side; ++v) {
    uchar* row = out.scanLine(v);
    const double dy = v - target.centreYPx;
    for (int u = 0; u < side; ++u) {
      double x = map.xu * u + map.xv * v + map.x0;
      double y = map.yu * u + map.yv * v + map.y0;
      const double dx = u - target.centreXPx;
      if (derotation && dx * dx + dy * dy <= radius2) {
        const std::optional<SourcePixel> turned =
            DerotatedSourcePixel(source, target, *derotation, days, u, v);
        // A point on the far side is left black: off the image's reach.
        x = turned ? turned->xPx : -1;
        y = turned ? turned->yPx : -1;
      }
      if constexpr (Grey) {
        row[u] = sampler.Grey(x, y);
      } else {
        reinterpret_cast<QRgb*>(row)[u] = sampler.Colour(x, y);
      }
    }
  }
}

}  // namespace

AlignedLayout AlignedLayoutOf(int sidePx) {
  const double centre = (sidePx - 1) / 2.0;
  return {sidePx, centre, kDiskShareOfSide * sidePx / 2};
}

DiskFrame AlignedDiskFrame(const AlignedLayout& layout, const SunEphemeris& sun) {
  return OrientedDiskFrame(layout.centrePx, layout.centrePx, layout.radiusPx, sun.l0Rad, sun.b0Rad,
                           sun.pRad, Orientation::SolarNorth);
}

double LongitudeDriftDeg(const Derotation& derotation, double latitudeDeg, double days) {
  return (derotation.siderealRateDegPerDay(latitudeDeg) - kCarringtonSiderealDegPerDay) * days;
}

void ResampleAligned(const QImage& source, const DiskFrame& sourceFrame, double sourceJulianDay,
                     const AlignedLayout& layout, const SunEphemeris& targetSun,
                     const std::optional<Derotation>& derotation, QImage& target) {
  const DiskFrame targetFrame = AlignedDiskFrame(layout, targetSun);
  const bool grey = IsGrey(source);
  const QImage converted =
      grey || source.format() == QImage::Format_RGB32 || source.format() == QImage::Format_ARGB32
          ? source
          : source.convertToFormat(QImage::Format_RGB32);
  const QImage::Format format = grey ? QImage::Format_Grayscale8 : QImage::Format_RGB32;
  const int side = layout.sidePx;
  if (target.width() != side || target.height() != side || target.format() != format) {
    target = QImage(side, side, format);
  }
  if (target.isNull()) return;
  const double days = derotation ? sourceJulianDay - derotation->referenceJulianDay : 0;
  const Sampler sampler(converted);
  if (grey) {
    FillRows<true>(sampler, sourceFrame, targetFrame, derotation, days, target);
  } else {
    FillRows<false>(sampler, sourceFrame, targetFrame, derotation, days, target);
  }
}

}  // namespace helidisk
