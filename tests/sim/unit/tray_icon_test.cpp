// The notification-area icon on the simulated shell: the record it sends,
// the animation, the mouse and the keyboard, the popup menu, minimizing and
// Explorer restarts; and its click tracker on its own.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "components/NotifyAreaIcon.h"
#include "platform/framework/application.h"
#include "platform/framework/forms.h"
#include "platform/messages.h"
#include "platform/sim/sim_platform.h"

namespace velocane {
namespace {

TPixelImage Solid(Color color) { return TPixelImage{16, 16, std::vector<Color>(256, color)}; }

constexpr Color kFirst = 0x0000FF;
constexpr Color kSecond = 0x00FF00;

class TrayIcon : public ::testing::Test {
 protected:
  TrayIcon() {
    app.Initialize();
    app.SetTitle("Velocane 3.12");
    form = &app.CreateForm<TForm>("Form1");
    list = new TImageList(form, "List");
    list->Add(Solid(kFirst));
    list->Add(Solid(kSecond));
    icon = new TNotifyAreaIcon(form, "Icon");
  }

  const sim::SimNotifyArea::Shown* Shown() const {
    return sim.notify_area.Find(TNotifyIconHandler::Window(), icon->Id());
  }
  // The colour of the picture the shell shows now.
  Color ShownColor() const {
    const sim::SimNotifyArea::Shown* shown = Shown();
    if (shown == nullptr) return clNone;
    const std::vector<Color> pixels = sim.notify_area.Pixels(shown->data.icon);
    return pixels.empty() ? clNone : pixels[0];
  }
  std::string ShownTip() const { return Shown() == nullptr ? "" : Shown()->data.tip.data(); }
  // The shell calls back only for an icon it shows.
  void ShowIcon() {
    icon->SetIconVisible(true);
    ASSERT_NE(Shown(), nullptr);
  }
  void Mouse(const std::vector<std::uint32_t>& events) {
    for (std::uint32_t event : events) {
      sim.windowing.SendMessage(TNotifyIconHandler::Window(), kTrayCallbackMessage, icon->Id(),
                                event);
    }
  }

