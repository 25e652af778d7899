// One poll of the shell window observer on the simulated shell, the observer's
// own poll beside the step-by-step one: the COM calls a poll makes, by kind,
// and its time (Google Benchmark), for 1, 10, 50 and 100 browser windows. On
// Windows each of these calls is a round trip to the shell's process; here the
// time is what the poll itself costs on the simulation.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "components/ShellWindowScan.h"
#include "components/uShellWindowObserver.h"
#include "platform/framework/application.h"
#include "platform/sim/sim_platform.h"
#include "tests/support/literal_shell_window_scan.h"

namespace velocane {
namespace {

using sim::ShellCall;

constexpr int kWindowCounts[] = {1, 10, 50, 100};

enum class Algorithm { kObservers, kStepByStep };

// An observer, polled by hand, and `windows` browser windows. One at a time:
// the browser under examination is shared by the observers of the process.
class Polling {
 public:
  Polling(int windows, Algorithm algorithm) : algorithm_(algorithm) {
    app_.Initialize();
    observer_ = new TShellWindowObserver(&app_);
    for (int i = 0; i < windows; ++i) {
      const std::string n = std::to_string(i + 1);
      ids_.push_back(
          sim_.shell.Open(u"http://window" + std::u16string(n.begin(), n.end()) + u".example/",
                          u"Window " + std::u16string(n.begin(), n.end())));
    }
    collection_ = sim_.shell.CreateShellWindows();
    sim_.shell.ResetCalls();
  }
  void Poll() {
    if (algorithm_ == Algorithm::kObservers) {
      TShellWindowScan(*observer_).Scan(*collection_);
    } else {
      TLiteralShellWindowScan(*observer_).Scan(*collection_);
    }
  }
  void CloseFirst() { sim_.shell.Close(ids_.front()); }
  sim::SimShell& Shell() { return sim_.shell; }

 private:
  Algorithm algorithm_;
  sim::SimPlatform sim_;
  TApplication app_{sim_.platform};
  TShellWindowObserver* observer_;  // owned by the application
  std::vector<int> ids_;
  ShellWindowsRef collection_;
};

constexpr ShellCall kKinds[] = {ShellCall::kCount,        ShellCall::kItem,
                                ShellCall::kQueryBrowser, ShellCall::kLocationURL,
                                ShellCall::kLocationName, ShellCall::kHwnd};

struct Calls {
  int total = 0;
  int by_kind[std::size(kKinds)] = {};
};

Calls Take(sim::SimShell& shell) {
  Calls calls;
  calls.total = shell.TotalCalls();
  for (std::size_t k = 0; k < std::size(kKinds); ++k) calls.by_kind[k] = shell.Calls(kKinds[k]);
  shell.ResetCalls();
  return calls;
}

// The first poll (every window new), a steady one (nothing changed) and one
// after the first window closed (W - 1 windows left).
std::array<Calls, 3> CallsOf(int windows, Algorithm algorithm) {
  Polling polling(windows, algorithm);
  std::array<Calls, 3> calls;
  polling.Poll();
  calls[0] = Take(polling.Shell());
  polling.Poll();
  calls[1] = Take(polling.Shell());
  polling.CloseFirst();
  polling.Poll();
  calls[2] = Take(polling.Shell());
  return calls;
}

std::string Cell(int observers, int step_by_step) {
  return std::to_string(observers) + " / " + std::to_string(step_by_step);
}

void PrintCallTable() {
  std::printf("COM calls of one poll, the observer's / step by step:\n");
  std::printf("%4s  %-12s %-14s %-10s %-12s %-15s %-12s %-13s %-12s\n", "W", "poll", "total",
              "Count", "Item", "QueryInterface", "LocationURL", "LocationName", "HWND");
  const char* const kPolls[] = {"first", "steady", "first closed"};
  for (int windows : kWindowCounts) {
    const auto observers = CallsOf(windows, Algorithm::kObservers);
    const auto step = CallsOf(windows, Algorithm::kStepByStep);
    for (std::size_t p = 0; p < 3; ++p) {
      std::printf("%4d  %-12s %-14s", windows, kPolls[p],
                  Cell(observers[p].total, step[p].total).c_str());
      const int widths[] = {10, 12, 15, 12, 13, 12};
      for (std::size_t k = 0; k < std::size(kKinds); ++k) {
        std::printf(" %-*s", widths[k], Cell(observers[p].by_kind[k], step[p].by_kind[k]).c_str());
      }
      std::printf("\n");
    }
  }
  std::printf("\n");
}

void SteadyPoll(benchmark::State& state, Algorithm algorithm) {
  Polling polling(static_cast<int>(state.range(0)), algorithm);
  polling.Poll();
  polling.Shell().ResetCalls();
  for (auto _ : state) polling.Poll();
  state.counters["com_calls"] = benchmark::Counter(
      static_cast<double>(polling.Shell().TotalCalls()), benchmark::Counter::kAvgIterations);
}
void BM_ObserversPoll(benchmark::State& state) { SteadyPoll(state, Algorithm::kObservers); }
void BM_StepByStepPoll(benchmark::State& state) { SteadyPoll(state, Algorithm::kStepByStep); }
BENCHMARK(BM_ObserversPoll)->Arg(1)->Arg(10)->Arg(50)->Arg(100)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StepByStepPoll)->Arg(1)->Arg(10)->Arg(50)->Arg(100)->Unit(benchmark::kMicrosecond);

// The usual console output, and the steady times of both polls side by side at the end.
class SideBySide : public benchmark::ConsoleReporter {
 public:
  SideBySide() : ConsoleReporter(OO_Tabular) {}
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration || run.error_occurred) continue;
      const std::string name = run.benchmark_name();
      const std::size_t slash = name.find('/');
      if (slash == std::string::npos) continue;
      const int windows = std::stoi(name.substr(slash + 1));
      const double microseconds =
          run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit) * 1e6;
      (name.starts_with("BM_ObserversPoll") ? observers_ : step_)[windows] = microseconds;
    }
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    std::printf("\nTime of one steady poll on the simulation (microseconds):\n");
    std::printf("%4s  %16s  %14s  %8s\n", "W", "observer's poll", "step by step", "ratio");
    for (int windows : kWindowCounts) {
      if (!observers_.contains(windows) || !step_.contains(windows)) continue;
      std::printf("%4d  %16.2f  %14.2f  %7.1fx\n", windows, observers_[windows], step_[windows],
                  step_[windows] / observers_[windows]);
    }
  }

 private:
  std::map<int, double> observers_;
  std::map<int, double> step_;
};

}  // namespace
}  // namespace velocane

int main(int argc, char** argv) {
  velocane::PrintCallTable();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  velocane::SideBySide reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
