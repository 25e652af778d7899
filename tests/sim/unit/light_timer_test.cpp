// Light timers on virtual time: the suspended states, the shared window's life.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "components/LightTimer.h"
#include "platform/messages.h"
#include "platform/sim/sim_platform.h"

namespace velocane {
namespace {

class LightTimerTest : public ::testing::Test {
 protected:
  // The virtual times at which `timer` ticked.
  TLightTimerEvent Recorder(std::vector<std::uint64_t>& ticks) {
    return [this, &ticks](TLightTimer&) { ticks.push_back(sim.clock.Now()); };
  }
  sim::SimPlatform sim;
};

TEST_F(LightTimerTest, PeriodZeroSuspendsAndANewPeriodResumes) {
  std::vector<std::uint64_t> ticks;
  TLightTimer timer(sim.windowing, 100, Recorder(ticks));
  timer.SetRunning(true);
  sim.windowing.RunFor(250);
  EXPECT_EQ(ticks, (std::vector<std::uint64_t>{100, 200}));
  timer.SetPeriod(0);
  EXPECT_TRUE(timer.Running());  // the wish to run stays
  sim.windowing.RunFor(1000);
  EXPECT_EQ(ticks.size(), 2u);
  timer.SetPeriod(500);  // at 1250
  sim.windowing.RunFor(1100);
  EXPECT_EQ(ticks, (std::vector<std::uint64_t>{100, 200, 1750, 2250}));
}

TEST_F(LightTimerTest, StartingWithPeriodZeroDoesNothing) {
  std::vector<std::uint64_t> ticks;
  TLightTimer timer(sim.windowing, 0, Recorder(ticks));
  EXPECT_FALSE(timer.StartTimer());
  timer.SetRunning(true);
  EXPECT_FALSE(timer.Running());
  EXPECT_EQ(sim.windowing.LiveTimers(), 0);
}

TEST_F(LightTimerTest, AnEmptyHandlerSuspendsAndAssigningOneNeverStarts) {
  std::vector<std::uint64_t> ticks;
  TLightTimer timer(sim.windowing, 100, Recorder(ticks));
  timer.SetRunning(true);
  timer.SetTickHandler(nullptr);
  EXPECT_TRUE(timer.Running());
  EXPECT_EQ(sim.windowing.LiveTimers(), 0);
  timer.SetTickHandler(Recorder(ticks));
  EXPECT_EQ(sim.windowing.LiveTimers(), 0);  // a handler starts nothing
  sim.windowing.RunFor(500);
  EXPECT_TRUE(ticks.empty());
  EXPECT_TRUE(timer.StartTimer());
  sim.windowing.RunFor(100);
  EXPECT_EQ(ticks, std::vector<std::uint64_t>{600});
}

TEST_F(LightTimerTest, SamePeriodKeepsTheCountdownStartingAgainRestartsIt) {
  std::vector<std::uint64_t> ticks;
  TLightTimer timer(sim.windowing, 100, Recorder(ticks));
  timer.SetRunning(true);
  sim.windowing.RunFor(60);
  timer.SetPeriod(100);
  sim.windowing.RunFor(60);
  EXPECT_EQ(ticks, std::vector<std::uint64_t>{100});
  timer.SetRunning(true);  // at 120: the next tick comes at 220
  sim.windowing.RunFor(150);
  EXPECT_EQ(ticks, (std::vector<std::uint64_t>{100, 220}));
}

TEST_F(LightTimerTest, EachTickReachesOnlyTheTimerItsKeyNames) {
  std::vector<std::uint64_t> a_ticks, b_ticks;
  TLightTimer a(sim.windowing, 100, Recorder(a_ticks));
  TLightTimer b(sim.windowing, 100, Recorder(b_ticks));
  a.SetRunning(true);
  sim.windowing.RunFor(50);
  b.SetRunning(true);
  sim.windowing.RunFor(200);
  EXPECT_EQ(a_ticks, (std::vector<std::uint64_t>{100, 200}));
  EXPECT_EQ(b_ticks, (std::vector<std::uint64_t>{150, 250}));
  EXPECT_NE(a.Key(), b.Key());
}

TEST_F(LightTimerTest, OneSharedWindowFromTheFirstTimerToTheLast) {
  const int before = sim.windowing.LiveWindows();
  auto first = std::make_unique<TLightTimer>(sim.windowing);
  const WindowHandle window = TLightTimerHandler::Window();
  ASSERT_TRUE(window);
  auto second = std::make_unique<TLightTimer>(sim.windowing);
  EXPECT_EQ(TLightTimerHandler::Window(), window);
  EXPECT_EQ(sim.windowing.LiveWindows(), before + 1);
  second->SetRunning(true);
  first.reset();
  EXPECT_TRUE(TLightTimerHandler::Exists());
  second.reset();
  EXPECT_FALSE(TLightTimerHandler::Exists());
  EXPECT_EQ(sim.windowing.LiveWindows(), before);
  EXPECT_EQ(sim.windowing.LiveTimers(), 0);
  // A timer made afterwards gets a window of its own again.
  TLightTimer again(sim.windowing);
  EXPECT_TRUE(TLightTimerHandler::Window());
}

TEST_F(LightTimerTest, TicksWithUnknownKeysAndOtherMessagesDoNothing) {
  std::vector<std::uint64_t> ticks;
  TLightTimer timer(sim.windowing, 100, Recorder(ticks));
  const WindowHandle window = TLightTimerHandler::Window();
  EXPECT_EQ(sim.windowing.SendMessage(window, wm::kTimer, timer.Key() + 1, 0), 0);
  EXPECT_EQ(sim.windowing.SendMessage(window, wm::kTimer, 0, 0), 0);
  sim.windowing.SendMessage(window, wm::kUser + 7, timer.Key(), 0);
  EXPECT_TRUE(ticks.empty());
  // Its own key reaches it, whether the timer runs or not.
  sim.windowing.SendMessage(window, wm::kTimer, timer.Key(), 0);
  EXPECT_EQ(ticks.size(), 1u);
}

// SetTimer as the system answers a null window: a thread timer under an id of
// its own, which no tick of the key names and no KillTimer of the key ends.
class ThreadTimerWindowing : public sim::SimWindowing {
 public:
  using SimWindowing::SimWindowing;
  SysResult SetTimer(WindowHandle window, std::uintptr_t id, unsigned milliseconds) override {
    if (window) return SimWindowing::SetTimer(window, id, milliseconds);
    ++thread_timers;
    return SysResult{};
  }
  bool KillTimer(WindowHandle window, std::uintptr_t id) override {
    return window && SimWindowing::KillTimer(window, id);
  }
  int thread_timers = 0;
};

TEST_F(LightTimerTest, WithoutTheSharedWindowATimerStaysIdleAndAsksTheSystemForNothing) {
  ThreadTimerWindowing windowing(sim.clock);
  windowing.FailNextCreate(8);
  std::vector<std::uint64_t> ticks;
  TLightTimer timer(windowing, 100, Recorder(ticks));
  ASSERT_FALSE(TLightTimerHandler::Window());
  EXPECT_FALSE(timer.StartTimer());
  timer.SetRunning(true);
  EXPECT_FALSE(timer.Running());
  timer.SetPeriod(200);
  EXPECT_FALSE(timer.Running());
  EXPECT_EQ(windowing.thread_timers, 0);
  EXPECT_FALSE(timer.StopTimer(true));
}

TEST_F(LightTimerTest, ARefusedSystemTimerLeavesItIdle) {
  std::vector<std::uint64_t> ticks;
  TLightTimer timer(sim.windowing, 100, Recorder(ticks));
  sim.windowing.FailNextSetTimer(8);
  EXPECT_FALSE(timer.StartTimer());
  EXPECT_FALSE(timer.Running());
  EXPECT_FALSE(timer.StopTimer(true));  // no system timer under the key
}

}  // namespace
}  // namespace velocane
