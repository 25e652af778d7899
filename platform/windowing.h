#pragma once
// Windows and messages: hidden windows with a window procedure, send/post,
// window timers, the top-level window list, activation calls, message boxes and
// the message loop.
#include <cstdint>
#include <exception>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/types.h"

namespace velocane {

// Returns the message's result, or nothing to leave it to the system's default handling.
using WindowProc = std::function<std::optional<std::intptr_t>(
    std::uint32_t msg, std::uintptr_t wparam, std::intptr_t lparam)>;

struct CreateWindowResult {
  WindowHandle handle;
  unsigned error = 0;  // the system's error code when handle is null
};

// An item of a popup menu. Id 0 is a separator.
struct MenuItem {
  int id = 0;
  std::string caption;
  bool is_default = false;  // drawn in bold; what a double click chooses
  bool enabled = true;
};

// A key pressed or let go, as a message loop takes it from the queue.
struct KeyStroke {
  int key = 0;         // the virtual key
  bool down = true;    // false when it is let go
  bool alt = false;    // Alt is held: a key of the system's (a menu or an access key)
  bool shift = false;  // the shift keys' state when it was pressed
  bool control = false;
  friend bool operator==(const KeyStroke&, const KeyStroke&) = default;
};

// Sees a key before the window it is for; true keeps it from that window.
using KeyPreview = std::function<bool(WindowHandle target, const KeyStroke& key)>;

// One subclassing of a window, to end it again.
struct SubclassHandle {
  std::uintptr_t value = 0;
  explicit operator bool() const { return value != 0; }
};

class Windowing {
 public:
  virtual ~Windowing() = default;

  // A hidden top-level window (found by window enumeration), or with
  // `message_only` a window that only receives messages sent or posted to it.
  virtual CreateWindowResult CreateHiddenWindow(const std::string& class_name,
                                                const std::string& title, bool message_only,
                                                WindowProc proc) = 0;
  virtual void DestroyWindow(WindowHandle window) = 0;
  virtual void SetWindowText(WindowHandle window, const std::string& text) = 0;

  virtual std::intptr_t SendMessage(WindowHandle window, std::uint32_t msg, std::uintptr_t wparam,
                                    std::intptr_t lparam) = 0;
  virtual bool PostMessage(WindowHandle window, std::uint32_t msg, std::uintptr_t wparam,
                           std::intptr_t lparam) = 0;
  // WM_TIMER with wparam `id` every `milliseconds`; setting an existing id restarts it.
  // A null window is refused with ERROR_INVALID_WINDOW_HANDLE (1400), and
  // KillTimer on one is false: the system's thread timers take ids of their own.
  virtual SysResult SetTimer(WindowHandle window, std::uintptr_t id, unsigned milliseconds) = 0;
  virtual bool KillTimer(WindowHandle window, std::uintptr_t id) = 0;

  // Calls `visit` for every top-level window until it returns false.
  virtual void EnumTopLevelWindows(const std::function<bool(WindowHandle)>& visit) = 0;
  // At most 255 characters; empty when the window has none or is gone.
  virtual std::string GetWindowText(WindowHandle window) = 0;
  virtual std::string GetClassName(WindowHandle window) = 0;
  virtual bool IsWindowVisible(WindowHandle window) = 0;

  virtual WindowHandle GetLastActivePopup(WindowHandle window) = 0;
  virtual bool BringWindowToTop(WindowHandle window) = 0;
  virtual bool IsIconic(WindowHandle window) = 0;
  virtual bool ShowWindow(WindowHandle window, int show_command) = 0;
  virtual bool SetForegroundWindow(WindowHandle window) = 0;

  // Modal; returns the button pressed (idbutton), or 0 when no box could be shown.
  virtual int MessageBox(WindowHandle owner, const std::string& text, const std::string& caption,
                         unsigned flags) = 0;

  virtual void PostQuitMessage(int exit_code) = 0;
  // Every loop of the thread below, and those of message boxes and menus,
  // drops a posted message that carries a pointer (IsPointerMessage): only a
  // forger posts one, and no window procedure is to read its number as an address.
  // Dispatches messages until the quit message arrives; returns its exit code.
  virtual int RunMessageLoop() = 0;
  // Dispatches what is waiting without blocking; false once the quit message was seen.
  virtual bool ProcessPendingMessages() = 0;
  // The loop of a modal window: dispatches messages, with the keyboard
  // navigation of a dialog for `dialog`, until `done()` holds (true). False
  // when the quit message came first (it is left for the message loop) or
  // nothing could ever end the wait.
  virtual bool RunModalLoop(WindowHandle dialog, const std::function<bool()>& done) = 0;

  // Every loop (the message loop, a modal loop, the pending messages) shows
  // each key to `preview` before it translates and dispatches it, as a
  // dialog's keyboard navigation takes its keys first.
  virtual void SetKeyPreview(KeyPreview preview) = 0;
  // The program's window that has the keyboard focus, or holds the one that
  // has it (the edit field of a combo box); null when none of them has it.
  virtual WindowHandle FocusedWindow() = 0;

  // A message number that every program registering the same name gets.
  virtual std::uint32_t RegisterWindowMessage(const std::string& name) = 0;
  // Lets `msg` reach `window` from programs that run with fewer rights (the
  // message filter of Windows Vista and later); false where there is no such
  // filter or it refused.
  virtual bool AllowMessageFromLowerRights(WindowHandle window, std::uint32_t msg) = 0;

  // `hook` sees the window's messages before its own procedure does; a result
  // it returns ends the message there, nothing passes it on. Null on failure.
  virtual SubclassHandle Subclass(WindowHandle window, WindowProc hook) = 0;
  virtual void RemoveSubclass(WindowHandle window, SubclassHandle subclass) = 0;

  // The pointer's place on the screen; false when it cannot be read.
  virtual bool GetCursorPos(Point* at) = 0;
  virtual unsigned GetDoubleClickTime() = 0;
  // The key's asynchronous state has its high bit set: it is down.
  virtual bool IsKeyDown(int virtual_key) = 0;
  // Shows a popup menu at a point of the screen and returns when it closes:
  // the id of the item chosen, or 0.
  virtual int TrackPopupMenu(WindowHandle owner, const std::vector<MenuItem>& items, Point at) = 0;

  // No exception may unwind through the system's code: every window procedure
  // of the program catches what its handling throws and passes it here.
  // Without a handler it is dropped.
  virtual void SetErrorHandler(std::function<void(std::exception_ptr)> handler) = 0;
};

}  // namespace velocane
