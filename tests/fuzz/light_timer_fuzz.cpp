// Light timers started, stopped, suspended and given periods in any order,
// and WM_TIMER with any key: ticks reach only living timers, and nothing is
// left behind.
#include <memory>
#include <vector>

#include "components/LightTimer.h"
#include "platform/messages.h"
#include "platform/sim/sim_platform.h"
#include "tests/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace velocane;
  fuzz::Input input(data, size);
  sim::SimPlatform sim;
  const int windows = sim.windowing.LiveWindows();
  {
    std::vector<std::unique_ptr<TLightTimer>> timers;
    std::vector<int> ticks;
    const auto handler = [&](std::size_t index) {
      return [&ticks, index](TLightTimer&) { ++ticks[index]; };
    };
    while (!input.Empty()) {
      const std::uint8_t op = input.Byte();
      const std::size_t which = timers.empty() ? 0 : input.Byte() % timers.size();
      switch (op % 8) {
        case 0:
          if (timers.size() < 16) {
            ticks.push_back(0);
            timers.push_back(std::make_unique<TLightTimer>(sim.windowing, input.Byte() * 3u,
                                                           handler(ticks.size() - 1)));
          }
          break;
        case 1:
          if (!timers.empty()) timers[which]->SetRunning((op & 0x10) != 0);
          break;
        case 2:
          if (!timers.empty()) timers[which]->SetPeriod(input.Byte() * 3u);
          break;
        case 3:
          if (!timers.empty()) {
            timers[which]->SetTickHandler((op & 0x10) != 0 ? TLightTimerEvent{} : handler(which));
          }
          break;
        case 4:
          if (!timers.empty()) timers[which].reset();
          std::erase(timers, nullptr);
          break;
        case 5:
          sim.windowing.SendMessage(TLightTimerHandler::Window(), wm::kTimer, input.U64(), 0);
          break;
        case 6:
          sim.windowing.SendMessage(TLightTimerHandler::Window(), input.U32(), input.U64(), 0);
          break;
        default:
          sim.windowing.RunFor(input.Byte() * 5u);
          break;
      }
      // A system timer only for a timer that wants to run.
      int running = 0;
      for (const auto& timer : timers) running += timer->Running() ? 1 : 0;
      if (sim.windowing.LiveTimers() > running) __builtin_trap();
    }
  }
  if (TLightTimerHandler::Exists() || sim.windowing.LiveTimers() != 0 ||
      sim.windowing.LiveWindows() != windows) {
    __builtin_trap();
  }
  return 0;
}
