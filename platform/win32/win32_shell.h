#pragma once
#include "platform/shell.h"

namespace velocane::win32 {

// ShellWindows and InternetExplorer through COM, on the calling thread's apartment.
class Win32Shell : public Shell {
 public:
  ShellWindowsRef CreateShellWindows() override;
  BrowserRef CreateBrowser() override;
};

}  // namespace velocane::win32
