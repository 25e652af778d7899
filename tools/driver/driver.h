#pragma once
// Operates the real velocane.exe from outside, as a user would: starts it,
// finds its windows by title and class, reads and clicks its controls.
#include <windows.h>

#include <string>
#include <vector>

namespace velocane::driver {

// The path of velocane.exe in the build this driver belongs to.
std::wstring VelocanePath();

class RunningProgram {
 public:
  // Starts the program with the given arguments; throws std::runtime_error on failure.
  explicit RunningProgram(const std::wstring& arguments = L"");
  ~RunningProgram();  // ends the program if it is still running
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;

  DWORD ProcessId() const { return info_.dwProcessId; }
  // Waits (bounded) for the process to end; returns its exit code, or nothing.
  bool WaitForExit(DWORD timeout_ms, DWORD* exit_code = nullptr);
  bool Running();
  void Kill();

 private:
  PROCESS_INFORMATION info_{};
};

// A top-level window of the given process with this class and title (either may be empty to
// match any), polled until it appears or the time runs out.
HWND WaitForWindow(DWORD process_id, const std::wstring& class_name, const std::wstring& title,
                   DWORD timeout_ms);
// A child window of this class and, if given, text; polled until it exists.
HWND WaitForChild(HWND parent, const std::wstring& class_name, const std::wstring& text,
                  DWORD timeout_ms);
std::vector<HWND> Children(HWND parent);
std::wstring ClassOf(HWND window);
std::wstring TextOf(HWND window);

}  // namespace velocane::driver
