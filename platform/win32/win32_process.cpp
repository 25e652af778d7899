#include "platform/win32/win32_process.h"

#include <vector>

#include "platform/win32/win32_common.h"
#include "platform/win32/win32_errors.h"

namespace velocane::win32 {

std::string Win32Process::CommandLine() { return GetCommandLineA(); }

std::string Win32Process::ModuleFileName() {
  std::vector<char> buffer(MAX_PATH);
  for (;;) {
    DWORD length = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) return std::string(buffer.data(), length);
    buffer.resize(buffer.size() * 2);
  }
}

void Win32Process::Sleep(unsigned milliseconds) { ::Sleep(milliseconds); }

unsigned Win32Process::WinExec(const std::string& command_line, int show) {
  return ::WinExec(command_line.c_str(), static_cast<UINT>(show));
}

std::string Win32Process::SystemErrorText(unsigned code) { return win32::SystemErrorText(code); }

HResult Win32Com::Initialize() { return CoInitialize(nullptr); }

void Win32Com::Uninitialize() { CoUninitialize(); }

}  // namespace velocane::win32
