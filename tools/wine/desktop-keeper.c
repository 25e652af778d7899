/* Keeps Wine's desktop (explorer.exe /desktop) alive, detached from any test's output. */
#include <stdlib.h>
#include <windows.h>

/* Usage: desktop-keeper SECONDS READY_FILE */
int main(int argc, char** argv) {
  MSG msg;
  HANDLE file;
  if (argc != 3) return 2;
  GetDesktopWindow(); /* attaches to the desktop: starts explorer /desktop */
  CreateWindowExA(0, "STATIC", "velocane-desktop-keeper", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL,
                  GetModuleHandleA(NULL), NULL);
  file = CreateFileA(argv[2], GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
  if (file == INVALID_HANDLE_VALUE) return 1;
  CloseHandle(file);
  SetTimer(NULL, 0, (UINT)atoi(argv[1]) * 1000u, NULL);
  while (GetMessageA(&msg, NULL, 0, 0) > 0) {
    if (msg.message == WM_TIMER) break;
    DispatchMessageA(&msg);
  }
  return 0;
}
