// The program without a mouse and with a screen reader: the Tab order, the
// keys that press the commands, the keyboard cues, and what assistive
// technology reads of the windowless commands and is told of their changes.
#include "app/OBAbout.h"
#include "tests/support/program_fixture.h"

namespace velocane::testing {
namespace {

using sim::SimAccessibility;

class Keyboard : public ProgramTest {
 protected:
  void SetUp() override { Start().Show(); }
  void Press(int key, bool shift = false, bool alt = false) {
    sim.widgets.PressKey(key, shift, alt);
  }
  std::string FocusedName() const {
    const TControl* focused = form->FocusedControl();
    return focused != nullptr ? focused->Name() : "(none)";
  }
  AccessibleContent& PanelContent() const {
    AccessibleContent* content = sim.accessibility.ContentOf(form->Panel1->Handle());
    EXPECT_NE(content, nullptr);
    return *content;
  }
  // The panel's pixels as the screen shows them now.
  std::vector<Color> PanelPixels() {
    auto* panel = static_cast<sim::SimPanel*>(form->Panel1->Peer());
    panel->Render();
    std::vector<Color> pixels;
    const Rect area = form->Panel1->BoundsRect();
    for (int y = 0; y < area.Height(); ++y) {
      for (int x = 0; x < area.Width(); ++x)
        pixels.push_back(sim.drawing.GetPixel(panel->Surface(), x, y));
    }
    return pixels;
  }
};

TEST_F(Keyboard, TabVisitsTheCommandsTheCheckBoxAndTheConnectionBoxAndShiftTabGoesBack) {
  const std::vector<std::string> forward = {"SpeedButton3", "SpeedButton1", "SpeedButton2",
                                            "SpeedButton4", "Edit1",        "CheckBox1",
                                            "CB",           "SpeedButton3"};
  for (const std::string& name : forward) {
    Press(vk::kTab);
    EXPECT_EQ(FocusedName(), name);
  }
  const std::vector<std::string> back = {"CB", "CheckBox1", "Edit1", "SpeedButton4"};
  for (const std::string& name : back) {
    Press(vk::kTab, /*shift=*/true);
    EXPECT_EQ(FocusedName(), name);
  }
  // The arrows move along the row of commands, round its ends.
  Press(vk::kRight);
  EXPECT_EQ(FocusedName(), "Edit1");
  Press(vk::kRight);
  EXPECT_EQ(FocusedName(), "SpeedButton3");
  Press(vk::kLeft);
  EXPECT_EQ(FocusedName(), "Edit1");
}

TEST_F(Keyboard, HiddenAndDisabledControlsAreLeftOut) {
  form->SpeedButton1->SetEnabled(false);
  form->CheckBox1->Hide();
  std::vector<std::string> seen;
  for (int i = 0; i < 6; ++i) {
    Press(vk::kTab);
    seen.push_back(FocusedName());
  }
  EXPECT_EQ(seen, (std::vector<std::string>{"SpeedButton3", "SpeedButton2", "SpeedButton4", "Edit1",
                                            "CB", "SpeedButton3"}));
  // Not even the hidden buttons and the hidden translation controls.
  for (TControl* stop : form->TabStops()) EXPECT_TRUE(stop->CanFocus()) << stop->Name();
}

TEST_F(Keyboard, SpaceAndEnterPerformTheFocusedCommand) {
  Press(vk::kTab);  // Stop
  sim.widgets.KeyStrokeReached(KeyStroke{vk::kSpace, true});
  EXPECT_TRUE(form->SpeedButton3->Down());  // pressed while the key is held
  EXPECT_EQ(form->Label1->Caption(), "Ready.");
  sim.widgets.KeyStrokeReached(KeyStroke{vk::kSpace, false});
  EXPECT_FALSE(form->SpeedButton3->Down());
  EXPECT_EQ(form->Label1->Caption(), "Acceleration removed.");
  EXPECT_EQ(Pair(RootKey::CurrentUser),
            std::make_pair(std::optional<std::uint32_t>(2), std::optional<std::uint32_t>(4)));
  Press(vk::kTab);  // Accelerate
  sim.widgets.KeyStrokeReached(KeyStroke{vk::kReturn, true});
  EXPECT_EQ(form->Label1->Caption(), "Acceleration successfully!");
  EXPECT_EQ(Pair(RootKey::CurrentUser),
            std::make_pair(std::optional<std::uint32_t>(6), std::optional<std::uint32_t>(8)));
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(Keyboard, AltAndTheUnderlinedLetterPressTheCommand) {
  const std::pair<TSpeedButton*, char> keys[] = {
      {form->SpeedButton3, 'S'}, {form->SpeedButton1, 'A'}, {form->SpeedButton2, 'V'},
      {form->SpeedButton4, 'M'}, {form->Edit1, 'B'},
  };
  for (const auto& [button, letter] : keys) EXPECT_EQ(button->Accelerator(), letter);
  Press('A', false, /*alt=*/true);
  EXPECT_EQ(form->Label1->Caption(), "Acceleration successfully!");
  EXPECT_EQ(FocusedName(), "SpeedButton1");
  Press('S', false, /*alt=*/true);
  EXPECT_EQ(form->Label1->Caption(), "Acceleration removed.");
  Press('Q', false, /*alt=*/true);  // no command has it: nothing happens
  EXPECT_EQ(FocusedName(), "SpeedButton3");
}

TEST_F(Keyboard, EscapeClosesTheAboutBoxAndTheWindowComesBack) {
  bool box_was_up = false;
  sim.windowing.SetModalResponder([&](WindowHandle) {
    box_was_up = !sim.windowing.IsWindowVisible(form->Handle());
    Press(vk::kEscape);
    return true;
  });
  Press('B', false, /*alt=*/true);
  EXPECT_TRUE(box_was_up);
  EXPECT_TRUE(sim.windowing.IsWindowVisible(form->Handle()));
  // Escape on the main window itself closes nothing.
  Press(vk::kEscape);
  EXPECT_TRUE(sim.windowing.IsWindowVisible(form->Handle()));
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(Keyboard, AMouseUserSeesTodaysWindowAndTheKeyboardBringsItsCues) {
  const std::vector<Color> before = PanelPixels();
  auto* peer = static_cast<sim::SimForm*>(form->Peer());
  // The mouse alone changes nothing of the picture.
  ClickButton(form->SpeedButton2);
  sim.windowing.RunFor(5000);  // the list is covered again
  EXPECT_EQ(PanelPixels(), before);
  EXPECT_FALSE(form->KeyboardCues());
  EXPECT_FALSE(peer->keyboard_cues);

  Press(vk::kTab);  // Stop, with its focus frame and the underlined letters
  EXPECT_TRUE(form->KeyboardCues());
  EXPECT_TRUE(peer->keyboard_cues);  // the standard controls are told too
  const std::vector<Color> after = PanelPixels();
  const int width = form->Panel1->Width();
  const Rect stop = form->SpeedButton3->BoundsRect();
  int changed_inside = 0;
  for (std::size_t i = 0; i < after.size(); ++i) {
    if (after[i] == before[i]) continue;
    const Point at{static_cast<int>(i) % width, static_cast<int>(i) / width};
    bool on_a_button = false;
    for (TSpeedButton* button : {form->SpeedButton3, form->SpeedButton1, form->SpeedButton2,
                                 form->SpeedButton4, form->Edit1}) {
      on_a_button = on_a_button || button->BoundsRect().Contains(at);
    }
    EXPECT_TRUE(on_a_button) << at.x << "," << at.y;
    if (stop.Contains(at)) ++changed_inside;
  }
  // The frame's dots and one underline on the focused button.
  EXPECT_GT(changed_inside, 2 * (stop.Width() - 6) / 2);
}

TEST_F(Keyboard, TheCommandsAreReadAsPushButtonsWithTheirNamesStatesAndPlaces) {
  AccessibleContent& content = PanelContent();
  ASSERT_EQ(content.AccChildCount(), 7);
  const char* const names[] = {"Stop", "Accelerate", "View", "Minimize", "About"};
  const TSpeedButton* const buttons[] = {form->SpeedButton3, form->SpeedButton1, form->SpeedButton2,
                                         form->SpeedButton4, form->Edit1};
  const char* const shortcuts[] = {"Alt+S", "Alt+A", "Alt+V", "Alt+M", "Alt+B"};
  for (int i = 0; i < 5; ++i) {
    const AccElement element = content.AccChild(i);
    EXPECT_EQ(element.role, AccRole::kPushButton);
    EXPECT_EQ(element.name, names[i]);
    EXPECT_EQ(element.state, accstate::kFocusable);
    EXPECT_EQ(element.bounds, buttons[i]->BoundsRect());
    EXPECT_EQ(element.default_action, "Press");
    EXPECT_EQ(element.shortcut, shortcuts[i]);
    EXPECT_EQ(content.AccChildAt(Point{element.bounds.left + 5, element.bounds.top + 5}), i);
  }
  const AccElement status = content.AccChild(5);
  EXPECT_EQ(status.role, AccRole::kStaticText);
  EXPECT_EQ(status.name, "Ready.");
  const AccElement gauge = content.AccChild(6);
  EXPECT_EQ(gauge.role, AccRole::kProgressBar);
  EXPECT_NE(gauge.state & accstate::kInvisible, 0u);  // hidden between the commands
  EXPECT_EQ(content.AccFocusedChild(), -1);

  // Disabled and focused, as the keyboard and the program leave them.
  form->SpeedButton2->SetEnabled(false);
  EXPECT_EQ(content.AccChild(2).state, accstate::kUnavailable);
  Press(vk::kTab);
  EXPECT_EQ(content.AccFocusedChild(), 0);
  EXPECT_EQ(content.AccChild(0).state, accstate::kFocusable | accstate::kFocused);
  // A client moves the focus too.
  EXPECT_TRUE(content.AccFocus(3));
  EXPECT_EQ(FocusedName(), "SpeedButton4");
  EXPECT_FALSE(content.AccFocus(2));  // the disabled one
  EXPECT_FALSE(content.AccFocus(5));  // the status line takes no focus
}

TEST_F(Keyboard, TheDefaultActionPressesTheCommandOnceTheCallerHasReturned) {
  AccessibleContent& content = PanelContent();
  ASSERT_TRUE(content.AccDoDefaultAction(1));    // Accelerate
  EXPECT_EQ(form->Label1->Caption(), "Ready.");  // not inside the caller's call
  sim.windowing.RunFor(1);
  EXPECT_EQ(form->Label1->Caption(), "Acceleration successfully!");
  EXPECT_EQ(Pair(RootKey::CurrentConfig),
            std::make_pair(std::optional<std::uint32_t>(6), std::optional<std::uint32_t>(8)));
  // A disabled command and the status line have none.
  form->SpeedButton3->SetEnabled(false);
  EXPECT_FALSE(content.AccDoDefaultAction(0));
  EXPECT_FALSE(content.AccDoDefaultAction(5));
  // A command disabled between the call and its turn is not pressed.
  form->SpeedButton3->SetEnabled(true);
  ASSERT_TRUE(content.AccDoDefaultAction(0));
  form->SpeedButton3->SetEnabled(false);
  sim.windowing.RunFor(1);
  EXPECT_EQ(form->Label1->Caption(), "Acceleration successfully!");
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(Keyboard, ChangesAreAnnouncedAsTheyHappen) {
  const WindowHandle panel = form->Panel1->Handle();
  const auto events = [&](AccEvent kind) {
    std::vector<int> indices;
    for (const SimAccessibility::Event& e : sim.accessibility.events) {
      if (e.window == panel && e.event == kind) indices.push_back(e.index);
    }
    return indices;
  };
  Press(vk::kTab);
  Press(vk::kTab);
  EXPECT_EQ(events(AccEvent::kFocus), (std::vector<int>{0, 1}));
  sim.accessibility.events.clear();
  Press(vk::kSpace);  // Accelerate: the button goes off and on, the gauge comes and goes
  EXPECT_EQ(events(AccEvent::kStateChange), (std::vector<int>{1, 1}));
  EXPECT_EQ(events(AccEvent::kShow), (std::vector<int>{6}));
  EXPECT_EQ(events(AccEvent::kHide), (std::vector<int>{6}));
  EXPECT_EQ(events(AccEvent::kValueChange).size(), 101u);           // 0..100, each a new value
  EXPECT_EQ(events(AccEvent::kNameChange), (std::vector<int>{5}));  // the status line
}

TEST_F(Keyboard, AClientHoldingTheContentOfAWindowThatWentLosesIt) {
  const WindowHandle panel = form->Panel1->Handle();
  EXPECT_NE(sim.accessibility.ContentOf(panel), nullptr);
  app.reset();
  EXPECT_EQ(sim.accessibility.ContentOf(panel), nullptr);
}

}  // namespace
}  // namespace velocane::testing
