#pragma once
// Process-level operations: the command line, the executable's path, waiting,
// starting another program, and error texts of the system.
#include <string>

namespace velocane {

class Process {
 public:
  virtual ~Process() = default;
  virtual std::string CommandLine() = 0;
  virtual std::string ModuleFileName() = 0;
  // Blocks the calling thread; the simulation advances its virtual clock instead.
  virtual void Sleep(unsigned milliseconds) = 0;
  // Starts a program as WinExec does; returns its result (greater than 31 on success).
  virtual unsigned WinExec(const std::string& command_line, int show) = 0;
  // The system's text for an error code, without a trailing line break.
  virtual std::string SystemErrorText(unsigned code) = 0;
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
