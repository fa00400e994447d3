#include <benchmark/benchmark.h>

#include <cstdint>

#include "ephemeristable.h"
#include "instantseries.h"

namespace helidisk {
namespace {

// A year hourly: 8,760 rows from 1 January 2026, 0 h UT.
InstantSeries HourlyYear() { return {{2026, 1, 1, 0, 0}, 60, 8760}; }

// The rows' instants alone, counted in whole minutes from the first.
void BM_TableInstants(benchmark::State& benchmarkState) {
  const InstantSeries series = HourlyYear();
  for (auto _ : benchmarkState) {
    for (std::int64_t row = 0; row < series.count; ++row) {
      benchmark::DoNotOptimize(InstantAt(series, row));
    }
  }
  benchmarkState.SetItemsProcessed(benchmarkState.iterations() * series.count);
}
BENCHMARK(BM_TableInstants)->Unit(benchmark::kMillisecond);

// The instants and their ephemeris records, without formatting.
void BM_TableRecords(benchmark::State& benchmarkState) {
  const InstantSeries series = HourlyYear();
  for (auto _ : benchmarkState) {
    for (std::int64_t row = 0; row < series.count; ++row) {
      benchmark::DoNotOptimize(RecordOfInstant(InstantAt(series, row)));
    }
  }
  benchmarkState.SetItemsProcessed(benchmarkState.iterations() * series.count);
}
BENCHMARK(BM_TableRecords)->Unit(benchmark::kMillisecond);

// The whole table in each format, short of starting up and writing it; on
// all processors at once, so timed by the clock on the wall.
void TableInFormat(benchmark::State& benchmarkState, TableFormat format) {
  const InstantSeries series = HourlyYear();
  for (auto _ : benchmarkState) {
    const std::string table = EphemerisTable(series, format);
    benchmarkState.counters["bytes"] = static_cast<double>(table.size());
  }
  benchmarkState.SetItemsProcessed(benchmarkState.iterations() * series.count);
}

void BM_TableCsv(benchmark::State& state) { TableInFormat(state, TableFormat::Csv); }
BENCHMARK(BM_TableCsv)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_TableJson(benchmark::State& state) { TableInFormat(state, TableFormat::Json); }
BENCHMARK(BM_TableJson)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_TableText(benchmark::State& state) { TableInFormat(state, TableFormat::Text); }
BENCHMARK(BM_TableText)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace helidisk
