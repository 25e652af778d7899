// The tray under Wine with the real program: Minimize and a real pointer
// click back, the icon's key select back, the icon cycling while accelerated,
// Explorer restarts, "/Auto".
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tools/driver/driver.h"
// After windows.h, which it needs.
#include <shellapi.h>

namespace velocane {
namespace {

using namespace driver;

// Where the flat buttons sit on the panel.

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

class TrayE2E : public ::testing::Test {
 protected:
  TrayE2E() : snapshot_(InternetSettingsPlaces()) {}

  void Launch(const std::wstring& arguments = L"") {
    icons_before_ = TrayIcons();
    program_ = std::make_unique<RunningProgram>(arguments);
    main_ = WaitForWindow(program_->ProcessId(), L"TForm1", L"Velocane", 30000);
    ASSERT_NE(main_, nullptr);
    panel_ = WaitForChild(main_, L"TVelocanePanel", L"", 10000);
    ASSERT_NE(panel_, nullptr);
  }
  // The icon of ours among Wine's tray icons: the one that was not there before.
  HWND OurIcon() { return NewTrayIcon(icons_before_); }
  HWND WaitForIcon(DWORD timeout_ms) {
    HWND found = nullptr;
    WaitUntil([&] { return (found = OurIcon()) != nullptr; }, timeout_ms);
    return found;
  }
  // The picture once the tray has finished drawing it: the same twice running.
  std::vector<DWORD> SettledPixels(HWND icon) {
    std::vector<DWORD> seen = CaptureWindow(icon);
    WaitUntil(
        [&] {
          Sleep(200);
          std::vector<DWORD> now = CaptureWindow(icon);
          const bool same = now == seen;
          seen = std::move(now);
          return same;
        },
        5000);
    return seen;
  }
  void Close() {
    PostMessageW(main_, WM_CLOSE, 0, 0);
    HWND warning = WaitForMessageBox(program_->ProcessId(), L"Warning", 30000);
    ASSERT_NE(warning, nullptr) << "no Warning box";
    PressDialogButton(warning, IDYES);
    EXPECT_TRUE(program_->WaitForExit(15000));
    EXPECT_TRUE(WaitUntil([&] { return OurIcon() == nullptr; }, 10000)) << "icon left behind";
  }

  RegistrySnapshot snapshot_;
  std::vector<HWND> icons_before_;
  std::unique_ptr<RunningProgram> program_;
  HWND main_ = nullptr;
  HWND panel_ = nullptr;
};

TEST_F(TrayE2E, MinimizeThenARealClickOnTheIconBringsTheWindowBack) {
  Launch();
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(main_) != FALSE; }, 10000));
  EXPECT_EQ(OurIcon(), nullptr);
  auto start = std::chrono::steady_clock::now();
  ClickAt(panel_, kMinimize.x, kMinimize.y);
  HWND icon = WaitForIcon(10000);
  ASSERT_NE(icon, nullptr) << "no icon in the tray";
  const double minimized = Seconds(start);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(main_); }, 5000));
  Screenshot(ShotPath("tray.png"));

  start = std::chrono::steady_clock::now();
  ASSERT_TRUE(RealClick(CenterOf(icon)));
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(main_) != FALSE; }, 10000))
      << "the click did not bring the window back";
  EXPECT_TRUE(WaitUntil([&] { return OurIcon() == nullptr; }, 10000)) << "the icon stayed";
  std::printf(
      "[ timing ] Minimize -> icon in the tray: %.2f s; real click -> window back: %.2f s\n",
      minimized, Seconds(start));
  Close();
}

