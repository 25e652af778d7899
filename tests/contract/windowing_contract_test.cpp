// Hidden windows, messages and timers, on the simulation and on the real system.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/messages.h"
#include "platform/pointer_messages.h"
#include "tests/contract/backend.h"

namespace velocane {
namespace {

constexpr std::uint32_t kPing = wm::kUser + 1;

class WindowingContract : public ::testing::Test {
 protected:
  WindowHandle Create(const std::string& title, bool message_only) {
    CreateWindowResult created =
        win.CreateHiddenWindow("VelocaneContractWindow", title, message_only,
                               [this](std::uint32_t msg, std::uintptr_t wparam,
                                      std::intptr_t lparam) -> std::optional<std::intptr_t> {
                                 if (msg == kPing) {
                                   received.push_back(static_cast<int>(wparam));
                                   return lparam * 2;
                                 }
                                 if (msg == wm::kTimer) {
                                   timer_ticks.push_back(static_cast<int>(wparam));
                                   return 0;
                                 }
                                 return std::nullopt;
                               });
    EXPECT_TRUE(created.handle) << created.error;
    windows.push_back(created.handle);
    return created.handle;
  }
  void TearDown() override {
    for (WindowHandle w : windows) win.DestroyWindow(w);
  }
  bool Listed(WindowHandle wanted) {
    bool found = false;
    win.EnumTopLevelWindows([&](WindowHandle w) {
      found = found || w == wanted;
      return true;
    });
    return found;
  }

