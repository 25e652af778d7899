// The Windows program entry: the real platform.
#include "app/program.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/windows_clean.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  return velocane::RunProgram(velocane::win32::Win32Platform());
}
