// The real program under Wine, sent messages nothing asked for from another
// process: to the tray icon's handler window, the light timers' window, the
// main window and the application window, while shown and while in the tray.
// It ignores them, shows no box, stays up, and afterwards sets the limits,
// cycles its icon and comes back from the tray at a real click.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <set>

#include "tests/bad_messages/bad_messages.h"
#include "tools/driver/driver.h"

namespace velocane {
namespace {

using namespace driver;
using badmsg::Target;

constexpr Target kTargets[] = {Target::kTrayHandler, Target::kLightTimers, Target::kMainWindow,
                               Target::kApplicationWindow};

// A message-only window of the process with this class.
HWND MessageOnlyWindow(DWORD process_id, const wchar_t* class_name) {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        for (HWND w = FindWindowExW(HWND_MESSAGE, nullptr, class_name, nullptr); w != nullptr;
             w = FindWindowExW(HWND_MESSAGE, w, class_name, nullptr)) {
          DWORD owner = 0;
          GetWindowThreadProcessId(w, &owner);
          if (owner == process_id) {
            found = w;
            return true;
          }
        }
        return false;
      },
      10000);
  return found;
}

// The system messages that the system itself will not carry between programs
// as plain numbers (it copies what they point to, or refuses): a post of one
// fails with ERROR_MESSAGE_SYNC_ONLY.
std::set<std::uint32_t> PointerMessagesOfTheSystem() {
  std::set<std::uint32_t> pointers;
  HWND probe = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
  for (std::uint32_t msg = 0; msg < badmsg::id::kUser; ++msg) {
    SetLastError(0);
    if (!PostMessageW(probe, msg, 1, 1) && GetLastError() == ERROR_MESSAGE_SYNC_ONLY) {
      pointers.insert(msg);
    }
  }
  MSG drained;
  while (PeekMessageW(&drained, probe, 0, 0, PM_REMOVE)) {
  }
  DestroyWindow(probe);
  return pointers;
}

class BadMessagesE2E : public ::testing::Test {
 protected:
  BadMessagesE2E() : snapshot_(InternetSettingsPlaces()) {}

  void Launch() {
    icons_before_ = TrayIcons();
    program_ = std::make_unique<RunningProgram>();
    const DWORD pid = program_->ProcessId();
    window_[Target::kMainWindow] = WaitForWindow(pid, L"TForm1", L"Velocane", 30000);
    ASSERT_NE(window_[Target::kMainWindow], nullptr);
    panel_ = WaitForChild(window_[Target::kMainWindow], L"TVelocanePanel", L"", 10000);
    ASSERT_NE(panel_, nullptr);
    ASSERT_TRUE(
        WaitUntil([&] { return IsWindowVisible(window_[Target::kMainWindow]) != FALSE; }, 10000));
    window_[Target::kApplicationWindow] = WaitForWindow(pid, L"TVelocaneApplication", L"", 5000);
    window_[Target::kTrayHandler] = WaitForWindow(pid, L"TNotifyIconHandler", L"", 5000);
    window_[Target::kLightTimers] = MessageOnlyWindow(pid, L"TLightTimerHandler");
    for (Target target : kTargets) {
      ASSERT_NE(window_[target], nullptr) << badmsg::TargetName(target);
    }
    known_.icon_id = 1;  // the process's first icon
    known_.registered = {RegisterWindowMessageW(L"TaskbarCreated")};
    for (HWND child : Children(window_[Target::kMainWindow])) {
      known_.control_windows.push_back(reinterpret_cast<std::uintptr_t>(child));
    }
    pointers_ = PointerMessagesOfTheSystem();
  }
  HWND OurIcon() { return NewTrayIcon(icons_before_); }
  bool ErrorBoxUp() { return WaitForMessageBox(program_->ProcessId(), L"Velocane 3.12", 0); }

  // `count` messages to the four windows; the program must stay up and show nothing.
  void Storm(int count, std::uint32_t seed) {
    badmsg::Source source(seed);
    std::mt19937 pace(seed);
    int refused = 0, unanswered = 0;
    for (int i = 0; i < count; ++i) {
      const Target target = kTargets[pace() % 4];
      const badmsg::Message m = source.Next(target, known_);
      if (m.msg < badmsg::id::kUser && pointers_.contains(m.msg)) {
        ++refused;
        continue;
      }
      HWND window = window_[target];
      const auto wparam = static_cast<WPARAM>(m.wparam);
      const auto lparam = static_cast<LPARAM>(m.lparam);
      if (m.post) {
        PostMessageW(window, m.msg, wparam, lparam);
      } else {
        DWORD_PTR result = 0;
        if (SendMessageTimeoutW(window, m.msg, wparam, lparam, SMTO_NORMAL, 5000, &result) == 0 &&
            GetLastError() == ERROR_TIMEOUT) {
          ++unanswered;
          std::printf("[ unanswered ] 0x%X to the %s (wParam 0x%llX, lParam 0x%llX), message %d\n",
                      m.msg, badmsg::TargetName(target), static_cast<unsigned long long>(m.wparam),
                      static_cast<unsigned long long>(m.lparam), i);
        }
      }
      ++sent_[target];
      if (i % 250 == 249) {
        ASSERT_TRUE(program_->Running())
            << "the program ended after message " << i << " (0x" << std::hex << m.msg << ")";
        ASSERT_FALSE(ErrorBoxUp()) << "an error box after message 0x" << std::hex << m.msg;
      }
    }
    // Let what was posted be handled.
    Sleep(500);
    ASSERT_TRUE(program_->Running());
    EXPECT_FALSE(ErrorBoxUp());
    EXPECT_EQ(unanswered, 0);
    for (Target target : kTargets)
      EXPECT_TRUE(IsWindow(window_[target])) << badmsg::TargetName(target);
    std::printf(
        "[ storm %u ] %d messages; %d of them left out as the system carries their pointers\n",
        seed, count, refused);
    for (const auto& [reason, draws] : source.LeftOut()) {
      std::printf("[ left out ] %6ld draws: %s\n", draws, reason.c_str());
    }
  }

