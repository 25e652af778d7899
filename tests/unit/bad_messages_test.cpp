// Messages nothing asked for, sent to the tray icon's handler window, the
// light timers' window, the main window and the application window of the
// running program: each is ignored, nothing shows, nothing changes, no timer
// ticks out of turn, and afterwards the program does all it did before.
#include "tests/bad_messages/bad_messages.h"

#include <cstdio>

#include "tests/unit/program_fixture.h"

namespace velocane::testing {
namespace {

using badmsg::Target;

constexpr unsigned kProbePeriod = 250;
constexpr Target kTargets[] = {Target::kTrayHandler, Target::kLightTimers, Target::kMainWindow,
                               Target::kApplicationWindow};

class BadMessages : public ProgramTest {
 protected:
  void SetUp() override {
    Start().Show();
    sim.shell.Open(u"http://a.example/", u"A");
    sim.windowing.RunFor(200);
    // The icon cycles from here on, on its own light timer.
    ClickButton(form->SpeedButton1);
    ASSERT_TRUE(form->CT1->CycleIcons());
    cycle_start_ = sim.clock.Now();
    // A light timer of the test's own on the shared window, to count its ticks.
    probe_ = std::make_unique<TLightTimer>(sim.windowing, kProbePeriod,
                                           [this](TLightTimer&) { ++probe_ticks_; });
    probe_->SetRunning(true);
    probe_start_ = sim.clock.Now();
    writes_ = sim.registry.Writes().size();
    boxes_ = Boxes().size();
  }
  void TearDown() override {
    probe_.reset();
    app.reset();
    EXPECT_EQ(sim.windowing.LiveTimers(), 0);
    EXPECT_EQ(sim.widgets.LivePeers(), 0);
  }

  badmsg::Known Known() {
    badmsg::Known known;
    known.icon_id = form->CT1->Id();
    known.registered = {sim.windowing.RegisterWindowMessage("TaskbarCreated")};
    for (int i = 0; i < form->ComponentCount(); ++i) {
      auto* control = dynamic_cast<TWinControl*>(form->Components(i));
      if (control != nullptr && control->HandleAllocated()) {
        known.control_windows.push_back(control->Handle().value);
      }
    }
    known.timer_keys = {probe_->Key()};
    return known;
  }
  WindowHandle Window(Target target) const {
    switch (target) {
      case Target::kTrayHandler:
        return TNotifyIconHandler::Window();
      case Target::kLightTimers:
        return TLightTimerHandler::Window();
      case Target::kMainWindow:
        return form->Handle();
      case Target::kApplicationWindow:
        return app->Handle();
    }
    return {};
  }
  void Deliver(Target target, const badmsg::Message& m) {
    const WindowHandle window = Window(target);
    const auto wparam = static_cast<std::uintptr_t>(m.wparam);
    const auto lparam = static_cast<std::intptr_t>(m.lparam);
    if (m.post) {
      EXPECT_TRUE(sim.windowing.PostMessage(window, m.msg, wparam, lparam));
    } else {
      sim.windowing.SendMessage(window, m.msg, wparam, lparam);
    }
    ++sent_[target];
  }
  // Everything is as it would be had no such message come.
  void ExpectUndisturbed(bool minimized) {
    EXPECT_EQ(Boxes().size(), boxes_);
    EXPECT_EQ(sim.registry.Writes().size(), writes_);
    EXPECT_EQ(form->Visible(), !minimized);
    EXPECT_EQ(form->CT1->IconVisible(), minimized);
    EXPECT_EQ(sim.notify_area.Find(TNotifyIconHandler::Window(), form->CT1->Id()) != nullptr,
              minimized);
    EXPECT_EQ(form->Label1->Caption(), "Acceleration successfully!");
    // Ticks only in turn: the icon's picture every 5 s, the probe every 250 ms.
    EXPECT_EQ(form->CT1->IconIndex(),
              static_cast<int>((sim.clock.Now() - cycle_start_) / 5000 % 2));
    EXPECT_EQ(probe_ticks_, static_cast<int>((sim.clock.Now() - probe_start_) / kProbePeriod));
    EXPECT_EQ(form->ListView1->ItemCount(), static_cast<int>(sim.shell.Ids().size()));
  }
  void Storm(int count, std::uint32_t seed, bool minimized) {
    badmsg::Source source(seed);
    std::mt19937 pace(seed);
    for (int i = 0; i < count && !HasFailure(); ++i) {
      const Target target = kTargets[pace() % 4];
      Deliver(target, source.Next(target, Known()));
      if (i % 16 == 15) {
        sim.windowing.RunFor(pace() % 60);
        ExpectUndisturbed(minimized);
      }
    }
    sim.windowing.RunFor(100);
    ExpectUndisturbed(minimized);
    for (const auto& [reason, draws] : source.LeftOut()) {
      std::printf("[ left out ] %6ld draws: %s\n", draws, reason.c_str());
    }
  }
  void PrintSent() const {
    for (const auto& [target, count] : sent_) {
      std::printf("[ sent ] %6d to the %s\n", count, badmsg::TargetName(target));
    }
  }

