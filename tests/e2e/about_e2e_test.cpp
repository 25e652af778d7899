// The about box of the real program under Wine: opened with a real click on
// "About", found by its caption, closed with OK.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>

#include "tools/driver/driver.h"

namespace velocane {
namespace {

using namespace driver;

// The middle of the "About" button on the panel.

class AboutE2E : public ::testing::Test {
 protected:
  AboutE2E() : snapshot_(InternetSettingsPlaces()) {}

  void Launch() {
    program_ = std::make_unique<RunningProgram>();
    main_ = WaitForWindow(program_->ProcessId(), L"TForm1", L"Velocane", 30000);
    ASSERT_NE(main_, nullptr);
    panel_ = WaitForChild(main_, L"TVelocanePanel", L"", 10000);
    ASSERT_NE(panel_, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(main_) != FALSE; }, 10000));
  }

  // Clicks About with the pointer; the about box and its OK button, once they are up.
  void OpenAbout() {
    const auto started = std::chrono::steady_clock::now();
    POINT at = kAbout;
    ClientToScreen(panel_, &at);
    ASSERT_TRUE(RealClick(at)) << "xdotool did not start";
    about_ = WaitForWindow(program_->ProcessId(), L"", L"About", 15000);
    ASSERT_NE(about_, nullptr) << "no window captioned About";
    ok_ = WaitForChild(about_, L"Button", L"OK", 10000);
    ASSERT_NE(ok_, nullptr) << "no OK button";
    std::printf("[ timing ] click on About -> about box with its OK button: %.3f s\n",
                Seconds(started));
  }

  // Clicks OK with the pointer; waits until the box is gone.
  void PressOk() {
    const auto started = std::chrono::steady_clock::now();
    ASSERT_TRUE(RealClick(CenterOf(ok_))) << "xdotool did not start";
    EXPECT_TRUE(WaitUntil([&] { return IsWindow(about_) == FALSE; }, 15000))
        << "the about box was not freed";
    std::printf("[ timing ] click on OK -> about box gone: %.3f s\n", Seconds(started));
  }

  void CloseProgram() {
    PostMessageW(main_, WM_CLOSE, 0, 0);
    HWND warning = WaitForMessageBox(program_->ProcessId(), L"Warning", 30000);
    ASSERT_NE(warning, nullptr) << "no Warning box";
    PressDialogButton(warning, IDYES);
    DWORD code = 1;
    EXPECT_TRUE(program_->WaitForExit(15000, &code)) << "the program did not end";
    EXPECT_EQ(code, 0u);
  }

  static bool PairIs(HKEY root, DWORD a, DWORD b) {
    return ReadDWord(root, kSettings, L"MaxConnectionsPerServer") == a &&
           ReadDWord(root, kSettings, L"MaxConnectionsPer1_0Server") == b;
  }
  static void StorePair(HKEY root, DWORD a, DWORD b) {
    WriteDWord(root, kSettings, L"MaxConnectionsPerServer", a);
    WriteDWord(root, kSettings, L"MaxConnectionsPer1_0Server", b);
  }
  static double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
  }

  RegistrySnapshot snapshot_;
  std::unique_ptr<RunningProgram> program_;
  HWND main_ = nullptr;
  HWND panel_ = nullptr;
  HWND about_ = nullptr;
  HWND ok_ = nullptr;
};

TEST_F(AboutE2E, AboutHidesTheWindowShowsTheBoxAndOkBringsTheWindowBack) {
  Launch();
  RECT main_rect;
  GetWindowRect(main_, &main_rect);
  OpenAbout();
  if (about_ == nullptr || ok_ == nullptr) return;

  EXPECT_FALSE(IsWindowVisible(main_)) << "the main window is still shown";
  EXPECT_FALSE(IsWindowEnabled(main_)) << "the main window takes input meanwhile";
  EXPECT_TRUE(IsWindowVisible(about_));
  EXPECT_EQ(ClassOf(about_), L"TAbout");
  EXPECT_EQ(GetWindow(about_, GW_OWNER), main_);
  RECT client;
  GetClientRect(about_, &client);
  EXPECT_EQ(client.right, 288);
  EXPECT_EQ(client.bottom, 286);
  const LONG_PTR style = GetWindowLongPtrW(about_, GWL_STYLE);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
  EXPECT_TRUE(GetWindowLongPtrW(about_, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);
  // Centred over where the main window is.
  RECT box;
  GetWindowRect(about_, &box);
  EXPECT_NEAR((box.left + box.right) / 2, (main_rect.left + main_rect.right) / 2, 1);
  EXPECT_NEAR((box.top + box.bottom) / 2, (main_rect.top + main_rect.bottom) / 2, 1);
  // OK is the first stop of the tab order: it has the focus.
  EXPECT_EQ(FocusOf(about_), ok_);

  PressOk();
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(main_) != FALSE; }, 10000))
      << "the main window did not come back";
  EXPECT_TRUE(IsWindowEnabled(main_));
  EXPECT_EQ(WaitForWindow(program_->ProcessId(), L"", L"About", 0), nullptr);
  CloseProgram();
}

