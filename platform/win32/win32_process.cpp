#include "platform/win32/win32_process.h"

#include <vector>

#include "platform/win32/win32_common.h"

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

std::string Win32Process::SystemErrorText(unsigned code) {
  char* text = nullptr;
  DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string result = length > 0 && text != nullptr ? std::string(text, length) : std::string();
  if (text != nullptr) LocalFree(text);
  while (!result.empty() &&
         (result.back() == '\n' || result.back() == '\r' || result.back() == ' ')) {
    result.pop_back();
  }
  if (result.empty()) result = "System error " + std::to_string(code) + ".";
  return result;
}

long Win32Com::Initialize() { return CoInitialize(nullptr); }

void Win32Com::Uninitialize() { CoUninitialize(); }

}  // namespace velocane::win32
