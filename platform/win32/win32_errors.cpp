#include "platform/win32/win32_errors.h"

#include <cstdio>

#include "platform/win32/windows_clean.h"

namespace velocane::win32 {

namespace {

std::string MessageText(unsigned code) {
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
  return result;
}

}  // namespace

std::string SystemErrorText(unsigned code) {
  std::string text = MessageText(code);
  // An HRESULT that wraps a system error code reads as that code's text.
  if (text.empty() && HRESULT_FACILITY(code) == FACILITY_WIN32)
    text = MessageText(HRESULT_CODE(code));
  if (!text.empty()) return text;
  // HRESULTs read better in hexadecimal.
  char fallback[40];
  std::snprintf(fallback, sizeof fallback,
                code >= 0x80000000u ? "System error 0x%08X." : "System error %u.", code);
  return fallback;
}

void ThrowLastError() {
  const DWORD code = GetLastError();
  ThrowOSError(code != 0 ? code : ERROR_NOT_ENOUGH_MEMORY);
}

}  // namespace velocane::win32
