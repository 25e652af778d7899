#pragma once
// Process-level operations: the command line, the executable's path, waiting,
// starting another program, error texts of the system and the local time.
#include <string>

namespace velocane {

// A moment of the local clock.
struct LocalTime {
  int year = 0;
  int month = 0;  // 1..12
  int day = 0;    // 1..31
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;
  friend bool operator==(const LocalTime&, const LocalTime&) = default;
};

class Process {
 public:
  virtual ~Process() = default;
  virtual std::string CommandLine() = 0;
  virtual std::string ModuleFileName() = 0;
  // The executable's full path read in UTF-16 and given in UTF-8, so that a
  // folder name outside the ANSI code page survives.
  virtual std::string ModuleFileNameUtf8() = 0;
  // Blocks the calling thread; the simulation advances its virtual clock instead.
  virtual void Sleep(unsigned milliseconds) = 0;
  // Starts a program as WinExec does; returns its result (greater than 31 on success).
  virtual unsigned WinExec(const std::string& command_line, int show) = 0;
  // The system's text for an error code, without a trailing line break.
  virtual std::string SystemErrorText(unsigned code) = 0;
  virtual LocalTime Now() = 0;
  // A moment in the user's locale: its short date format, its long time format.
  virtual std::string ShortDateText(const LocalTime& time) = 0;
  virtual std::string LongTimeText(const LocalTime& time) = 0;
  // A text of the ANSI code page in UTF-8.
  virtual std::string AnsiToUtf8(const std::string& ansi) = 0;
};

// Show commands (ShowWindow / WinExec).
namespace showcmd {
constexpr int kHide = 0;
constexpr int kShowNormal = 1;
constexpr int kShowMinimized = 2;
constexpr int kShow = 5;
constexpr int kMinimize = 6;
constexpr int kShowNoActivate = 8;
constexpr int kRestore = 9;
}  // namespace showcmd

}  // namespace velocane
