// Programs of the Linux side, started from under Wine: xdotool for real
// pointer clicks and key presses on the virtual display.
#include "platform/win32/handles.h"
#include "tools/driver/driver.h"

namespace velocane::driver {

bool StartUnix(const std::wstring& command_line) {
  // Wine starts programs of the Linux side as it starts its own, but hands
  // back no handle to wait on: the caller looks for what the program did.
  std::wstring command = command_line;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &info)) {
    return false;
  }
  // For a Linux program Wine gives a null process handle and an arbitrary
  // thread value: closing that could close one of our own handles (a
  // registry key the next write needs), so only a real process's are closed.
  win32::StartedProcess started;
  if (info.hProcess != nullptr) started = win32::StartedProcess(info);
  return true;
}

bool RealClick(POINT at) {
  return StartUnix(L"/usr/bin/xdotool mousemove " + std::to_wstring(at.x) + L" " +
                   std::to_wstring(at.y) + L" click 1");
}

bool RealKeys(const std::wstring& keys) { return StartUnix(L"/usr/bin/xdotool key " + keys); }

}  // namespace velocane::driver
