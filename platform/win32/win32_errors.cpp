#include "platform/win32/win32_errors.h"

#include "platform/win32/windows_clean.h"

namespace velocane::win32 {

std::string SystemErrorText(unsigned code) {
  char* text = nullptr;
  const DWORD length = FormatMessageA(
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

void ThrowLastError() {
  const DWORD code = GetLastError();
  ThrowOSError(code != 0 ? code : ERROR_NOT_ENOUGH_MEMORY);
}

}  // namespace velocane::win32
