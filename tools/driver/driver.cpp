#include "tools/driver/driver.h"

#include <stdexcept>

namespace velocane::driver {

namespace {

// Polls in short steps: the other program runs on its own, we only look.
template <class Found>
HWND Poll(DWORD timeout_ms, Found find) {
  const ULONGLONG end = GetTickCount64() + timeout_ms;
  for (;;) {
    if (HWND hwnd = find()) return hwnd;
    if (GetTickCount64() >= end) return nullptr;
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

}  // namespace

std::wstring VelocanePath() {
  wchar_t self[MAX_PATH];
  DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring path(self, length);
  // build/<preset>/tests/x.exe -> build/<preset>/app/velocane.exe
  path = path.substr(0, path.find_last_of(L"\\/"));
  path = path.substr(0, path.find_last_of(L"\\/"));
  return path + L"\\app\\velocane.exe";
}

RunningProgram::RunningProgram(const std::wstring& arguments) {
  std::wstring command = L"\"" + VelocanePath() + L"\"";
  if (!arguments.empty()) command += L" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &info_)) {
    throw std::runtime_error("cannot start velocane.exe, error " + std::to_string(GetLastError()));
  }
}

RunningProgram::~RunningProgram() {
  if (Running()) Kill();
  CloseHandle(info_.hThread);
  CloseHandle(info_.hProcess);
}

bool RunningProgram::WaitForExit(DWORD timeout_ms, DWORD* exit_code) {
  if (WaitForSingleObject(info_.hProcess, timeout_ms) != WAIT_OBJECT_0) return false;
  if (exit_code != nullptr) GetExitCodeProcess(info_.hProcess, exit_code);
  return true;
}

bool RunningProgram::Running() { return WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT; }

void RunningProgram::Kill() {
  TerminateProcess(info_.hProcess, 255);
  WaitForSingleObject(info_.hProcess, 5000);
}

HWND WaitForWindow(DWORD process_id, const std::wstring& class_name, const std::wstring& title,
                   DWORD timeout_ms) {
  return Poll(timeout_ms, [&]() -> HWND {
    Search search{process_id, &class_name, &title};
    EnumWindows(
        [](HWND hwnd, LPARAM data) -> BOOL {
          auto* s = reinterpret_cast<Search*>(data);
          DWORD pid = 0;
          GetWindowThreadProcessId(hwnd, &pid);
          if (pid != s->process_id || !Matches(hwnd, *s->class_name, *s->title)) return TRUE;
          s->found = hwnd;
          return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
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
  EnumChildWindows(
      parent,
      [](HWND hwnd, LPARAM data) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(data)->push_back(hwnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&children));
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

}  // namespace velocane::driver
