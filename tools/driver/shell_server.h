#pragma once
// Starts the test's own shell window collection (shell_windows_server.exe)
// and talks to it: one command a line, one answer a line.
#include <windows.h>

#include <string>
#include <vector>

#include "platform/win32/handles.h"

namespace velocane::driver {

class ShellServer {
 public:
  // Starts the server and waits until its collection is registered; throws
  // std::runtime_error when it does not come up. With `serve_browsers` it also
  // hands out the new browsers programs ask the system for.
  explicit ShellServer(bool serve_browsers = false);
  // Asks it to quit; kills it when it does not.
  ~ShellServer();
  ShellServer(const ShellServer&) = delete;
  ShellServer& operator=(const ShellServer&) = delete;

  // Sends one command (fields joined by tabs, UTF-8) and returns the answer's
  // fields after "ok"; throws std::runtime_error on an error answer.
  std::vector<std::string> Command(const std::vector<std::string>& fields);
  // A browser of the server's own; returns its id.
  int Own(const std::string& title, const std::string& url);
  // A real browser of the system, shown and navigated; returns its id.
  int Wine(const std::string& url);
  HWND WindowOf(int id);
  // The ids of the collection's items, in its order.
  std::vector<int> Ids();
  // The addresses the browser received through Navigate.
  std::vector<std::string> Navigations(int id);
  // Ends the server at once, as a crash would.
  void Kill();
  bool Running() const;

 private:
  std::string ReadLine(DWORD timeout_ms);

  win32::StartedProcess process_;
  win32::UniqueKernelHandle to_server_;
  win32::UniqueKernelHandle from_server_;
  std::string pending_;
};

// The path of shell_windows_server.exe in the build this driver belongs to.
std::wstring ShellServerPath();

}  // namespace velocane::driver
