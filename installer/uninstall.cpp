// The uninstaller, uninstall.exe in the program's folder:
//   uninstall.exe [/S] [_?=FOLDER]
// It removes the program, its shortcut, its start at log-on (the log-on task,
// and the Run value where there is one) and its entry in Programs and
// Features, and ends with the result once the work is done: 0 removed, 1
// cancelled, 2 refused because the program runs, 3 a step failed (the entry
// stays, so that it can be run again). /S runs it without a question or a
// box; "_?=FOLDER", last on the line as NSIS uninstallers take it, names the
// folder when it runs from elsewhere. The user's Internet settings and the
// stored connection type stay as they are.
//
// It is a program of its own because an uninstaller that NSIS writes copies
// itself away, starts the copy and ends at once with 0: a deployment tool
// running the registered command would be told "removed" before anything
// was, or when the copy refused.
#include <shlobj.h>

#include <string>

#include "app/program.h"
#include "platform/framework/application.h"
#include "platform/framework/exceptions.h"
#include "platform/task_scheduler.h"
#include "platform/win32/handles.h"
#include "platform/win32/win32_errors.h"
#include "platform/win32/win32_task_scheduler.h"

namespace {

using velocane::win32::UniqueKey;

constexpr const wchar_t* kUninstallKey =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Velocane";
constexpr const wchar_t* kRunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

enum ExitCode { kRemoved = 0, kCancelled = 1, kRefused = 2, kFailed = 3 };

struct Options {
  bool silent = false;
  std::wstring folder;  // empty: where the setup put the program
};

Options ReadCommandLine(const wchar_t* line) {
  Options options;
  std::wstring rest = line;
  // The program's own name, quoted or not.
  std::size_t at = rest[0] == L'"' ? rest.find(L'"', 1) : rest.find(L' ');
  rest = at == std::wstring::npos ? std::wstring() : rest.substr(at + 1);
  if (const std::size_t folder = rest.find(L"_?="); folder != std::wstring::npos) {
    options.folder = rest.substr(folder + 3);
    rest.erase(folder);
  }
  for (std::size_t begin = 0; begin < rest.size();) {
    const std::size_t end = std::min(rest.find(L' ', begin), rest.size());
    if (const std::wstring word = rest.substr(begin, end - begin); word == L"/S" || word == L"/s") {
      options.silent = true;
    }
    begin = end + 1;
  }
  while (options.folder.size() > 3 && options.folder.back() == L'\\') options.folder.pop_back();
  return options;
}

std::wstring ModulePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) return path.substr(0, length);
    path.resize(path.size() * 2);
  }
}

std::wstring FolderOf(const std::wstring& path) { return path.substr(0, path.find_last_of(L'\\')); }

std::wstring InstallLocation() {
  UniqueKey key;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kUninstallKey, 0, KEY_QUERY_VALUE, key.put()) !=
      ERROR_SUCCESS) {
    return {};
  }
  wchar_t value[MAX_PATH] = {};
  DWORD size = sizeof value - sizeof(wchar_t);
  DWORD type = 0;
  if (RegQueryValueExW(key.get(), L"InstallLocation", nullptr, &type,
                       reinterpret_cast<BYTE*>(value), &size) != ERROR_SUCCESS ||
      type != REG_SZ) {
    return {};
  }
  return value;
}

std::wstring Widen(const std::string& text) {
  const int size = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(size > 0 ? size : 1), L'\0');
  if (size > 0) MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), size);
  wide.resize(wide.size() - 1);
  return wide;
}

std::wstring SystemText(unsigned code) { return Widen(velocane::win32::SystemErrorText(code)); }

// The log-on task; true also when it was not there or there is no task
// service. `error` gets what failed otherwise.
bool RemoveLogonTask(std::wstring* error) {
  velocane::win32::Win32TaskScheduler scheduler;
  for (int attempt = 1;; ++attempt) {
    try {
      scheduler.ConnectRootFolder()->DeleteTask("Velocane");
      return true;
    } catch (const velocane::EOleSysError& failure) {
      const std::int32_t hr = failure.ErrorCode();
      // A service that is still starting answers "not running" once.
      if (hr == velocane::taskstatus::kServiceNotRunning && attempt == 1) continue;
      if (hr == velocane::taskstatus::kTaskNotFound ||
          hr == velocane::taskstatus::kClassNotRegistered ||
          hr == velocane::taskstatus::kServiceNotRunning) {
        return true;
      }
      *error = Widen(failure.what());
      return false;
    }
  }
}

