// The gauge on the software rasteriser (Google Benchmark).
#include <benchmark/benchmark.h>

#include "platform/sim/sim_drawing.h"
#include "tools/bench/gauge_work.h"

namespace {

void BM_SimPercentageStep(benchmark::State& state) {
  velocane::sim::SimDrawing gdi;
  velocane::bench::GaugeWork work(gdi);
  for (auto _ : state) work.Step();
}
BENCHMARK(BM_SimPercentageStep)->Unit(benchmark::kMicrosecond);

void BM_SimFullPaint(benchmark::State& state) {
  velocane::sim::SimDrawing gdi;
  velocane::bench::GaugeWork work(gdi);
  for (auto _ : state) work.FullPaint();
}
BENCHMARK(BM_SimFullPaint)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
