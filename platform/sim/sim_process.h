#pragma once
// Process operations on the virtual clock, with what a test may set or look at.
#include <functional>
#include <string>
#include <vector>

#include "platform/com.h"
#include "platform/process.h"
#include "platform/sim/sim_clock.h"
#include "platform/sim/sim_errors.h"

namespace velocane::sim {

class SimProcess : public Process {
 public:
  explicit SimProcess(SimClock& clock) : clock_(clock) {}
  std::string CommandLine() override { return command_line; }
  std::string ModuleFileName() override { return module_file_name; }
  std::string ModuleFileNameUtf8() override {
    return wide_module_file_name.empty() ? AnsiToUtf8(module_file_name) : wide_module_file_name;
  }
  void Sleep(unsigned milliseconds) override {
    sleeps.push_back(milliseconds);
    clock_.Advance(milliseconds);
    if (on_sleep) on_sleep(milliseconds);
  }
  unsigned WinExec(const std::string& command_line_text, int show) override {
    started.push_back({command_line_text, show});
    return win_exec_result;
  }
  std::string SystemErrorText(unsigned code) override { return sim::SystemErrorText(code); }
  LocalTime Now() override { return local_time; }
  // The formats of the United States English locale.
  std::string ShortDateText(const LocalTime& time) override;
  std::string LongTimeText(const LocalTime& time) override;
  std::string AnsiToUtf8(const std::string& ansi) override;

  std::string command_line = "\"C:\\Program Files\\Velocane\\velocane.exe\"";
  std::string module_file_name = "C:\\Program Files\\Velocane\\velocane.exe";
  // The path as the wide call gives it, in UTF-8, where it holds characters
  // the ANSI name lost; empty: the ANSI name's characters.
  std::string wide_module_file_name;
  unsigned win_exec_result = 33;
  // The local time the program reads; it stands still until a test sets it.
  LocalTime local_time{2024, 3, 9, 14, 5, 7, 0};
  struct Started {
    std::string command_line;
    int show;
  };
  std::vector<Started> started;
  std::vector<unsigned> sleeps;
  // Lets a test look at the program while it waits.
  std::function<void(unsigned)> on_sleep;

 private:
  SimClock& clock_;
};

class SimCom : public Com {
 public:
  HResult Initialize() override {
    if (fail_with < 0) return fail_with;
    ++initialized;
    return initialized == 1 ? 0 : 1;  // S_OK, then S_FALSE
  }
  void Uninitialize() override { --initialized; }
  int initialized = 0;
  // Test side: a failing HRESULT makes every Initialize fail with it.
  HResult fail_with = 0;
};

}  // namespace velocane::sim