  Windowing& win = contract::Backend().windowing;
  std::vector<WindowHandle> windows;
  std::vector<int> received;
  std::vector<int> timer_ticks;
};

TEST_F(WindowingContract, HiddenTopLevelWindowIsListedWithTitleAndClass) {
  WindowHandle w = Create("Velocane Contract 1", false);
  EXPECT_TRUE(Listed(w));
  EXPECT_EQ(win.GetWindowText(w), "Velocane Contract 1");
  EXPECT_EQ(win.GetClassName(w), "VelocaneContractWindow");
  EXPECT_FALSE(win.IsWindowVisible(w));
  win.SetWindowText(w, "Velocane Contract 2");
  EXPECT_EQ(win.GetWindowText(w), "Velocane Contract 2");
  EXPECT_EQ(win.GetLastActivePopup(w), w);
}

TEST_F(WindowingContract, MessageOnlyWindowIsNotListed) {
  WindowHandle w = Create("", true);
  EXPECT_FALSE(Listed(w));
  EXPECT_EQ(win.SendMessage(w, kPing, 7, 21), 42);
  EXPECT_EQ(received, std::vector<int>{7});
}

TEST_F(WindowingContract, DestroyedWindowIsGone) {
  WindowHandle w = Create("Velocane Contract 3", false);
  win.DestroyWindow(w);
  windows.clear();
  EXPECT_FALSE(Listed(w));
  EXPECT_EQ(win.GetWindowText(w), "");
  EXPECT_EQ(win.GetClassName(w), "");
}

// The end of a window's life is its destruction, not the notice of it: a
// WM_NCDESTROY or WM_DESTROY that anyone sends to a living window leaves it
// answering; its procedure goes when the window does, also one that ends its
// own window while it runs.
TEST_F(WindowingContract, AWindowOutlivesItsDestructionNoticesAndItsProcedureGoesWithIt) {
  constexpr std::uint32_t kEndYourself = wm::kUser + 2;
  for (bool message_only : {false, true}) {
    SCOPED_TRACE(message_only ? "message-only" : "top-level");
    auto token = std::make_shared<int>(0);
    WindowHandle w;
    CreateWindowResult created = win.CreateHiddenWindow(
        "VelocaneContractWindow", "", message_only,
        [this, token, &w](std::uint32_t msg, std::uintptr_t,
                          std::intptr_t lparam) -> std::optional<std::intptr_t> {
          if (msg == kPing) return lparam * 2;
          if (msg == kEndYourself) {
            win.DestroyWindow(w);
            return ++*token;
          }
          return std::nullopt;
        });
    ASSERT_TRUE(created.handle) << created.error;
    w = created.handle;
    constexpr std::uint32_t kNcDestroy = 0x0082;
    for (std::uint32_t notice : {kNcDestroy, wm::kDestroy}) {
      win.SendMessage(w, notice, 0, 0);
      EXPECT_EQ(win.SendMessage(w, kPing, 0, 21), 42);
    }
    EXPECT_EQ(token.use_count(), 2);
    EXPECT_EQ(win.SendMessage(w, kEndYourself, 0, 0), 1);
    EXPECT_EQ(win.GetClassName(w), "");
    EXPECT_EQ(token.use_count(), 1);
  }
}

TEST_F(WindowingContract, PostedMessagesArriveInOrderBeforeTheQuit) {
  WindowHandle w = Create("", true);
  EXPECT_TRUE(win.PostMessage(w, kPing, 1, 0));
  EXPECT_TRUE(win.PostMessage(w, kPing, 2, 0));
  win.PostQuitMessage(3);
  EXPECT_TRUE(win.PostMessage(w, kPing, 4, 0));
  EXPECT_EQ(win.RunMessageLoop(), 3);
  EXPECT_EQ(received, (std::vector<int>{1, 2, 4}));
}

// A posted message that carries a pointer was forged: every loop drops it
// before a window procedure could take its number for an address. The real
// system refuses to post most of them; those it lets through (WM_NOTIFY and
// the like) must not arrive either. Sent, as the program's own controls send
// them, they arrive.
TEST_F(WindowingContract, PostedMessagesThatCarryPointersNeverArrive) {
  std::vector<std::uint32_t> arrived;
  int pings = 0;
  CreateWindowResult created = win.CreateHiddenWindow(
      "VelocaneContractWindow", "", true,
      [&](std::uint32_t msg, std::uintptr_t wparam, std::intptr_t) -> std::optional<std::intptr_t> {
        if (IsPointerMessage(msg, wparam)) arrived.push_back(msg);
        if (msg != kPing) return std::nullopt;
        ++pings;
        return 0;
      });
  ASSERT_TRUE(created.handle);
  const WindowHandle w = created.handle;
  windows.push_back(w);
  const struct {
    const char* name;
    std::function<void()> run;
  } loops[] = {
      {"the message loop",
       [&] {
         win.PostQuitMessage(0);
         EXPECT_EQ(win.RunMessageLoop(), 0);
       }},
      {"the pending messages", [&] { EXPECT_TRUE(win.ProcessPendingMessages()); }},
      {"a modal loop", [&] { EXPECT_TRUE(win.RunModalLoop(w, [&] { return pings > 0; })); }},
  };
  for (const auto& loop : loops) {
    SCOPED_TRACE(loop.name);
    arrived.clear();
    pings = 0;
    for (const PointerMessage& m : kPointerMessages) {
      for (std::uintptr_t wparam : {std::uintptr_t{0}, std::uintptr_t{0x8000}}) {
        win.PostMessage(w, m.msg, wparam, 0);  // the system may refuse it
      }
    }
    ASSERT_TRUE(win.PostMessage(w, kPing, 0, 0));
    loop.run();
    EXPECT_EQ(pings, 1);
    EXPECT_TRUE(arrived.empty()) << arrived.size() << " arrived, first 0x" << std::hex
                                 << arrived.front();
  }
  constexpr std::uint32_t kNotify = 0x004E;
  win.SendMessage(w, kNotify, 0, 0);
  EXPECT_EQ(arrived, std::vector<std::uint32_t>{kNotify});
}

// The notices of a window's creation, sent to a window that exists, make
// nothing anew: it keeps its procedure.
TEST_F(WindowingContract, CreationNoticesToALivingWindowLeaveItsProcedure) {
  constexpr std::uint32_t kCreate = 0x0001, kNcCreate = 0x0081;
  for (bool message_only : {false, true}) {
    SCOPED_TRACE(message_only ? "message-only" : "top-level");
    WindowHandle w = Create("Velocane Contract 5", message_only);
    for (std::uint32_t notice : {kNcCreate, kCreate}) {
      win.SendMessage(w, notice, 0, 0);
      EXPECT_EQ(win.SendMessage(w, kPing, 9, 21), 42);
    }
    EXPECT_EQ(win.GetWindowText(w), "Velocane Contract 5");
  }
  EXPECT_EQ(received, (std::vector<int>{9, 9, 9, 9}));
}

TEST_F(WindowingContract, TimerTicksUntilKilled) {
  WindowHandle w = Create("", true);
  ASSERT_TRUE(win.SetTimer(w, 5, 10).ok());
  EXPECT_TRUE(contract::PumpUntil([&] { return timer_ticks.size() >= 3; }, 5000));
  EXPECT_EQ(timer_ticks[0], 5);
  EXPECT_TRUE(win.KillTimer(w, 5));
  const size_t ticks = timer_ticks.size();
  contract::PumpUntil([] { return false; }, 50);
  EXPECT_EQ(timer_ticks.size(), ticks);
  EXPECT_FALSE(win.KillTimer(w, 5));
}

TEST_F(WindowingContract, SetTimerOnAWindowThatIsGoneGivesAnErrorCode) {
  WindowHandle w = Create("", true);
  win.DestroyWindow(w);
  windows.clear();
  // Windows says ERROR_INVALID_WINDOW_HANDLE, Wine ERROR_INVALID_HANDLE: some code it is.
  const SysResult set = win.SetTimer(w, 5, 10);
  EXPECT_FALSE(set.ok());
  EXPECT_NE(set.error, 0u);
}

// The system alone would make a thread timer under an id of its own choosing,
// which no WM_TIMER of the id asked for would name and no KillTimer of it end.
TEST_F(WindowingContract, SetTimerWithoutAWindowIsRefused) {
  constexpr unsigned kErrorInvalidWindowHandle = 1400;
  const SysResult set = win.SetTimer(WindowHandle{}, 5, 10);
  EXPECT_FALSE(set.ok());
  EXPECT_EQ(set.error, kErrorInvalidWindowHandle);
  EXPECT_FALSE(win.KillTimer(WindowHandle{}, 5));
}

// Nothing unwinds through the system: what a window procedure throws reaches
// the error handler, of whatever type it is, and the message gets its default answer.
TEST_F(WindowingContract, ErrorsEscapingAWindowProcedureGoToTheErrorHandler) {
  std::vector<std::string> caught;
  win.SetErrorHandler([&](std::exception_ptr error) {
    try {
      std::rethrow_exception(error);
    } catch (const std::exception& e) {
      caught.push_back(e.what());
    } catch (...) {
      caught.push_back("unknown");
    }
  });
  CreateWindowResult created = win.CreateHiddenWindow(
      "VelocaneContractWindow", "", true,
      [](std::uint32_t msg, std::uintptr_t wparam, std::intptr_t) -> std::optional<std::intptr_t> {
        if (msg != kPing) return std::nullopt;
        if (wparam == 1) throw std::runtime_error("ping failed");
        throw 7;
      });
  ASSERT_TRUE(created.handle);
  windows.push_back(created.handle);
  EXPECT_EQ(win.SendMessage(created.handle, kPing, 1, 0), 0);
  EXPECT_EQ(win.SendMessage(created.handle, kPing, 2, 0), 0);
  win.SetErrorHandler(nullptr);
  EXPECT_EQ(caught, (std::vector<std::string>{"ping failed", "unknown"}));
}

TEST_F(WindowingContract, ShowMinimizeAndRestore) {
  WindowHandle w = Create("Velocane Contract 4", false);
  win.ShowWindow(w, showcmd::kMinimize);
  EXPECT_TRUE(win.IsIconic(w));
  win.ShowWindow(w, showcmd::kRestore);
  EXPECT_FALSE(win.IsIconic(w));
  EXPECT_TRUE(win.IsWindowVisible(w));
  win.ShowWindow(w, showcmd::kHide);
  EXPECT_FALSE(win.IsWindowVisible(w));
}

}  // namespace
}  // namespace velocane
