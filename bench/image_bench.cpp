// Opening an observer's image and finding its disk, as the window does on
// File -> Open: a 2048 x 2048 JPEG photograph with the limb fit, and a
// 4096 x 4096 16-bit FITS image placed from its header.  The files are
// generated once, before the first run.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QTemporaryDir>
#include <string>
#include <vector>

#include "fits_writer.h"
#include "solarimage.h"
#include "synthetic_sun.h"

namespace helidisk {
namespace {

const QTemporaryDir& Directory() {
  static const QTemporaryDir directory;
  return directory;
}

QString JpegPath() {
  static const QString path = [] {
    QString file = Directory().filePath(QStringLiteral("sun-2048.jpg"));
    fakes::SyntheticSun sun = fakes::MakeSun(2048, 2048, 1030.4, 1011.7, 900.2, 0.02);
    sun.spots = {{40, 0.3, 15}, {200, 0.6, 25}};
    fakes::RedImage(sun).save(file, "JPEG", 92);
    return file;
  }();
  return path;
}

QString FitsPath() {
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

void OpenAndLocate(benchmark::State& state, const QString& path) {
  for (auto _ : state) {
    const SolarImage image = LoadSolarImage(path);
    benchmark::DoNotOptimize(LocateDisk(image));
  }
}

void BM_JpegOpenAndLimbFit2048(benchmark::State& state) { OpenAndLocate(state, JpegPath()); }
BENCHMARK(BM_JpegOpenAndLimbFit2048)->Unit(benchmark::kMillisecond);

void BM_FitsOpenAndHeaderPlacement4096(benchmark::State& state) {
  OpenAndLocate(state, FitsPath());
}
BENCHMARK(BM_FitsOpenAndHeaderPlacement4096)->Unit(benchmark::kMillisecond);

void BM_LimbFit2048(benchmark::State& state) {
  const QImage image = LoadSolarImage(JpegPath()).display;
  for (auto _ : state) benchmark::DoNotOptimize(FitLimb(image));
}
BENCHMARK(BM_LimbFit2048)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace helidisk
