// PaintBackground of every fill on the software rasteriser (Google Benchmark).
#include <benchmark/benchmark.h>

#include "platform/sim/sim_drawing.h"
#include "tools/bench/background_work.h"

int main(int argc, char** argv) {
  using velocane::bench::BackgroundCase;
  for (const velocane::bench::BenchSize& size : velocane::bench::kBenchSizes) {
    for (const BackgroundCase& c : velocane::bench::BackgroundCases()) {
      benchmark::RegisterBenchmark(("BM_SimPaintBackground/" + c.name + "/" + size.name).c_str(),
                                   [c, size](benchmark::State& state) {
                                     velocane::sim::SimDrawing gdi;
                                     velocane::bench::BackgroundWork work(gdi, c, size.width,
                                                                          size.height);
                                     for (auto _ : state) work.Paint();
                                   })
          ->Unit(benchmark::kMillisecond);
    }
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
