// The main window as the program builds it, driven in the simulation.
#include <gtest/gtest.h>

#include "app/ObServeUnit.h"
#include "app/appearance.h"
#include "app/program.h"
#include "platform/messages.h"
#include "platform/sim/sim_platform.h"

namespace velocane {
namespace {

class MainWindowTest : public ::testing::Test {
 protected:
  MainWindowTest() {
    app.Initialize();
    app.SetTitle(kApplicationTitle);
    form = &app.CreateForm<TForm1>();
  }

  sim::SimPlatform sim;
  TApplication app{sim.platform};
  TForm1* form = nullptr;
};

TEST_F(MainWindowTest, WindowFrame) {
  EXPECT_EQ(form->Caption(), "Velocane");
  EXPECT_EQ(form->ClientWidth(), 405);
  EXPECT_EQ(form->ClientHeight(), 275);
  EXPECT_EQ(form->BorderStyle(), TFormBorderStyle::bsToolWindow);
  EXPECT_TRUE(form->StayOnTop());
  EXPECT_EQ(form->Position(), TPosition::poScreenCenter);
  EXPECT_EQ(form->BackColor(), clBtnFace);
  EXPECT_EQ(form->Font(), (FontDesc{"MS Sans Serif", 11, false, clWindowText}));
  EXPECT_EQ(app.MainForm(), form);
}

struct Expected {
  const char* name;
  Rect bounds;
  const char* caption;
  bool visible;
  FontDesc font;
};

TEST_F(MainWindowTest, ControlsPlacesTextsAndVisibility) {
  const FontDesc button_font{"Arial", 11, true, clWindowText};
  const Expected expected[] = {
      {"Memo1", {0, 1, 409, 33}, "", true, {"Arial", 21, false, clLime}},
      {"Memo2", {0, 32, 409, 163}, "", true, {"Arial", 13, false, clBlack}},
      {"CB", {307, 5, 372, 26}, "AUTO", true, {"MS Sans Serif", 11, false, clWindowText}},
      {"ListView1", {0, 0, 405, 265}, "", true, {}},
      {"Panel1", {0, 162, 405, 275}, "", true, {}},
      {"SpeedButton3", {29, 10, 97, 78}, "Stop", true, button_font},
      {"SpeedButton1", {99, 10, 167, 78}, "Accelerate", true, button_font},
      {"SpeedButton2", {169, 10, 237, 78}, "View", true, button_font},
      {"SpeedButton4", {239, 10, 307, 78}, "Minimize", true, button_font},
      {"Edit1", {311, 10, 379, 78}, "About", true, button_font},
      {"Label1", {14, 94, 214, 107}, "Ready.", true, {"Arial", 11, false, clWindowText}},
      {"CheckBox1",
       {180, 255, 383, 272},
       "Enable acceleration on system startup",
       true,
       {"Arial", 11, false, clWindowText}},
      {"BitBtn1", {280, 76, 345, 105}, "Minimize", false, {}},
      {"BitBtn2", {16, 84, 126, 109}, "Launch Pellarin", false, {}},
      {"BitBtn3", {256, 87, 369, 112}, "About le program", false, {}},
  };
  for (const Expected& e : expected) {
    SCOPED_TRACE(e.name);
    auto* control = dynamic_cast<TControl*>(form->FindComponent(e.name));
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->BoundsRect(), e.bounds);
    EXPECT_EQ(control->Caption(), e.caption);
    EXPECT_EQ(control->Visible(), e.visible);
    EXPECT_EQ(control->Font(), e.font);
  }
  for (TControl* slate : {static_cast<TControl*>(form->Memo1), static_cast<TControl*>(form->Memo2),
                          static_cast<TControl*>(form->CB), static_cast<TControl*>(form->Panel1),
                          static_cast<TControl*>(form->CheckBox1)}) {
    EXPECT_EQ(slate->BackColor(), kSlate) << slate->Name();
  }
  EXPECT_FALSE(form->CheckBox1->Checked());
  EXPECT_TRUE(form->Panel1->BevelRaised());
}

TEST_F(MainWindowTest, MemoLinesAndComboItems) {
  EXPECT_EQ(form->Memo1->Lines(), std::vector<std::string>{"Velocane 3.12"});
  EXPECT_EQ(form->Memo2->Lines(), (std::vector<std::string>{
                                      "  - Make your Internet Explorer faster!",
                                      "",
                                      "  - Boost all your Internet Applications!",
                                      "",
                                      "  - Applicable to Modem, LAN, CATV, Cable, ADSL user.",
                                      "",
                                      "  - Support Internet Explorer 6, 7, 8, 9, 10, 11, 12.",
                                  }));
  EXPECT_TRUE(form->Memo1->ReadOnly());
  EXPECT_TRUE(form->Memo2->ReadOnly());
  const std::vector<std::string> items = {"Modem                    ",
                                          "LAN                            ",
                                          "ISDN                                     ",
                                          "ADSL                    ",
                                          "CATV                    ",
                                          "Cable                    ",
                                          "AUTO                    "};
  EXPECT_EQ(form->CB->Items(), items);
  EXPECT_EQ(form->CB->DropDownCount(), 8);
  EXPECT_EQ(form->CB->Text(), "AUTO");
  EXPECT_EQ(form->CB->ItemIndex(), -1);
}

TEST_F(MainWindowTest, ListColumns) {
  ASSERT_EQ(form->ListView1->Columns().size(), 3u);
  EXPECT_EQ(form->ListView1->Columns()[0].caption, "No.");
  EXPECT_EQ(form->ListView1->Columns()[0].width, 30);
  EXPECT_EQ(form->ListView1->Columns()[1].caption, "Title");
  EXPECT_EQ(form->ListView1->Columns()[1].width, 200);
  EXPECT_EQ(form->ListView1->Columns()[2].caption, "URL");
  EXPECT_EQ(form->ListView1->Columns()[2].width, 150);
  EXPECT_TRUE(form->ListView1->GridLines());
  EXPECT_TRUE(form->ListView1->RowSelect());
  EXPECT_FALSE(form->ListView1->HideSelection());
}

TEST_F(MainWindowTest, StackingOrderLowestFirst) {
  std::vector<std::string> on_form;
  for (TControl* c : form->Controls()) on_form.push_back(c->Name());
  // The list lies lowest; the panel and the memos cover it; the combo box and
  // the check box lie above them.
  EXPECT_EQ(on_form, (std::vector<std::string>{"ListView1", "Panel1", "Memo1", "Memo2", "CB",
                                               "CheckBox1", "BitBtn2", "BitBtn3"}));
  std::vector<std::string> on_panel;
  for (TControl* c : form->Panel1->Controls()) on_panel.push_back(c->Name());
  EXPECT_EQ(on_panel,
            (std::vector<std::string>{"SpeedButton3", "SpeedButton1", "SpeedButton2",
                                      "SpeedButton4", "Edit1", "Label1", "AG", "BitBtn1", "CB1",
                                      "CB2", "CBServer", "GoButton", "NewButton", "CloseButton"}));
}

TEST_F(MainWindowTest, MemosOfferAnEmptyContextMenu) {
  ASSERT_NE(form->Memo1->PopupMenu(), nullptr);
  EXPECT_EQ(form->Memo1->PopupMenu(), form->PopupMenu1);
  EXPECT_EQ(form->Memo2->PopupMenu(), form->PopupMenu1);
  EXPECT_TRUE(form->PopupMenu1->Items().empty());
  auto* peer = static_cast<sim::SimMemo*>(form->Memo2->Peer());
  EXPECT_TRUE(peer->no_context_menu);
}

TEST_F(MainWindowTest, TimersStartDisabled) {
  EXPECT_FALSE(form->Timer1->Enabled());
  EXPECT_EQ(form->Timer1->Interval(), 5000u);
  EXPECT_FALSE(form->Timer3->Enabled());
  EXPECT_EQ(form->Timer3->Interval(), 1500u);
}

TEST_F(MainWindowTest, PeersMirrorTheModel) {
  // Every visible windowed control has a peer created with its state.
  auto* cb = static_cast<sim::SimComboBox*>(form->CB->Peer());
  ASSERT_NE(cb, nullptr);
  EXPECT_EQ(cb->control.text, "AUTO");
  EXPECT_EQ(cb->items.size(), 7u);
  // The hidden ones get theirs after the shown window has been painted.
  EXPECT_EQ(form->BitBtn1->Peer(), nullptr);
  form->Show();
  EXPECT_EQ(static_cast<sim::SimForm*>(form->Peer())->updates, 1);
  auto* bitbtn = static_cast<sim::SimButton*>(form->BitBtn1->Peer());
  ASSERT_NE(bitbtn, nullptr);
  EXPECT_FALSE(bitbtn->control.visible);
  // The main window is a top-level window owned by the application window.
  auto* window = static_cast<sim::SimForm*>(form->Peer());
  EXPECT_EQ(window->owner, app.Handle());
  EXPECT_EQ(window->border_style, TFormBorderStyle::bsToolWindow);
  EXPECT_TRUE(window->stay_on_top);
  EXPECT_EQ(sim.windowing.GetWindowText(form->Handle()), "Velocane");
  EXPECT_EQ(sim.windowing.GetClassName(form->Handle()), "TForm1");
}

TEST_F(MainWindowTest, ApplicationWindowCarriesTitleAndClass) {
  EXPECT_EQ(sim.windowing.GetWindowText(app.Handle()), "Velocane 3.12");
  EXPECT_EQ(sim.windowing.GetClassName(app.Handle()), TApplication::kWindowClass);
  EXPECT_FALSE(sim.windowing.IsWindowVisible(app.Handle()));
  EXPECT_EQ(sim.com.initialized, 1);
}

TEST_F(MainWindowTest, RunShowsTheWindowAndTheCloseBoxEndsTheProgram) {
  EXPECT_FALSE(sim.windowing.IsWindowVisible(form->Handle()));
  sim.windowing.PostMessage(form->Handle(), wm::kClose, 0, 0);
  app.Run();
  EXPECT_TRUE(app.Terminated());
  EXPECT_TRUE(sim.windowing.IsWindowVisible(form->Handle()));
}

TEST(ProgramTest, WindowCreationFailureIsReportedWithTheSystemText) {
  sim::SimPlatform sim;
  sim.widgets.FailNextCreate(1400);
  EXPECT_EQ(RunProgram(sim.platform), 1);
  ASSERT_EQ(sim.windowing.MessageBoxes().size(), 1u);
  EXPECT_EQ(sim.windowing.MessageBoxes()[0].text, "Invalid window handle.");
  EXPECT_EQ(sim.windowing.MessageBoxes()[0].caption, "Velocane 3.12");
  EXPECT_EQ(sim.com.initialized, 0);  // uninitialised on the way out
}

}  // namespace
}  // namespace velocane
