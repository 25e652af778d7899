// The real program under Wine, sent messages nothing asked for from another
// process: to the tray icon's handler window, the light timers' window, the
// main window, the application window and, while it is up, the about box;
// while shown, with the about box up, while in the tray and with the close's
// Warning box up. Among them every message that carries a pointer, posted
// with 0 or a small number in the pointer's place. The program ignores them,
// shows no box, stays up, and afterwards sets the limits, cycles its icon,
// comes back from the tray at a real click and writes the defaults back when
// it closes.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/win32/handles.h"
#include "tests/support/bad_messages.h"
#include "tools/driver/driver.h"

namespace velocane {
namespace {

using namespace driver;
using badmsg::Target;

const std::vector<Target> kTargets = {Target::kTrayHandler, Target::kLightTimers,
                                      Target::kMainWindow, Target::kApplicationWindow};

// A message-only window of the process with this class. Wine makes one
// top-level instead when the desktop's own message window is not there yet
// (early in a session): then it is found among the top-level windows.
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
        found = WaitForWindow(process_id, class_name, L"", 0);
        return found != nullptr;
      },
      10000);
  return found;
}

// The system messages that the system itself will not carry between programs
// as plain numbers (it copies what they point to, or refuses): a post of one
// fails with ERROR_MESSAGE_SYNC_ONLY.
std::set<std::uint32_t> PointerMessagesOfTheSystem() {
  std::set<std::uint32_t> pointers;
  const win32::UniqueWindow probe(CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                                  nullptr, GetModuleHandleW(nullptr), nullptr));
  for (std::uint32_t msg = 0; msg < badmsg::id::kUser; ++msg) {
    SetLastError(0);
    if (!PostMessageW(probe.get(), msg, 1, 1) && GetLastError() == ERROR_MESSAGE_SYNC_ONLY) {
      pointers.insert(msg);
    }
  }
  MSG drained;
  while (PeekMessageW(&drained, probe.get(), 0, 0, PM_REMOVE)) {
  }
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
  // Running and answering: a program that crashed may still run for a while,
  // stopped while the debugger writes its backtrace.
  bool Answers() {
    DWORD_PTR result = 0;
    return program_->Running() && SendMessageTimeoutW(window_[Target::kMainWindow], WM_NULL, 0, 0,
                                                      SMTO_ABORTIFHUNG, 3000, &result) != 0;
  }
  bool ErrorBoxUp() { return WaitForMessageBox(program_->ProcessId(), L"Velocane 3.12", 0); }

  // `count` messages to the windows; the program must stay up and show nothing.
  void Storm(int count, std::uint32_t seed, const std::vector<Target>& targets) {
    badmsg::Source source(seed);
    std::mt19937 pace(seed);
    int refused = 0, unanswered = 0;
    for (int i = 0; i < count; ++i) {
      const Target target = targets[pace() % targets.size()];
      const badmsg::Message m = source.Next(target, known_);
      HWND window = window_[target];
      const auto wparam = static_cast<WPARAM>(m.wparam);
      const auto lparam = static_cast<LPARAM>(m.lparam);
      if (m.post) {
        if (!Post(window, m)) ++refused;
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
        ASSERT_TRUE(Answers()) << "the program crashed or ended after message " << i << " (0x"
                               << std::hex << m.msg << ")";
        ASSERT_FALSE(ErrorBoxUp()) << "an error box after message 0x" << std::hex << m.msg;
      }
    }
    // Let what was posted be handled.
    Sleep(500);
    ASSERT_TRUE(Answers());
    EXPECT_FALSE(ErrorBoxUp());
    EXPECT_EQ(unanswered, 0);
    for (Target target : targets)
      EXPECT_TRUE(IsWindow(window_[target])) << badmsg::TargetName(target);
    std::printf("[ storm %u ] %d messages; the system refused to post %d of them\n", seed, count,
                refused);
    for (const auto& [reason, draws] : source.LeftOut()) {
      std::printf("[ left out ] %6ld draws: %s\n", draws, reason.c_str());
    }
  }

  // Posts a message; false when the system refused it: one that carries
  // pointers (ERROR_MESSAGE_SYNC_ONLY), or one whose parameters it checks
  // (DDE's handles).
  bool Post(HWND window, const badmsg::Message& m) {
    SetLastError(0);
    const bool posted =
        PostMessageW(window, m.msg, static_cast<WPARAM>(m.wparam), static_cast<LPARAM>(m.lparam));
    const DWORD error = GetLastError();
    if (IsPointerMessage(m.msg, static_cast<std::uintptr_t>(m.wparam))) {
      if (posted) {
        ++pointers_delivered_[badmsg::MessageName(m.msg)];
      } else {
        EXPECT_EQ(error, static_cast<DWORD>(ERROR_MESSAGE_SYNC_ONLY)) << badmsg::MessageName(m.msg);
        ++pointers_refused_[badmsg::MessageName(m.msg)];
      }
    }
    return posted;
  }

  // Every message that carries a pointer, posted with lParam 0 and small
  // numbers to each of `targets`, kind by kind: after each kind the program
  // must still run and show no box.
  void PointerStorm(const std::vector<Target>& targets, const char* when) {
    const std::vector<badmsg::Message> posts = badmsg::PointerPosts();
    int posted = 0, refused = 0;
    for (std::size_t i = 0; i < posts.size(); ++i) {
      for (Target target : targets) {
        ++sent_[target];
        if (Post(window_[target], posts[i])) {
          ++posted;
        } else {
          ++refused;
        }
      }
      if (i + 1 == posts.size() || posts[i + 1].msg != posts[i].msg) {
        // Time for the program to take them from its queue.
        Sleep(20);
        ASSERT_TRUE(Answers()) << "the program crashed or ended after "
                               << badmsg::MessageName(posts[i].msg) << " " << when;
        ASSERT_FALSE(ErrorBoxUp())
            << "an error box after " << badmsg::MessageName(posts[i].msg) << " " << when;
      }
    }
    Sleep(300);
    ASSERT_TRUE(Answers());
    for (Target target : targets)
      EXPECT_TRUE(IsWindow(window_[target])) << badmsg::TargetName(target);
    std::printf("[ pointers %s ] %d posts to %zu windows: %d delivered, %d refused by the system\n",
                when, posted + refused, targets.size(), posted, refused);
  }
  void PrintPointerKinds() const {
    for (const PointerMessage& p : kPointerMessages) {
      const auto delivered = pointers_delivered_.find(p.name);
      const auto refused = pointers_refused_.find(p.name);
      std::printf("[ pointer kind ] %-26s delivered %5d, refused by the system %5d\n", p.name,
                  delivered == pointers_delivered_.end() ? 0 : delivered->second,
                  refused == pointers_refused_.end() ? 0 : refused->second);
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
  std::map<std::string, int> pointers_delivered_, pointers_refused_;
};

TEST_F(BadMessagesE2E, AreIgnoredAndTheProgramWorksOnAfterwards) {
  ASSERT_NO_FATAL_FAILURE(Launch());
  HWND main = window_[Target::kMainWindow];
  std::printf("[ probe ] the system carries %zu of its messages by their pointers\n",
              pointers_.size());
  // What the system itself refuses to post, the program's loops drop too.
  for (std::uint32_t msg : pointers_) {
    EXPECT_TRUE(IsPointerMessage(msg, 1)) << "0x" << std::hex << msg << " is missing";
  }

  ASSERT_NO_FATAL_FAILURE(PointerStorm(kTargets, "while shown"));
  ASSERT_NO_FATAL_FAILURE(Storm(4000, 1, kTargets));
  EXPECT_TRUE(IsWindowVisible(main));
  EXPECT_EQ(OurIcon(), nullptr);

  // The limits are still set.
  ClickAt(panel_, kAccelerate.x, kAccelerate.y);
  ASSERT_TRUE(WaitUntil(
      [&] { return ReadDWord(HKEY_CURRENT_USER, kSettings, L"MaxConnectionsPer1_0Server") == 8u; },
      30000));
  EXPECT_EQ(ReadDWord(HKEY_CURRENT_CONFIG, kSettings, L"MaxConnectionsPerServer"), 6u);

  // With the about box up, whose own loop takes the messages meanwhile.
  POINT about_at = kAbout;
  ClientToScreen(panel_, &about_at);
  ASSERT_TRUE(RealClick(about_at));
  HWND about = WaitForWindow(program_->ProcessId(), L"", L"About", 15000);
  ASSERT_NE(about, nullptr);
  HWND ok = WaitForChild(about, L"Button", L"OK", 10000);
  ASSERT_NE(ok, nullptr);
  window_[Target::kAboutBox] = about;
  for (HWND child : Children(about)) {
    known_.control_windows.push_back(reinterpret_cast<std::uintptr_t>(child));
  }
  std::vector<Target> with_about = kTargets;
  with_about.push_back(Target::kAboutBox);
  ASSERT_NO_FATAL_FAILURE(PointerStorm(with_about, "with the about box up"));
  ASSERT_NO_FATAL_FAILURE(Storm(1500, 3, with_about));
  EXPECT_TRUE(IsWindowVisible(about)) << "a message closed the about box";
  EXPECT_FALSE(IsWindowVisible(main)) << "a message brought the window back";
  ASSERT_TRUE(RealClick(CenterOf(ok)));
  ASSERT_TRUE(WaitUntil([&] { return IsWindow(about) == FALSE; }, 15000));
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(main) != FALSE; }, 10000));

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
  ASSERT_NO_FATAL_FAILURE(PointerStorm(kTargets, "in the tray"));
  ASSERT_NO_FATAL_FAILURE(Storm(4000, 2, kTargets));
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
  // The close writes the defaults back and ends the program, also when the
  // Warning box's own loop has taken messages meanwhile.
  PostMessageW(main, WM_CLOSE, 0, 0);
  HWND warning = WaitForMessageBox(program_->ProcessId(), L"Warning", 30000);
  ASSERT_NE(warning, nullptr);
  ASSERT_NO_FATAL_FAILURE(PointerStorm(kTargets, "with the Warning box up"));
  EXPECT_TRUE(IsWindow(warning));
  PressDialogButton(warning, IDYES);
  DWORD code = 1;
  EXPECT_TRUE(program_->WaitForExit(15000, &code));
  EXPECT_EQ(code, 0u);
  for (HKEY root : {HKEY_CURRENT_USER, HKEY_CURRENT_CONFIG}) {
    EXPECT_EQ(ReadDWord(root, kSettings, L"MaxConnectionsPerServer"), 2u);
    EXPECT_EQ(ReadDWord(root, kSettings, L"MaxConnectionsPer1_0Server"), 4u);
  }
  for (const auto& [target, count] : sent_) {
    std::printf("[ sent ] %5d to the %s\n", count, badmsg::TargetName(target));
  }
  PrintPointerKinds();
}

