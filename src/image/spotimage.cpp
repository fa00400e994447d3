#include "spotimage.h"

#include <QCryptographicHash>
#include <QFile>
#include <algorithm>

#include "greyimage.h"
#include "largepicture.h"

namespace helidisk {

namespace {

constexpr float kEightBitSaturation = 255;

}  // namespace

QImage BrightestChannel(const QImage& image) {
  if (image.format() == QImage::Format_Grayscale8) return image;
  if (image.format() == QImage::Format_Grayscale16) {
    return image.convertToFormat(QImage::Format_Grayscale8);
  }
  const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
  QImage grey = LargePicture(rgb.width(), rgb.height(), QImage::Format_Grayscale8);
  if (grey.isNull()) throw SpotError("not enough memory for the image's grey levels");
  for (int y = 0; y < rgb.height(); ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
    uchar* target = grey.scanLine(y);
    for (int x = 0; x < rgb.width(); ++x) {
      target[x] = static_cast<uchar>(std::max({qRed(row[x]), qGreen(row[x]), qBlue(row[x])}));
    }
  }
  return grey;
}

GreyImage GreyViewOf(const QImage& grey) {
  GreyImage view;
  view.widthPx = grey.width();
  view.heightPx = grey.height();
  view.bytes = grey.constBits();
  view.bytesPerLine = grey.bytesPerLine();
  view.saturationLevel = kEightBitSaturation;
  return view;
}

std::string FileSha256(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  QCryptographicHash hash(QCryptographicHash::Sha256);
  if (!hash.addData(&file)) return {};
  return hash.result().toHex().toStdString();
}

}  // namespace helidisk
