#include "platform/win32/win32_platform.h"
#include "platform/win32/windows_clean.h"
#include "tests/contract/backend.h"

namespace velocane::contract {

Platform& Backend() { return win32::Win32Platform(); }

bool PumpUntil(const std::function<bool()>& done, unsigned budget_ms) {
  const ULONGLONG end = GetTickCount64() + budget_ms;
  while (!done()) {
    const ULONGLONG now = GetTickCount64();
    if (now >= end) break;
    // Waits for input or a message, not a fixed time: returns as soon as one arrives.
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  return done();
}

}  // namespace velocane::contract
