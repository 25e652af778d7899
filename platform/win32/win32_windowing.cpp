#include "platform/win32/win32_windowing.h"

#include <map>
#include <memory>
#include <set>
#include <utility>
#include <vector>

#include "platform/pointer_messages.h"
#include "platform/win32/handles.h"
#include "platform/win32/win32_common.h"
#include "platform/win32/win32_control.h"

namespace velocane::win32 {

bool EnsureWindowClass(const std::string& name, WNDPROC proc, UINT style, HBRUSH background) {
  static std::set<std::string> registered;
  if (registered.contains(name)) return true;
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.style = style;
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.hIcon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1));
  wc.hbrBackground = background;
  wc.lpszClassName = name.c_str();
  if (RegisterClassExA(&wc) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
  registered.insert(name);
  return true;
}

namespace {

std::function<void(std::exception_ptr)>& ErrorHandler() {
  static std::function<void(std::exception_ptr)> handler;
  return handler;
}

}  // namespace

namespace {

// Sees every message a loop of the thread takes from its queue, ours and those
// of message boxes and menus alike, before it is dispatched. A posted message
// that carries a pointer was forged: it leaves as WM_NULL, which nobody reads.
LRESULT CALLBACK DropForgedMessages(int code, WPARAM removing, LPARAM data) {
  if (code == HC_ACTION) {
    auto* msg = reinterpret_cast<MSG*>(data);
    if (IsPointerMessage(msg->message, msg->wParam)) {
      msg->message = WM_NULL;
      msg->wParam = 0;
      msg->lParam = 0;
    }
  }
  return CallNextHookEx(nullptr, code, removing, data);
}

}  // namespace

Win32Windowing::Win32Windowing()
    : forged_message_hook_(
          SetWindowsHookExA(WH_GETMESSAGE, DropForgedMessages, nullptr, GetCurrentThreadId())) {}

Win32Windowing::~Win32Windowing() {
  if (forged_message_hook_ != nullptr) UnhookWindowsHookEx(forged_message_hook_);
}

void ReportUnhandled(std::exception_ptr error) {
  if (ErrorHandler()) ErrorHandler()(error);
}

void Win32Windowing::SetErrorHandler(std::function<void(std::exception_ptr)> handler) {
  ErrorHandler() = std::move(handler);
}

namespace {

// The procedures of the hidden windows, by window. A procedure goes once its
// window is really gone, not at a WM_NCDESTROY: any program can send that one
// to a living window, which must go on answering. A procedure that ends its
// own window is freed only once no hidden window's procedure runs.
struct HiddenProcedures {
  std::map<HWND, std::unique_ptr<WindowProc>> live;
  std::vector<std::unique_ptr<WindowProc>> gone;
  int running = 0;
};

HiddenProcedures& Procedures() {
  static HiddenProcedures procedures;
  return procedures;
}

void CollectProcedures() {
  HiddenProcedures& procedures = Procedures();
  for (auto it = procedures.live.begin(); it != procedures.live.end();) {
    if (IsWindow(it->first) != FALSE) {
      ++it;
      continue;
    }
    procedures.gone.push_back(std::move(it->second));
    it = procedures.live.erase(it);
  }
  if (procedures.running == 0) procedures.gone.clear();
}

// The procedure of the window CreateHiddenWindow is making now.
WindowProc* creating = nullptr;

// The procedure of every hidden window: the object's WindowProc, taken at the
// window's creation, lives in the window's user data. The creation
// parameters are not read: another program can send WM_NCCREATE to a living
// window with a CREATESTRUCT of its own making.
LRESULT CALLBACK HiddenWindowProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  auto* proc = reinterpret_cast<WindowProc*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (msg == WM_NCCREATE && proc == nullptr && creating != nullptr) {
    proc = creating;
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(proc));
  } else if ((msg == WM_NCCREATE || msg == WM_CREATE) && proc != creating) {
    return 0;  // a window that exists is not made again, nor renamed by the default handling
  }
  std::optional<std::intptr_t> result;
  if (proc != nullptr && *proc) {
    HiddenProcedures& procedures = Procedures();
    ++procedures.running;
    Guarded([&] { result = (*proc)(msg, wparam, lparam); });
    if (--procedures.running == 0) procedures.gone.clear();
  }
  return result ? *result : DefWindowProcA(hwnd, msg, wparam, lparam);
}

}  // namespace