  RegistrySnapshot snapshot_;
  std::vector<HWND> icons_before_;
  std::unique_ptr<RunningProgram> program_;
  std::map<Target, HWND> window_;
  HWND panel_ = nullptr;
  badmsg::Known known_;
  std::set<std::uint32_t> pointers_;
  std::map<Target, int> sent_;
};

TEST_F(BadMessagesE2E, AreIgnoredAndTheProgramWorksOnAfterwards) {
  ASSERT_NO_FATAL_FAILURE(Launch());
  HWND main = window_[Target::kMainWindow];
  std::printf("[ probe ] the system carries %zu of its messages by their pointers\n",
              pointers_.size());

  ASSERT_NO_FATAL_FAILURE(Storm(4000, 1));
  EXPECT_TRUE(IsWindowVisible(main));
  EXPECT_EQ(OurIcon(), nullptr);

  // The limits are still set.
  ClickAt(panel_, kAccelerate.x, kAccelerate.y);
  ASSERT_TRUE(WaitUntil(
      [&] { return ReadDWord(HKEY_CURRENT_USER, kSettings, L"MaxConnectionsPer1_0Server") == 8u; },
      30000));
  EXPECT_EQ(ReadDWord(HKEY_CURRENT_CONFIG, kSettings, L"MaxConnectionsPerServer"), 6u);

  // In the tray, where the icon takes clicks.
  ClickAt(panel_, kMinimize.x, kMinimize.y);
  HWND icon = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (icon = OurIcon()) != nullptr; }, 10000));
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(main); }, 5000));
  // The notice of a destruction that is not happening, to both hidden windows:
  // they answer it themselves and live on.
  for (Target hidden : {Target::kTrayHandler, Target::kLightTimers}) {
    DWORD_PTR result = 0;
    EXPECT_NE(SendMessageTimeoutW(window_[hidden], WM_NCDESTROY, 0, 0, SMTO_NORMAL, 5000, &result),
              0);
  }
  // A click whose id or notifications are wider than the shell's 32 bits is none.
  constexpr ULONGLONG kHigh = 1ull << 32;
  const struct {
    WPARAM id;
    LPARAM down, up;
  } wide[] = {{static_cast<WPARAM>(known_.icon_id | kHigh), WM_LBUTTONDOWN, WM_LBUTTONUP},
              {known_.icon_id, static_cast<LPARAM>(WM_LBUTTONDOWN | kHigh),
               static_cast<LPARAM>(WM_LBUTTONUP | kHigh)}};
  for (const auto& click : wide) {
    for (LPARAM notification : {click.down, click.up}) {
      DWORD_PTR result = 0;
      SendMessageTimeoutW(window_[Target::kTrayHandler], badmsg::id::kTrayCallback, click.id,
                          notification, SMTO_NORMAL, 5000, &result);
    }
  }
  ASSERT_NO_FATAL_FAILURE(Storm(4000, 2));
  EXPECT_FALSE(IsWindowVisible(main)) << "a message brought the window back";
  EXPECT_EQ(OurIcon(), icon);

  // The icon still cycles on its light timer, and a real click brings the window back.
  Sleep(300);
  const std::vector<DWORD> before = CaptureWindow(icon);
  EXPECT_TRUE(WaitUntil([&] { return CaptureWindow(icon) != before; }, 12000))
      << "the icon's picture no longer changes";
  ASSERT_TRUE(RealClick(CenterOf(icon)));
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(main) != FALSE; }, 10000))
      << "a click on the icon no longer brings the window back";
  EXPECT_TRUE(WaitUntil([&] { return OurIcon() == nullptr; }, 10000));
  for (const auto& [target, count] : sent_) {
    std::printf("[ sent ] %5d to the %s\n", count, badmsg::TargetName(target));
  }

  // The close writes the defaults back and ends the program.
  PostMessageW(main, WM_CLOSE, 0, 0);
  HWND warning = WaitForMessageBox(program_->ProcessId(), L"Warning", 30000);
  ASSERT_NE(warning, nullptr);
  PressDialogButton(warning, IDYES);
  DWORD code = 1;
  EXPECT_TRUE(program_->WaitForExit(15000, &code));
  EXPECT_EQ(code, 0u);
  EXPECT_EQ(ReadDWord(HKEY_CURRENT_USER, kSettings, L"MaxConnectionsPerServer"), 2u);
  EXPECT_EQ(ReadDWord(HKEY_CURRENT_CONFIG, kSettings, L"MaxConnectionsPer1_0Server"), 4u);
}

}  // namespace
}  // namespace velocane
