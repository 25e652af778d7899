#pragma once
// What a control's window shows, read back from the real window under Wine and
// from the simulated peer natively, and the user's input on it. The widget
// contract test checks that both tell the same.
#include <ostream>
#include <string>
#include <vector>

#include "platform/framework/comctrls.h"
#include "platform/framework/forms.h"
#include "platform/framework/stdctrls.h"

namespace velocane::contract {

struct WidgetState {
  std::string text;
  bool visible = false;  // the window's own flag, whatever its parent shows
  bool enabled = false;
  Rect bounds;  // in the parent's client area; forms: the client area at (0, 0)
  std::string font_name;
  int font_height = 0;
  bool font_bold = false;
};

WidgetState Probe(const TWinControl& control);

std::vector<std::string> MemoLines(const TMemo& memo);
bool MemoReadOnly(const TMemo& memo);

std::vector<std::string> ComboItems(const TComboBox& combo);
int ComboDropDownCount(const TComboBox& combo);

struct ListState {
  std::vector<ListColumn> columns;
  bool grid_lines = false;
  bool row_select = false;
  bool show_selection_always = false;
  std::vector<std::vector<std::string>> rows;
  std::vector<int> selected;
  friend bool operator==(const ListState&, const ListState&) = default;
};
ListState List(const TListView& list);
void PrintTo(const ListState& state, std::ostream* out);

bool Checked(const TCheckBox& box);

struct FormState {
  TFormBorderStyle border_style = TFormBorderStyle::bsSizeable;
  bool stay_on_top = false;
  WindowHandle owner;     // the window that owns it
  bool has_icon = false;  // an icon of its own in the caption
};
FormState Form(const TForm& form);
// The window with the keyboard focus, or null.
WindowHandle Focused();
// Whether the window still exists.
bool WindowExists(WindowHandle window);
// The control's child windows in stacking order, the top one first.
std::vector<WindowHandle> Stacking(const TWinControl& parent);

// The user's input, as the system delivers it to the control's parent.
void UserClick(TWinControl& button);
void UserPickItem(TComboBox& combo, int index);
void UserSelectRow(TListView& list, int row);

}  // namespace velocane::contract
