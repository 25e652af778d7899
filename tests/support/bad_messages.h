#pragma once
// Messages that nothing in the program asks for, for the program's hidden
// windows, its main window and its about box: unknown ids, the tray callback
// with ids and notifications the shell never sends, WM_TIMER with keys no
// timer has, the system's messages that carry pointers posted with numbers in
// their place, and the rest of the system's messages with any parameters.
// Shared by the test on the simulation and the one under Wine, so both send
// the same kind of thing. A message that would act as it should (end the
// program, close a window, press a button, restore the window from the tray)
// is never drawn; Excluded() says which, and why.
#include <cstdint>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "platform/pointer_messages.h"

namespace velocane::badmsg {

enum class Target { kTrayHandler, kLightTimers, kMainWindow, kApplicationWindow, kAboutBox };

struct Message {
  std::uint32_t msg = 0;
  std::uint64_t wparam = 0;
  std::int64_t lparam = 0;
  bool post = false;  // posted to the queue rather than sent
};

// What the test knows of the program, so that it can leave out its real requests.
struct Known {
  std::uint32_t icon_id = 1;                   // the tray icon's id with the shell
  std::vector<std::uint32_t> registered;       // registered messages the program answers
  std::vector<std::uint64_t> control_windows;  // the main window's controls
  std::vector<std::uint64_t> timer_keys;       // keys of light timers that are alive
};

namespace id {
constexpr std::uint32_t kDestroy = 0x0002, kSetRedraw = 0x000B, kClose = 0x0010,
                        kQueryEndSession = 0x0011, kQuit = 0x0012, kEndSession = 0x0016,
                        kShowWindow = 0x0018, kMouseActivate = 0x0021, kSetHotKey = 0x0032,
                        kInputLangChangeRequest = 0x0050, kContextMenu = 0x007B, kSetIcon = 0x0080,
                        kNcDestroy = 0x0082, kCommand = 0x0111, kSysCommand = 0x0112,
                        kTimer = 0x0113, kSysTimer = 0x0118, kDeviceChange = 0x0219,
                        kHotKey = 0x0312, kAppCommand = 0x0319, kClientShutdown = 0x003B,
                        kPopupSystemMenu = 0x0313, kUser = 0x0400, kTrayCallback = 0x0400 + 1024,
                        kApp = 0x8000, kDeferred = 0x8001;
}  // namespace id

// The notifications the tray icon answers (its callback's lParam).
inline bool IsTrayNotification(std::int64_t lparam) {
  return (lparam >= 0x0200 && lparam <= 0x0209) || lparam == id::kContextMenu ||
         (lparam >= 0x0400 && lparam <= 0x0405);
}

// Why a message is never sent; null when it may be.
inline const char* Excluded(const Message& m, Target target, const Known& known) {
  const auto in = [](std::uint64_t value, const auto& list) {
    for (auto item : list) {
      if (static_cast<std::uint64_t>(item) == value) return true;
    }
    return false;
  };
  // Posted, one is forged and dropped by the message loop; sent from another
  // program, the system copies what it points to out of the sender's memory.
  if (IsPointerMessage(m.msg, static_cast<std::uintptr_t>(m.wparam))) {
    return m.post ? nullptr : "sent with pointers: the system copies what they point to";
  }
  switch (m.msg) {
    case id::kDestroy:
    case id::kClose:
    case id::kQueryEndSession:
    case id::kQuit:
    case id::kEndSession:
      return "begins or ends a window's or the program's life";
    case id::kNcDestroy:
      if (target == Target::kMainWindow || target == Target::kApplicationWindow) {
        return "WM_NCDESTROY: the system's own handling drops the window's title";
      }
      return nullptr;  // the hidden windows answer it themselves
    case id::kSysCommand:
      return "WM_SYSCOMMAND: the system's commands (close, minimize, restore, screen saver, "
             "monitor off, task list)";
    case id::kPopupSystemMenu:
      return "WM_POPUPSYSTEMMENU: the taskbar's request; the system opens the window menu and "
             "waits for the user";
    case id::kClientShutdown:
      return "WM_CLIENTSHUTDOWN: the system's end of the session for the window";
    case id::kShowWindow:
    case id::kSetRedraw:
    case id::kSetIcon:
    case id::kSetHotKey:
    case id::kInputLangChangeRequest:
      return "shows, stops drawing, changes the icon, the hot key or the keyboard layout";
    case id::kContextMenu:
    case id::kMouseActivate:
    case id::kHotKey:
    case id::kAppCommand:
      return "the user's input";
    case id::kCommand:
    case id::kDeferred:
      if ((target == Target::kMainWindow || target == Target::kAboutBox) &&
          in(static_cast<std::uint64_t>(m.lparam), known.control_windows)) {
        return "a control's own notice: the user's click or choice";
      }
      return nullptr;
    case id::kTimer:
    case id::kSysTimer:
      if (m.post && m.lparam != 0) {
        return "posted with lParam: the system calls it as a timer procedure";
      }
      if (target == Target::kLightTimers && in(m.wparam, known.timer_keys)) {
        return "a living timer's tick";
      }
      return nullptr;
    case id::kTrayCallback:
      if (target == Target::kTrayHandler && m.wparam == known.icon_id &&
          IsTrayNotification(m.lparam)) {
        return "the shell's own notice for the icon: a click restores the window";
      }
      return nullptr;
    default:
      break;
  }
  if ((m.msg >= 0x0100 && m.msg <= 0x010F) || (m.msg >= 0x0200 && m.msg <= 0x020E) ||
      (m.msg >= 0x00A0 && m.msg <= 0x00AD) || (m.msg >= 0x0281 && m.msg <= 0x0291)) {
    return "the user's input (keys, mouse, non-client mouse, input method)";
  }
  if (in(m.msg, known.registered)) return "a registered message the program answers";
  return nullptr;
}

// Draws messages with a seeded generator; counts what it left out, by reason.
class Source {
 public:
  explicit Source(std::uint32_t seed) : rng_(seed) {}