CreateWindowResult Win32Windowing::CreateHiddenWindow(const std::string& class_name,
                                                      const std::string& title, bool message_only,
                                                      WindowProc proc) {
  CollectProcedures();
  if (!EnsureWindowClass(class_name, HiddenWindowProc)) return {{}, GetLastError()};
  auto owned = std::make_unique<WindowProc>(std::move(proc));
  WindowProc* const outer = std::exchange(creating, owned.get());
  HWND hwnd = CreateWindowExA(0, class_name.c_str(), title.c_str(), WS_POPUP, 0, 0, 0, 0,
                              message_only ? HWND_MESSAGE : nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
  creating = outer;
  if (hwnd == nullptr) return {{}, GetLastError()};
  // A handle the system gave again: the earlier window's procedure is long unused.
  std::unique_ptr<WindowProc>& slot = Procedures().live[hwnd];
  if (slot) Procedures().gone.push_back(std::move(slot));
  slot = std::move(owned);
  return {FromHwnd(hwnd), 0};
}

void Win32Windowing::DestroyWindow(WindowHandle window) {
  ::DestroyWindow(ToHwnd(window));
  CollectProcedures();
}

void Win32Windowing::SetWindowText(WindowHandle window, const std::string& text) {
  SetWindowTextA(ToHwnd(window), text.c_str());
}

std::intptr_t Win32Windowing::SendMessage(WindowHandle window, std::uint32_t msg,
                                          std::uintptr_t wparam, std::intptr_t lparam) {
  return SendMessageA(ToHwnd(window), msg, wparam, lparam);
}

bool Win32Windowing::PostMessage(WindowHandle window, std::uint32_t msg, std::uintptr_t wparam,
                                 std::intptr_t lparam) {
  return PostMessageA(ToHwnd(window), msg, wparam, lparam) != FALSE;
}

SysResult Win32Windowing::SetTimer(WindowHandle window, std::uintptr_t id, unsigned milliseconds) {
  // Without a window the system would make a thread timer under an id of its
  // own choosing, not `id`: no WM_TIMER would carry `id`, and KillTimer with
  // `id` could not end it. Refused, as a window that is gone is.
  if (!window) return SysResult{ERROR_INVALID_WINDOW_HANDLE};
  if (::SetTimer(ToHwnd(window), id, milliseconds, nullptr) != 0) return SysResult{};
  const DWORD error = GetLastError();
  return SysResult{error != 0 ? error : ERROR_NOT_ENOUGH_MEMORY};
}

bool Win32Windowing::KillTimer(WindowHandle window, std::uintptr_t id) {
  // A thread timer is never ours (see SetTimer).
  if (!window) return false;
  return ::KillTimer(ToHwnd(window), id) != FALSE;
}

namespace {

struct Visit {
  const std::function<bool(WindowHandle)>& visit;
  std::exception_ptr error;  // what the visitor threw, raised again after EnumWindows
};

// A named CALLBACK: 32-bit Windows wants the stdcall convention, which a lambda cannot have.
BOOL CALLBACK VisitTopLevel(HWND hwnd, LPARAM data) {
  auto* state = reinterpret_cast<Visit*>(data);
  try {
    return state->visit(FromHwnd(hwnd)) ? TRUE : FALSE;
  } catch (...) {
    state->error = std::current_exception();
    return FALSE;
  }
}

}  // namespace

void Win32Windowing::EnumTopLevelWindows(const std::function<bool(WindowHandle)>& visit) {
  Visit state{visit, nullptr};
  EnumWindows(VisitTopLevel, reinterpret_cast<LPARAM>(&state));
  if (state.error) std::rethrow_exception(state.error);
}

std::string Win32Windowing::GetWindowText(WindowHandle window) {
  char text[256];
  int length = GetWindowTextA(ToHwnd(window), text, sizeof text);
  return length > 0 ? std::string(text, length) : std::string();
}

std::string Win32Windowing::GetClassName(WindowHandle window) {
  char name[256];
  int length = GetClassNameA(ToHwnd(window), name, sizeof name);
  return length > 0 ? std::string(name, length) : std::string();
}

bool Win32Windowing::IsWindowVisible(WindowHandle window) {
  return ::IsWindowVisible(ToHwnd(window)) != FALSE;
}

WindowHandle Win32Windowing::GetLastActivePopup(WindowHandle window) {
  return FromHwnd(::GetLastActivePopup(ToHwnd(window)));
}

bool Win32Windowing::BringWindowToTop(WindowHandle window) {
  return ::BringWindowToTop(ToHwnd(window)) != FALSE;
}

bool Win32Windowing::IsIconic(WindowHandle window) { return ::IsIconic(ToHwnd(window)) != FALSE; }

bool Win32Windowing::ShowWindow(WindowHandle window, int show_command) {
  return ::ShowWindow(ToHwnd(window), show_command) != FALSE;
}

bool Win32Windowing::SetForegroundWindow(WindowHandle window) {
  return ::SetForegroundWindow(ToHwnd(window)) != FALSE;
}

int Win32Windowing::MessageBox(WindowHandle owner, const std::string& text,
                               const std::string& caption, unsigned flags) {
  return MessageBoxA(ToHwnd(owner), text.c_str(), caption.c_str(), flags);
}

void Win32Windowing::PostQuitMessage(int exit_code) { ::PostQuitMessage(exit_code); }

namespace {

// The nearest window of ours that is or holds `hwnd`, or null.
HWND OurWindow(HWND hwnd) {
  while (hwnd != nullptr && Win32Window::Of(hwnd) == nullptr) hwnd = GetParent(hwnd);
  return hwnd;
}

}  // namespace

WindowHandle Win32Windowing::FocusedWindow() { return FromHwnd(OurWindow(GetFocus())); }

bool Win32Windowing::Previewed(const MSG& msg) {
  const bool down = msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN;
  const bool up = msg.message == WM_KEYUP || msg.message == WM_SYSKEYUP;
  if (!key_preview_ || (!down && !up)) return false;
  const HWND target = OurWindow(msg.hwnd);
  if (target == nullptr) return false;
  KeyStroke key;
  key.key = static_cast<int>(msg.wParam);
  key.down = down;
  key.alt = (HIWORD(msg.lParam) & KF_ALTDOWN) != 0;
  key.shift = GetKeyState(VK_SHIFT) < 0;
  key.control = GetKeyState(VK_CONTROL) < 0;
  bool used = false;
  Guarded([&] { used = key_preview_(FromHwnd(target), key); });
  return used;
}

int Win32Windowing::RunMessageLoop() {
  MSG msg;
  for (;;) {
    BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got == 0) return static_cast<int>(msg.wParam);
    if (got == -1) return -1;
    if (Previewed(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

bool Win32Windowing::ProcessPendingMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      // Leave it for the message loop, which ends on it.
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      return false;
    }
    if (Previewed(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return true;
}

bool Win32Windowing::RunModalLoop(WindowHandle dialog, const std::function<bool()>& done) {
  MSG msg;
  while (!done()) {
    const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got == 0) {
      // Leave it for the message loop, which ends on it.
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      return false;
    }
    if (got == -1) return false;
    if (Previewed(msg)) continue;
    // What the form's own navigation left: the space bar and Enter on a
    // button press it, as in any dialog.
    if (IsDialogMessageA(ToHwnd(dialog), &msg) != FALSE) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return true;
}

}  // namespace velocane::win32

namespace velocane::win32 {

std::uint32_t Win32Windowing::RegisterWindowMessage(const std::string& name) {
  return RegisterWindowMessageA(name.c_str());
}

bool Win32Windowing::AllowMessageFromLowerRights(WindowHandle window, std::uint32_t msg) {
  // Windows Vista and later; looked up so that older systems still start.
  using FilterFunction = BOOL(WINAPI*)(HWND, UINT, DWORD, void*);
  static const auto filter = reinterpret_cast<FilterFunction>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleA("user32.dll"), "ChangeWindowMessageFilterEx")));
  constexpr DWORD kAllow = 1;  // MSGFLT_ALLOW
  return filter != nullptr && filter(ToHwnd(window), msg, kAllow, nullptr) != FALSE;
}

namespace {

constexpr char kSubclassProperty[] = "VelocaneSubclass";

// The hooks of one subclassed window and the procedure it had before them.
struct Subclassing {
  WNDPROC original = nullptr;
  std::vector<std::pair<std::uintptr_t, WindowProc>> hooks;  // newest last
};

Subclassing* SubclassingOf(HWND hwnd) {
  return static_cast<Subclassing*>(GetPropA(hwnd, kSubclassProperty));
}

void EndSubclassing(HWND hwnd, Subclassing* state) {
  SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(state->original));
  RemovePropA(hwnd, kSubclassProperty);
  delete state;
}

LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  Subclassing* state = SubclassingOf(hwnd);
  if (state == nullptr) return DefWindowProcA(hwnd, msg, wparam, lparam);
  const WNDPROC original = state->original;
  if (msg == WM_NCDESTROY) {
    EndSubclassing(hwnd, state);
    return CallWindowProcA(original, hwnd, msg, wparam, lparam);
  }
  // A copy: a hook may end its own subclassing.
  const auto hooks = state->hooks;
  std::optional<std::intptr_t> result;
  for (auto hook = hooks.rbegin(); hook != hooks.rend() && !result; ++hook) {
    Guarded([&] { result = hook->second(msg, wparam, lparam); });
  }
  return result ? *result : CallWindowProcA(original, hwnd, msg, wparam, lparam);
}