  std::unique_ptr<TLightTimer> probe_;
  int probe_ticks_ = 0;
  std::uint64_t probe_start_ = 0, cycle_start_ = 0;
  std::size_t writes_ = 0, boxes_ = 0;
  std::map<Target, int> sent_;
};

TEST_F(BadMessages, AreIgnoredAndTheProgramWorksOnAfterwards) {
  Storm(20000, 1, false);

  // In the tray, with the icon taking clicks.
  ClickButton(form->SpeedButton4);
  ASSERT_TRUE(form->CT1->IconVisible());
  // The notice of a destruction that is not happening: both hidden windows live on.
  for (Target hidden : {Target::kTrayHandler, Target::kLightTimers}) {
    sim.windowing.SendMessage(Window(hidden), wm::kNcDestroy, 0, 0);
  }
  Storm(20000, 2, true);
  PrintSent();

  // Everything still works: a click on the icon, the list, the commands.
  sim.notify_area.Notify(TNotifyIconHandler::Window(), form->CT1->Id(),
                         {wm::kLButtonDown, wm::kLButtonUp});
  EXPECT_TRUE(form->Visible());
  EXPECT_FALSE(form->CT1->IconVisible());
  sim.shell.Open(u"http://b.example/", u"B");
  sim.windowing.RunFor(TShellWindowObserver::kPollInterval);
  EXPECT_EQ(form->ListView1->ItemCount(), 2);
  ClickButton(form->SpeedButton2);
  EXPECT_FALSE(form->Memo1->Visible());
  sim.windowing.RunFor(5000);
  EXPECT_TRUE(form->Memo1->Visible());
  ClickButton(form->SpeedButton3);
  EXPECT_EQ(Pair(RootKey::CurrentUser),
            std::make_pair(std::optional<std::uint32_t>(2), std::optional<std::uint32_t>(4)));
  EXPECT_FALSE(form->CT1->CycleIcons());
  ClickButton(form->SpeedButton1);
  EXPECT_EQ(Pair(RootKey::CurrentConfig),
            std::make_pair(std::optional<std::uint32_t>(6), std::optional<std::uint32_t>(8)));
  EXPECT_EQ(Boxes().size(), boxes_);
  EXPECT_GT(probe_ticks_, 0);
}

// The shell's id and notification are 32-bit values; wider ones that would
// name the icon once cut short come from elsewhere, and a click made of them
// must not bring the window back.
TEST_F(BadMessages, ATrayCallbackWithWiderIdsOrNotificationsIsNoClick) {
  ClickButton(form->SpeedButton4);
  ASSERT_FALSE(form->Visible());
  const std::uint64_t id = form->CT1->Id();
  const std::int64_t down = wm::kLButtonDown, up = wm::kLButtonUp;
  constexpr std::int64_t kHigh = std::int64_t{1} << 32;
  struct Case {
    const char* what;
    std::uint64_t wparam;
    std::int64_t down, up;
  } const cases[] = {
      {"the id with bit 32 set", id | std::uint64_t{1} << 32, down, up},
      {"the id with the upper half all ones", id | 0xFFFFFFFF00000000u, down, up},
      {"the notifications with bit 32 set", id, down | kHigh, up | kHigh},
      {"negative notifications", id, down - kHigh, up - kHigh},
      {"the next id", id + 1, down, up},
      {"id 0", 0, down, up},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    for (std::int64_t notification : {c.down, c.up}) {
      sim.windowing.SendMessage(TNotifyIconHandler::Window(), kTrayCallbackMessage,
                                static_cast<std::uintptr_t>(c.wparam),
                                static_cast<std::intptr_t>(notification));
    }
    EXPECT_FALSE(form->Visible());
    EXPECT_TRUE(form->CT1->IconVisible());
  }
  // The shell's own click still does it.
  sim.notify_area.Notify(TNotifyIconHandler::Window(), form->CT1->Id(),
                         {wm::kLButtonDown, wm::kLButtonUp});
  EXPECT_TRUE(form->Visible());
}

}  // namespace
}  // namespace velocane::testing
