// Messages nothing asked for, sent to the tray icon's handler window, the
// light timers' window, the main window, the application window and the about
// box of the running program: each is ignored, nothing shows, nothing
// changes, no timer ticks out of turn, a posted message that carries a
// pointer never reaches a window procedure, and afterwards the program does
// all it did before.
#include "tests/support/bad_messages.h"

#include <cstdio>

#include "app/OBAbout.h"
#include "tests/support/program_fixture.h"

namespace velocane::testing {
namespace {

using badmsg::Target;

constexpr unsigned kProbePeriod = 250;
const std::vector<Target> kTargets = {Target::kTrayHandler, Target::kLightTimers,
                                      Target::kMainWindow, Target::kApplicationWindow};

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
    for (Target target : kTargets) WatchPointers(Window(target));
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
    for (const TComponent* owner :
         {static_cast<const TComponent*>(form), static_cast<const TComponent*>(about_)}) {
      for (int i = 0; owner != nullptr && i < owner->ComponentCount(); ++i) {
        auto* control = dynamic_cast<TWinControl*>(owner->Components(i));
        if (control != nullptr && control->HandleAllocated()) {
          known.control_windows.push_back(control->Handle().value);
        }
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
      case Target::kAboutBox:
        return about_ != nullptr ? about_->Handle() : WindowHandle{};
    }
    return {};
  }
  // Counts every message with a pointer that reaches the window's procedures:
  // the simulated system sends none, and a posted one must be dropped.
  void WatchPointers(WindowHandle window) {
    sim.windowing.Subclass(window,
                           [this](std::uint32_t msg, std::uintptr_t wparam,
                                  std::intptr_t) -> std::optional<std::intptr_t> {
                             if (IsPointerMessage(msg, wparam))
                               ++pointers_arrived_[badmsg::MessageName(msg)];
                             return std::nullopt;
                           });
  }
  void Deliver(Target target, const badmsg::Message& m) {
    const WindowHandle window = Window(target);
    const auto wparam = static_cast<std::uintptr_t>(m.wparam);
    const auto lparam = static_cast<std::intptr_t>(m.lparam);
    if (m.post) {
      EXPECT_TRUE(sim.windowing.PostMessage(window, m.msg, wparam, lparam));
      if (IsPointerMessage(m.msg, wparam)) ++pointers_posted_;
    } else {
      sim.windowing.SendMessage(window, m.msg, wparam, lparam);
    }
    ++sent_[target];
  }
  // Everything is as it would be had no such message come.
  void ExpectUndisturbed(bool minimized, bool about = false) {
    EXPECT_EQ(Boxes().size(), boxes_);
    EXPECT_EQ(sim.registry.Writes().size(), writes_);
    EXPECT_EQ(form->Visible(), !minimized && !about);
    EXPECT_EQ(about_ != nullptr && about_->Visible(), about);
    EXPECT_EQ(form->CT1->IconVisible(), minimized);
    EXPECT_EQ(sim.notify_area.Find(TNotifyIconHandler::Window(), form->CT1->Id()) != nullptr,
              minimized);
    EXPECT_EQ(form->Label1->Caption(), "Acceleration successfully!");
    // Ticks only in turn: the icon's picture every 5 s, the probe every 250 ms.
    EXPECT_EQ(form->CT1->IconIndex(),
              static_cast<int>((sim.clock.Now() - cycle_start_) / 5000 % 2));
    EXPECT_EQ(probe_ticks_, static_cast<int>((sim.clock.Now() - probe_start_) / kProbePeriod));
    EXPECT_EQ(form->ListView1->ItemCount(), static_cast<int>(sim.shell.Ids().size()));
    EXPECT_TRUE(pointers_arrived_.empty())
        << "a posted pointer message reached a window, first " << pointers_arrived_.begin()->first;
  }
  // `count` drawn messages, with time passing now and then unless `settle` is off
  // (then whatever loop runs next handles them).
  void Storm(int count, std::uint32_t seed, const std::vector<Target>& targets, bool minimized,
             bool settle = true) {
    badmsg::Source source(seed);
    std::mt19937 pace(seed);
    for (int i = 0; i < count && !HasFailure(); ++i) {
      const Target target = targets[pace() % targets.size()];
      Deliver(target, source.Next(target, Known()));
      if (settle && i % 16 == 15) {
        sim.windowing.RunFor(pace() % 60);
        ExpectUndisturbed(minimized);
      }
    }
    if (settle) {
      sim.windowing.RunFor(100);
      ExpectUndisturbed(minimized);
    }
    for (const auto& [reason, draws] : source.LeftOut()) {
      std::printf("[ left out ] %6ld draws: %s\n", draws, reason.c_str());
    }
  }
  // Every message that carries a pointer, posted with lParam 0 and small
  // numbers to each of the windows.
  void PostPointers(const std::vector<Target>& targets) {
    for (const badmsg::Message& m : badmsg::PointerPosts()) {
      for (Target target : targets) Deliver(target, m);
    }
  }
  void PrintSent() const {
    for (const auto& [target, count] : sent_) {
      std::printf("[ sent ] %6d to the %s\n", count, badmsg::TargetName(target));
    }
    std::printf("[ sent ] %6d of them posted with a pointer's place taken by a number\n",
                pointers_posted_);
  }