// A running program's file cannot be deleted, but it can be moved within its
// drive: out of the folder, so that the folder can go now; the file itself
// goes at the next restart.
void MoveAway(const std::wstring& self, const std::wstring& folder) {
  wchar_t temp[MAX_PATH] = {};
  wchar_t name[MAX_PATH] = {};
  if (GetTempPathW(MAX_PATH, temp) != 0 && GetTempFileNameW(temp, L"vun", 0, name) != 0) {
    DeleteFileW(name);
    if (MoveFileW(self.c_str(), name)) {
      MoveFileExW(name, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
      return;
    }
  }
  // The temporary folder is on another drive: beside the folder instead.
  const std::wstring beside = folder + L"-uninstall.tmp";
  DeleteFileW(beside.c_str());
  if (MoveFileW(self.c_str(), beside.c_str())) {
    MoveFileExW(beside.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
  }
}

std::wstring CommonPrograms() {
  wchar_t path[MAX_PATH] = {};
  SHGetFolderPathW(nullptr, CSIDL_COMMON_PROGRAMS, nullptr, SHGFP_TYPE_CURRENT, path);
  return path;
}

int Uninstall(const Options& options) {
  const std::wstring title = Widen(velocane::kApplicationTitle);
  const std::wstring caption = title + L" Uninstall";
  const auto say = [&](const std::wstring& text, UINT icon) {
    if (!options.silent) MessageBoxW(nullptr, text.c_str(), caption.c_str(), MB_OK | icon);
  };
  const std::wstring self = ModulePath();
  std::wstring folder = options.folder;
  if (folder.empty()) folder = InstallLocation();
  if (folder.empty()) folder = FolderOf(self);

  // The running program is found as its own single-instance guard finds it.
  if (FindWindowW(Widen(velocane::TApplication::kWindowClass).c_str(), title.c_str()) != nullptr) {
    say(L"Velocane is running. Close it first (its icon may be in the notification area), then "
        L"start the uninstall again.",
        MB_ICONSTOP);
    return kRefused;
  }
  if (!options.silent &&
      MessageBoxW(nullptr,
                  (L"Remove " + title + L" and its start at log-on from this computer?").c_str(),
                  caption.c_str(), MB_YESNO | MB_ICONQUESTION) != IDYES) {
    return kCancelled;
  }

  // What can fail comes first: until it has gone, the program stays
  // registered and this uninstaller beside it. A file already gone (a folder
  // deleted by hand) is no failure.
  const std::wstring program = folder + L"\\velocane.exe";
  if (!DeleteFileW(program.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND &&
      GetLastError() != ERROR_PATH_NOT_FOUND) {
    say(L"The uninstaller could not remove " + program + L": " + SystemText(GetLastError()) +
            L" Velocane stays registered; close what uses the file, then run the uninstaller "
            L"again.",
        MB_ICONSTOP);
    return kFailed;
  }
  if (std::wstring error; !RemoveLogonTask(&error)) {
    say(L"The uninstaller could not remove the log-on task \"Velocane\": " + error +
            L" Velocane stays registered; run the uninstaller again.",
        MB_ICONSTOP);
    return kFailed;
  }
  if (UniqueKey run;
      RegOpenKeyExW(HKEY_LOCAL_MACHINE, kRunKey, 0, KEY_SET_VALUE, run.put()) == ERROR_SUCCESS) {
    RegDeleteValueW(run.get(), L"Velocane");
  }

  const std::wstring uninstaller = folder + L"\\uninstall.exe";
  if (CompareStringOrdinal(FolderOf(self).c_str(), -1, folder.c_str(), -1, TRUE) == CSTR_EQUAL) {
    MoveAway(self, folder);
  } else {
    DeleteFileW(uninstaller.c_str());
  }
  RemoveDirectoryW(folder.c_str());  // what is not ours stays, and the folder with it
  DeleteFileW((CommonPrograms() + L"\\Velocane.lnk").c_str());
  RegDeleteKeyW(HKEY_LOCAL_MACHINE, kUninstallKey);
  say(L"Velocane was removed from this computer.", MB_ICONINFORMATION);
  return kRemoved;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // The task service is reached through COM.
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  const int code = Uninstall(ReadCommandLine(GetCommandLineW()));
  if (SUCCEEDED(com)) CoUninitialize();
  return code;
}
