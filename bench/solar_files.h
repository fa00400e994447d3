// Solar images for the benchmarks, generated once per run with the tests'
// synthetic Sun: a 2048 x 2048 JPEG photograph without a header and a
// 4096 x 4096 16-bit FITS image with a level-1 helioprojective header.
#pragma once

#include <QImage>
#include <QString>
#include <QTemporaryDir>
#include <string>
#include <vector>

#include "fits_writer.h"
#include "synthetic_sun.h"

namespace helidisk::bench {

inline const QTemporaryDir& Directory() {
  static const QTemporaryDir directory;
  return directory;
}

inline QString JpegPath() {
  static const QString path = [] {
    QString file = Directory().filePath(QStringLiteral("sun-2048.jpg"));
    fakes::SyntheticSun sun = fakes::MakeSun(2048, 2048, 1030.4, 1011.7, 900.2, 0.02);
    sun.spots = {{40, 0.3, 15}, {200, 0.6, 25}};
    fakes::RedImage(sun).save(file, "JPEG", 92);
    return file;
  }();
  return path;
}

inline QString FitsPath() {
  static const QString path = [] {
    constexpr int kSide = 4096;
    QString file = Directory().filePath(QStringLiteral("sun-4096.fits"));
    // Level-1 counts of a 16-bit camera, stored with BZERO = 32768; FITS
    // rows run upward, which a symmetric disk does not mind.
    const std::vector<float> intensities =
        fakes::Intensities(fakes::MakeSun(kSide, kSide, 2050.2, 2044.9, 1577.5, 0.01));
    std::vector<double> raw(intensities.size());
    for (std::size_t i = 0; i < raw.size(); ++i) raw[i] = 20000.0 * intensities[i] - 32768.0 + 100;
    fakes::WriteFits(file.toStdString(), 16, kSide, kSide, raw,
                     {{"BZERO", 32768.0},
                      {"CTYPE1", std::string("HPLN-TAN")},
                      {"CTYPE2", std::string("HPLT-TAN")},
                      {"CUNIT1", std::string("arcsec")},
                      {"CUNIT2", std::string("arcsec")},
                      {"CDELT1", 0.6},
                      {"CDELT2", 0.6},
                      {"CRPIX1", 2048.5},
                      {"CRPIX2", 2048.5},
                      {"CRVAL1", 1.2},
                      {"CRVAL2", -2.3},
                      {"CROTA2", 0.07},
                      {"RSUN_OBS", 946.5},
                      {"DATE-OBS", std::string("2017-07-18T12:00:00")}});
    return file;
  }();
  return path;
}

}  // namespace helidisk::bench
