#include <benchmark/benchmark.h>

#include "astronom.h"
#include "ephemeris.h"
#include "precisesun.h"

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

// Hour after hour, as a table or the scroll bar steps: the series of a
// segment are fitted once for 384 instants.
void BM_PreciseSunHourly(benchmark::State& benchmarkState) {
  double julianDay = 2461041.5;
  for (auto _ : benchmarkState) {
    benchmark::DoNotOptimize(ComputePreciseSun(julianDay, false).l0Rad);
    julianDay += 1.0 / 24;
    if (julianDay >= kEndPreciseJulianDay) julianDay = kFirstPreciseJulianDay;
  }
}
BENCHMARK(BM_PreciseSunHourly);

// Instants within one segment: the evaluation of the series alone.
void BM_PreciseSunWithinSegment(benchmark::State& benchmarkState) {
  const double start = 2461040.5;
  double offset = 0;
  for (auto _ : benchmarkState) {
    benchmark::DoNotOptimize(ComputePreciseSun(start + offset, false).l0Rad);
    offset = offset >= 3 ? 0 : offset + 0.001;
  }
}
BENCHMARK(BM_PreciseSunWithinSegment);

// Straight from ERFA, without the series.
void BM_PreciseSunDirect(benchmark::State& benchmarkState) {
  double julianDay = 2461041.5;
  for (auto _ : benchmarkState) {
    benchmark::DoNotOptimize(ComputePreciseSunDirect(julianDay, false).l0Rad);
    julianDay += 1.0 / 24;
  }
}
BENCHMARK(BM_PreciseSunDirect);

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