std::uintptr_t next_subclass = 1;

}  // namespace

SubclassHandle Win32Windowing::Subclass(WindowHandle window, WindowProc hook) {
  HWND hwnd = ToHwnd(window);
  if (!IsWindow(hwnd)) return SubclassHandle{};
  Subclassing* state = SubclassingOf(hwnd);
  if (state == nullptr) {
    auto made = std::make_unique<Subclassing>();
    made->original = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(hwnd, GWLP_WNDPROC));
    if (SetPropA(hwnd, kSubclassProperty, made.get()) == FALSE) return SubclassHandle{};
    state = made.release();
    SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SubclassProc));
  }
  const std::uintptr_t id = next_subclass++;
  state->hooks.emplace_back(id, std::move(hook));
  return SubclassHandle{id};
}

void Win32Windowing::RemoveSubclass(WindowHandle window, SubclassHandle subclass) {
  HWND hwnd = ToHwnd(window);
  Subclassing* state = IsWindow(hwnd) ? SubclassingOf(hwnd) : nullptr;
  if (state == nullptr) return;
  std::erase_if(state->hooks, [&](const auto& hook) { return hook.first == subclass.value; });
  // Only while nobody subclassed it after us can the old procedure go back.
  if (state->hooks.empty() &&
      GetWindowLongPtrA(hwnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(SubclassProc)) {
    EndSubclassing(hwnd, state);
  }
}

bool Win32Windowing::GetCursorPos(Point* at) {
  POINT p;
  if (::GetCursorPos(&p) == FALSE) return false;
  *at = Point{p.x, p.y};
  return true;
}

unsigned Win32Windowing::GetDoubleClickTime() { return ::GetDoubleClickTime(); }

bool Win32Windowing::IsKeyDown(int virtual_key) {
  return (static_cast<unsigned short>(GetAsyncKeyState(virtual_key)) & 0x8000) != 0;
}

int Win32Windowing::TrackPopupMenu(WindowHandle owner, const std::vector<MenuItem>& items,
                                   Point at) {
  UniqueMenu menu(CreatePopupMenu());
  if (!menu) return 0;
  for (const MenuItem& item : items) {
    if (item.id == 0) {
      AppendMenuA(menu.get(), MF_SEPARATOR, 0, nullptr);
      continue;
    }
    AppendMenuA(menu.get(), MF_STRING | (item.enabled ? MF_ENABLED : MF_GRAYED),
                static_cast<UINT_PTR>(item.id), item.caption.c_str());
    if (item.is_default) SetMenuDefaultItem(menu.get(), static_cast<UINT>(item.id), FALSE);
  }
  return static_cast<int>(::TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y,
                                           0, ToHwnd(owner), nullptr));
}

}  // namespace velocane::win32
