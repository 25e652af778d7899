// The program under test: started from this build, ended when the test is done.
#include <stdexcept>
#include <string>

#include "platform/win32/handles.h"
#include "tools/driver/driver.h"

namespace velocane::driver {

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
  const win32::StartedProcess closed_here(info_);
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

}  // namespace velocane::driver
