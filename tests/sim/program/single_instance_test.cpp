// The single-instance guard on one simulated desktop.
#include "tests/support/program_fixture.h"

namespace velocane::testing {
namespace {

class SingleInstance : public ProgramTest {
 protected:
  // A running copy: its application window, as another process would have it.
  WindowHandle OtherCopy(const std::string& title = "Velocane 3.12",
                         const std::string& class_name = TApplication::kWindowClass) {
    return sim.windowing.AddWindow(class_name, title);
  }
};

struct GuardCase {
  int others;   // copies already running
  int allowed;  // AllowedInst
  bool ends;
};

class GuardTable : public SingleInstance, public ::testing::WithParamInterface<GuardCase> {};

TEST_P(GuardTable, CountsEveryMatchingWindowItsOwnIncluded) {
  const GuardCase& c = GetParam();
  for (int i = 0; i < c.others; ++i) OtherCopy();
  TApplication application(sim.platform);
  application.Initialize();
  application.SetTitle("Velocane 3.12");
  auto* guard = new TPrevInst(&application, "PrevInst1");
  EXPECT_EQ(guard->AllowedInst, 1);
  guard->AllowedInst = c.allowed;
  EXPECT_EQ(guard->CheckPrevInst(), c.ends);
  EXPECT_EQ(PrevInstState().InstanceCount, c.others + 1);
  EXPECT_EQ(sim.windowing.QuitPosted(), c.ends);
  EXPECT_STREQ(PrevInstState().OwnTitle, "Velocane 3.12");
  EXPECT_STREQ(PrevInstState().OwnClassName, TApplication::kWindowClass);
}

INSTANTIATE_TEST_SUITE_P(Copies, GuardTable,
                         ::testing::Values(GuardCase{0, 0, true}, GuardCase{0, 1, false},
                                           GuardCase{0, 2, false}, GuardCase{1, 0, true},
                                           GuardCase{1, 1, true}, GuardCase{1, 2, false},
                                           GuardCase{2, 0, true}, GuardCase{2, 1, true},
                                           GuardCase{2, 2, true}),
                         [](const ::testing::TestParamInfo<GuardCase>& info) {
                           return "Running" + std::to_string(info.param.others) + "Allowed" +
                                  std::to_string(info.param.allowed);
                         });

TEST_F(SingleInstance, SecondCopyBringsTheFirstForwardAndEndsWithoutTheCloseSequence) {
  const WindowHandle first = OtherCopy();
  const WindowHandle dialog = sim.windowing.AddWindow("#32770", "About", {}, first);
  sim.windowing.SetLastActivePopup(first, dialog);
  StorePair(RootKey::CurrentUser, 20, 20);
  TForm1& second = Start("velocane.exe /Auto");  // FormCreate runs the guard
  EXPECT_EQ(PrevInstState().OtherInstanceWindow, first);
  EXPECT_EQ(sim.windowing.Foreground(), dialog);
  EXPECT_EQ(sim.windowing.ZOrder().front(), dialog);
  EXPECT_TRUE(second.Timer3->Enabled());  // the rest of start-up ran
  app->Run();                             // shows the window, takes the quit
  EXPECT_TRUE(sim.windowing.IsWindowVisible(second.Handle()));
  EXPECT_TRUE(Boxes().empty());  // no Warning question
  EXPECT_EQ(Pair(RootKey::CurrentUser),
            std::make_pair(std::optional<std::uint32_t>(20), std::optional<std::uint32_t>(20)));
  EXPECT_EQ(second.Label1->Caption(), "Ready.");  // Timer3 never fired
}

TEST_F(SingleInstance, MinimizedPopupIsRestoredInsteadOfActivated) {
  const WindowHandle first = OtherCopy();
  sim.windowing.ShowWindow(first, showcmd::kMinimize);
  Start();
  EXPECT_FALSE(sim.windowing.IsIconic(first));
  EXPECT_NE(sim.windowing.Foreground(), first);
  EXPECT_TRUE(sim.windowing.QuitPosted());
}

// The calls that bring the other copy forward, to its window and its last
// active pop-up: the window to the top, then the pop-up restored when it is
// minimized and activated when not. Where the windows end up cannot tell
// these apart, since activating a window also raises it.
struct ForwardCase {
  const char* name;
  bool popup;          // the other copy has a pop-up (a dialog) that was last active
  bool window_iconic;  // its window is minimized
  bool popup_iconic;
  // "top W", "foreground W" or "restore W", W the window ("window" or "popup").
  std::vector<std::string> calls;
};

void PrintTo(const ForwardCase& c, std::ostream* out) { *out << c.name; }

class BringForward : public SingleInstance, public ::testing::WithParamInterface<ForwardCase> {};

TEST_P(BringForward, RaisesTheWindowThenRestoresOrActivatesItsLastActivePopup) {
  const ForwardCase& c = GetParam();
  const WindowHandle window = OtherCopy();
  WindowHandle popup = window;
  if (c.popup) {
    popup = sim.windowing.AddWindow("#32770", "About", {}, window);
    sim.windowing.SetLastActivePopup(window, popup);
  }
  if (c.window_iconic) sim.windowing.ShowWindow(window, showcmd::kMinimize);
  if (c.popup_iconic) sim.windowing.ShowWindow(popup, showcmd::kMinimize);
  sim.windowing.KeepActivationJournal(true);
  Start();
  std::vector<std::string> calls;
  for (const sim::SimWindowing::ActivationCall& call : sim.windowing.ActivationJournal()) {
    if (call.window != window && call.window != popup) continue;  // the second copy's own
    const std::string who = c.popup && call.window == popup ? "popup" : "window";
    switch (call.call) {
      case sim::SimWindowing::Activation::kBringToTop:
        calls.push_back("top " + who);
        break;
      case sim::SimWindowing::Activation::kSetForeground:
        calls.push_back("foreground " + who);
        break;
      case sim::SimWindowing::Activation::kShowWindow:
        calls.push_back((call.show_command == showcmd::kRestore
                             ? "restore "
                             : "show " + std::to_string(call.show_command) + " ") +
                        who);
        break;
    }
  }
  EXPECT_EQ(calls, c.calls);
  EXPECT_TRUE(sim.windowing.QuitPosted());
}

INSTANTIATE_TEST_SUITE_P(
    Popups, BringForward,
    ::testing::Values(
        ForwardCase{"NoPopup", false, false, false, {"top window", "foreground window"}},
        ForwardCase{"NoPopupMinimized", false, true, false, {"top window", "restore window"}},
        ForwardCase{"Popup", true, false, false, {"top window", "foreground popup"}},
        ForwardCase{"BothMinimized", true, true, true, {"top window", "restore popup"}},
        // The pop-up decides, not the window it belongs to.
        ForwardCase{
            "WindowMinimizedPopupNot", true, true, false, {"top window", "foreground popup"}},
        ForwardCase{"PopupMinimizedWindowNot", true, false, true, {"top window", "restore popup"}}),
    [](const ::testing::TestParamInfo<ForwardCase>& info) { return std::string(info.param.name); });

TEST_F(SingleInstance, OnlyExactClassAndTitleCount) {
  OtherCopy("Velocane 3.11");                  // another version
  OtherCopy("velocane 3.12");                  // case differs
  OtherCopy("Velocane 3.12", "TApplication");  // another program's class
  OtherCopy("", TApplication::kWindowClass);
  Start();
  EXPECT_EQ(PrevInstState().InstanceCount, 1);
  EXPECT_FALSE(sim.windowing.QuitPosted());
}

TEST_F(SingleInstance, ForeignWindowWithTheSameClassAndTitleCounts) {
  const WindowHandle foreign = OtherCopy();  // not our program, same names
  Start();
  EXPECT_EQ(PrevInstState().OtherInstanceWindow, foreign);
  EXPECT_TRUE(sim.windowing.QuitPosted());
}

}  // namespace
}  // namespace velocane::testing
