// spotted-sun SIDE FILE.png: writes a generated spotted Sun of SIDE x SIDE
// pixels (taken at 2026-06-15 10:30 UT, north up) for the detection's
// timings and the README's figures.
#include <QGuiApplication>
#include <QString>
#include <cstdio>
#include <string>

#include "spotted_sun_file.h"

int main(int argc, char* argv[]) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: spotted-sun SIDE FILE.png\n");
    return 2;
  }
  const int side = std::stoi(argv[1]);
  if (side < 64 || side > 8192) {
    std::fprintf(stderr, "spotted-sun: SIDE is 64 to 8192 pixels\n");
    return 2;
  }
  if (!helidisk::fakes::WriteSpottedSun(QString::fromLocal8Bit(argv[2]), side,
                                        helidisk::fakes::ActiveDaySpots())) {
    std::fprintf(stderr, "spotted-sun: cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