// Win+B, the arrows and Space on the icon: the shell sends the icon's key
// select (it asked for version 3), as Wine's shell sends every notification,
// from another process. Wine's own tray has no keyboard, so this test sends it.
TEST_F(TrayE2E, TheIconChosenFromTheKeyboardBringsTheWindowBack) {
  Launch();
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(main_) != FALSE; }, 10000));
  ClickAt(panel_, kMinimize.x, kMinimize.y);
  ASSERT_NE(WaitForIcon(10000), nullptr) << "no icon in the tray";
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(main_); }, 5000));
  HWND handler = WaitForWindow(program_->ProcessId(), L"TNotifyIconHandler", L"", 5000);
  ASSERT_NE(handler, nullptr);
  constexpr UINT kCallback = WM_USER + 1024;
  constexpr LPARAM kKeySelect = WM_USER + 1;  // NIN_KEYSELECT
  const auto start = std::chrono::steady_clock::now();
  ASSERT_TRUE(SendNotifyMessageW(handler, kCallback, 1, kKeySelect));
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(main_) != FALSE; }, 10000))
      << "the key select did not bring the window back";
  EXPECT_TRUE(WaitUntil([&] { return OurIcon() == nullptr; }, 10000)) << "the icon stayed";
  std::printf("[ timing ] key select -> window back: %.2f s\n", Seconds(start));
  Close();
}

TEST_F(TrayE2E, TheIconAlternatesItsPicturesWhileAccelerated) {
  Launch();
  ClickAt(panel_, kAccelerate.x, kAccelerate.y);
  ASSERT_TRUE(WaitUntil(
      [&] { return ReadDWord(HKEY_CURRENT_USER, kSettings, L"MaxConnectionsPer1_0Server") == 8u; },
      30000));
  ClickAt(panel_, kMinimize.x, kMinimize.y);
  HWND icon = WaitForIcon(10000);
  ASSERT_NE(icon, nullptr);
  const std::vector<DWORD> first = SettledPixels(icon);
  auto start = std::chrono::steady_clock::now();
  ASSERT_TRUE(WaitUntil([&] { return CaptureWindow(icon) != first; }, 12000))
      << "the picture did not change";
  const double changed = Seconds(start);
  const std::vector<DWORD> second = SettledPixels(icon);
  Screenshot(ShotPath("tray-second.png"));
  start = std::chrono::steady_clock::now();
  ASSERT_TRUE(WaitUntil([&] { return CaptureWindow(icon) == first; }, 12000))
      << "the picture did not change back";
  std::printf("[ timing ] icon picture changed after %.2f s and back after another %.2f s\n",
              changed, Seconds(start));
  EXPECT_NE(first, second);
  Close();
}

TEST_F(TrayE2E, AnExplorerRestartBringsTheIconBackWhileMinimized) {
  Launch();
  ClickAt(panel_, kMinimize.x, kMinimize.y);
  ASSERT_NE(WaitForIcon(10000), nullptr);
  // What Explorer's end does to the icon: gone. Wine does not check who asks.
  HWND handler = WaitForWindow(program_->ProcessId(), L"TNotifyIconHandler", L"", 5000);
  ASSERT_NE(handler, nullptr);
  NOTIFYICONDATAW gone{};
  gone.cbSize = sizeof gone;
  gone.hWnd = handler;
  gone.uID = 1;
  ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &gone));
  ASSERT_TRUE(WaitUntil([&] { return OurIcon() == nullptr; }, 10000));
  const auto start = std::chrono::steady_clock::now();
  PostMessageW(HWND_BROADCAST, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  EXPECT_NE(WaitForIcon(10000), nullptr) << "the icon did not come back";
  std::printf("[ timing ] TaskbarCreated -> icon back: %.2f s\n", Seconds(start));
  EXPECT_FALSE(IsWindowVisible(main_));
  Close();
}

TEST_F(TrayE2E, AutoStartEndsInTheTrayWithTheWindowHidden) {
  WriteString(HKEY_CURRENT_CONFIG, kSettings, L"ConnectionType", L"LAN");
  Launch(L"/Auto");
  const auto start = std::chrono::steady_clock::now();
  HWND icon = WaitForIcon(30000);
  ASSERT_NE(icon, nullptr);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(main_); }, 10000));
  std::printf("[ timing ] /Auto -> icon in the tray: %.2f s\n", Seconds(start));
  EXPECT_EQ(ReadDWord(HKEY_CURRENT_USER, kSettings, L"MaxConnectionsPerServer"), 6u);
  Close();
}

}  // namespace
}  // namespace velocane