  std::unique_ptr<TLightTimer> probe_;
  int probe_ticks_ = 0;
  std::uint64_t probe_start_ = 0, cycle_start_ = 0;
  std::size_t writes_ = 0, boxes_ = 0;
  std::map<Target, int> sent_;
  int pointers_posted_ = 0;
  std::map<std::string, int> pointers_arrived_;
  TAbout* about_ = nullptr;  // while the box is up
};

TEST_F(BadMessages, AreIgnoredAndTheProgramWorksOnAfterwards) {
  PostPointers(kTargets);
  sim.windowing.RunFor(100);
  ExpectUndisturbed(false);
  Storm(20000, 1, kTargets, false);

  // The about box's own loop, with the box among the windows.
  int rounds = 0;
  sim.windowing.SetModalResponder([&](WindowHandle dialog) {
    about_ = dynamic_cast<TAbout*>(form->FindComponent("About"));
    if (about_ == nullptr || about_->Handle() != dialog) {
      ADD_FAILURE() << "a modal window that is no about box";
      return false;
    }
    std::vector<Target> all = kTargets;
    all.push_back(Target::kAboutBox);
    if (rounds++ == 0) {
      WatchPointers(dialog);
      PostPointers(all);
      Storm(4000, 3, all, false, false);
      return true;
    }
    ExpectUndisturbed(false, true);
    static_cast<sim::SimButton*>(about_->Button1->Peer())->Click();
    return true;
  });
  ClickButton(form->Edit1);
  sim.windowing.SetModalResponder(nullptr);
  EXPECT_EQ(rounds, 2);
  about_ = nullptr;
  ExpectUndisturbed(false);

  // In the tray, with the icon taking clicks.
  ClickButton(form->SpeedButton4);
  ASSERT_TRUE(form->CT1->IconVisible());
  // The notice of a destruction that is not happening: both hidden windows live on.
  for (Target hidden : {Target::kTrayHandler, Target::kLightTimers}) {
    sim.windowing.SendMessage(Window(hidden), wm::kNcDestroy, 0, 0);
  }
  PostPointers(kTargets);
  sim.windowing.RunFor(100);
  ExpectUndisturbed(true);
  Storm(20000, 2, kTargets, true);
  PrintSent();

  // Everything still works: a click on the icon, the list, the commands, the close.
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
  sim.windowing.PostMessage(form->Handle(), wm::kClose, 0, 0);
  app->Run();
  for (RootKey root : {RootKey::CurrentUser, RootKey::CurrentConfig}) {
    EXPECT_EQ(Pair(root),
              std::make_pair(std::optional<std::uint32_t>(2), std::optional<std::uint32_t>(4)));
  }
  ASSERT_EQ(Boxes().size(), boxes_ + 1);
  EXPECT_EQ(Boxes().back().caption, "Warning");
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