  sim::SimPlatform sim;
  TApplication app{sim.platform};
  TForm* form = nullptr;
  TImageList* list = nullptr;
  TNotifyAreaIcon* icon = nullptr;
  std::vector<std::string> events;
};

TEST_F(TrayIcon, RecordAndTip) {
  icon->SetHint(std::string(200, 'h'));
  icon->SetIconVisible(true);
  ASSERT_NE(Shown(), nullptr);
  const NotifyIconData& data = Shown()->data;
  EXPECT_EQ(data.window, TNotifyIconHandler::Window());
  EXPECT_EQ(data.flags, 7u);
  EXPECT_EQ(data.callback_message, 2048u);
  EXPECT_EQ(ShownTip(), std::string(127, 'h'));
  EXPECT_EQ(data.tip[127], 0);
  icon->SetShowHint(false);
  EXPECT_EQ(ShownTip(), "");
  icon->SetShowHint(true);
  icon->SetHint("");
  EXPECT_EQ(ShownTip(), "");
  icon->SetIconVisible(false);
  EXPECT_EQ(Shown(), nullptr);
}

TEST_F(TrayIcon, CyclesThroughTheListAndRestartsOnANewInterval) {
  icon->SetIconList(list);
  icon->SetCycleInterval(1000);
  icon->SetIconVisible(true);
  std::vector<int> next;
  icon->OnCycle = [&](TComponent&, int index) { next.push_back(index); };
  icon->SetCycleIcons(true);
  std::vector<Color> shown{ShownColor()};
  for (int step = 0; step < 4; ++step) {
    sim.windowing.RunFor(1000);
    shown.push_back(ShownColor());
  }
  EXPECT_EQ(shown, (std::vector<Color>{kFirst, kSecond, kFirst, kSecond, kFirst}));
  EXPECT_EQ(next, (std::vector<int>{1, 0, 1, 0}));
  sim.windowing.RunFor(1000);  // showing the second picture
  ASSERT_EQ(icon->IconIndex(), 1);
  icon->SetCycleInterval(3000);
  EXPECT_EQ(icon->IconIndex(), 0);
  sim.windowing.RunFor(2999);
  EXPECT_EQ(ShownColor(), kFirst);
  sim.windowing.RunFor(1);
  EXPECT_EQ(ShownColor(), kSecond);
  icon->SetCycleIcons(false);
  sim.windowing.RunFor(10000);
  EXPECT_EQ(ShownColor(), kSecond);  // stopping leaves the picture that shows
}

TEST_F(TrayIcon, IndexIsClampedFromAboveAndZeroWithoutAList) {
  icon->SetIconIndex(7);
  EXPECT_EQ(icon->IconIndex(), 0);
  icon->SetIconList(list);
  icon->SetIconIndex(7);
  EXPECT_EQ(icon->IconIndex(), 1);
  icon->SetIconIndex(-3);
  EXPECT_EQ(icon->IconIndex(), -3);
  EXPECT_TRUE(icon->Icon().Empty());  // no picture, and nothing fails
  auto* empty = new TImageList(form, "Empty");
  icon->SetIconList(empty);
  EXPECT_EQ(icon->IconIndex(), -1);
  icon->SetIconVisible(true);
  ASSERT_NE(Shown(), nullptr);
  EXPECT_FALSE(Shown()->data.icon);
}

TEST_F(TrayIcon, DestroyingTheListLeavesNoneAndIndexZero) {
  icon->SetIconList(list);
  icon->SetIconIndex(1);
  delete list;
  EXPECT_EQ(icon->IconList(), nullptr);
  EXPECT_EQ(icon->IconIndex(), 0);
  icon->SetCycleIcons(true);
  sim.windowing.RunFor(5000);  // the cycle step does nothing without a list
  EXPECT_EQ(icon->IconIndex(), 0);
}

class ClickOrder : public TrayIcon {
 protected:
  void Record(bool with_double_click) {
    icon->OnClick = [this](TComponent&) { events.push_back("click"); };
    if (with_double_click) {
      icon->OnDblClick = [this](TComponent&) { events.push_back("dblclick"); };
    }
    icon->OnMouseDown = [this](TComponent&, TMouseButton button, TShiftState keys, int x, int y) {
      events.push_back("down " + std::to_string(static_cast<int>(button)) + " " +
                       std::to_string(keys) + " " + std::to_string(x) + "," + std::to_string(y));
    };
    icon->OnMouseUp = [this](TComponent&, TMouseButton button, TShiftState keys, int, int) {
      events.push_back("up " + std::to_string(static_cast<int>(button)) + " " +
                       std::to_string(keys));
    };
  }
};

TEST_F(ClickOrder, WithoutDoubleClickHandlerTheClickComesAtOnceBeforeTheButtonUp) {
  Record(false);
  sim.windowing.cursor = Point{40, 30};
  sim.windowing.keys_down = {vk::kControl};
  Mouse({wm::kLButtonDown, wm::kLButtonUp});
  EXPECT_EQ(events, (std::vector<std::string>{"down 0 12 40,30", "click", "up 0 12"}));
}

TEST_F(ClickOrder, WithDoubleClickHandlerTheClickWaitsOneDoubleClickTime) {
  Record(true);
  sim.windowing.double_click_time = 400;
  Mouse({wm::kLButtonDown, wm::kLButtonUp});
  EXPECT_EQ(events, (std::vector<std::string>{"down 0 8 0,0", "up 0 8"}));
  sim.windowing.RunFor(399);
  EXPECT_EQ(events.size(), 2u);
  sim.windowing.RunFor(1);
  EXPECT_EQ(events.back(), "click");
  events.clear();
  // A double click: down, up, double click, up — only the double click is told.
  Mouse({wm::kLButtonDown, wm::kLButtonUp, wm::kLButtonDblClk, wm::kLButtonUp});
  sim.windowing.RunFor(1000);
  EXPECT_EQ(events, (std::vector<std::string>{"down 0 8 0,0", "up 0 8", "dblclick", "up 0 8"}));
}

TEST_F(ClickOrder, RightButtonByNotifyStyle) {
  Record(false);
  Mouse({wm::kRButtonDown, wm::kRButtonUp, wm::kContextMenu});
  EXPECT_EQ(events, (std::vector<std::string>{"down 1 16 0,0", "up 1 16"}));
  events.clear();
  icon->SetNotifyStyle(1);
  Mouse({wm::kRButtonDown, wm::kRButtonUp, wm::kContextMenu});
  EXPECT_EQ(events, (std::vector<std::string>{"down 1 16 0,0", "up 1 16"}));
  events.clear();
  Mouse({wm::kMButtonDown, wm::kMButtonUp, wm::kRButtonDblClk, wm::kMButtonDblClk, 0x7777});
  EXPECT_EQ(events, (std::vector<std::string>{"down 2 32 0,0", "up 2 32"}));
}

// What the shell sends for each act by the version the icon asked for, and
// what the icon makes of it: with version 3 the keyboard's select is a click,
// and the select that follows a click of the button is that same click.
TEST_F(ClickOrder, EachActByTheVersionTheIconAskedFor) {
  using Act = sim::SimNotifyArea::Act;
  const std::vector<std::string> click = {"down 0 8 0,0", "click", "up 0 8"};
  const std::vector<std::string> right = {"down 1 16 0,0", "up 1 16"};
  const struct {
    int style;
    Act act;
    std::vector<std::string> events;
  } cases[] = {
      {0, Act::kLeftClick, click},
      {0, Act::kRightClick, right},
      {0, Act::kKeySelect, right},  // the shell tells the keyboard as the right button
      {0, Act::kEnterAfterPointer, right},
      {0, Act::kMenuKey, right},
      {1, Act::kLeftClick, click},  // one click, not two
      {1, Act::kRightClick, right},
      {1, Act::kKeySelect, {"click"}},
      {1, Act::kEnterAfterPointer, {"click"}},
      {1, Act::kMenuKey, {"up 1 16"}},
  };
  Record(false);
  ShowIcon();
  for (const auto& c : cases) {
    SCOPED_TRACE("style " + std::to_string(c.style) + ", act " +
                 std::to_string(static_cast<int>(c.act)));
    icon->SetNotifyStyle(c.style);
    ASSERT_NE(Shown(), nullptr);
    EXPECT_EQ(Shown()->version, c.style == 1 ? 3u : 0u);
    events.clear();
    sim.notify_area.Perform(TNotifyIconHandler::Window(), icon->Id(), c.act);
    EXPECT_EQ(events, c.events);
  }
  // With a double-click handler the key select is still told at once, and a
  // double click of version 3 stays one double click.
  icon->OnDblClick = [this](TComponent&) { events.push_back("dblclick"); };
  events.clear();
  sim.notify_area.Perform(TNotifyIconHandler::Window(), icon->Id(), Act::kKeySelect);
  EXPECT_EQ(events, std::vector<std::string>{"click"});
  events.clear();
  Mouse({wm::kLButtonDown, wm::kLButtonUp, nin::kSelect, wm::kLButtonDblClk, wm::kLButtonUp,
         nin::kSelect});
  sim.windowing.RunFor(1000);
  EXPECT_EQ(events, (std::vector<std::string>{"down 0 8 0,0", "up 0 8", "dblclick", "up 0 8"}));
  // Disabled, the keyboard does nothing either.
  icon->SetEnabled(false);
  events.clear();
  sim.notify_area.Perform(TNotifyIconHandler::Window(), icon->Id(), Act::kKeySelect);
  EXPECT_TRUE(events.empty());
}

TEST_F(ClickOrder, DisabledIgnoresTheMouseButNotTheBalloons) {
  Record(true);
  int balloons = 0;
  icon->OnBalloonHintShow = [&](TComponent&) { ++balloons; };
  icon->OnBalloonHintClick = [&](TComponent&) { ++balloons; };
  auto* menu = new TPopupMenu(form, "Menu");
  menu->SetItems({TMenuItem{"Open", true, true, {}}});
  icon->SetPopupMenu(menu);
  icon->SetEnabled(false);
  Mouse({wm::kLButtonDown, wm::kLButtonUp, wm::kLButtonDblClk, wm::kRButtonDown, wm::kMouseMove,
         0x0402, 0x0405});
  sim.windowing.RunFor(1000);
  EXPECT_TRUE(events.empty());
  EXPECT_TRUE(sim.windowing.Menus().empty());
  EXPECT_EQ(balloons, 2);
}

TEST_F(TrayIcon, PopupMenuRules) {
  auto* menu = new TPopupMenu(form, "Menu");
  std::vector<std::string> chosen;
  menu->SetItems({TMenuItem{"Show", false, true, [&](TComponent&) { chosen.push_back("show"); }},
                  TMenuItem{"-", false, true, {}},
                  TMenuItem{"Open", true, true, [&](TComponent&) { chosen.push_back("open"); }}});
  icon->SetPopupMenu(menu);
  sim.windowing.cursor = Point{100, 200};
  sim.windowing.menu_responder = [](const sim::SimWindowing::ShownMenu& shown) {
    return shown.items[0].id;
  };
  Mouse({wm::kLButtonDown, wm::kLButtonUp});
  EXPECT_TRUE(sim.windowing.Menus().empty());  // the left button only with LeftPopup
  Mouse({wm::kRButtonDown});
  ASSERT_EQ(sim.windowing.Menus().size(), 1u);  // the right button, on button-down
  EXPECT_EQ(sim.windowing.Menus()[0].at, (Point{100, 200}));
  EXPECT_EQ(menu->PopupComponent(), icon);
  EXPECT_EQ(chosen, std::vector<std::string>{"show"});
  icon->SetLeftPopup(true);
  Mouse({wm::kLButtonDown});
  EXPECT_EQ(sim.windowing.Menus().size(), 2u);
  // A double click chooses the default item, unless the left button pops up the menu.
  Mouse({wm::kLButtonDblClk});
  icon->SetLeftPopup(false);
  Mouse({wm::kLButtonDblClk});
  EXPECT_EQ(chosen, (std::vector<std::string>{"show", "show", "open"}));
  menu->SetAutoPopup(false);
  Mouse({wm::kRButtonDown, wm::kLButtonDblClk});
  EXPECT_EQ(sim.windowing.Menus().size(), 2u);
  EXPECT_EQ(chosen.size(), 3u);
  delete menu;
  EXPECT_EQ(icon->PopupMenu(), nullptr);
  Mouse({wm::kRButtonDown});  // without a menu nothing pops up
  EXPECT_EQ(sim.windowing.Menus().size(), 2u);
}

TEST_F(TrayIcon, PointerEnterAndLeave) {
  icon->OnMouseEnter = [this](TComponent&) { events.push_back("enter"); };
  icon->OnMouseExit = [this](TComponent&) { events.push_back("exit"); };
  icon->OnMouseMove = [this](TComponent&, TShiftState, int x, int y) {
    events.push_back("move " + std::to_string(x) + "," + std::to_string(y));
  };
  sim.windowing.cursor = Point{5, 5};
  Mouse({wm::kMouseMove});
  EXPECT_EQ(events, std::vector<std::string>{"move 5,5"});  // no enter without the wish
  icon->SetWantEnterExitEvents(true);
  // The pointer counts as gone until a movement with the wish: that one enters.
  Mouse({wm::kMouseMove});
  sim.windowing.RunFor(100);  // the pointer stays where it was seen: no exit
  EXPECT_EQ(events, (std::vector<std::string>{"move 5,5", "enter", "move 5,5"}));
  events.clear();
  sim.windowing.cursor = Point{60, 5};
  sim.windowing.RunFor(20);
  Mouse({wm::kMouseMove});
  EXPECT_EQ(events, (std::vector<std::string>{"exit", "enter", "move 60,5"}));
  events.clear();
  icon->SetWantEnterExitEvents(false);
  sim.windowing.cursor = Point{0, 0};
  sim.windowing.RunFor(100);  // no poll without the wish
  EXPECT_TRUE(events.empty());
}

TEST_F(TrayIcon, ExplorerRestartBringsAVisibleIconBackAndLeavesAHiddenOneHidden) {
  icon->SetIconList(list);
  icon->SetHint("Velocane 2.01");
  icon->SetIconIndex(1);
  icon->SetIconVisible(true);
  sim.notify_area.RestartShell();
  ASSERT_NE(Shown(), nullptr);
  EXPECT_EQ(ShownColor(), kSecond);
  EXPECT_EQ(ShownTip(), "Velocane 2.01");
  icon->SetIconVisible(false);
  sim.notify_area.RestartShell();
  EXPECT_EQ(Shown(), nullptr);
}

TEST_F(TrayIcon, TaskbarCreatedIsLetThroughTheMessageFilter) {
  const std::uint32_t message = sim.windowing.RegisterWindowMessage("TaskbarCreated");
  EXPECT_EQ(TNotifyIconHandler::TaskbarCreatedMessage(), message);
  EXPECT_TRUE(sim.windowing.AllowedFromLowerRights(app.Handle(), message));
}

// The version is asked for after every add: the shell keeps it with the icon
// and forgets it when the icon goes or Explorer restarts.
TEST_F(TrayIcon, TheVersionIsAskedForAfterEveryAdd) {
  icon->SetNotifyStyle(1);
  EXPECT_TRUE(sim.notify_area.Requests().empty());
  const auto commands = [&] {
    std::vector<NotifyCommand> seen;
    for (const auto& request : sim.notify_area.Requests()) seen.push_back(request.command);
    return seen;
  };
  const std::vector<NotifyCommand> add = {NotifyCommand::kAdd, NotifyCommand::kSetVersion};
  ShowIcon();
  EXPECT_EQ(commands(), add);
  EXPECT_EQ(Shown()->version, 3u);
  sim.notify_area.RestartShell();
  EXPECT_EQ(commands(), (std::vector<NotifyCommand>{add[0], add[1], add[0], add[1]}));
  EXPECT_EQ(Shown()->version, 3u);
  // Classic notifications are the shell's own default: nothing to ask for.
  icon->SetNotifyStyle(0);
  EXPECT_EQ(Shown()->version, 0u);
  icon->SetIconVisible(false);
  const std::size_t before = sim.notify_area.Requests().size();
  ShowIcon();
  EXPECT_EQ(sim.notify_area.Requests().size(), before + 1);
}

TEST(TrayIconVersion, OldCommonControlsGetNoRestartNotice) {
  sim::SimPlatform sim;
  sim.notify_area.common_controls_version = 4u << 16 | 70u;
  TApplication app(sim.platform);
  app.Initialize();
  TForm& form = app.CreateForm<TForm>("Form1");
  auto* icon = new TNotifyAreaIcon(&form, "Icon");
  EXPECT_EQ(TNotifyIconHandler::TaskbarCreatedMessage(), 0u);
  icon->SetIconVisible(true);
  sim.notify_area.RestartShell();
  EXPECT_EQ(sim.notify_area.IconCount(), 0);
}

TEST_F(TrayIcon, ARefusedAddIsTriedAgainUntilTheShellTakesIt) {
  sim.notify_area.Refuse();  // the shell is not up yet at log-on
  icon->SetIconVisible(true);
  EXPECT_TRUE(icon->IconVisible());
  EXPECT_EQ(Shown(), nullptr);
  sim.windowing.RunFor(5000);
  EXPECT_EQ(Shown(), nullptr);
  sim.notify_area.Accept();
  sim.windowing.RunFor(2000);
  EXPECT_NE(Shown(), nullptr);
  const std::size_t requests = sim.notify_area.Requests().size();
  sim.windowing.RunFor(60000);
  EXPECT_EQ(sim.notify_area.Requests().size(), requests);  // no more tries once it is there
}

TEST_F(TrayIcon, RetriesEndWhenTheIconIsNoLongerWantedOrAfterAMinute) {
  sim.notify_area.Refuse();
  icon->SetIconVisible(true);
  sim.windowing.RunFor(4000);
  icon->SetIconVisible(false);
  const std::size_t requests = sim.notify_area.Requests().size();
  sim.windowing.RunFor(10000);
  EXPECT_EQ(sim.notify_area.Requests().size(), requests);
  icon->SetIconVisible(true);
  sim.windowing.RunFor(120000);
  const std::size_t after_a_minute = sim.notify_area.Requests().size();
  sim.windowing.RunFor(60000);
  EXPECT_EQ(sim.notify_area.Requests().size(), after_a_minute);
  // The shell that comes up later says so, and the icon is added then.
  sim.notify_area.Accept();
  sim.notify_area.RestartShell();
  EXPECT_NE(Shown(), nullptr);
}

TEST_F(TrayIcon, ADuplicateAddIsNoFailureToRetry) {
  icon->SetIconVisible(true);
  const std::size_t requests = sim.notify_area.Requests().size();
  icon->SetIconVisible(true);  // refused: it is there already
  sim.windowing.RunFor(10000);
  EXPECT_EQ(sim.notify_area.Requests().size(), requests + 2);  // the add and one check
  EXPECT_NE(Shown(), nullptr);
}

TEST_F(TrayIcon, MinimizeToTrayWithAndWithoutAHandler) {
  form->Show();
  icon->SetMinimizeToTray(true);
  // Without a handler the owner's minimize command passes on unchanged ...
  EXPECT_EQ(sim.windowing.SendMessage(form->Handle(), wm::kSysCommand, sc::kMinimize, 0), 0);
  EXPECT_TRUE(form->Visible());
  // ... and a minimized application window takes the main window into the tray.
  app.Minimize();
  EXPECT_FALSE(form->Visible());
  EXPECT_TRUE(icon->IconVisible());
  EXPECT_NE(Shown(), nullptr);
  EXPECT_FALSE(sim.windowing.IsWindowVisible(app.Handle()));  // no taskbar button

  icon->SetIconVisible(false);
  app.Restore();
  form->Show();
  int told = 0;
  icon->OnMinimizeToTray = [&](TComponent&) { ++told; };
  EXPECT_EQ(sim.windowing.SendMessage(form->Handle(), wm::kSysCommand, sc::kMinimize, 0), 1);
  EXPECT_EQ(told, 1);
  EXPECT_FALSE(form->Visible());
  EXPECT_TRUE(icon->IconVisible());
  // The restore command on the application window shows the main form again.
  sim.windowing.SendMessage(app.Handle(), wm::kSysCommand, sc::kRestore, 0);
  EXPECT_TRUE(form->Visible());
}

TEST_F(TrayIcon, ShowingTheOwnerBringsItToTheFront) {
  form->Show();
  EXPECT_EQ(sim.windowing.ForegroundWindow(), form->Handle());
}

TEST_F(TrayIcon, CallbacksForOtherIdsDoNothingAndNothingReachesDefaultHandling) {
  icon->OnClick = [this](TComponent&) { events.push_back("click"); };
  const WindowHandle window = TNotifyIconHandler::Window();
  sim.windowing.SendMessage(window, kTrayCallbackMessage, icon->Id() + 1, wm::kLButtonDown);
  sim.windowing.SendMessage(window, kTrayCallbackMessage, icon->Id() + 1, wm::kLButtonUp);
  EXPECT_TRUE(events.empty());
  for (std::uint32_t message : {wm::kDestroy, wm::kClose, wm::kQueryEndSession, wm::kQuit,
                                wm::kEndSession, wm::kNcDestroy}) {
    EXPECT_EQ(sim.windowing.SendMessage(window, message, 0, 0), 1) << message;
  }
}

TEST(TrayIconLife, TheLastIconTakesTheHandlerWindowAndLeavesNothingBehind) {
  sim::SimPlatform sim;
  TApplication app(sim.platform);
  app.Initialize();
  TForm& form = app.CreateForm<TForm>("Form1");
  const int windows = sim.windowing.LiveWindows();
  auto* list = new TImageList(&form, "List");
  list->Add(Solid(kFirst));
  auto* first = new TNotifyAreaIcon(&form, "First");
  auto* second = new TNotifyAreaIcon(&form, "Second");
  first->SetIconList(list);
  first->SetCycleInterval(100);
  first->SetCycleIcons(true);
  first->SetWantEnterExitEvents(true);
  first->SetIconVisible(true);
  EXPECT_NE(first->Id(), second->Id());
  const WindowHandle handler = TNotifyIconHandler::Window();
  delete first;
  EXPECT_EQ(TNotifyIconHandler::Window(), handler);
  EXPECT_EQ(sim.notify_area.IconCount(), 0);
  delete second;
  EXPECT_FALSE(TNotifyIconHandler::Exists());
  EXPECT_EQ(sim.windowing.LiveWindows(), windows);
  EXPECT_EQ(sim.windowing.LiveTimers(), 0);
  EXPECT_EQ(sim.notify_area.LiveIcons(), 0);
  auto* again = new TNotifyAreaIcon(&form, "Again");
  EXPECT_TRUE(TNotifyIconHandler::Window());
  delete again;
}

// The click tracker alone, as a table: each step a notification with what
// the icon wants and whether its double-click wait runs, the end of that
// wait, or a leave poll; and what each must amount to.
struct TrackerStep {
  enum Kind { kNotify, kWaitEnds, kPoll } kind;
  std::uint32_t notification = 0;
  TClickContext context{};
  Point at{};
  TClickOutcome outcome{};
  bool told = false;  // what the end of the wait or the poll answers
};
TrackerStep Note(std::uint32_t notification, TClickContext context, TClickOutcome outcome = {},
                 Point at = {}) {
  return {TrackerStep::kNotify, notification, context, at, outcome, false};
}
TrackerStep WaitEnds(bool click) { return {TrackerStep::kWaitEnds, 0, {}, {}, {}, click}; }
TrackerStep Poll(Point at, bool left) { return {TrackerStep::kPoll, 0, {}, at, {}, left}; }

constexpr TClickContext kPlain{};
constexpr TClickContext kOff{false, false, false, false, 0};
constexpr TClickContext kTellsDouble{true, true, false, false, 0};
constexpr TClickContext kWaiting{true, true, true, false, 0};
constexpr TClickContext kEnterExit{true, false, false, true, 0};
constexpr TClickContext kV5{true, false, false, false, 1};
constexpr TClickContext kV5Off{false, false, false, false, 1};
constexpr TClickOutcome kClick{false, false, true, false};
constexpr TClickOutcome kStartWait{true, false, false, false};
constexpr TClickOutcome kDouble{false, false, false, true};
constexpr TClickOutcome kEnter{false, true, false, false};

TEST(TrayClickTracker, NotificationsAndWhatTheyAmountTo) {
  using namespace wm;
  const struct {
    const char* what;
    std::vector<TrackerStep> steps;
  } cases[] = {
      {"a click at once", {Note(kLButtonDown, kPlain), Note(kLButtonUp, kPlain, kClick)}},
      {"an up without its down", {Note(kLButtonUp, kPlain)}},
      {"a click waits out the double-click time",
       {Note(kLButtonDown, kTellsDouble, kStartWait), Note(kLButtonUp, kWaiting), WaitEnds(true),
        WaitEnds(false)}},
      {"a double click is no click",
       {Note(kLButtonDown, kTellsDouble, kStartWait), Note(kLButtonUp, kWaiting),
        Note(kLButtonDblClk, kWaiting, kDouble), Note(kLButtonUp, kWaiting), WaitEnds(false),
        Note(kLButtonDown, kTellsDouble, kStartWait), Note(kLButtonUp, kWaiting), WaitEnds(true)}},
      {"a wait that could not start: the click at once",
       {Note(kLButtonDown, kTellsDouble, kStartWait), Note(kLButtonUp, kTellsDouble, kClick)}},
      {"ignored while off",
       {Note(kLButtonDown, kOff), Note(kLButtonUp, kOff), Note(kLButtonDblClk, kOff),
        Note(kMouseMove, kOff), Note(nin::kKeySelect, kV5Off), Note(kLButtonUp, kPlain)}},
      {"the selects are clicks of version 5 only",
       {Note(nin::kKeySelect, kPlain), Note(nin::kSelect, kPlain),
        Note(nin::kKeySelect, kV5, kClick), Note(nin::kSelect, kV5, kClick)}},
      {"the select after a button-up is that click",
       {Note(kLButtonDown, kV5), Note(kLButtonUp, kV5, kClick), Note(kMouseMove, kV5),
        Note(nin::kSelect, kV5), Note(nin::kSelect, kV5, kClick)}},
      {"also after a button-up that was ignored",
       {Note(kLButtonDown, kV5Off), Note(kLButtonUp, kV5Off), Note(nin::kSelect, kV5),
        Note(nin::kKeySelect, kV5, kClick)}},
      {"a key select after a click is one more",
       {Note(kLButtonDown, kV5), Note(kLButtonUp, kV5, kClick),
        Note(nin::kKeySelect, kV5, kClick)}},
      {"enter and leave",
       {Poll({5, 5}, false), Note(kMouseMove, kPlain, {}, {5, 5}),
        Note(kMouseMove, kEnterExit, kEnter, {5, 5}), Note(kMouseMove, kEnterExit, {}, {6, 5}),
        Poll({6, 5}, false), Poll({7, 5}, true), Poll({8, 5}, false),
        Note(kMouseMove, kEnterExit, kEnter, {8, 5})}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TTrayClickTracker tracker;
    for (std::size_t i = 0; i < c.steps.size(); ++i) {
      SCOPED_TRACE("step " + std::to_string(i));
      const TrackerStep& step = c.steps[i];
      switch (step.kind) {
        case TrackerStep::kNotify:
          EXPECT_EQ(tracker.Notify(step.notification, step.context, step.at), step.outcome);
          break;
        case TrackerStep::kWaitEnds:
          EXPECT_EQ(tracker.WaitEnded(), step.told);
          break;
        case TrackerStep::kPoll:
          EXPECT_EQ(tracker.Left(step.at), step.told);
          break;
      }
    }
  }
}

}  // namespace
}  // namespace velocane
