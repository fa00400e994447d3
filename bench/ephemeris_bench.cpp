#include <benchmark/benchmark.h>

#include "astronom.h"
#include "ephemeris.h"

namespace helidisk {
namespace {

void BM_ComputeSunEphemeris(benchmark::State& benchmarkState) {
  ViewState state;
  double julianDay = 2461041.5;
  for (auto _ : benchmarkState) {
    ComputeSunEphemeris(state, julianDay);
    benchmark::DoNotOptimize(state.SunL0);
    julianDay += 1.0 / 24;
  }
}
BENCHMARK(BM_ComputeSunEphemeris);

void BM_JulianDayRoundTrip(benchmark::State& benchmarkState) {
  std::int32_t hour = 0;
  for (auto _ : benchmarkState) {
    double julianDay = 0;
    DateToJulianDay(2026, 1, 1, 0, 0, 0, julianDay);
    julianDay = hour / 24.0 + julianDay;
    std::int32_t year = 0, month = 0, day = 0;
    double hours = 0, minutes = 0, seconds = 0;
    JulianDayToDate(year, month, day, hours, minutes, seconds, julianDay);
    benchmark::DoNotOptimize(day);
    benchmark::DoNotOptimize(hours);
    hour = (hour + 1) % 8737;
  }
}
BENCHMARK(BM_JulianDayRoundTrip);

}  // namespace
}  // namespace helidisk
