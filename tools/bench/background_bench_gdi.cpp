// PaintBackground of every fill on the real GDI. Google Benchmark is not
// available for the Windows build: each case runs for at least a fifth of a
// second (and at least three times) and the mean is printed.
#include <windows.h>

#include <cstdio>

#include "platform/win32/win32_drawing.h"
#include "tools/bench/background_work.h"

int main() {
  velocane::win32::Win32Drawing gdi;
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  for (const velocane::bench::BenchSize& size : velocane::bench::kBenchSizes) {
    for (const velocane::bench::BackgroundCase& c : velocane::bench::BackgroundCases()) {
      velocane::bench::BackgroundWork work(gdi, c, size.width, size.height);
      work.Paint();  // warm up
      LARGE_INTEGER start, now;
      QueryPerformanceCounter(&start);
      int runs = 0;
      double seconds = 0;
      do {
        work.Paint();
        ++runs;
        QueryPerformanceCounter(&now);
        seconds = static_cast<double>(now.QuadPart - start.QuadPart) / frequency.QuadPart;
      } while (seconds < 0.2 || runs < 3);
      std::printf("GdiPaintBackground/%-28s %-10s %10.3f ms per run (%d runs)\n", c.name.c_str(),
                  size.name, seconds * 1e3 / runs, runs);
    }
  }
  return 0;
}
