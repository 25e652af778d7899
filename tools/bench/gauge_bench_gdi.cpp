// The gauge on the real GDI. Google Benchmark is not available for the
// Windows build, so this times a fixed number of runs and prints the mean.
#include <windows.h>

#include <cstdio>

#include "platform/win32/win32_drawing.h"
#include "tools/bench/gauge_work.h"

namespace {

template <class Work>
void Time(const char* name, int runs, Work work) {
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  work();  // warm up
  QueryPerformanceCounter(&start);
  for (int i = 0; i < runs; ++i) work();
  QueryPerformanceCounter(&end);
  const double us = (end.QuadPart - start.QuadPart) * 1e6 / frequency.QuadPart / runs;
  std::printf("%-24s %8.1f us per run (%d runs)\n", name, us, runs);
}

}  // namespace

int main() {
  velocane::win32::Win32Drawing gdi;
  velocane::bench::GaugeWork work(gdi);
  Time("GdiPercentageStep", 2000, [&] { work.Step(); });
  Time("GdiFullPaint", 2000, [&] { work.FullPaint(); });
  return 0;
}
