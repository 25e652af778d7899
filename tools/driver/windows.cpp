// Finding the other program's windows and reading them: top-level windows by
// process, class and title, child windows, texts, the focus, Wine's tray icons.
#include <algorithm>

#include "tools/driver/driver.h"

namespace velocane::driver {

namespace {

// Asks `find` in short steps until it gives something (a window, true) or
// the time runs out; gives its last answer. The other program runs on its
// own, we only look.
template <class Find>
auto Poll(DWORD timeout_ms, Find find) -> decltype(find()) {
  const ULONGLONG end = GetTickCount64() + timeout_ms;
  for (;;) {
    auto found = find();
    if (found || GetTickCount64() >= end) return found;
    Sleep(20);
  }
}

struct Search {
  DWORD process_id;
  const std::wstring* class_name;
  const std::wstring* title;
  HWND found = nullptr;
};

bool Matches(HWND hwnd, const std::wstring& class_name, const std::wstring& text) {
  return (class_name.empty() || ClassOf(hwnd) == class_name) &&
         (text.empty() || TextOf(hwnd) == text);
}

// Named CALLBACKs: 32-bit Windows wants stdcall, which a lambda cannot have.
BOOL CALLBACK FindInProcess(HWND hwnd, LPARAM data) {
  auto* s = reinterpret_cast<Search*>(data);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid != s->process_id || !Matches(hwnd, *s->class_name, *s->title)) return TRUE;
  s->found = hwnd;
  return FALSE;
}

BOOL CALLBACK CollectChild(HWND hwnd, LPARAM data) {
  reinterpret_cast<std::vector<HWND>*>(data)->push_back(hwnd);
  return TRUE;
}

}  // namespace

HWND WaitForWindow(DWORD process_id, const std::wstring& class_name, const std::wstring& title,
                   DWORD timeout_ms) {
  return Poll(timeout_ms, [&]() -> HWND {
    Search search{process_id, &class_name, &title};
    EnumWindows(FindInProcess, reinterpret_cast<LPARAM>(&search));
    return search.found;
  });
}

HWND WaitForChild(HWND parent, const std::wstring& class_name, const std::wstring& text,
                  DWORD timeout_ms) {
  return Poll(timeout_ms, [&]() -> HWND {
    for (HWND child : Children(parent)) {
      if (Matches(child, class_name, text)) return child;
    }
    return nullptr;
  });
}

std::vector<HWND> Children(HWND parent) {
  std::vector<HWND> children;
  EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&children));
  return children;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[256];
  int length = GetClassNameW(window, name, 256);
  return std::wstring(name, length > 0 ? length : 0);
}

std::wstring TextOf(HWND window) {
  // WM_GETTEXT across processes: the W call gives the text back unchanged under Wine too.
  wchar_t text[1024];
  LRESULT length = SendMessageW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
  return std::wstring(text, length > 0 ? static_cast<size_t>(length) : 0);
}

bool WaitUntil(const std::function<bool()>& done, DWORD timeout_ms) {
  return Poll(timeout_ms, [&] { return done(); });
}

HWND FocusOf(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

HWND WaitForMessageBox(DWORD process_id, const std::wstring& caption, DWORD timeout_ms) {
  return WaitForWindow(process_id, L"#32770", caption, timeout_ms);
}

POINT CenterOf(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

std::vector<HWND> TrayIcons() {
  std::vector<HWND> icons;
  HWND tray = FindWindowW(L"__winex11_standalone_tray", nullptr);
  if (tray == nullptr) return icons;
  for (HWND child : Children(tray)) {
    if (ClassOf(child) == L"__winex11_tray_icon" && IsWindowVisible(child)) icons.push_back(child);
  }
  return icons;
}

HWND NewTrayIcon(const std::vector<HWND>& before) {
  for (HWND icon : TrayIcons()) {
    if (std::find(before.begin(), before.end(), icon) == before.end()) return icon;
  }
  return nullptr;
}

}  // namespace velocane::driver
