#include "tools/driver/driver.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
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
  return Poll(timeout_ms, [&]() -> HWND { return done() ? reinterpret_cast<HWND>(1) : nullptr; }) !=
         nullptr;
}

std::vector<std::vector<std::wstring>> ListViewRows(HWND list, int columns) {
  std::vector<std::vector<std::wstring>> rows;
  DWORD process_id = 0;
  GetWindowThreadProcessId(list, &process_id);
  HANDLE process =
      OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, process_id);
  if (process == nullptr) return rows;
  constexpr int kChars = 4096;
  const SIZE_T size = sizeof(LVITEMW) + kChars * sizeof(wchar_t);
  auto* remote = static_cast<BYTE*>(
      VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
  if (remote != nullptr) {
    auto* remote_text = reinterpret_cast<wchar_t*>(remote + sizeof(LVITEMW));
    const int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < count; ++row) {
      std::vector<std::wstring> texts;
      for (int column = 0; column < columns; ++column) {
        LVITEMW item{};
        item.iSubItem = column;
        item.cchTextMax = kChars;
        item.pszText = remote_text;
        SIZE_T moved = 0;
        WriteProcessMemory(process, remote, &item, sizeof item, &moved);
        const auto length = static_cast<int>(
            SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(remote)));
        std::wstring text(static_cast<std::size_t>(length > 0 ? length : 0), L'\0');
        if (length > 0) {
          ReadProcessMemory(process, remote_text, text.data(), text.size() * sizeof(wchar_t),
                            &moved);
        }
        texts.push_back(text);
      }
      rows.push_back(texts);
    }
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  }
  CloseHandle(process);
  return rows;
}

std::vector<int> ListViewSelection(HWND list) {
  std::vector<int> selected;
  for (int row = -1;;) {
    row = static_cast<int>(
        SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(row), LVNI_SELECTED));
    if (row < 0) return selected;
    selected.push_back(row);
  }
}

void ClickListRow(HWND list, int row) {
  DWORD process_id = 0;
  GetWindowThreadProcessId(list, &process_id);
  HANDLE process =
      OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, process_id);
  if (process == nullptr) throw std::runtime_error("cannot open the list's process");
  void* remote =
      VirtualAllocEx(process, nullptr, sizeof(RECT), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  RECT rect{LVIR_BOUNDS, 0, 0, 0};
  SIZE_T moved = 0;
  WriteProcessMemory(process, remote, &rect, sizeof rect, &moved);
  const bool got = SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(row),
                                reinterpret_cast<LPARAM>(remote)) != FALSE;
  ReadProcessMemory(process, remote, &rect, sizeof rect, &moved);
  VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  CloseHandle(process);
  if (!got) throw std::runtime_error("the list has no row " + std::to_string(row));
  // Inside the first column, clear of the grid lines.
  ClickAt(list, rect.left + 10, (rect.top + rect.bottom) / 2);
}

void NotifyButtonClicked(HWND button) {
  PostMessageW(GetParent(button), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
               reinterpret_cast<LPARAM>(button));
}

void NotifyComboPicked(HWND combo, int index) {
  SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  PostMessageW(GetParent(combo), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(combo));
}

void SelectComboItem(HWND combo, int index) {
  // Drop the list down and click the item, as the mouse does.
  DWORD process_id = 0;
  GetWindowThreadProcessId(combo, &process_id);
  SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
  HWND list = WaitForWindow(process_id, L"ComboLBox", L"", 5000);
  if (list == nullptr) throw std::runtime_error("the combo box's list did not drop down");
  const int height = static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
  const int top = static_cast<int>(SendMessageW(list, LB_GETTOPINDEX, 0, 0));
  const LPARAM at = MAKELPARAM(5, (index - top) * height + height / 2);
  PostMessageW(list, WM_MOUSEMOVE, 0, at);
  PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageW(list, WM_LBUTTONUP, 0, at);
}

void ClickAt(HWND window, int x, int y) {
  const LPARAM at = MAKELPARAM(x, y);
  PostMessageW(window, WM_MOUSEMOVE, 0, at);
  PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageW(window, WM_LBUTTONUP, 0, at);
}

