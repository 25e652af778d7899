// The real program without a mouse and with a screen reader, from outside:
// the accessible tree as another process reads it through Active
// Accessibility, its default action, and real key presses on the display.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>

#include "platform/win32/handles.h"
#include "tools/driver/driver.h"
// After windows.h, which it needs.
#include <oleacc.h>

namespace velocane {
namespace {

using namespace driver;

// The WinEvents the program raised, as another process's hook receives them.
struct SeenEvent {
  DWORD event;
  HWND window;
  LONG object;
  LONG child;
};
std::vector<SeenEvent>& SeenEvents() {
  static std::vector<SeenEvent> seen;
  return seen;
}
void CALLBACK OnWinEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD,
                         DWORD) {
  SeenEvents().push_back(SeenEvent{event, window, object, child});
}
// Lets the hook's events arrive: they come as messages to this thread.
void PumpFor(DWORD milliseconds) {
  const DWORD end = GetTickCount() + milliseconds;
  while (GetTickCount() < end) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    Sleep(10);
  }
}

std::string Narrow(const std::wstring& text) {
  std::string out;
  for (wchar_t c : text) out += c < 128 ? static_cast<char>(c) : '?';
  return out;
}

class KeyboardE2E : public ::testing::Test {
 protected:
  void SetUp() override {
    // Start-up reads the stored pair, then the type.
    WriteDWord(HKEY_CURRENT_CONFIG, kSettings, L"MaxConnectionsPerServer", 2);
    WriteDWord(HKEY_CURRENT_CONFIG, kSettings, L"MaxConnectionsPer1_0Server", 4);
    WriteString(HKEY_CURRENT_CONFIG, kSettings, L"ConnectionType", L"Cable");
    program_ = std::make_unique<RunningProgram>();
    main_ = WaitForWindow(program_->ProcessId(), L"TForm1", L"Velocane", 30000);
    ASSERT_NE(main_, nullptr);
    panel_ = WaitForChild(main_, L"TVelocanePanel", L"", 10000);
    ASSERT_NE(panel_, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(main_) != FALSE; }, 10000));
  }
  void TearDown() override {
    if (main_ != nullptr && program_->Running()) {
      PostMessageW(main_, WM_CLOSE, 0, 0);
      if (HWND warning = WaitForMessageBox(program_->ProcessId(), L"Warning", 30000)) {
        PressDialogButton(warning, IDYES);
      }
      EXPECT_TRUE(program_->WaitForExit(15000));
    }
  }
  bool PairIs(DWORD a, DWORD b) {
    return ReadDWord(HKEY_CURRENT_USER, kSettings, L"MaxConnectionsPerServer") == a &&
           ReadDWord(HKEY_CURRENT_USER, kSettings, L"MaxConnectionsPer1_0Server") == b;
  }
  // A real click on the feature text: the keyboard goes to the window from then on.
  void ClickTheText() {
    HWND text = WaitForChild(main_, L"Edit", L"", 5000);
    for (HWND child : Children(main_)) {
      if (ClassOf(child) == L"Edit" && TextOf(child).find(L"faster") != std::wstring::npos) {
        text = child;
      }
    }
    ASSERT_NE(text, nullptr);
    ASSERT_TRUE(RealClick(CenterOf(text)));
    ASSERT_TRUE(WaitUntil([&] { return FocusOf(main_) == text; }, 5000))
        << "the click did not reach the window";
  }
  // The name of the element that has the focus, as a screen reader asks for it.
  std::wstring FocusName() {
    if (FocusOf(main_) != panel_) return L"(window " + ClassOf(FocusOf(main_)) + L")";
    const std::optional<AccNode> focus = AccessibleFocus(panel_);
    return focus ? focus->name : L"(none)";
  }

  RegistrySnapshot snapshot_{InternetSettingsPlaces()};
  std::unique_ptr<RunningProgram> program_;
  HWND main_ = nullptr;
  HWND panel_ = nullptr;
};

TEST_F(KeyboardE2E, TheTreeHoldsTheFiveCommandsVisibleWithTheirNamesAndTheirActionPresses) {
  const std::vector<AccNode> tree = AccessibleTree(main_, 4);
  std::printf("[ tree ] the main window's client area, as another process reads it:\n");
  for (const AccNode& node : tree) {
    std::printf("[ tree ] %*s%s id %ld role 0x%02lX state 0x%06lX '%s'%s%s\n", node.depth * 2, "",
                node.child_id == CHILDID_SELF ? "object" : "element", node.child_id, node.role,
                node.state, Narrow(node.name).c_str(),
                node.value.empty() ? "" : (" value '" + Narrow(node.value) + "'").c_str(),
                node.default_action.empty()
                    ? ""
                    : (" action '" + Narrow(node.default_action) + "'").c_str());
  }
  const wchar_t* const commands[] = {L"Stop", L"Accelerate", L"View", L"Minimize", L"About"};
  RECT panel_area;
  GetWindowRect(panel_, &panel_area);
  for (const wchar_t* command : commands) {
    const auto found = std::find_if(tree.begin(), tree.end(), [&](const AccNode& node) {
      return node.name == command && node.role == ROLE_SYSTEM_PUSHBUTTON;
    });
    ASSERT_NE(found, tree.end()) << Narrow(command) << " is not in the tree";
    EXPECT_EQ(found->state & STATE_SYSTEM_INVISIBLE, 0) << Narrow(command);
    EXPECT_EQ(found->default_action, L"Press");
    // On the screen where the panel shows it.
    EXPECT_GE(found->location.left, panel_area.left);
    EXPECT_LE(found->location.right, panel_area.right);
    EXPECT_EQ(found->location.right - found->location.left, 68);
  }
  const auto status = std::find_if(tree.begin(), tree.end(), [](const AccNode& node) {
    return node.role == ROLE_SYSTEM_STATICTEXT && node.name == L"Ready.";
  });
  EXPECT_NE(status, tree.end()) << "the status line is not read";
  const auto gauge = std::find_if(tree.begin(), tree.end(), [](const AccNode& node) {
    return node.role == ROLE_SYSTEM_PROGRESSBAR;
  });
  ASSERT_NE(gauge, tree.end());
  EXPECT_NE(gauge->state & STATE_SYSTEM_INVISIBLE, 0) << "the hidden gauge is announced as shown";

  WriteDWord(HKEY_CURRENT_USER, kSettings, L"MaxConnectionsPerServer", 2);
  const auto started = std::chrono::steady_clock::now();
  double returned = 0;
  EXPECT_EQ(AccessibleDefaultAction(panel_, L"Accelerate", &returned), S_OK);
  // The call returned before the command, which takes some three seconds
  // (the reader's next calls wait for it: the window handles nothing meanwhile).
  EXPECT_TRUE(WaitUntil([&] { return PairIs(20, 20); }, 15000)) << "Accelerate did not write";
  std::printf(
      "[ timing ] accDoDefaultAction returned after %.3f s; the pair was written after %.3f s\n",
      returned, std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count());
  EXPECT_LT(returned, 1.0);
}