TEST_F(AboutE2E, EndingTheSessionWhileTheBoxIsUpWritesTheDefaults) {
  StorePair(HKEY_CURRENT_USER, 20, 20);
  StorePair(HKEY_CURRENT_CONFIG, 20, 20);
  Launch();
  OpenAbout();
  if (about_ == nullptr || ok_ == nullptr) return;
  // The system asks every top-level window, the hidden and disabled main window too.
  DWORD_PTR may_end = 0;
  ASSERT_TRUE(SendMessageTimeoutW(main_, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_BLOCK,
                                  10000, &may_end));
  EXPECT_EQ(may_end, TRUE);
  EXPECT_TRUE(PairIs(HKEY_CURRENT_USER, 2, 4));
  EXPECT_TRUE(PairIs(HKEY_CURRENT_CONFIG, 2, 4));
  EXPECT_EQ(WaitForMessageBox(program_->ProcessId(), L"Warning", 500), nullptr);
  EXPECT_TRUE(IsWindowVisible(about_));
  PressOk();
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(main_) != FALSE; }, 10000));
  CloseProgram();
}

TEST_F(AboutE2E, ASecondStartWhileTheBoxIsUpEndsAndLeavesTheBoxUp) {
  Launch();
  OpenAbout();
  if (about_ == nullptr || ok_ == nullptr) return;
  // What a second copy brings forward is the last active window owned by the
  // application window: the box, not the hidden main window.
  HWND app = FindWindowW(L"TVelocaneApplication", L"Velocane 3.12");
  ASSERT_NE(app, nullptr);
  EXPECT_EQ(GetLastActivePopup(app), about_);
  RunningProgram second;
  DWORD code = 1;
  EXPECT_TRUE(second.WaitForExit(30000, &code)) << "the second copy did not end";
  EXPECT_EQ(code, 0u);
  EXPECT_TRUE(IsWindowVisible(about_));
  EXPECT_FALSE(IsWindowVisible(main_));
  PressOk();
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(main_) != FALSE; }, 10000));
  CloseProgram();
}

TEST_F(AboutE2E, TheHiddenButtonShowsTheBoxAboveTheWindowThatStaysOnTop) {
  Launch();
  HWND hidden = WaitForChild(main_, L"Button", L"About le program", 10000);
  ASSERT_NE(hidden, nullptr);
  ASSERT_FALSE(IsWindowVisible(hidden));
  // A hidden button cannot be clicked: its notification is what a click would send.
  PostMessageW(main_, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hidden), BN_CLICKED),
               reinterpret_cast<LPARAM>(hidden));
  about_ = WaitForWindow(program_->ProcessId(), L"", L"About", 15000);
  ASSERT_NE(about_, nullptr);
  ok_ = WaitForChild(about_, L"Button", L"OK", 10000);
  ASSERT_NE(ok_, nullptr);
  EXPECT_TRUE(IsWindowVisible(main_));
  EXPECT_FALSE(IsWindowEnabled(main_));
  // Above the main window, which stays on top: the top-level list runs from the top down.
  HWND first = nullptr;
  for (HWND w = GetTopWindow(nullptr); w != nullptr; w = GetWindow(w, GW_HWNDNEXT)) {
    if (w == about_ || w == main_) {
      first = w;
      break;
    }
  }
  EXPECT_EQ(first, about_) << "the about box lies under the main window";
  PressOk();
  EXPECT_TRUE(IsWindowVisible(main_));
  EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(main_) != FALSE; }, 5000));
  CloseProgram();
}

}  // namespace
}  // namespace velocane