  Message Next(Target target, const Known& known) {
    for (;;) {
      Message m = Draw(target, known);
      if (const char* reason = Excluded(m, target, known)) {
        ++left_out_[reason];
        continue;
      }
      return m;
    }
  }
  const std::map<std::string, long>& LeftOut() const { return left_out_; }

 private:
  std::uint64_t Bits() { return rng_(); }
  std::uint64_t Below(std::uint64_t n) { return Bits() % n; }

  // A parameter: nothing, small numbers, all ones, 32 or 64 random bits, or
  // a near miss of something real (the icon's id or a control's window with
  // high bits set, one off).
  std::uint64_t Param(const Known& known) {
    switch (Below(8)) {
      case 0:
        return 0;
      case 1:
        return Below(64);
      case 2:
        return ~std::uint64_t{0};
      case 3:
        return Bits() & 0xFFFFFFFFu;
      case 4:
        return Bits();
      case 5:
        return known.icon_id + (std::uint64_t{1} << (32 + Below(32)));
      case 6:
        if (!known.control_windows.empty()) {
          return known.control_windows[Below(known.control_windows.size())] + 1 + Below(3);
        }
        return Below(0x10000);
      default:
        if (!known.timer_keys.empty()) {
          const std::uint64_t key = known.timer_keys[Below(known.timer_keys.size())];
          return Below(2) == 0 ? key + 1 + Below(16) : key ^ (std::uint64_t{1} << (32 + Below(31)));
        }
        return Bits() & 0xFFFF;
    }
  }

  Message Draw(Target target, const Known& known) {
    Message m;
    m.post = Below(4) == 0;
    m.wparam = Param(known);
    m.lparam = static_cast<std::int64_t>(Param(known));
    const std::uint64_t roll = Below(100);
    if (roll < (target == Target::kTrayHandler ? 40u : 10u)) {
      m.msg = id::kTrayCallback;
      // The icon's own id now and then, with notifications it does not know.
      if (Below(3) == 0) m.wparam = known.icon_id;
      if (Below(3) == 0) m.lparam = static_cast<std::int64_t>(Below(0x800));
    } else if (roll < (target == Target::kLightTimers ? 70u : 30u)) {
      m.msg = id::kTimer;
      if (m.post) m.lparam = 0;
    } else if (roll < 75) {
      m.msg = static_cast<std::uint32_t>(Below(id::kUser));
    } else if (roll < 83) {
      m.msg = id::kUser + static_cast<std::uint32_t>(Below(id::kApp - id::kUser));
    } else if (roll < 91) {
      m.msg = id::kApp + static_cast<std::uint32_t>(Below(0x4000));
    } else if (roll < 96) {
      m.msg = 0xC000 + static_cast<std::uint32_t>(Below(0x4000));
    } else {
      // Not from 0x80000000 on: Wine keeps those for its own messages between its processes.
      m.msg = 0x10000 + static_cast<std::uint32_t>(Below(0x7FFF0000u));
    }
    return m;
  }

  std::mt19937_64 rng_;
  std::map<std::string, long> left_out_;
};

// Every message that carries a pointer, posted as a forger would post it:
// lParam 0 and small numbers, wParam 0, small, and with the bit that makes a
// device change one of them. The message loops drop every one.
inline std::vector<Message> PointerPosts() {
  std::vector<Message> posts;
  for (const PointerMessage& p : kPointerMessages) {
    for (std::uint64_t wparam : {0x0u, 0x1u, 0x8000u}) {
      for (std::int64_t lparam : {0x0, 0x1, 0x2, 0x4, 0x8, 0x10, 0x40, 0x1000}) {
        posts.push_back(Message{p.msg, wparam, lparam, true});
      }
    }
  }
  return posts;
}

inline const char* MessageName(std::uint32_t msg) {
  for (const PointerMessage& p : kPointerMessages) {
    if (p.msg == msg) return p.name;
  }
  return "?";
}

inline const char* TargetName(Target target) {
  switch (target) {
    case Target::kTrayHandler:
      return "tray handler window";
    case Target::kLightTimers:
      return "light timer window";
    case Target::kMainWindow:
      return "main window";
    case Target::kApplicationWindow:
      return "application window";
    case Target::kAboutBox:
      return "about box";
  }
  return "?";
}

}  // namespace velocane::badmsg
