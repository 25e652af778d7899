// The framework's own rules: ownership and removal notices, the error box for
// escaping errors, window timers on virtual time, focus, check box clicks.
#include <gtest/gtest.h>

#include "platform/framework/application.h"
#include "platform/framework/exceptions.h"
#include "platform/framework/forms.h"
#include "platform/framework/process_wide.h"
#include "platform/framework/stdctrls.h"
#include "platform/framework/timer.h"
#include "platform/messages.h"
#include "platform/sim/sim_platform.h"
#include "platform/sim/sim_widgets.h"

namespace velocane {
namespace {

// Records its own destruction and the removal notices it is given.
class Probe : public TComponent {
 public:
  Probe(TComponent* owner, std::string name, std::vector<std::string>* log)
      : TComponent(owner, std::move(name)), log_(log) {}
  ~Probe() override { log_->push_back("free " + Name()); }

 protected:
  void Notification(TComponent* component, TOperation operation) override {
    if (operation == TOperation::opRemove) log_->push_back(Name() + " told " + component->Name());
  }

 private:
  std::vector<std::string>* log_;
};

TEST(ComponentTest, OwnerFreesWhatItOwnsAndTellsTheOthers) {
  std::vector<std::string> log;
  {
    Probe owner(nullptr, "owner", &log);
    new Probe(&owner, "a", &log);
    auto* b = new Probe(&owner, "b", &log);
    new Probe(&owner, "c", &log);
    EXPECT_EQ(owner.ComponentCount(), 3);
    EXPECT_EQ(owner.FindComponent("b"), b);
    delete b;  // freed early: the owner forgets it and tells the rest
    EXPECT_EQ(owner.ComponentCount(), 2);
    EXPECT_EQ(log, (std::vector<std::string>{"free b", "a told b", "c told b", "owner told b"}));
    log.clear();
  }
  // Newest first; each removal is announced to the components still there
  // (the owner itself is past its own destructor by then).
  EXPECT_EQ(log, (std::vector<std::string>{"free owner", "free c", "a told c", "free a"}));
}

TEST(ComponentTest, FreeNotificationAcrossOwners) {
  std::vector<std::string> log;
  Probe one(nullptr, "one", &log);
  auto* watched = new Probe(nullptr, "watched", &log);
  one.FreeNotification(watched);
  delete watched;
  EXPECT_EQ(log, (std::vector<std::string>{"free watched", "one told watched"}));
}

class FrameworkTest : public ::testing::Test {
 protected:
  FrameworkTest() {
    app.Initialize();
    app.SetTitle("Velocane 3.12");
    form = &app.CreateForm<TForm>("Form1");
  }
  sim::SimPlatform sim;
  TApplication app{sim.platform};
  TForm* form = nullptr;
};

TEST_F(FrameworkTest, EscapingErrorShowsTheErrorBoxAndTheProgramGoesOn) {
  auto* box = new TCheckBox(form, "Box");
  box->SetParent(form);
  int clicks = 0;
  box->OnClick = [&](TComponent&) {
    ++clicks;
    throw ERegistryException("Failed to set data for 'Velocane'");
  };
  box->UserClick();
  box->UserClick();
  EXPECT_EQ(clicks, 2);
  ASSERT_EQ(sim.windowing.MessageBoxes().size(), 2u);
  const sim::ShownMessageBox& shown = sim.windowing.MessageBoxes()[0];
  EXPECT_EQ(shown.text, "Failed to set data for 'Velocane'");
  EXPECT_EQ(shown.caption, "Velocane 3.12");
  EXPECT_EQ(shown.flags, mb::kOk | mb::kIconError);
}

// Whatever escapes input handling is shown, of whatever type it is: clicks,
// painting and the mouse on windowless controls alike.
TEST_F(FrameworkTest, ErrorsOfAnyKindFromInputPaintAndMouseAreShown) {
  auto* button = new TButton(form, "Button");
  button->SetParent(form);
  button->OnClick = [](TComponent&) { throw 42; };
  button->UserClick();

  class Throwing : public TControl {
   public:
    using TControl::TControl;
    void Paint(Canvas&) override { throw EInvalidOperation("paint failed"); }
    void MouseDown(Point) override { throw EConvertError("mouse failed"); }
  };
  form->SetClientSize(100, 100);
  auto* throwing = new Throwing(form, "Throwing");
  throwing->SetBounds(0, 0, 50, 50);
  throwing->SetParent(form);
  auto* window = static_cast<sim::SimForm*>(form->Peer());
  window->Render();
  window->MouseClick(Point{10, 10});

  std::vector<std::string> texts;
  for (const sim::ShownMessageBox& shown : sim.windowing.MessageBoxes())
    texts.push_back(shown.text);
  EXPECT_EQ(texts, (std::vector<std::string>{TApplication::kUnknownErrorText, "paint failed",
                                             "mouse failed"}));
}

TEST_F(FrameworkTest, ErrorsThrownInAWindowProcedureAreShown) {
  CreateWindowResult created = sim.windowing.CreateHiddenWindow(
      "Throwing", "", true,
      [](std::uint32_t, std::uintptr_t, std::intptr_t) -> std::optional<std::intptr_t> {
        throw ERegistryException("Failed to set data for 'x'");
      });
  sim.windowing.PostMessage(created.handle, wm::kUser, 0, 0);
  sim.windowing.RunFor(0);
  ASSERT_EQ(sim.windowing.MessageBoxes().size(), 1u);
  EXPECT_EQ(sim.windowing.MessageBoxes()[0].text, "Failed to set data for 'x'");
  sim.windowing.DestroyWindow(created.handle);
}

TEST_F(FrameworkTest, FailedTimerRaisesTheSystemsErrorWithItsText) {
  auto* timer = new TTimer(form, "Timer");
  timer->SetOnTimer([](TComponent&) {});
  timer->SetEnabled(false);
  sim.windowing.FailNextSetTimer(8);
  try {
    timer->SetEnabled(true);
    FAIL() << "the timer started";
  } catch (const EOSError& error) {
    EXPECT_EQ(error.Code(), 8u);
    EXPECT_STREQ(error.what(),
                 "Not enough memory resources are available to process this command.");
  }
}

// A process-wide object: made by the first user, the same for the others,
// freed with the last (no longer current while it goes), made anew for the
// next; a make that fails leaves none behind.
struct SharedProbe {
  explicit SharedProbe(std::vector<std::string>* log) : log(log) { log->push_back("made"); }
  ~SharedProbe() {
    log->push_back(TProcessWide<SharedProbe>::Current() == nullptr ? "freed"
                                                                   : "freed, still current");
  }
  std::vector<std::string>* log;
};

TEST(ProcessWideTest, TheFirstUserMakesItAndTheLastFreesIt) {
  using Shared = TProcessWide<SharedProbe>;
  std::vector<std::string> log;
  const auto make = [&] { return std::make_shared<SharedProbe>(&log); };
  EXPECT_EQ(Shared::Current(), nullptr);
  std::shared_ptr<SharedProbe> first = Shared::Acquire(make);
  std::shared_ptr<SharedProbe> second = Shared::Acquire(make);
  EXPECT_EQ(first, second);
  EXPECT_EQ(Shared::Current(), first.get());
  first.reset();
  EXPECT_EQ(Shared::Current(), second.get());
  EXPECT_EQ(log, std::vector<std::string>{"made"});
  second.reset();
  EXPECT_EQ(Shared::Current(), nullptr);
  EXPECT_EQ(log, (std::vector<std::string>{"made", "freed"}));
  EXPECT_THROW(
      Shared::Acquire([]() -> std::shared_ptr<SharedProbe> { throw EInvalidOperation("no"); }),
      EInvalidOperation);
  EXPECT_EQ(Shared::Current(), nullptr);
  std::shared_ptr<SharedProbe> again = Shared::Acquire(make);
  EXPECT_EQ(Shared::Current(), again.get());
  again.reset();
  EXPECT_EQ(log, (std::vector<std::string>{"made", "freed", "made", "freed"}));
}

TEST(ApplicationTest, FailedComInitialisationIsKeptForWhoNeedsCom) {
  sim::SimPlatform sim;
  sim.com.fail_with = static_cast<HResult>(0x80004005);  // E_FAIL
  TApplication app(sim.platform);
  app.Initialize();
  EXPECT_EQ(app.ComStatus(), static_cast<HResult>(0x80004005));
  try {
    app.RequireCom();
    FAIL() << "COM reported as usable";
  } catch (const EOleSysError& error) {
    EXPECT_EQ(error.ErrorCode(), static_cast<HResult>(0x80004005));
  }
  EXPECT_EQ(sim.com.initialized, 0);
}

TEST(ApplicationTest, TheProcessEndsWithTheQuitMessagesCode) {
  sim::SimPlatform sim;
  TApplication app(sim.platform);
  app.Initialize();
  sim.windowing.PostQuitMessage(3);
  EXPECT_EQ(app.Run(), 3);
}

TEST_F(FrameworkTest, CheckBoxRunsItsClickOnEveryChangeOfState) {
  auto* box = new TCheckBox(form, "Box");
  box->SetParent(form);
  std::vector<bool> seen;
  box->OnClick = [&](TComponent&) { seen.push_back(box->Checked()); };
  box->SetChecked(true);  // by the program
  box->SetChecked(true);  // no change, no click
  box->UserClick();       // by the user
  EXPECT_EQ(seen, (std::vector<bool>{true, false}));
}

TEST_F(FrameworkTest, AHiddenPanelShownLaterGetsItsWindowWithItsChildrensHiddenOnesToo) {
  // A second form, put together before its window is made.
  auto* second = new TForm(&app, "Form2");
  auto* panel = new TPanel(second, "Panel");
  panel->SetVisible(false);
  panel->SetParent(second);
  auto* shown = new TButton(second, "Shown");
  shown->SetParent(panel);
  auto* hidden = new TButton(second, "Hidden");
  hidden->SetVisible(false);
  hidden->SetParent(panel);
  second->CreateHandle();
  const int peers = sim.widgets.LivePeers();
  EXPECT_FALSE(panel->HandleAllocated());
  panel->Show();
  ASSERT_TRUE(shown->HandleAllocated());
  ASSERT_TRUE(hidden->HandleAllocated());
  EXPECT_EQ(sim.widgets.LivePeers(), peers + 3);
  EXPECT_EQ(sim.widgets.Children(panel->Handle()),
            (std::vector<WindowHandle>{hidden->Handle(), shown->Handle()}));
  delete second;
  EXPECT_EQ(sim.widgets.LivePeers(), peers - 1);  // the form's own went too
}

TEST_F(FrameworkTest, FocusNeedsAVisibleEnabledControl) {
  auto* memo = new TMemo(form, "Memo");
  memo->SetParent(form);
  form->Show();
  memo->SetFocus();
  EXPECT_EQ(form->ActiveControl(), memo);
  memo->Hide();
  try {
    memo->SetFocus();
    FAIL() << "focus on a hidden control";
  } catch (const EInvalidOperation& error) {
    EXPECT_STREQ(error.what(), "Cannot focus a disabled or invisible window");
  }
  memo->Show();
  memo->SetEnabled(false);
  EXPECT_THROW(memo->SetFocus(), EInvalidOperation);
}

TEST_F(FrameworkTest, TimerFiresOnVirtualTimeUntilDisabled) {
  auto* timer = new TTimer(form, "Timer");
  timer->SetEnabled(false);
  timer->SetInterval(1500);
  std::vector<std::uint64_t> fired;
  timer->SetOnTimer([&](TComponent&) { fired.push_back(sim.clock.Now()); });
  sim.windowing.RunFor(5000);
  EXPECT_TRUE(fired.empty());
  timer->SetEnabled(true);
  sim.windowing.RunFor(4000);
  EXPECT_EQ(fired, (std::vector<std::uint64_t>{6500, 8000}));
  timer->SetEnabled(false);
  sim.windowing.RunFor(10000);
  EXPECT_EQ(fired.size(), 2u);
}

TEST_F(FrameworkTest, TimerDueDuringABusyHandlerFiresOnceWhenTheLoopRuns) {
  auto* timer = new TTimer(form, "Timer");
  timer->SetInterval(100);
  int ticks = 0;
  timer->SetOnTimer([&](TComponent&) { ++ticks; });
  sim.process.Sleep(1000);  // the thread is busy; ten intervals pass
  sim.windowing.RunFor(0);
  EXPECT_EQ(ticks, 1);
}

TEST_F(FrameworkTest, QuitPostedBeforeTheLoopEndsItAfterShowingTheForm) {
  app.Terminate();
  app.Run();
  EXPECT_TRUE(sim.windowing.IsWindowVisible(form->Handle()));
  EXPECT_TRUE(app.Terminated());
}

TEST_F(FrameworkTest, ComboSelectionFiresSelectTypingDoesNot) {
  auto* combo = new TComboBox(form, "Combo");
  combo->SetParent(form);
  combo->SetItems({"one  ", "two  "});
  int selects = 0;
  combo->OnSelect = [&](TComponent&) { ++selects; };
  combo->UserType("tw");
  EXPECT_EQ(combo->Text(), "tw");
  EXPECT_EQ(selects, 0);
  combo->UserSelect(1);
  EXPECT_EQ(combo->Text(), "two  ");
  EXPECT_EQ(combo->ItemIndex(), 1);
  EXPECT_EQ(selects, 1);
}

TEST_F(FrameworkTest, ApplicationMinimizeAndRestore) {
  app.Minimize();
  EXPECT_TRUE(app.Minimized());
  EXPECT_TRUE(sim.windowing.IsIconic(app.Handle()));
  app.Restore();
  EXPECT_FALSE(app.Minimized());
  EXPECT_FALSE(sim.windowing.IsIconic(app.Handle()));
}

}  // namespace
}  // namespace velocane