HWND FocusOf(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

void PressDialogButton(HWND dialog, int id) {
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

HWND WaitForMessageBox(DWORD process_id, const std::wstring& caption, DWORD timeout_ms) {
  return WaitForWindow(process_id, L"#32770", caption, timeout_ms);
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

POINT CenterOf(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

bool StartUnix(const std::wstring& command_line) {
  // Wine starts programs of the Linux side as it starts its own, but hands
  // back no handle to wait on: the caller looks for what the program did.
  std::wstring command = command_line;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &info)) {
    return false;
  }
  // For a Linux program Wine gives a null process handle and an arbitrary
  // thread value: closing that could close one of our own handles (a
  // registry key the next write needs), so only a real process's are closed.
  if (info.hProcess != nullptr) {
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
  }
  return true;
}

bool RealClick(POINT at) {
  return StartUnix(L"/usr/bin/xdotool mousemove " + std::to_wstring(at.x) + L" " +
                   std::to_wstring(at.y) + L" click 1");
}

std::string ShotPath(const std::string& name) {
  const char* build = std::getenv("VELOCANE_WINE_BUILD");
  return std::string(build != nullptr ? build : "/tmp") + "/" + name;
}

bool RealKeys(const std::wstring& keys) { return StartUnix(L"/usr/bin/xdotool key " + keys); }

std::vector<DWORD> CaptureScreen(const RECT& area) {
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  std::vector<DWORD> pixels(static_cast<std::size_t>(width) * height);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
  GdiFlush();
  if (bits != nullptr) std::memcpy(pixels.data(), bits, pixels.size() * sizeof(DWORD));
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  for (DWORD& pixel : pixels) pixel &= 0xFFFFFF;
  return pixels;
}

std::vector<DWORD> CaptureWindow(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return CaptureScreen(r);
}

bool Screenshot(const std::string& unix_path) {
  const std::wstring path(unix_path.begin(), unix_path.end());
  const std::wstring dos = L"Z:" + path;
  DeleteFileW(dos.c_str());
  if (!StartUnix(L"/usr/bin/import -window root " + path)) return false;
  // Done once the file is there and has stopped growing.
  LONGLONG last = -1;
  return WaitUntil(
      [&] {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        if (!GetFileAttributesExW(dos.c_str(), GetFileExInfoStandard, &data)) return false;
        const LONGLONG size = (static_cast<LONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        const bool settled = size > 0 && size == last;
        last = size;
        if (!settled) Sleep(100);
        return settled;
      },
      30000);
}

namespace {

std::optional<std::pair<DWORD, std::vector<BYTE>>> Query(HKEY root, const std::wstring& path,
                                                         const std::wstring& name) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return std::nullopt;
  DWORD type = 0;
  DWORD size = 0;
  std::optional<std::pair<DWORD, std::vector<BYTE>>> result;
  if (RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
    std::vector<BYTE> data(size);
    if (RegQueryValueExW(key, name.c_str(), nullptr, &type, data.data(), &size) == ERROR_SUCCESS) {
      data.resize(size);
      result = std::make_pair(type, data);
    }
  }
  RegCloseKey(key);
  return result;
}

bool Set(HKEY root, const std::wstring& path, const std::wstring& name, DWORD type,
         const void* data, DWORD size) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
      ERROR_SUCCESS) {
    return false;
  }
  const bool written = RegSetValueExW(key, name.c_str(), 0, type, static_cast<const BYTE*>(data),
                                      size) == ERROR_SUCCESS;
  RegCloseKey(key);
  return written;
}

void SetOrThrow(HKEY root, const std::wstring& path, const std::wstring& name, DWORD type,
                const void* data, DWORD size) {
  if (!Set(root, path, name, type, data, size)) throw std::runtime_error("cannot write a value");
}

}  // namespace

std::optional<DWORD> ReadDWord(HKEY root, const std::wstring& path, const std::wstring& name) {
  auto value = Query(root, path, name);
  if (!value || value->first != REG_DWORD || value->second.size() != sizeof(DWORD)) {
    return std::nullopt;
  }
  DWORD result = 0;
  memcpy(&result, value->second.data(), sizeof result);
  return result;
}

std::optional<std::wstring> ReadString(HKEY root, const std::wstring& path,
                                       const std::wstring& name) {
  auto value = Query(root, path, name);
  if (!value || value->first != REG_SZ) return std::nullopt;
  std::wstring text(reinterpret_cast<const wchar_t*>(value->second.data()),
                    value->second.size() / sizeof(wchar_t));
  return text.substr(0, text.find(L'\0'));
}

void WriteDWord(HKEY root, const std::wstring& path, const std::wstring& name, DWORD value) {
  SetOrThrow(root, path, name, REG_DWORD, &value, sizeof value);
}

void WriteString(HKEY root, const std::wstring& path, const std::wstring& name,
                 const std::wstring& value) {
  SetOrThrow(root, path, name, REG_SZ, value.c_str(),
             static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

void DeleteValue(HKEY root, const std::wstring& path, const std::wstring& name) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, path.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
  RegDeleteValueW(key, name.c_str());
  RegCloseKey(key);
}

RegistrySnapshot::RegistrySnapshot(std::vector<Place> places) {
  for (Place& place : places) {
    Saved saved;
    saved.place = place;
    if (auto value = Query(place.root, place.path, place.name)) {
      saved.present = true;
      saved.type = value->first;
      saved.data = value->second;
    }
    saved_.push_back(std::move(saved));
  }
}

RegistrySnapshot::~RegistrySnapshot() {
  for (const Saved& saved : saved_) {
    if (saved.present) {
      Set(saved.place.root, saved.place.path, saved.place.name, saved.type, saved.data.data(),
          static_cast<DWORD>(saved.data.size()));
    } else {
      DeleteValue(saved.place.root, saved.place.path, saved.place.name);
    }
  }
}

std::vector<RegistrySnapshot::Place> InternetSettingsPlaces(
    std::vector<RegistrySnapshot::Place> extra) {
  std::vector<RegistrySnapshot::Place> places = {
      {HKEY_CURRENT_USER, kSettings, L"MaxConnectionsPerServer"},
      {HKEY_CURRENT_USER, kSettings, L"MaxConnectionsPer1_0Server"},
      {HKEY_CURRENT_CONFIG, kSettings, L"MaxConnectionsPerServer"},
      {HKEY_CURRENT_CONFIG, kSettings, L"MaxConnectionsPer1_0Server"},
      {HKEY_CURRENT_CONFIG, kSettings, L"ConnectionType"},
  };
  places.insert(places.end(), extra.begin(), extra.end());
  return places;
}

}  // namespace velocane::driver
