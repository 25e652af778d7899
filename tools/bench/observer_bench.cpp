// One poll of the shell window observer on the simulated shell: the COM calls
// it makes, and its time (Google Benchmark), for 1, 10 and 50 browser windows.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>

#include "components/uShellWindowObserver.h"
#include "platform/framework/application.h"
#include "platform/sim/sim_platform.h"

namespace velocane {
namespace {

using sim::ShellCall;

// An observer that has already found `windows` browser windows.
class Polling {
 public:
  explicit Polling(int windows) {
    app_.Initialize();
    observer_ = new TShellWindowObserver(&app_);
    observer_->Active = true;
    for (int i = 0; i < windows; ++i) {
      const std::string n = std::to_string(i + 1);
      sim_.shell.Open(u"http://window" + std::u16string(n.begin(), n.end()) + u".example/",
                      u"Window " + std::u16string(n.begin(), n.end()));
    }
  }
  void Poll() { sim_.windowing.RunFor(TShellWindowObserver::kPollInterval); }
  sim::SimShell& Shell() { return sim_.shell; }

 private:
  sim::SimPlatform sim_;
  TApplication app_{sim_.platform};
  TShellWindowObserver* observer_;
};

void PrintCalls(const char* what, int windows, const sim::SimShell& shell) {
  std::printf(
      "%-12s %3d windows: %6d calls  (Count %d, Item %d, QueryInterface %d, "
      "LocationURL %d, LocationName %d, HWND %d)\n",
      what, windows, shell.TotalCalls(), shell.Calls(ShellCall::kCount),
      shell.Calls(ShellCall::kItem), shell.Calls(ShellCall::kQueryBrowser),
      shell.Calls(ShellCall::kLocationURL), shell.Calls(ShellCall::kLocationName),
      shell.Calls(ShellCall::kHwnd));
}

void PrintCallTable() {
  std::printf("COM calls of one poll:\n");
  for (int windows : {1, 10, 50}) {
    Polling polling(windows);
    polling.Shell().ResetCalls();
    polling.Poll();
    PrintCalls("first poll", windows, polling.Shell());
    polling.Shell().ResetCalls();
    polling.Poll();
    PrintCalls("steady poll", windows, polling.Shell());
  }
  std::printf("\n");
}

void BM_SteadyPoll(benchmark::State& state) {
  Polling polling(static_cast<int>(state.range(0)));
  polling.Poll();
  polling.Shell().ResetCalls();
  for (auto _ : state) polling.Poll();
  state.counters["com_calls"] = benchmark::Counter(
      static_cast<double>(polling.Shell().TotalCalls()), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_SteadyPoll)->Arg(1)->Arg(10)->Arg(50)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace velocane

int main(int argc, char** argv) {
  velocane::PrintCallTable();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
