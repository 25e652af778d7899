#pragma once
// A small deterministic windowing system: windows with procedures, a posted
// message queue, timers on the virtual clock, activation state and scripted
// message boxes. A test advances time and the due timers fire in order.
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/sim/sim_clock.h"
#include "platform/windowing.h"

namespace velocane::sim {

struct ShownMessageBox {
  WindowHandle owner;
  std::string text;
  std::string caption;
  unsigned flags = 0;
};

class SimWindowing : public Windowing {
 public:
  explicit SimWindowing(SimClock& clock) : clock_(clock) {}

  CreateWindowResult CreateHiddenWindow(const std::string& class_name, const std::string& title,
                                        bool message_only, WindowProc proc) override;
  void DestroyWindow(WindowHandle window) override;
  void SetWindowText(WindowHandle window, const std::string& text) override;
  std::intptr_t SendMessage(WindowHandle window, std::uint32_t msg, std::uintptr_t wparam,
                            std::intptr_t lparam) override;
  bool PostMessage(WindowHandle window, std::uint32_t msg, std::uintptr_t wparam,
                   std::intptr_t lparam) override;
  SysResult SetTimer(WindowHandle window, std::uintptr_t id, unsigned milliseconds) override;
  bool KillTimer(WindowHandle window, std::uintptr_t id) override;
  void EnumTopLevelWindows(const std::function<bool(WindowHandle)>& visit) override;
  std::string GetWindowText(WindowHandle window) override;
  std::string GetClassName(WindowHandle window) override;
  bool IsWindowVisible(WindowHandle window) override;
  WindowHandle GetLastActivePopup(WindowHandle window) override;
  bool BringWindowToTop(WindowHandle window) override;
  bool IsIconic(WindowHandle window) override;
  bool ShowWindow(WindowHandle window, int show_command) override;
  bool SetForegroundWindow(WindowHandle window) override;
  int MessageBox(WindowHandle owner, const std::string& text, const std::string& caption,
                 unsigned flags) override;
  void PostQuitMessage(int exit_code) override;
  int RunMessageLoop() override;
  bool ProcessPendingMessages() override;
  bool RunModalLoop(WindowHandle dialog, const std::function<bool()>& done) override;
  void SetErrorHandler(std::function<void(std::exception_ptr)> handler) override {
    error_handler_ = std::move(handler);
  }
  std::uint32_t RegisterWindowMessage(const std::string& name) override;
  bool AllowMessageFromLowerRights(WindowHandle window, std::uint32_t msg) override;
  SubclassHandle Subclass(WindowHandle window, WindowProc hook) override;
  void RemoveSubclass(WindowHandle window, SubclassHandle subclass) override;
  bool GetCursorPos(Point* at) override;
  unsigned GetDoubleClickTime() override { return double_click_time; }
  bool IsKeyDown(int virtual_key) override { return keys_down.contains(virtual_key); }
  int TrackPopupMenu(WindowHandle owner, const std::vector<MenuItem>& items, Point at) override;
  void SetKeyPreview(KeyPreview preview) override { key_preview_ = std::move(preview); }
  WindowHandle FocusedWindow() override { return focus_; }

  // Runs input the way a window procedure of the system would: what escapes it
  // goes to the error handler, never to the caller.
  void Deliver(const std::function<void()>& input);
  // A key as a loop takes it from the queue: the preview first; true when it used it.
  bool PreviewKey(WindowHandle target, const KeyStroke& key);
  // The window that has the keyboard focus; the simulated windows set it.
  void SetFocusedWindow(WindowHandle window) { focus_ = window; }

