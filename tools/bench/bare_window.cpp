// The baselines of the start-up benchmark: a bare Win32 window with a combo box
// and a button, shown as soon as it is made, and nothing else. Built a second
// time with VELOCANE_BARE_WITH_PROGRAM_LOAD: then it also carries what
// velocane.exe brings before it makes any window of its own (its resources and
// manifests, the same libraries, COM and the common controls), so the start-up
// that no change to the program's own work can remove is measured too.
#include <windows.h>

#ifdef VELOCANE_BARE_WITH_PROGRAM_LOAD
#include <commctrl.h>
#include <objbase.h>
#include <oleauto.h>
#include <shellapi.h>
#endif

namespace {

#ifdef VELOCANE_BARE_WITH_PROGRAM_LOAD
// Referenced, so the libraries are loaded with the process as the program's are.
decltype(&SysFreeString) volatile keep_oleaut32 = &SysFreeString;
decltype(&Shell_NotifyIconA) volatile keep_shell32 = &Shell_NotifyIconA;

void LoadAsTheProgramDoes() {
  CoInitialize(nullptr);
  INITCOMMONCONTROLSEX init{sizeof init, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&init);
}
#else
void LoadAsTheProgramDoes() {}
#endif

LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  if (msg == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wparam, lparam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  LoadAsTheProgramDoes();
  WNDCLASSW wc{};
  wc.lpfnWndProc = Proc;
  wc.hInstance = instance;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = L"BareWindow";
  RegisterClassW(&wc);
  HWND window = CreateWindowExW(0, L"BareWindow", L"Bare", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                CW_USEDEFAULT, 405, 300, nullptr, nullptr, instance, nullptr);
  CreateWindowExW(0, L"COMBOBOX", L"", WS_CHILD | WS_VISIBLE | CBS_DROPDOWN, 10, 10, 100, 200,
                  window, nullptr, instance, nullptr);
  CreateWindowExW(0, L"BUTTON", L"OK", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 120, 10, 60, 24,
                  window, nullptr, instance, nullptr);
  ShowWindow(window, SW_SHOW);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
