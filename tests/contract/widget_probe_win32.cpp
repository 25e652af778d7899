#include "platform/win32/windows_clean.h"
#include "tests/contract/widget_probe.h"

namespace velocane::contract {

namespace {

HWND Hwnd(const TWinControl& control) { return reinterpret_cast<HWND>(control.Handle().value); }

LONG_PTR Style(HWND hwnd) { return GetWindowLongPtrA(hwnd, GWL_STYLE); }
LONG_PTR ExStyle(HWND hwnd) { return GetWindowLongPtrA(hwnd, GWL_EXSTYLE); }

std::string Text(HWND hwnd) {
  const int length = GetWindowTextLengthA(hwnd);
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  text.resize(static_cast<std::size_t>(GetWindowTextA(hwnd, text.data(), length + 1)));
  return text;
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = text.find("\r\n", start);
    lines.push_back(text.substr(start, end == std::string::npos ? end : end - start));
    if (end == std::string::npos) return lines;
    start = end + 2;
  }
}

// What the parent sees: the control's own notification, sent the way the
// control sends it.
void NotifyParent(HWND control, UINT code) {
  SendMessageA(GetParent(control), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), code),
               reinterpret_cast<LPARAM>(control));
}

}  // namespace

WidgetState Probe(const TWinControl& control) {
  HWND hwnd = Hwnd(control);
  WidgetState state;
  state.text = Text(hwnd);
  state.visible = (Style(hwnd) & WS_VISIBLE) != 0;
  state.enabled = IsWindowEnabled(hwnd) != FALSE;
  RECT r;
  if ((Style(hwnd) & WS_CHILD) != 0) {
    GetWindowRect(hwnd, &r);
    MapWindowPoints(nullptr, GetParent(hwnd), reinterpret_cast<POINT*>(&r), 2);
  } else {
    GetClientRect(hwnd, &r);
  }
  state.bounds = Rect{r.left, r.top, r.right, r.bottom};
  LOGFONTA font{};
  GetObjectA(reinterpret_cast<HFONT>(SendMessageA(hwnd, WM_GETFONT, 0, 0)), sizeof font, &font);
  state.font_name = font.lfFaceName;
  state.font_height = font.lfHeight < 0 ? -font.lfHeight : font.lfHeight;
  state.font_bold = font.lfWeight >= FW_BOLD;
  return state;
}

std::vector<std::string> MemoLines(const TMemo& memo) { return SplitLines(Text(Hwnd(memo))); }
bool MemoReadOnly(const TMemo& memo) { return (Style(Hwnd(memo)) & ES_READONLY) != 0; }

std::vector<std::string> ComboItems(const TComboBox& combo) {
  HWND hwnd = Hwnd(combo);
  std::vector<std::string> items;
  const auto count = static_cast<int>(SendMessageA(hwnd, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    std::string item(static_cast<std::size_t>(SendMessageA(hwnd, CB_GETLBTEXTLEN, i, 0)) + 1, '\0');
    item.resize(static_cast<std::size_t>(
        SendMessageA(hwnd, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item.data()))));
    items.push_back(item);
  }
  return items;
}

int ComboDropDownCount(const TComboBox& combo) {
  // As the user sees it: the rows of the dropped list.
  HWND hwnd = Hwnd(combo);
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  GetComboBoxInfo(hwnd, &info);
  SendMessageA(hwnd, CB_SHOWDROPDOWN, TRUE, 0);
  RECT list;
  GetClientRect(info.hwndList, &list);
  SendMessageA(hwnd, CB_SHOWDROPDOWN, FALSE, 0);
  const auto row = static_cast<int>(SendMessageA(hwnd, CB_GETITEMHEIGHT, 0, 0));
  return row > 0 ? static_cast<int>(list.bottom / row) : 0;
}

ListState List(const TListView& list) {
  HWND hwnd = Hwnd(list);
  ListState state;
  for (int i = 0;; ++i) {
    char caption[256] = {};
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = caption;
    column.cchTextMax = sizeof caption;
    if (SendMessageA(hwnd, LVM_GETCOLUMNA, i, reinterpret_cast<LPARAM>(&column)) == FALSE) break;
    state.columns.push_back(ListColumn{caption, column.cx});
  }
  const auto extended = static_cast<DWORD>(SendMessageA(hwnd, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
  state.grid_lines = (extended & LVS_EX_GRIDLINES) != 0;
  state.row_select = (extended & LVS_EX_FULLROWSELECT) != 0;
  state.show_selection_always = (Style(hwnd) & LVS_SHOWSELALWAYS) != 0;
  const auto rows = static_cast<int>(SendMessageA(hwnd, LVM_GETITEMCOUNT, 0, 0));
  for (int row = 0; row < rows; ++row) {
    std::vector<std::string> texts;
    for (std::size_t sub = 0; sub < state.columns.size(); ++sub) {
      char text[512] = {};
      LVITEMA item{};
      item.iSubItem = static_cast<int>(sub);
      item.pszText = text;
      item.cchTextMax = sizeof text;
      SendMessageA(hwnd, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
      texts.push_back(text);
    }
    state.rows.push_back(texts);
    if ((SendMessageA(hwnd, LVM_GETITEMSTATE, row, LVIS_SELECTED) & LVIS_SELECTED) != 0) {
      state.selected.push_back(row);
    }
  }
  return state;
}

bool Checked(const TCheckBox& box) {
  return SendMessageA(Hwnd(box), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

FormState Form(const TForm& form) {
  HWND hwnd = Hwnd(form);
  FormState state;
  if ((ExStyle(hwnd) & WS_EX_TOOLWINDOW) != 0) {
    state.border_style = TFormBorderStyle::bsToolWindow;
  } else if ((ExStyle(hwnd) & WS_EX_DLGMODALFRAME) != 0) {
    state.border_style = TFormBorderStyle::bsDialog;
  } else {
    state.border_style = TFormBorderStyle::bsSizeable;
  }
  state.stay_on_top = (ExStyle(hwnd) & WS_EX_TOPMOST) != 0;
  state.owner = WindowHandle{reinterpret_cast<std::uintptr_t>(GetWindow(hwnd, GW_OWNER))};
  state.has_icon = SendMessageA(hwnd, WM_GETICON, ICON_BIG, 0) != 0 &&
                   SendMessageA(hwnd, WM_GETICON, ICON_SMALL, 0) != 0;
  return state;
}

WindowHandle Focused() { return WindowHandle{reinterpret_cast<std::uintptr_t>(GetFocus())}; }

bool WindowExists(WindowHandle window) {
  return IsWindow(reinterpret_cast<HWND>(window.value)) != FALSE;
}

std::vector<WindowHandle> Stacking(const TWinControl& parent) {
  std::vector<WindowHandle> children;
  for (HWND child = GetWindow(Hwnd(parent), GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    children.push_back(WindowHandle{reinterpret_cast<std::uintptr_t>(child)});
  }
  return children;
}

void UserClick(TWinControl& button) { SendMessageA(Hwnd(button), BM_CLICK, 0, 0); }

void UserPickItem(TComboBox& combo, int index) {
  HWND hwnd = Hwnd(combo);
  SendMessageA(hwnd, CB_SETCURSEL, index, 0);
  NotifyParent(hwnd, CBN_SELCHANGE);
}

void UserSelectRow(TListView& list, int row) {
  // The list tells its parent of every change of a row's state.
  LVITEMA item{};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageA(Hwnd(list), LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
}

}  // namespace velocane::contract
