// The program's taskbar button under Wine, read from outside: the application
// window "Velocane 3.12" carries it (Wine draws no taskbar here, so its
// visibility and state stand for the button). It is shown with the main
// window from the first start on, minimized while the program sits in the
// tray, and restored with the window when a real click on the icon brings it
// back.
#include <gtest/gtest.h>

#include <cstdio>

#include "tools/driver/driver.h"

namespace velocane {
namespace {

using namespace driver;

struct Reading {
  bool visible = false;
  bool minimized = false;
  UINT show = 0;  // the placement's show command
  friend bool operator==(const Reading&, const Reading&) = default;
};

void PrintTo(const Reading& r, std::ostream* os) {
  *os << "visible " << r.visible << ", minimized " << r.minimized << ", show command " << r.show;
}

Reading Read(HWND window) {
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  GetWindowPlacement(window, &placement);
  return Reading{IsWindowVisible(window) != FALSE, IsIconic(window) != FALSE, placement.showCmd};
}

void Print(const char* when, HWND window) {
  const Reading r = Read(window);
  std::printf("[ taskbar ] %-34s visible %d, minimized %d, show command %u\n", when, r.visible,
              r.minimized, r.show);
}

TEST(TaskbarButtonE2E, ShownWithTheWindowMinimizedInTheTrayRestoredWithTheWindow) {
  RegistrySnapshot snapshot(InternetSettingsPlaces());
  const std::vector<HWND> icons_before = TrayIcons();
  RunningProgram program;
  HWND main = WaitForWindow(program.ProcessId(), L"TForm1", L"Velocane", 30000);
  ASSERT_NE(main, nullptr);
  HWND panel = WaitForChild(main, L"TVelocanePanel", L"", 10000);
  ASSERT_NE(panel, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(main) != FALSE; }, 10000));
  HWND app = WaitForWindow(program.ProcessId(), L"TVelocaneApplication", L"Velocane 3.12", 5000);
  ASSERT_NE(app, nullptr);
  // What gives a window a taskbar button: top-level, unowned, no tool
  // window. The main window is a tool window owned by it: no button of its own.
  EXPECT_EQ(GetWindow(app, GW_OWNER), nullptr);
  EXPECT_EQ(GetWindowLongPtrW(app, GWL_EXSTYLE) & WS_EX_TOOLWINDOW, 0);
  EXPECT_EQ(GetWindow(main, GW_OWNER), app);
  EXPECT_NE(GetWindowLongPtrW(main, GWL_EXSTYLE) & WS_EX_TOOLWINDOW, 0);

  const Reading shown{true, false, SW_SHOWNORMAL};
  const Reading in_tray{true, true, SW_SHOWMINIMIZED};
  // The window is up, and its button with it.
  EXPECT_TRUE(WaitUntil([&] { return Read(app) == shown; }, 5000));
  Print("at start:", app);
  EXPECT_EQ(Read(app), shown);

  // Into the tray: the window goes, the button stays, minimized.
  ClickAt(panel, kMinimize.x, kMinimize.y);
  HWND icon = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (icon = NewTrayIcon(icons_before)) != nullptr; }, 10000));
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(main) == FALSE; }, 5000));
  EXPECT_TRUE(WaitUntil([&] { return Read(app) == in_tray; }, 5000));
  Print("in the tray after Minimize:", app);
  EXPECT_EQ(Read(app), in_tray);

  // A real click on the icon: the window is back and the button restored.
  ASSERT_TRUE(RealClick(CenterOf(icon)));
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(main) != FALSE; }, 10000));
  EXPECT_TRUE(WaitUntil([&] { return Read(app) == shown; }, 5000));
  Print("after the click on the tray icon:", app);
  EXPECT_EQ(Read(app), shown);

  // And once more, the same way.
  ClickAt(panel, kMinimize.x, kMinimize.y);
  EXPECT_TRUE(WaitUntil([&] { return Read(app) == in_tray; }, 5000));
  ASSERT_TRUE(WaitUntil([&] { return (icon = NewTrayIcon(icons_before)) != nullptr; }, 10000));
  ASSERT_TRUE(RealClick(CenterOf(icon)));
  EXPECT_TRUE(WaitUntil([&] { return Read(app) == shown && IsWindowVisible(main); }, 10000));

  PostMessageW(main, WM_CLOSE, 0, 0);
  HWND warning = WaitForMessageBox(program.ProcessId(), L"Warning", 30000);
  ASSERT_NE(warning, nullptr);
  PressDialogButton(warning, IDYES);
  EXPECT_TRUE(program.WaitForExit(15000));
}

}  // namespace
}  // namespace velocane
