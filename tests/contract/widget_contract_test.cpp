// Every control kind on the simulation and on the real windows: what it shows
// when made, after each setting changes, and what the user's input does.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/framework/application.h"
#include "platform/framework/rounding.h"
#include "platform/messages.h"
#include "tests/contract/backend.h"
#include "tests/contract/widget_probe.h"

namespace velocane {
namespace {

using contract::Probe;

class WidgetContract : public ::testing::Test {
 protected:
  WidgetContract() {
    app.Initialize();
    app.SetTitle("Velocane Widget Contract");
    form = &app.CreateForm<TForm>("VelocaneContractForm");
    form->SetCaption("Contract");
    form->SetClientSize(400, 300);
  }
  template <class T>
  T* Make(const std::string& name, Rect bounds, TWinControl* parent = nullptr) {
    auto* control = new T(form, name);
    control->SetBounds(bounds.left, bounds.top, bounds.Width(), bounds.Height());
    control->SetFont(FontDesc{"Arial", 13, false, clWindowText});
    control->SetParent(parent != nullptr ? parent : form);
    return control;
  }

  TApplication app{contract::Backend()};
  TForm* form = nullptr;
};

TEST_F(WidgetContract, CommonSettingsReachTheWindowAfterCreation) {
  auto* button = Make<TButton>("Button", Rect{10, 20, 110, 45});
  button->SetCaption("Press");
  contract::WidgetState state = Probe(*button);
  EXPECT_EQ(state.text, "Press");
  EXPECT_TRUE(state.visible);
  EXPECT_TRUE(state.enabled);
  EXPECT_EQ(state.bounds, (Rect{10, 20, 110, 45}));
  EXPECT_EQ(state.font_name, "Arial");
  EXPECT_EQ(state.font_height, 13);

  button->SetBounds(30, 40, 80, 30);
  button->SetEnabled(false);
  button->Hide();
  button->SetFont(FontDesc{"Tahoma", 11, true, clWindowText});
  state = Probe(*button);
  EXPECT_EQ(state.bounds, (Rect{30, 40, 110, 70}));
  EXPECT_FALSE(state.enabled);
  EXPECT_FALSE(state.visible);
  EXPECT_EQ(state.font_name, "Tahoma");
  EXPECT_EQ(state.font_height, 11);
  EXPECT_TRUE(state.font_bold);
}

TEST_F(WidgetContract, ControlsOnAPanelAreMadeWithItAndMoveWithIt) {
  auto* panel = Make<TPanel>("Panel", Rect{0, 100, 400, 200});
  auto* box = Make<TCheckBox>("Box", Rect{5, 6, 105, 26}, panel);
  EXPECT_EQ(Probe(*panel).bounds, (Rect{0, 100, 400, 200}));
  EXPECT_EQ(Probe(*box).bounds, (Rect{5, 6, 105, 26}));
  panel->Hide();
  EXPECT_FALSE(Probe(*panel).visible);
  EXPECT_TRUE(Probe(*box).visible);  // its own flag; the hidden parent hides it
}

TEST_F(WidgetContract, HiddenControlsGetTheirWindowsLaterInTheirPlaceOfTheStacking) {
  // A form put together before its window is made, bottom to top.
  auto* second = new TForm(&app, "VelocaneContractSecond");
  second->SetClientSize(400, 300);
  auto* panel = new TPanel(second, "Panel");
  panel->SetBounds(0, 0, 400, 100);
  panel->SetParent(second);
  std::vector<TButton*> buttons;
  for (const char* name : {"Low", "ShownFirst", "ShownWithTheForm", "High"}) {
    auto* button = new TButton(second, name);
    button->SetBounds(10 * static_cast<int>(buttons.size()), 10, 80, 25);
    button->SetVisible(buttons.empty() || std::string(name) == "High");
    button->SetParent(panel);
    buttons.push_back(button);
  }
  TButton* low = buttons[0];
  TButton* shown_first = buttons[1];
  TButton* with_form = buttons[2];
  TButton* high = buttons[3];
  second->CreateHandle();
  EXPECT_FALSE(shown_first->HandleAllocated());
  EXPECT_FALSE(with_form->HandleAllocated());
  EXPECT_EQ(contract::Stacking(*panel), (std::vector{high->Handle(), low->Handle()}));

  shown_first->Show();
  ASSERT_TRUE(shown_first->HandleAllocated());
  EXPECT_TRUE(Probe(*shown_first).visible);
  EXPECT_EQ(contract::Stacking(*panel),
            (std::vector{high->Handle(), shown_first->Handle(), low->Handle()}));

  second->Show();
  ASSERT_TRUE(with_form->HandleAllocated());
  EXPECT_FALSE(Probe(*with_form).visible);
  EXPECT_EQ(Probe(*with_form).bounds, (Rect{20, 10, 100, 35}));
  EXPECT_EQ(contract::Stacking(*panel), (std::vector{high->Handle(), with_form->Handle(),
                                                     shown_first->Handle(), low->Handle()}));
  delete second;
}

TEST_F(WidgetContract, MemoLinesAndReadOnly) {
  auto* memo = Make<TMemo>("Memo", Rect{0, 0, 200, 80});
  memo->SetLines({"one", "", "three"});
  EXPECT_EQ(contract::MemoLines(*memo), (std::vector<std::string>{"one", "", "three"}));
  EXPECT_FALSE(contract::MemoReadOnly(*memo));
  memo->SetReadOnly(true);
  EXPECT_TRUE(contract::MemoReadOnly(*memo));
  memo->SetLines({"changed"});
  memo->SetReadOnly(false);
  EXPECT_EQ(contract::MemoLines(*memo), std::vector<std::string>{"changed"});
  EXPECT_FALSE(contract::MemoReadOnly(*memo));
}

TEST_F(WidgetContract, ComboBoxItemsTextAndDropDownCount) {
  auto* combo = Make<TComboBox>("Combo", Rect{10, 10, 110, 31});
  const std::vector<std::string> many{"a", "b", "c", "d", "e", "f", "g", "h", "i", "j"};
  combo->SetItems(many);
  combo->SetText("AUTO");
  EXPECT_EQ(contract::ComboItems(*combo), many);
  EXPECT_EQ(Probe(*combo).text, "AUTO");
  // The rows the dropped list shows (it has more items than that).
  EXPECT_EQ(contract::ComboDropDownCount(*combo), 8);
  combo->SetDropDownCount(3);
  EXPECT_EQ(contract::ComboDropDownCount(*combo), 3);
  combo->SetFont(FontDesc{"Arial", 21, false, clWindowText});
  EXPECT_EQ(contract::ComboDropDownCount(*combo), 3);
  combo->SetItems({"LAN"});
  EXPECT_EQ(contract::ComboItems(*combo), std::vector<std::string>{"LAN"});
  // New items leave the program's text in the field.
  EXPECT_EQ(Probe(*combo).text, "AUTO");
  // Where the field lies; its height is the system's, from the font.
  const Rect bounds = Probe(*combo).bounds;
  EXPECT_EQ(bounds.left, 10);
  EXPECT_EQ(bounds.top, 10);
  EXPECT_EQ(bounds.Width(), 100);
}

TEST_F(WidgetContract, ComboBoxPickIsTheUsersSelection) {
  auto* combo = Make<TComboBox>("Combo", Rect{10, 10, 110, 31});
  combo->SetItems({"Modem", "Cable"});
  std::vector<std::string> seen;
  combo->OnSelect = [&](TComponent&) { seen.push_back(combo->Text()); };
  contract::UserPickItem(*combo, 1);
  EXPECT_EQ(seen, std::vector<std::string>{"Cable"});
  EXPECT_EQ(combo->ItemIndex(), 1);
}

TEST_F(WidgetContract, ListViewColumnsStylesAndRows) {
  auto* list = Make<TListView>("List", Rect{0, 0, 380, 200});
  list->SetColumns({{"No.", 30}, {"Title", 200}});
  list->AddItem(TListItem{"1", {"First"}, nullptr, false});
  list->AddItem(TListItem{"2", {"Second"}, nullptr, false});
  contract::ListState expected{{{"No.", 30}, {"Title", 200}},     false, false, false,
                               {{"1", "First"}, {"2", "Second"}}, {}};
  EXPECT_EQ(contract::List(*list), expected);

  list->SetColumns({{"No.", 40}, {"Title", 100}, {"URL", 150}});
  list->SetGridLines(true);
  list->SetRowSelect(true);
  list->SetHideSelection(false);
  list->SetSelectedIndex(1);
  expected.columns = {{"No.", 40}, {"Title", 100}, {"URL", 150}};
  expected.grid_lines = expected.row_select = expected.show_selection_always = true;
  expected.rows = {{"1", "First", ""}, {"2", "Second", ""}};
  expected.selected = {1};
  EXPECT_EQ(contract::List(*list), expected);

  list->ClearItems();
  list->AddItem(TListItem{"3", {"Third", "about:blank"}, nullptr, false});
  expected.rows = {{"3", "Third", "about:blank"}};
  expected.selected = {};
  EXPECT_EQ(contract::List(*list), expected);
  EXPECT_EQ(list->Selected(), nullptr);
}

TEST_F(WidgetContract, ListViewSelectionByTheUserReachesTheModel) {
  auto* list = Make<TListView>("List", Rect{0, 0, 380, 200});
  list->SetColumns({{"No.", 30}});
  for (const char* caption : {"1", "2", "3"}) list->AddItem(TListItem{caption, {}, nullptr, false});
  contract::UserSelectRow(*list, 2);
  ASSERT_NE(list->Selected(), nullptr);
  EXPECT_EQ(list->Selected()->Caption, "3");
  contract::UserSelectRow(*list, 0);
  ASSERT_NE(list->Selected(), nullptr);
  EXPECT_EQ(list->Selected()->Caption, "1");
  EXPECT_EQ(contract::List(*list).selected, std::vector<int>{0});
}

TEST_F(WidgetContract, CheckBoxStateByProgramAndByTheUser) {
  auto* box = Make<TCheckBox>("Box", Rect{10, 10, 200, 27});
  box->SetCaption("Enable");
  int clicks = 0;
  box->OnClick = [&](TComponent&) { ++clicks; };
  box->SetChecked(true);
  EXPECT_TRUE(contract::Checked(*box));
  EXPECT_EQ(Probe(*box).text, "Enable");
  contract::UserClick(*box);
  EXPECT_FALSE(box->Checked());
  EXPECT_FALSE(contract::Checked(*box));
  EXPECT_EQ(clicks, 2);
}

TEST_F(WidgetContract, ButtonClickByTheUser) {
  auto* button = Make<TButton>("Button", Rect{10, 10, 80, 35});
  int clicks = 0;
  button->OnClick = [&](TComponent&) { ++clicks; };
  contract::UserClick(*button);
  EXPECT_EQ(clicks, 1);
}

// The notices that carry a pointer, sent with none, as only a program that
// forges them would: the form and a panel answer them and go on, with their
// text and their controls' clicks as before; a late creation notice makes
// nothing anew.
TEST_F(WidgetContract, PointerNoticesWithoutTheirPointerChangeNothing) {
  auto* panel = Make<TPanel>("Panel", Rect{0, 100, 400, 200});
  auto* button = Make<TButton>("Button", Rect{10, 10, 80, 35}, panel);
  int clicks = 0;
  button->OnClick = [&](TComponent&) { ++clicks; };
  constexpr std::uint32_t kCreate = 0x0001, kNotify = 0x004E, kNcCreate = 0x0081;
  Windowing& windowing = contract::Backend().windowing;
  for (TWinControl* container :
       {static_cast<TWinControl*>(form), static_cast<TWinControl*>(panel)}) {
    for (std::uint32_t msg : {kNotify, kNcCreate, kCreate}) {
      SCOPED_TRACE(container->Name() + " " + std::to_string(msg));
      windowing.SendMessage(container->Handle(), msg, 0, 0);
      EXPECT_EQ(Probe(*form).text, "Contract");
      contract::UserClick(*button);
    }
  }
  EXPECT_EQ(clicks, 6);
}

TEST_F(WidgetContract, FormFrameAndPlacement) {
  EXPECT_EQ(Probe(*form).text, "Contract");
  EXPECT_EQ(Probe(*form).bounds, (Rect{0, 0, 400, 300}));
  EXPECT_EQ(contract::Form(*form).border_style, TFormBorderStyle::bsSizeable);
  EXPECT_FALSE(contract::Form(*form).stay_on_top);
  form->SetBorderStyle(TFormBorderStyle::bsToolWindow);
  form->SetStayOnTop(true);
  EXPECT_EQ(contract::Form(*form).border_style, TFormBorderStyle::bsToolWindow);
  EXPECT_TRUE(contract::Form(*form).stay_on_top);
  // A new frame keeps the client area.
  EXPECT_EQ(Probe(*form).bounds, (Rect{0, 0, 400, 300}));
  // (Wine keeps an owned window on top once it was: its switching off is
  // not compared here.)
  form->SetBorderStyle(TFormBorderStyle::bsDialog);
  form->SetClientSize(288, 286);
  EXPECT_EQ(contract::Form(*form).border_style, TFormBorderStyle::bsDialog);
  EXPECT_EQ(Probe(*form).bounds, (Rect{0, 0, 288, 286}));
  form->SetCaption("Renamed");
  EXPECT_EQ(Probe(*form).text, "Renamed");
}

TEST_F(WidgetContract, ModalFormDisablesItsOwnerAndEndsWithTheButtonsResult) {
  form->Show();
  auto* dialog = new TForm(form, "VelocaneContractDialog");
  dialog->SetCaption("Dialog");
  dialog->SetClientSize(200, 100);
  dialog->SetBorderStyle(TFormBorderStyle::bsDialog);
  dialog->SetPosition(TPosition::poMainFormCenter);
  dialog->Icon().Assign(TPixelImage{2, 2, {clWhite, clNone, clNone, clRed}});
  auto* ok = new TButton(dialog, "Ok");
  ok->SetBounds(60, 40, 80, 25);
  ok->SetCaption("OK");
  ok->SetModalResult(mrOk);
  ok->SetParent(dialog);

  // The user's part, posted before the dialog's loop runs: it looks, then clicks OK.
  constexpr std::uint32_t kAct = wm::kUser + 12;
  bool acted = false;
  const int hook = app.HookMainWindow([&](std::uint32_t msg, std::uintptr_t, std::intptr_t) {
    if (msg != kAct) return;
    acted = true;
    EXPECT_FALSE(Probe(*form).enabled);
    EXPECT_TRUE(Probe(*dialog).visible);
    EXPECT_EQ(Probe(*dialog).bounds, (Rect{0, 0, 200, 100}));
    const contract::FormState frame = contract::Form(*dialog);
    EXPECT_EQ(frame.owner, form->Handle());
    EXPECT_TRUE(frame.has_icon);
    EXPECT_EQ(frame.border_style, TFormBorderStyle::bsDialog);
    EXPECT_EQ(contract::Focused(), ok->Handle());
    contract::UserClick(*ok);
  });
  ASSERT_TRUE(contract::Backend().windowing.PostMessage(app.Handle(), kAct, 0, 0));
  EXPECT_EQ(dialog->ShowModal(), mrOk);
  app.UnhookMainWindow(hook);
  EXPECT_TRUE(acted);
  EXPECT_TRUE(Probe(*form).enabled);
  EXPECT_FALSE(Probe(*dialog).visible);

  const WindowHandle window = dialog->Handle();
  const WindowHandle button = ok->Handle();
  delete dialog;
  EXPECT_FALSE(contract::WindowExists(window));
  EXPECT_FALSE(contract::WindowExists(button));
  EXPECT_EQ(form->FindComponent("VelocaneContractDialog"), nullptr);
}

// The notification area's small icons grow with the display's DPI: 16 at
// 96 DPI, and the tray pictures are drawn at that size.
TEST_F(WidgetContract, TheSmallIconSizeIsTheSystemsDpiScaled) {
  WidgetFactory& widgets = app.Platform().widgets;
  EXPECT_EQ(widgets.SmallIconSize(), MulDiv(16, widgets.SystemDpi(), 96));
}

}  // namespace
}  // namespace velocane
