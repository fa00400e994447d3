// A PDF page as a printer puts it on paper: rasterised by poppler's
// pdftoppm (Debian poppler-utils) into grey pixels, for tests that measure
// the disk on the page.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <algorithm>

#include "diskpage.h"

namespace helidisk::fakes {

struct GreyRaster {
  int width = 0;
  int height = 0;
  QByteArray pixels;  // rows top to bottom, one byte a pixel, 0 black

  bool IsInk(int x, int y) const {
    constexpr unsigned char kMidGrey = 128;
    return static_cast<unsigned char>(pixels[y * width + x]) < kMidGrey;
  }
};

// The first page at the given resolution; empty with `error` set when
// pdftoppm fails or is missing.
inline GreyRaster RasterisePdf(const QString& pdfPath, int dotsPerInch, QString& error) {
  QTemporaryDir folder;
  const QString stem = folder.filePath(QStringLiteral("page"));
  QProcess pdftoppm;
  pdftoppm.start(QStringLiteral("pdftoppm"),
                 {QStringLiteral("-r"), QString::number(dotsPerInch), QStringLiteral("-gray"),
                  QStringLiteral("-singlefile"), pdfPath, stem});
  if (!pdftoppm.waitForFinished(60000) || pdftoppm.exitCode() != 0) {
    error = QStringLiteral("pdftoppm (poppler-utils) failed: ") + pdftoppm.errorString() + " " +
            QString::fromLocal8Bit(pdftoppm.readAllStandardError());
    return {};
  }
  QFile file(stem + QStringLiteral(".pgm"));
  if (!file.open(QIODevice::ReadOnly)) {
    error = QStringLiteral("no raster from pdftoppm");
    return {};
  }
  // "P5\n<width> <height>\n255\n" and the pixels.
  const QList<QByteArray> header = file.read(64).split('\n');
  GreyRaster raster;
  const QList<QByteArray> size = header.value(1).split(' ');
  raster.width = size.value(0).toInt();
  raster.height = size.value(1).toInt();
  file.seek(header.value(0).size() + header.value(1).size() + header.value(2).size() + 3);
  raster.pixels = file.readAll();
  if (header.value(0) != "P5" || raster.pixels.size() != qsizetype{raster.width} * raster.height) {
    error = QStringLiteral("pdftoppm wrote no 8-bit grey map");
    return {};
  }
  return raster;
}

// The ink across the page from its first to its last dark pixel.
struct InkSpan {
  int first = -1;
  int last = -1;
  int Length() const { return first < 0 ? 0 : last - first + 1; }
  double Middle() const { return (first + last + 1) / 2.0; }
};

inline InkSpan InkAlongRow(const GreyRaster& raster, int y) {
  InkSpan span;
  for (int x = 0; x < raster.width; ++x) {
    if (!raster.IsInk(x, y)) continue;
    if (span.first < 0) span.first = x;
    span.last = x;
  }
  return span;
}

inline InkSpan InkAlongColumn(const GreyRaster& raster, int x, int fromY, int toY) {
  InkSpan span;
  for (int y = fromY; y < toY; ++y) {
    if (!raster.IsInk(x, y)) continue;
    if (span.first < 0) span.first = y;
    span.last = y;
  }
  return span;
}

// The disk of a page at the given diameter, measured across and down
// through the centre where the page layout puts it: down only as far as
// the picture reaches, so that the texts below it are not counted.
struct MeasuredDisk {
  InkSpan across;
  InkSpan down;
};

inline MeasuredDisk MeasureDisk(const GreyRaster& raster, int dotsPerInch, PageSizeMm sheet,
                                double diameterMm) {
  const double pixelsPerMm = dotsPerInch / kMillimetresPerInch;
  const DiskPageLayout layout = LayOutDiskPage(sheet, diameterMm);
  const int centreX = static_cast<int>(layout.diskCentreXMm * pixelsPerMm);
  const int centreY = static_cast<int>(layout.diskCentreYMm * pixelsPerMm);
  const int reach = static_cast<int>(0.53 * diameterMm * pixelsPerMm);
  return {InkAlongRow(raster, centreY),
          InkAlongColumn(raster, centreX, std::max(0, centreY - reach),
                         std::min(raster.height, centreY + reach))};
}

}  // namespace helidisk::fakes
