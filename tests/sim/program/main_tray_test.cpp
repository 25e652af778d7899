// The main window in the notification area: Minimize and the way back, the
// icon cycling while the acceleration is on, and Explorer restarts.
#include <gtest/gtest.h>

#include <functional>

#include "app/tray_images.h"
#include "tests/support/program_fixture.h"

namespace velocane::testing {
namespace {

class MainTray : public ProgramTest {
 protected:
  void SetUp() override {
    Start();
    form->Show();
  }
  const sim::SimNotifyArea::Shown* Shown() const {
    return sim.notify_area.Find(TNotifyIconHandler::Window(), form->CT1->Id());
  }
  std::vector<Color> ShownPicture() const {
    return Shown() == nullptr ? std::vector<Color>{} : sim.notify_area.Pixels(Shown()->data.icon);
  }
  // A left click on the icon, as the shell reports it.
  void ClickIcon() {
    sim.notify_area.Notify(TNotifyIconHandler::Window(), form->CT1->Id(),
                           {wm::kLButtonDown, wm::kLButtonUp});
  }
};

TEST_F(MainTray, StoredSettingsShowTheFirstFlag) {
  TNotifyAreaIcon& icon = *form->CT1;
  EXPECT_EQ(icon.IconList(), form->FlagImageList);
  EXPECT_EQ(icon.CycleInterval(), 5000u);
  EXPECT_FALSE(icon.Enabled());
  EXPECT_FALSE(icon.IconVisible());
  EXPECT_FALSE(icon.CycleIcons());
  EXPECT_EQ(icon.IconIndex(), 0);
  EXPECT_EQ(icon.Hint(), "Velocane 2.01");
  // The stored picture gave way to the list's first.
  EXPECT_EQ(icon.Icon().Picture(), FlagImage(0));
  ASSERT_EQ(form->FlagImageList->Count(), 2);
  EXPECT_NE(form->FlagImageList->Image(0), form->FlagImageList->Image(1));
  EXPECT_EQ(Shown(), nullptr);
}

TEST_F(MainTray, MinimizePutsTheIconThereAndItsClickBringsTheWindowBack) {
  ClickButton(form->SpeedButton4);
  EXPECT_FALSE(form->Visible());
  EXPECT_TRUE(app->Minimized());
  EXPECT_TRUE(form->CT1->Enabled());
  ASSERT_NE(Shown(), nullptr);
  EXPECT_STREQ(Shown()->data.tip.data(), "Velocane 2.01");
  ClickIcon();
  EXPECT_TRUE(form->Visible());
  EXPECT_FALSE(app->Minimized());
  EXPECT_FALSE(form->CT1->Enabled());
  EXPECT_EQ(Shown(), nullptr);
  EXPECT_TRUE(Boxes().empty());
  // And again.
  ClickButton(form->SpeedButton4);
  EXPECT_FALSE(form->Visible());
  EXPECT_NE(Shown(), nullptr);
}

// The application window carries the taskbar button: shown with the main
// window, minimized with the application in the tray, restored with it, also
// after the user restored it from the taskbar itself.
TEST_F(MainTray, TheTaskbarButtonFollowsTheWindowAndTheApplication) {
  const WindowHandle button = app->Handle();
  const struct {
    const char* what;
    std::function<void()> act;
    bool window, visible, minimized;
  } steps[] = {
      {"shown at start", [] {}, true, true, false},
      {"Minimize", [&] { ClickButton(form->SpeedButton4); }, false, true, true},
      {"a click on the icon", [&] { ClickIcon(); }, true, true, false},
      {"Minimize again", [&] { ClickButton(form->SpeedButton4); }, false, true, true},
      // The system's own restore of the button, after the application has seen the command.
      {"restored from the taskbar",
       [&] {
         sim.windowing.SendMessage(button, wm::kSysCommand, sc::kRestore, 0);
         sim.windowing.ShowWindow(button, showcmd::kRestore);
       },
       true, true, false},
      {"Minimize after that", [&] { ClickButton(form->SpeedButton4); }, false, true, true},
      {"a click on the icon", [&] { ClickIcon(); }, true, true, false},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.what);
    step.act();
    EXPECT_EQ(form->Visible(), step.window);
    EXPECT_EQ(sim.windowing.IsWindowVisible(form->Handle()), step.window);
    EXPECT_EQ(sim.windowing.IsWindowVisible(button), step.visible);
    EXPECT_EQ(sim.windowing.IsIconic(button), step.minimized);
    EXPECT_EQ(app->Minimized(), step.minimized);
  }
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(MainTray, TheIconCyclesFromAccelerateUntilStop) {
  ClickButton(form->SpeedButton1);
  EXPECT_TRUE(form->CT1->CycleIcons());
  ClickButton(form->SpeedButton4);
  EXPECT_EQ(ShownPicture(), FlagImage(0).pixels);
  sim.windowing.RunFor(5000);
  EXPECT_EQ(form->CT1->IconIndex(), 1);
  EXPECT_EQ(ShownPicture(), FlagImage(1).pixels);
  sim.windowing.RunFor(5000);
  EXPECT_EQ(ShownPicture(), FlagImage(0).pixels);
  ClickIcon();
  ClickButton(form->SpeedButton3);
  EXPECT_FALSE(form->CT1->CycleIcons());
  const int index = form->CT1->IconIndex();
  sim.windowing.RunFor(20000);
  EXPECT_EQ(form->CT1->IconIndex(), index);
}

TEST_F(MainTray, ExplorerRestartBringsTheIconBackWhileMinimized) {
  ClickButton(form->SpeedButton4);
  sim.notify_area.RestartShell();
  EXPECT_NE(Shown(), nullptr);
  ClickIcon();
  sim.notify_area.RestartShell();
  EXPECT_EQ(Shown(), nullptr);  // shown window: no icon
}

TEST_F(MainTray, AClickWhileTheIconIsDisabledDoesNothing) {
  sim.windowing.SendMessage(TNotifyIconHandler::Window(), kTrayCallbackMessage, form->CT1->Id(),
                            wm::kLButtonUp);
  EXPECT_TRUE(form->Visible());
  EXPECT_FALSE(app->Minimized());
}

// The icon reached from the keyboard (Win+B, the arrows, then Space or Enter)
// brings the window back as a click does; the menu key and the right button
// do not.
TEST_F(MainTray, TheKeyboardBringsTheWindowBackAsAClickDoes) {
  using Act = sim::SimNotifyArea::Act;
  const struct {
    const char* what;
    Act act;
    bool restores;
  } cases[] = {
      {"Space or Enter on the icon", Act::kKeySelect, true},
      {"Enter on the icon the pointer chose", Act::kEnterAfterPointer, true},
      {"a click", Act::kLeftClick, true},
      {"the menu key", Act::kMenuKey, false},
      {"the right button", Act::kRightClick, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ClickButton(form->SpeedButton4);
    ASSERT_FALSE(form->Visible());
    ASSERT_NE(Shown(), nullptr);
    EXPECT_EQ(Shown()->version, 3u);
    sim.notify_area.Perform(TNotifyIconHandler::Window(), form->CT1->Id(), c.act);
    EXPECT_EQ(form->Visible(), c.restores);
    EXPECT_EQ(app->Minimized(), !c.restores);
    EXPECT_EQ(Shown() == nullptr, c.restores);
    if (!c.restores) ClickIcon();
    ASSERT_TRUE(form->Visible());
  }
  EXPECT_TRUE(Boxes().empty());
}

}  // namespace
}  // namespace velocane::testing