// The notices of a window's creation, sent by another program to windows that
// exist long since, with a CREATESTRUCT of its own: whatever it names as the
// creation parameter and the title, the windows keep their procedures and
// titles, and the program goes on.
TEST_F(BadMessagesE2E, CreationNoticesForLivingWindowsChangeNothing) {
  ASSERT_NO_FATAL_FAILURE(Launch());
  const std::map<Target, std::wstring> titles = {{Target::kMainWindow, L"Velocane"},
                                                 {Target::kApplicationWindow, L"Velocane 3.12"}};
  CREATESTRUCTW forged{};
  forged.lpszName = L"Forged";
  forged.lpszClass = L"Forged";
  for (UINT msg : {static_cast<UINT>(WM_NCCREATE), static_cast<UINT>(WM_CREATE)}) {
    for (void* parameter : {static_cast<void*>(nullptr), reinterpret_cast<void*>(0x1234)}) {
      forged.lpCreateParams = parameter;
      for (Target target : kTargets) {
        SCOPED_TRACE(std::string(badmsg::MessageName(msg)) + " to the " +
                     badmsg::TargetName(target));
        DWORD_PTR result = 0;
        SendMessageTimeoutW(window_[target], msg, 0, reinterpret_cast<LPARAM>(&forged), SMTO_NORMAL,
                            5000, &result);
        // One more message for each window: its procedure is still its own.
        EXPECT_NE(
            SendMessageTimeoutW(window_[target], WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &result),
            0);
        ASSERT_TRUE(Answers());
        for (const auto& [titled, title] : titles) EXPECT_EQ(TextOf(window_[titled]), title);
      }
    }
  }
  // Still at work: the icon comes and a real click brings the window back.
  HWND main = window_[Target::kMainWindow];
  ClickAt(panel_, kMinimize.x, kMinimize.y);
  HWND icon = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (icon = OurIcon()) != nullptr; }, 10000));
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(main); }, 5000));
  ASSERT_TRUE(RealClick(CenterOf(icon)));
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(main) != FALSE; }, 10000));
  PostMessageW(main, WM_CLOSE, 0, 0);
  HWND warning = WaitForMessageBox(program_->ProcessId(), L"Warning", 30000);
  ASSERT_NE(warning, nullptr);
  PressDialogButton(warning, IDYES);
  EXPECT_TRUE(program_->WaitForExit(15000));
}

}  // namespace
}  // namespace velocane