TEST_F(KeyboardE2E, RealKeysReachStopAndAccelerateAndPerformThem) {
  WriteDWord(HKEY_CURRENT_USER, kSettings, L"MaxConnectionsPerServer", 7);
  WriteDWord(HKEY_CURRENT_USER, kSettings, L"MaxConnectionsPer1_0Server", 7);
  ClickTheText();
  std::printf("[ keys ] start: focus %s\n", Narrow(FocusName()).c_str());
  SeenEvents().clear();
  win32::UniqueWinEventHook hook(SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_STATECHANGE,
                                                 nullptr, OnWinEvent, program_->ProcessId(), 0,
                                                 WINEVENT_OUTOFCONTEXT));
  ASSERT_NE(hook.get(), nullptr);

  const auto press = [&](const wchar_t* keys, const wchar_t* expected) {
    ASSERT_TRUE(RealKeys(keys));
    EXPECT_TRUE(WaitUntil([&] { return FocusName() == expected; }, 5000))
        << Narrow(keys) << ": focus " << Narrow(FocusName());
    std::printf("[ keys ] %s: focus %s\n", Narrow(keys).c_str(), Narrow(FocusName()).c_str());
  };
  press(L"Tab", L"Stop");
  Screenshot(ShotPath("keyboard-stop.png"));  // the focus frame on Stop
  press(L"Tab", L"Accelerate");
  auto started = std::chrono::steady_clock::now();
  ASSERT_TRUE(RealKeys(L"space"));
  EXPECT_TRUE(WaitUntil([&] { return PairIs(20, 20); }, 15000)) << "space did not accelerate";
  // What a screen reader was told meanwhile: the panel's window got the
  // focus (the system's own event), then Stop had it, then Accelerate, and
  // Accelerate went off and on while it ran.
  PumpFor(500);
  hook.reset();
  std::vector<std::pair<DWORD, LONG>> panel_events;
  for (const SeenEvent& e : SeenEvents()) {
    if (e.window == panel_ && e.object == OBJID_CLIENT) panel_events.push_back({e.event, e.child});
  }
  for (const auto& [event, child] : panel_events) {
    std::printf("[ events ] %s child %ld\n", event == EVENT_OBJECT_FOCUS ? "focus" : "state change",
                child);
  }
  EXPECT_EQ(panel_events, (std::vector<std::pair<DWORD, LONG>>{{EVENT_OBJECT_FOCUS, CHILDID_SELF},
                                                               {EVENT_OBJECT_FOCUS, 1},
                                                               {EVENT_OBJECT_FOCUS, 2},
                                                               {EVENT_OBJECT_STATECHANGE, 2},
                                                               {EVENT_OBJECT_STATECHANGE, 2}}));
  std::printf("[ keys ] space: Accelerate wrote 20/20 after %.2f s\n",
              std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count());
  press(L"shift+Tab", L"Stop");
  started = std::chrono::steady_clock::now();
  ASSERT_TRUE(RealKeys(L"Return"));
  EXPECT_TRUE(WaitUntil([&] { return PairIs(2, 4); }, 40000)) << "Enter did not stop";
  std::printf("[ keys ] Return: Stop wrote 2/4 after %.2f s\n",
              std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count());
  press(L"Left", L"About");
  press(L"Tab", L"(window Button)");  // the check box
  // The picture as the keyboard user sees it.
  Screenshot(ShotPath("keyboard-focus.png"));
}

TEST_F(KeyboardE2E, AltBOpensTheAboutBoxAndEscapeClosesIt) {
  ClickTheText();
  ASSERT_TRUE(RealKeys(L"alt+b"));
  HWND about = WaitForWindow(program_->ProcessId(), L"", L"About", 15000);
  ASSERT_NE(about, nullptr) << "Alt+B did not open the about box";
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(about) != FALSE; }, 5000));
  EXPECT_FALSE(IsWindowVisible(main_));
  ASSERT_TRUE(RealKeys(L"Escape"));
  EXPECT_TRUE(WaitUntil([&] { return IsWindow(about) == FALSE; }, 15000))
      << "Escape did not close the about box";
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(main_) != FALSE; }, 5000));
}

}  // namespace
}  // namespace velocane
