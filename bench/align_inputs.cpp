// Writes the inputs of bench/align.sh: N photographs of 2048 x 2048 pixels
// as an H-alpha camera takes them, red JPEGs with their EXIF time, an hour
// apart, the disk wandering over the frame and changing its size as
// seeing and focus do, with a few spots.
// Usage: helidisk_align_inputs FOLDER COUNT
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <cmath>
#include <cstdio>
#include <string>

#include "exif_jpeg.h"
#include "synthetic_sun.h"

namespace {

constexpr int kSidePx = 2048;

helidisk::fakes::SyntheticSun FrameSun(int index) {
  const double wander = index * 0.7;
  helidisk::fakes::SyntheticSun sun = helidisk::fakes::MakeSun(
      kSidePx, kSidePx, 1024 + 60 * std::sin(wander), 1024 + 45 * std::cos(1.3 * wander),
      880 + 15 * std::sin(0.4 * wander), 0.01);
  sun.spots = {{30.0 + index, 0.4, 12}, {150.0 + index, 0.7, 20}, {250.0 + index, 0.55, 8}};
  return sun;
}

// "2024:05:10 06:00:00" plus `index` hours (up to 18 frames a day's light).
std::string ExifTimeOf(int index) {
  char text[32];
  std::snprintf(text, sizeof text, "2024:05:%02d %02d:%02d:00", 10 + index / 18, 6 + index % 18 / 2,
                index % 2 * 30);
  return text;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: helidisk_align_inputs FOLDER COUNT\n");
    return 2;
  }
  const QString folder = QString::fromLocal8Bit(argv[1]);
  const int count = std::stoi(argv[2]);
  QDir().mkpath(folder);
  for (int index = 0; index < count; ++index) {
    const QImage picture = helidisk::fakes::RedImage(FrameSun(index));
    const QByteArray jpeg =
        helidisk::fakes::JpegWithExif(picture, ExifTimeOf(index).c_str(), "+00:00");
    QFile file(QDir(folder).filePath(QStringLiteral("sun-%1.jpg").arg(index, 3, 10, QChar('0'))));
    if (!file.open(QIODevice::WriteOnly) || file.write(jpeg) != jpeg.size()) {
      std::fprintf(stderr, "helidisk_align_inputs: cannot write %s\n", qPrintable(file.fileName()));
      return 1;
    }
  }
  return 0;
}
