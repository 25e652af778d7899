// Light timers on the simulation and on the real system: each tick reaches
// the timer its key names, starting again restarts the countdown, and the
// same period does not.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "components/LightTimer.h"
#include "tests/contract/backend.h"

namespace velocane {
namespace {

class LightTimerContract : public ::testing::Test {
 protected:
  TLightTimerEvent Log(const std::string& name) {
    return [this, name](TLightTimer&) { ticks.push_back(name); };
  }
  int Count(const std::string& name) const {
    return static_cast<int>(std::count(ticks.begin(), ticks.end(), name));
  }
  Windowing& windowing = contract::Backend().windowing;
  std::vector<std::string> ticks;
};

TEST_F(LightTimerContract, EachTickReachesTheTimerItsKeyNames) {
  std::vector<TLightTimer*> senders;
  TLightTimer a(windowing, 20, [&](TLightTimer& sender) { senders.push_back(&sender); });
  TLightTimer b(windowing, 20, Log("b"));
  a.SetRunning(true);
  b.SetRunning(true);
  ASSERT_TRUE(contract::PumpUntil([&] { return senders.size() >= 3 && Count("b") >= 3; }, 5000));
  for (TLightTimer* sender : senders) EXPECT_EQ(sender, &a);
}

// Ordering, not timing: a timer restarted first must tick after one whose
// countdown went on, whatever the system's delays.
TEST_F(LightTimerContract, StartingAgainRestartsTheSamePeriodDoesNot) {
  TLightTimer kept(windowing, 600, Log("kept"));
  TLightTimer restarted(windowing, 600, Log("restarted"));
  kept.SetRunning(true);
  restarted.SetRunning(true);
  contract::PumpUntil([] { return false; }, 300);
  ASSERT_TRUE(ticks.empty());
  EXPECT_TRUE(restarted.StartTimer());
  kept.SetPeriod(600);
  ASSERT_TRUE(contract::PumpUntil([&] { return Count("restarted") >= 1; }, 5000));
  ASSERT_GE(ticks.size(), 2u);
  EXPECT_EQ(ticks[0], "kept");
  EXPECT_TRUE(kept.Running());
  kept.SetRunning(false);
  EXPECT_FALSE(kept.StopTimer(true));  // no system timer under its key any more
}

}  // namespace
}  // namespace velocane
