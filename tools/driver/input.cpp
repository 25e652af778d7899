// The user's actions as messages to the other program's windows: clicks at a
// point, the notices a control sends its parent, a pick from a combo box's
// list, a message box's button.
#include <stdexcept>

#include "tools/driver/driver.h"

namespace velocane::driver {

void NotifyButtonClicked(HWND button) {
  PostMessageW(GetParent(button), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
               reinterpret_cast<LPARAM>(button));
}

void NotifyComboPicked(HWND combo, int index) {
  SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  PostMessageW(GetParent(combo), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(combo));
}

void SelectComboItem(HWND combo, int index) {
  // Drop the list down and click the item, as the mouse does.
  DWORD process_id = 0;
  GetWindowThreadProcessId(combo, &process_id);
  SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
  HWND list = WaitForWindow(process_id, L"ComboLBox", L"", 5000);
  if (list == nullptr) throw std::runtime_error("the combo box's list did not drop down");
  const int height = static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
  const int top = static_cast<int>(SendMessageW(list, LB_GETTOPINDEX, 0, 0));
  const LPARAM at = MAKELPARAM(5, (index - top) * height + height / 2);
  PostMessageW(list, WM_MOUSEMOVE, 0, at);
  PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageW(list, WM_LBUTTONUP, 0, at);
}

void ClickAt(HWND window, int x, int y) {
  const LPARAM at = MAKELPARAM(x, y);
  PostMessageW(window, WM_MOUSEMOVE, 0, at);
  PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageW(window, WM_LBUTTONUP, 0, at);
}

void PressDialogButton(HWND dialog, int id) {
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

}  // namespace velocane::driver
