#include "platform/sim/sim_windowing.h"

#include <algorithm>
#include <cctype>
#include <utility>

#include "platform/messages.h"
#include "platform/pointer_messages.h"
#include "platform/process.h"

namespace velocane::sim {

namespace {
constexpr unsigned kErrorInvalidWindowHandle = 1400;
}  // namespace

CreateWindowResult SimWindowing::CreateHiddenWindow(const std::string& class_name,
                                                    const std::string& title, bool message_only,
                                                    WindowProc proc) {
  if (fail_next_create_ != 0) {
    unsigned error = fail_next_create_;
    fail_next_create_ = 0;
    return CreateWindowResult{{}, error};
  }
  WindowHandle handle{next_window_++};
  Window window;
  window.class_name = class_name;
  window.title = title;
  window.proc = std::move(proc);
  window.message_only = message_only;
  windows_[handle.value] = std::move(window);
  if (!message_only) z_order_.insert(z_order_.begin(), handle);
  return CreateWindowResult{handle, 0};
}

WindowHandle SimWindowing::AddWindow(const std::string& class_name, const std::string& title,
                                     WindowProc proc, WindowHandle owner) {
  WindowHandle handle = CreateHiddenWindow(class_name, title, false, std::move(proc)).handle;
  windows_[handle.value].visible = true;
  windows_[handle.value].owner = owner;
  return handle;
}

void SimWindowing::DestroyWindow(WindowHandle window) {
  if (!windows_.contains(window.value)) return;
  Dispatch(window, wm::kDestroy, 0, 0);
  windows_.erase(window.value);
  std::erase(z_order_, window);
  std::erase_if(timers_, [&](const Timer& t) { return t.window == window; });
  std::erase_if(queue_, [&](const Posted& p) { return p.window == window; });
  if (foreground_ == window) foreground_ = WindowHandle{};
}

void SimWindowing::SetWindowText(WindowHandle window, const std::string& text) {
  auto it = windows_.find(window.value);
  if (it != windows_.end()) it->second.title = text;
}

std::intptr_t SimWindowing::Dispatch(WindowHandle window, std::uint32_t msg, std::uintptr_t wparam,
                                     std::intptr_t lparam) {
  auto it = windows_.find(window.value);
  if (it == windows_.end()) return 0;
  // Copies: the procedures may destroy their own window or end a subclassing.
  std::vector<WindowProc> chain;
  for (auto hook = it->second.hooks.rbegin(); hook != it->second.hooks.rend(); ++hook) {
    chain.push_back(hook->second);
  }
  chain.push_back(it->second.proc);
  std::intptr_t result = 0;
  Deliver([&] {
    for (const WindowProc& proc : chain) {
      if (!proc) continue;
      if (std::optional<std::intptr_t> answer = proc(msg, wparam, lparam)) {
        result = *answer;
        return;
      }
    }
  });
  return result;
}

bool SimWindowing::PreviewKey(WindowHandle target, const KeyStroke& key) {
  if (!key_preview_) return false;
  bool used = false;
  Deliver([&] { used = key_preview_(target, key); });
  return used;
}

void SimWindowing::Deliver(const std::function<void()>& input) {
  try {
    input();
  } catch (...) {
    if (error_handler_) error_handler_(std::current_exception());
  }
}

std::intptr_t SimWindowing::SendMessage(WindowHandle window, std::uint32_t msg,
                                        std::uintptr_t wparam, std::intptr_t lparam) {
  return Dispatch(window, msg, wparam, lparam);
}

bool SimWindowing::PostMessage(WindowHandle window, std::uint32_t msg, std::uintptr_t wparam,
                               std::intptr_t lparam) {
  if (!windows_.contains(window.value)) return false;
  queue_.push_back(Posted{window, msg, wparam, lparam});
  return true;
}

SysResult SimWindowing::SetTimer(WindowHandle window, std::uintptr_t id, unsigned milliseconds) {
  if (fail_next_timer_ != 0) return SysResult{std::exchange(fail_next_timer_, 0)};
  if (!windows_.contains(window.value)) return SysResult{kErrorInvalidWindowHandle};
  KillTimer(window, id);
  timers_.push_back(
      Timer{window, id, milliseconds, clock_.Now() + milliseconds, next_timer_order_++});
  return SysResult{};
}

bool SimWindowing::KillTimer(WindowHandle window, std::uintptr_t id) {
  return std::erase_if(timers_, [&](const Timer& t) { return t.window == window && t.id == id; }) >
         0;
}

void SimWindowing::EnumTopLevelWindows(const std::function<bool(WindowHandle)>& visit) {
  for (WindowHandle window : std::vector<WindowHandle>(z_order_)) {
    if (windows_.contains(window.value) && !visit(window)) return;
  }
}

std::string SimWindowing::GetWindowText(WindowHandle window) {
  auto it = windows_.find(window.value);
  return it == windows_.end() ? std::string() : it->second.title.substr(0, 255);
}

std::string SimWindowing::GetClassName(WindowHandle window) {
  auto it = windows_.find(window.value);
  return it == windows_.end() ? std::string() : it->second.class_name.substr(0, 255);
}

bool SimWindowing::IsWindowVisible(WindowHandle window) {
  auto it = windows_.find(window.value);
  return it != windows_.end() && it->second.visible;
}

void SimWindowing::SetLastActivePopup(WindowHandle window, WindowHandle popup) {
  auto it = windows_.find(window.value);
  if (it != windows_.end()) it->second.last_active_popup = popup;
}

WindowHandle SimWindowing::GetLastActivePopup(WindowHandle window) {
  auto it = windows_.find(window.value);
  if (it == windows_.end()) return WindowHandle{};
  WindowHandle popup = it->second.last_active_popup;
  return popup && windows_.contains(popup.value) ? popup : window;
}

bool SimWindowing::Raise(WindowHandle window) {
  const auto it = windows_.find(window.value);
  if (it == windows_.end() || it->second.message_only) return false;
  std::erase(z_order_, window);
  z_order_.insert(z_order_.begin(), window);
  return true;
}

bool SimWindowing::BringWindowToTop(WindowHandle window) {
  if (keep_activations_) activations_.push_back({Activation::kBringToTop, window});
  return Raise(window);
}

bool SimWindowing::IsIconic(WindowHandle window) {
  auto it = windows_.find(window.value);
  return it != windows_.end() && it->second.iconic;
}

bool SimWindowing::ShowWindow(WindowHandle window, int show_command) {
  if (keep_activations_) activations_.push_back({Activation::kShowWindow, window, show_command});
  auto it = windows_.find(window.value);
  if (it == windows_.end()) return false;
  const bool was_visible = it->second.visible;
  const bool was_iconic = it->second.iconic;
  switch (show_command) {
    case showcmd::kHide:
      it->second.visible = false;
      break;
    case showcmd::kMinimize:
    case showcmd::kShowMinimized:
      it->second.visible = true;
      it->second.iconic = true;
      break;
    case showcmd::kRestore:
    case showcmd::kShowNormal:
      it->second.visible = true;
      it->second.iconic = false;
      break;
    default:
      it->second.visible = true;
      break;
  }
  // What the system tells the window about it, in the system's order.
  const bool visible = it->second.visible;
  const bool iconic = it->second.iconic;
  if (visible != was_visible) SendMessage(window, wm::kShowWindow, visible ? 1 : 0, 0);
  if (iconic != was_iconic) {
    SendMessage(window, wm::kSize, iconic ? sizekind::kMinimized : sizekind::kRestored, 0);
  }
  return was_visible;
}

std::uint32_t SimWindowing::RegisterWindowMessage(const std::string& name) {
  // Names compare without regard to case; numbers come from 0xC000 up.
  std::string folded = name;
  for (char& c : folded) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  auto it = registered_.find(folded);
  if (it == registered_.end()) {
    it =
        registered_.emplace(folded, 0xC000u + static_cast<std::uint32_t>(registered_.size())).first;
  }
  return it->second;
}

bool SimWindowing::AllowMessageFromLowerRights(WindowHandle window, std::uint32_t msg) {
  if (!windows_.contains(window.value)) return false;
  allowed_.insert({window.value, msg});
  return true;
}

SubclassHandle SimWindowing::Subclass(WindowHandle window, WindowProc hook) {
  auto it = windows_.find(window.value);
  if (it == windows_.end()) return SubclassHandle{};
  const std::uintptr_t id = next_subclass_++;
  it->second.hooks.emplace_back(id, std::move(hook));
  return SubclassHandle{id};
}

void SimWindowing::RemoveSubclass(WindowHandle window, SubclassHandle subclass) {
  auto it = windows_.find(window.value);
  if (it == windows_.end()) return;
  std::erase_if(it->second.hooks, [&](const auto& hook) { return hook.first == subclass.value; });
}

bool SimWindowing::GetCursorPos(Point* at) {
  if (!cursor_readable) return false;
  *at = cursor;
  return true;
}

int SimWindowing::TrackPopupMenu(WindowHandle owner, const std::vector<MenuItem>& items, Point at) {
  menus_.push_back(ShownMenu{owner, items, at});
  return menu_responder ? menu_responder(menus_.back()) : 0;
}

void SimWindowing::Broadcast(std::uint32_t msg, std::uintptr_t wparam, std::intptr_t lparam) {
  for (WindowHandle window : std::vector<WindowHandle>(z_order_)) {
    if (windows_.contains(window.value)) SendMessage(window, msg, wparam, lparam);
  }
}

bool SimWindowing::SetForegroundWindow(WindowHandle window) {
  if (keep_activations_) activations_.push_back({Activation::kSetForeground, window});
  if (!windows_.contains(window.value)) return false;
  foreground_ = window;
  Raise(window);  // activating a window raises it
  return true;
}

int SimWindowing::MessageBox(WindowHandle owner, const std::string& text,
                             const std::string& caption, unsigned flags) {
  boxes_.push_back(ShownMessageBox{owner, text, caption, flags});
  if (responder_) return responder_(boxes_.back());
  return (flags & 0xF) == mb::kYesNo ? idbutton::kYes : idbutton::kOk;
}

void SimWindowing::PostQuitMessage(int exit_code) {
  quit_posted_ = true;
  quit_code_ = exit_code;
}

SimWindowing::Timer* SimWindowing::NextTimer() {
  Timer* next = nullptr;
  for (Timer& timer : timers_) {
    if (next == nullptr || timer.due < next->due ||
        (timer.due == next->due && timer.order < next->order)) {
      next = &timer;
    }
  }
  return next;
}

bool SimWindowing::DispatchOne() {
  if (!queue_.empty()) {
    Posted posted = queue_.front();
    queue_.pop_front();
    // Every loop takes posted messages here: a forged one goes, as on the desktop.
    if (!IsPointerMessage(posted.msg, posted.wparam)) {
      Dispatch(posted.window, posted.msg, posted.wparam, posted.lparam);
    }
    return true;
  }
  Timer* timer = NextTimer();
  if (timer == nullptr || timer->due > clock_.Now()) return false;
  // One WM_TIMER however long the timer has been due, as the system coalesces them.
  timer->due = clock_.Now() + timer->interval;
  timer->order = next_timer_order_++;
  Dispatch(timer->window, wm::kTimer, timer->id, 0);
  return true;
}

bool SimWindowing::ProcessPendingMessages() {
  // Posted messages come before the quit message, timers after it.
  while (!queue_.empty()) DispatchOne();
  if (quit_posted_) return false;
  while (DispatchOne()) {
    if (quit_posted_) return false;
  }
  return true;
}

int SimWindowing::RunMessageLoop() {
  const std::uint64_t limit = clock_.Now() + kLoopLimit;
  for (;;) {
    if (!ProcessPendingMessages()) {
      quit_posted_ = false;
      return quit_code_;
    }
    Timer* timer = NextTimer();
    // Nothing can ever arrive: a real loop would wait forever.
    if (timer == nullptr || timer->due > limit) return -1;
    clock_.AdvanceTo(timer->due);
  }
}

bool SimWindowing::RunModalLoop(WindowHandle dialog, const std::function<bool()>& done) {
  const std::uint64_t limit = clock_.Now() + kLoopLimit;
  int responses = 0;
  for (;;) {
    if (done()) return true;
    // Posted messages come before the quit message, timers after it.
    if (!queue_.empty()) {
      DispatchOne();
      continue;
    }
    if (quit_posted_) return false;
    if (DispatchOne()) continue;
    if (modal_responder_ && responses < kModalResponses) {
      ++responses;
      // A copy: the user's action may end this responder.
      const auto responder = modal_responder_;
      bool acted = false;
      Deliver([&] { acted = responder(dialog); });
      if (acted) continue;
    }
    Timer* timer = NextTimer();
    // Nothing can ever arrive: a real loop would wait forever.
    if (timer == nullptr || timer->due > limit) return false;
    clock_.AdvanceTo(timer->due);
  }
}

void SimWindowing::RunFor(std::uint64_t milliseconds) {
  const std::uint64_t end = clock_.Now() + milliseconds;
  for (;;) {
    if (!ProcessPendingMessages()) return;
    Timer* timer = NextTimer();
    if (timer == nullptr || timer->due > end) break;
    clock_.AdvanceTo(timer->due);
  }
  clock_.AdvanceTo(end);
}

}  // namespace velocane::sim
