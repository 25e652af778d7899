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

std::string Win32Process::ModuleFileNameUtf8() {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) {
      const int size = WideCharToMultiByte(CP_UTF8, 0, buffer.data(), static_cast<int>(length),
                                           nullptr, 0, nullptr, nullptr);
      std::string utf8(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
      if (size > 0) {
        WideCharToMultiByte(CP_UTF8, 0, buffer.data(), static_cast<int>(length), utf8.data(), size,
                            nullptr, nullptr);
      }
      return utf8;
    }
    buffer.resize(buffer.size() * 2);
  }
}

void Win32Process::Sleep(unsigned milliseconds) { ::Sleep(milliseconds); }

unsigned Win32Process::WinExec(const std::string& command_line, int show) {
  return ::WinExec(command_line.c_str(), static_cast<UINT>(show));
}

std::string Win32Process::SystemErrorText(unsigned code) { return win32::SystemErrorText(code); }

namespace {

SYSTEMTIME ToSystemTime(const LocalTime& time) {
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(time.year);
  st.wMonth = static_cast<WORD>(time.month);
  st.wDay = static_cast<WORD>(time.day);
  st.wHour = static_cast<WORD>(time.hour);
  st.wMinute = static_cast<WORD>(time.minute);
  st.wSecond = static_cast<WORD>(time.second);
  st.wMilliseconds = static_cast<WORD>(time.millisecond);
  return st;
}

// GetDateFormatA and GetTimeFormatA share their calling pattern: first the
// length, then the text.
template <class Format>
std::string Formatted(Format format) {
  const int length = format(nullptr, 0);
  if (length <= 0) return {};
  std::string text(static_cast<std::size_t>(length), '\0');
  const int written = format(text.data(), length);
  text.resize(written > 0 ? static_cast<std::size_t>(written - 1) : 0);
  return text;
}

}  // namespace

LocalTime Win32Process::Now() {
  SYSTEMTIME st;
  GetLocalTime(&st);
  return LocalTime{st.wYear,   st.wMonth,  st.wDay,         st.wHour,
                   st.wMinute, st.wSecond, st.wMilliseconds};
}

std::string Win32Process::ShortDateText(const LocalTime& time) {
  const SYSTEMTIME st = ToSystemTime(time);
  return Formatted([&](char* buffer, int size) {
    return GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, buffer, size);
  });
}

std::string Win32Process::LongTimeText(const LocalTime& time) {
  const SYSTEMTIME st = ToSystemTime(time);
  return Formatted([&](char* buffer, int size) {
    return GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &st, nullptr, buffer, size);
  });
}

std::string Win32Process::AnsiToUtf8(const std::string& ansi) {
  if (ansi.empty()) return {};
  const int length = static_cast<int>(ansi.size());
  const int wide_size = MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, nullptr, 0);
  if (wide_size <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(wide_size), L'\0');
  MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, wide.data(), wide_size);
  const int size =
      WideCharToMultiByte(CP_UTF8, 0, wide.data(), wide_size, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
  if (size > 0) {
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), wide_size, utf8.data(), size, nullptr, nullptr);
  }
  return utf8;
}

HResult Win32Com::Initialize() { return CoInitialize(nullptr); }

void Win32Com::Uninitialize() { CoUninitialize(); }

}  // namespace velocane::win32