  // Test side.
  // Sends a message to every top-level window, as HWND_BROADCAST does.
  void Broadcast(std::uint32_t msg, std::uintptr_t wparam, std::intptr_t lparam);
  // The pointer, the keys and the double-click time the program reads.
  Point cursor;
  bool cursor_readable = true;
  std::set<int> keys_down;
  unsigned double_click_time = 500;
  struct ShownMenu {
    WindowHandle owner;
    std::vector<MenuItem> items;
    Point at;
  };
  // Answers popup menus with the id of the item chosen; without one, nothing is chosen.
  std::function<int(const ShownMenu&)> menu_responder;
  const std::vector<ShownMenu>& Menus() const { return menus_; }
  // Messages the message filter lets through, by window.
  bool AllowedFromLowerRights(WindowHandle window, std::uint32_t msg) const {
    return allowed_.contains({window.value, msg});
  }
  WindowHandle ForegroundWindow() const { return foreground_; }
  // A visible top-level window of another program (or a child of `parent`).
  WindowHandle AddWindow(const std::string& class_name, const std::string& title,
                         WindowProc proc = {}, WindowHandle owner = {});
  void SetLastActivePopup(WindowHandle window, WindowHandle popup);
  // Runs what is due within the next `milliseconds` of virtual time, in order.
  void RunFor(std::uint64_t milliseconds);
  bool QuitPosted() const { return quit_posted_; }
  int QuitCode() const { return quit_code_; }
  // Answers message boxes; without one, each box is answered with its first button.
  void SetMessageBoxResponder(std::function<int(const ShownMessageBox&)> responder) {
    responder_ = std::move(responder);
  }
  const std::vector<ShownMessageBox>& MessageBoxes() const { return boxes_; }
  // Acts as the user while a modal window is up: called with the window each
  // time its loop finds nothing posted and no timer due; returns whether it
  // did something. When it did nothing, or without one, and no timer is
  // left, the loop gives up, as it does after kModalResponses answers.
  void SetModalResponder(std::function<bool(WindowHandle dialog)> responder) {
    modal_responder_ = std::move(responder);
  }
  static constexpr int kModalResponses = 10000;
  WindowHandle Foreground() const { return foreground_; }
  // The activation calls in the order they were made, kept while on: which
  // window was raised, activated or shown how, apart from where it ended up.
  enum class Activation { kBringToTop, kSetForeground, kShowWindow };
  struct ActivationCall {
    Activation call;
    WindowHandle window;
    int show_command = 0;  // ShowWindow only
    friend bool operator==(const ActivationCall&, const ActivationCall&) = default;
  };
  void KeepActivationJournal(bool on) { keep_activations_ = on; }
  const std::vector<ActivationCall>& ActivationJournal() const { return activations_; }
  // Top-level windows from the top of the window order down.
  std::vector<WindowHandle> ZOrder() const { return z_order_; }
  // The next window creation fails with this system error code.
  void FailNextCreate(unsigned error) { fail_next_create_ = error; }
  // The next SetTimer fails with this system error code.
  void FailNextSetTimer(unsigned error) { fail_next_timer_ = error; }
  // How many windows and timers exist now (leak checks).
  int LiveWindows() const { return static_cast<int>(windows_.size()); }
  int LiveTimers() const { return static_cast<int>(timers_.size()); }

 private:
  struct Window {
    std::string class_name;
    std::string title;
    WindowProc proc;
    std::vector<std::pair<std::uintptr_t, WindowProc>> hooks;  // newest last
    bool message_only = false;
    bool visible = false;
    bool iconic = false;
    WindowHandle owner;
    WindowHandle last_active_popup;
  };
  struct Timer {
    WindowHandle window;
    std::uintptr_t id;
    unsigned interval;
    std::uint64_t due;
    std::uint64_t order;  // ties fire in the order the timers were set
  };
  struct Posted {
    WindowHandle window;
    std::uint32_t msg;
    std::uintptr_t wparam;
    std::intptr_t lparam;
  };
  std::intptr_t Dispatch(WindowHandle window, std::uint32_t msg, std::uintptr_t wparam,
                         std::intptr_t lparam);
  // Dispatches one posted message or one due timer; false when nothing is waiting.
  bool DispatchOne();
  Timer* NextTimer();
  // To the top of the window order; false for a message-only window or none.
  bool Raise(WindowHandle window);

  SimClock& clock_;
  std::map<std::uintptr_t, Window> windows_;
  std::vector<WindowHandle> z_order_;
  std::vector<Timer> timers_;
  std::deque<Posted> queue_;
  std::uintptr_t next_window_ = 0x10000;
  std::uint64_t next_timer_order_ = 0;
  bool quit_posted_ = false;
  int quit_code_ = 0;
  WindowHandle foreground_;
  std::function<int(const ShownMessageBox&)> responder_;
  std::vector<ShownMessageBox> boxes_;
  std::function<bool(WindowHandle)> modal_responder_;
  unsigned fail_next_create_ = 0;
  unsigned fail_next_timer_ = 0;
  std::function<void(std::exception_ptr)> error_handler_;
  std::map<std::string, std::uint32_t> registered_;
  std::set<std::pair<std::uintptr_t, std::uint32_t>> allowed_;
  std::uintptr_t next_subclass_ = 1;
  std::vector<ShownMenu> menus_;
  KeyPreview key_preview_;
  WindowHandle focus_;
  bool keep_activations_ = false;
  std::vector<ActivationCall> activations_;
  // How long RunMessageLoop may run in virtual time before it gives up (returns -1).
  static constexpr std::uint64_t kLoopLimit = 24ull * 3600 * 1000;
};

}  // namespace velocane::sim
