#pragma once
#include "platform/com.h"
#include "platform/process.h"

namespace velocane::win32 {

class Win32Process : public Process {
 public:
  std::string CommandLine() override;
  std::string ModuleFileName() override;
  std::string ModuleFileNameUtf8() override;
  void Sleep(unsigned milliseconds) override;
  unsigned WinExec(const std::string& command_line, int show) override;
  std::string SystemErrorText(unsigned code) override;
  LocalTime Now() override;
  std::string ShortDateText(const LocalTime& time) override;
  std::string LongTimeText(const LocalTime& time) override;
  std::string AnsiToUtf8(const std::string& ansi) override;
};

class Win32Com : public Com {
 public:
  HResult Initialize() override;
  void Uninitialize() override;
};

}  // namespace velocane::win32
