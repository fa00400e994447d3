// A PDF page as a printer puts it on paper: rasterised by poppler's
// pdftoppm (Debian poppler-utils) at 254 dpi, ten pixels a millimetre, and
// the disk measured across and down through its centre.
#pragma once

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>

#include "diskpage.h"

namespace helidisk::fakes {

inline constexpr int kPixelsPerMm = 10;

struct MeasuredPage {
  int widthPx = 0;
  int heightPx = 0;
  int diskAcrossPx = 0;
  int diskDownPx = 0;
  double diskMiddleXPx = 0;
  QString error;
};

// Where the layout puts a disk of that diameter on the sheet, the ink from
// the first to the last dark pixel: across the whole row, and down only as
// far as the disk reaches, short of the texts below.
inline MeasuredPage MeasurePdfPage(const QString& pdfPath, PageSizeMm sheet, double diameterMm) {
  MeasuredPage page;
  QTemporaryDir folder;
  QProcess pdftoppm;
  pdftoppm.start(QStringLiteral("pdftoppm"),
                 {"-r", "254", "-gray", "-singlefile", pdfPath, folder.filePath("page")});
  QFile file(folder.filePath("page.pgm"));
  if (!pdftoppm.waitForFinished(60000) || pdftoppm.exitCode() != 0 ||
      !file.open(QIODevice::ReadOnly)) {
    page.error = "pdftoppm (poppler-utils) failed: " + pdftoppm.errorString();
    return page;
  }
  // "P5\n<width> <height>\n255\n", then one byte a pixel, 0 black.
  file.readLine();
  const QList<QByteArray> size = file.readLine().trimmed().split(' ');
  file.readLine();
  page.widthPx = size.value(0).toInt();
  page.heightPx = size.value(1).toInt();
  const QByteArray pixels = file.readAll();
  const auto ink = [&](int x, int y) {
    return static_cast<uchar>(pixels[y * page.widthPx + x]) < 128;
  };

  const DiskPageLayout layout = LayOutDiskPage(sheet, diameterMm);
  const int centreX = static_cast<int>(layout.diskCentreXMm * kPixelsPerMm);
  const int centreY = static_cast<int>(layout.diskCentreYMm * kPixelsPerMm);
  const int reach = static_cast<int>(0.53 * diameterMm * kPixelsPerMm);
  int first = page.widthPx;
  int last = -1;
  for (int x = 0; x < page.widthPx; ++x) {
    if (!ink(x, centreY)) continue;
    first = std::min(first, x);
    last = x;
  }
  page.diskAcrossPx = last - first + 1;
  page.diskMiddleXPx = (first + last + 1) / 2.0;
  first = page.heightPx;
  last = -1;
  for (int y = std::max(0, centreY - reach); y < std::min(page.heightPx, centreY + reach); ++y) {
    if (!ink(centreX, y)) continue;
    first = std::min(first, y);
    last = y;
  }
  page.diskDownPx = last - first + 1;
  return page;
}

}  // namespace helidisk::fakes
