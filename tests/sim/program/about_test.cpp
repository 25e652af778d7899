// The about box as the program builds it, the two commands that open it, and
// the visual-style component, driven in the simulation.
#include <gtest/gtest.h>

#include "app/OBAbout.h"
#include "components/VisualStyle.h"
#include "platform/framework/exceptions.h"
#include "tests/support/program_fixture.h"

namespace velocane {
namespace {

using testing::ProgramTest;

constexpr Color kTeal = Rgb(0, 128, 128);

class AboutTest : public ProgramTest {
 protected:
  AboutTest() { Start(); }

  // The top-level window of the simulated desktop with this title, or null.
  WindowHandle WindowTitled(const std::string& title) {
    WindowHandle found;
    sim.windowing.EnumTopLevelWindows([&](WindowHandle window) {
      if (sim.windowing.GetWindowText(window) != title) return true;
      found = window;
      return false;
    });
    return found;
  }
  TAbout* OpenAbout() const { return dynamic_cast<TAbout*>(form->FindComponent("About")); }
  // While the box is up: look with `look`, then press OK as the user does.
  void WhileOpen(const std::function<void(TAbout&)>& look) {
    sim.windowing.SetModalResponder([this, look](WindowHandle) {
      TAbout* about = OpenAbout();
      if (about == nullptr) {
        ADD_FAILURE() << "a modal window that is no about box";
        return false;
      }
      ++times_open;
      look(*about);
      static_cast<sim::SimButton*>(about->Button1->Peer())->Click();
      return true;
    });
  }

  int times_open = 0;
};

TEST_F(AboutTest, FormFrameAndPlace) {
  TAbout about(form);
  EXPECT_EQ(about.Name(), "About");
  EXPECT_EQ(about.Owner(), form);
  EXPECT_EQ(about.Caption(), "About");
  EXPECT_EQ(about.BorderStyle(), TFormBorderStyle::bsDialog);
  EXPECT_EQ(about.ClientWidth(), 288);
  EXPECT_EQ(about.ClientHeight(), 286);
  EXPECT_EQ(about.Position(), TPosition::poMainFormCenter);
  EXPECT_EQ(about.BackColor(), clBtnFace);
  EXPECT_EQ(about.Font(), (FontDesc{"MS Sans Serif", 11, false, clWindowText}));
  EXPECT_FALSE(about.Visible());
  EXPECT_FALSE(about.StayOnTop());
  // The window is made when first shown: centred over the main window, owned
  // by it (so it stays above a window that stays on top), with its own icon.
  about.CreateHandle();
  auto* window = static_cast<sim::SimForm*>(about.Peer());
  EXPECT_EQ(window->center_over, form->Handle());
  EXPECT_EQ(window->owner, form->Handle());
  EXPECT_TRUE(window->icon);
  EXPECT_EQ(about.Icon().Picture().width, 32);
  EXPECT_EQ(about.Icon().Picture().height, 32);
  EXPECT_EQ(sim.windowing.GetClassName(about.Handle()), "TAbout");
}

TEST_F(AboutTest, ControlsInCreationOrderWithPlacesTextsAndFonts) {
  TAbout about(form);
  const FontDesc notice{"MS Sans Serif", 11, true, kTeal};
  struct Expected {
    const char* name;
    Rect bounds;
    const char* caption;  // null: ours to choose, only not empty
    FontDesc font;
  };
  const Expected expected[] = {
      {"Label1", {68, 9, 232, 37}, "Velocane", {"Century Gothic", 24, true, kTeal}},
      {"Image1", {13, 10, 46, 75}, "", FontDesc{}},
      {"Label2", {248, 56, 270, 69}, "(TM)", {"MS Sans Serif", 11, false, Rgb(0, 0, 255)}},
      {"Label4",
       {18, 40, 283, 56},
       "for Windows 9/8/7/Vista/XP/2003/2008/2012",
       {"Arial", 13, true, kTeal}},
      {"Bevel1", {4, 6, 285, 81}, "", FontDesc{}},
      {"Label6", {40, 250, 243, 263}, nullptr, notice},
      {"Label7", {56, 267, 232, 280}, nullptr, notice},
      {"Label8", {18, 174, 162, 187}, "Version 3.12 (Build 1680)", notice},
      {"Label9", {18, 194, 267, 207}, nullptr, notice},
      {"Button1", {112, 219, 177, 244}, "OK", {"MS Sans Serif", 11, true, clWindowText}},
  };
  ASSERT_EQ(about.ComponentCount(), static_cast<int>(std::size(expected)));
  for (int i = 0; i < about.ComponentCount(); ++i) {
    const Expected& e = expected[i];
    SCOPED_TRACE(e.name);
    auto* control = dynamic_cast<TControl*>(about.Components(i));
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->Name(), e.name);
    EXPECT_EQ(control->Parent(), &about);
    EXPECT_TRUE(control->Visible());
    EXPECT_EQ(control->BoundsRect(), e.bounds);
    if (e.caption != nullptr) {
      EXPECT_EQ(control->Caption(), e.caption);
    } else {
      EXPECT_FALSE(control->Caption().empty());
    }
    if (dynamic_cast<TLabel*>(control) != nullptr || control == about.Button1) {
      EXPECT_EQ(control->Font(), e.font);
    }
  }
  EXPECT_EQ(about.Label9->Caption().rfind("Technical Support: ", 0), 0u);
  EXPECT_GT(about.Label9->Caption().size(), std::string("Technical Support: ").size());
  EXPECT_EQ(about.Bevel1->Style(), TBevelStyle::bsLowered);
  EXPECT_EQ(about.Image1->Picture().width, 32);
  EXPECT_EQ(about.Image1->Picture().height, 32);
  EXPECT_EQ(about.Button1->ModalResult(), mrOk);
  EXPECT_EQ(about.Button1->TabOrder(), 0);
}

TEST_F(AboutTest, PaintsTheBevelThePictureAndLeavesItsTransparentCorners) {
  TAbout about(form);
  about.CreateHandle();
  auto* window = static_cast<sim::SimForm*>(about.Peer());
  window->Render();
  const DcHandle dc = window->Surface();
  const auto pixel = [&](int x, int y) { return sim.drawing.GetPixel(dc, x, y); };
  const Color face = sim.drawing.Resolve(clBtnFace);
  const Color shadow = sim.drawing.Resolve(clBtnShadow);
  const Color light = sim.drawing.Resolve(clBtnHighlight);
  // Bevel1 (4, 6)-(285, 81), lowered: dark top and left, light bottom and right.
  EXPECT_EQ(pixel(4, 6), shadow);
  EXPECT_EQ(pixel(100, 6), shadow);
  EXPECT_EQ(pixel(4, 50), shadow);
  EXPECT_EQ(pixel(100, 80), light);
  EXPECT_EQ(pixel(284, 50), light);
  EXPECT_EQ(pixel(5, 7), face);
  // Image1 at (13, 10): its corners are transparent, its middle is drawn.
  const TPixelImage& picture = about.Image1->Picture();
  EXPECT_EQ(picture.pixels[0], clNone);
  EXPECT_EQ(pixel(13, 10), face);
  EXPECT_EQ(pixel(13 + 16, 10 + 16), picture.pixels[16 * 32 + 16]);
  EXPECT_NE(pixel(13 + 16, 10 + 16), face);
  EXPECT_EQ(pixel(13 + 32, 10 + 16), face);  // nothing right of the picture
}

TEST_F(AboutTest, AboutHidesTheWindowShowsTheBoxAndShowsTheWindowAgain) {
  form->Show();
  const int peers = sim.widgets.LivePeers();
  const int windows = sim.windowing.LiveWindows();
  WhileOpen([&](TAbout& about) {
    EXPECT_FALSE(sim.windowing.IsWindowVisible(form->Handle()));
    EXPECT_FALSE(form->Enabled());
    EXPECT_EQ(WindowTitled("About"), about.Handle());
    EXPECT_TRUE(sim.windowing.IsWindowVisible(about.Handle()));
    EXPECT_EQ(sim.widgets.Focus(), about.Button1->Handle());
  });
  ClickButton(form->Edit1);
  EXPECT_EQ(times_open, 1);
  EXPECT_TRUE(form->Visible());
  EXPECT_TRUE(sim.windowing.IsWindowVisible(form->Handle()));
  EXPECT_TRUE(form->Enabled());
  // Freed: no window, peer or component is left of it.
  EXPECT_EQ(OpenAbout(), nullptr);
  EXPECT_FALSE(WindowTitled("About"));
  EXPECT_EQ(sim.widgets.LivePeers(), peers);
  EXPECT_EQ(sim.windowing.LiveWindows(), windows);
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(AboutTest, TheHiddenButtonShowsTheBoxWithoutHidingTheWindow) {
  form->Show();
  const int peers = sim.widgets.LivePeers();
  WhileOpen([&](TAbout&) {
    EXPECT_TRUE(sim.windowing.IsWindowVisible(form->Handle()));
    EXPECT_FALSE(form->Enabled());
  });
  form->BitBtn3->Click();
  EXPECT_EQ(times_open, 1);
  EXPECT_TRUE(sim.windowing.IsWindowVisible(form->Handle()));
  EXPECT_TRUE(form->Enabled());
  EXPECT_EQ(OpenAbout(), nullptr);
  EXPECT_EQ(sim.widgets.LivePeers(), peers);
}

TEST_F(AboutTest, TheBoxsCloseBoxEndsItToo) {
  form->Show();
  sim.windowing.SetModalResponder([this](WindowHandle dialog) {
    ++times_open;
    return sim.windowing.PostMessage(dialog, wm::kClose, 0, 0);
  });
  ClickButton(form->Edit1);
  EXPECT_EQ(times_open, 1);
  EXPECT_TRUE(sim.windowing.IsWindowVisible(form->Handle()));
  EXPECT_EQ(OpenAbout(), nullptr);
}

TEST_F(AboutTest, WhenTheBoxCannotBeMadeTheErrorIsShownAndTheWindowComesBack) {
  form->Show();
  sim.widgets.FailNextCreate(1400);
  ClickButton(form->Edit1);
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0].text, "Invalid window handle.");
  EXPECT_EQ(Boxes()[0].caption, "Velocane 3.12");
  EXPECT_TRUE(sim.windowing.IsWindowVisible(form->Handle()));
  EXPECT_TRUE(form->Enabled());
  EXPECT_EQ(OpenAbout(), nullptr);
}

TEST_F(AboutTest, TheEndOfTheSessionWhileTheBoxIsUpWritesTheDefaults) {
  form->Show();
  StorePair(RootKey::CurrentUser, 20, 20);
  StorePair(RootKey::CurrentConfig, 20, 20);
  std::intptr_t may_end = 0;
  WhileOpen([&](TAbout&) {
    // The system asks every top-level window, the hidden, disabled main window too.
    may_end = sim.windowing.SendMessage(form->Handle(), wm::kQueryEndSession, 0, 0);
  });
  ClickButton(form->Edit1);
  EXPECT_EQ(may_end, 1);
  using Limits = std::pair<std::optional<std::uint32_t>, std::optional<std::uint32_t>>;
  EXPECT_EQ(Pair(RootKey::CurrentUser), (Limits{2, 4}));
  EXPECT_EQ(Pair(RootKey::CurrentConfig), (Limits{2, 4}));
  EXPECT_TRUE(Boxes().empty()) << "no question when the session ends";
}

TEST_F(AboutTest, TheMainWindowHoldsOneVisualStyle) {
  ASSERT_NE(form->VisualStyle1, nullptr);
  EXPECT_EQ(form->FindComponent("VisualStyle1"), form->VisualStyle1);
  EXPECT_EQ(form->VisualStyle1->Owner(), form);
}

TEST_F(AboutTest, ASecondVisualStyleOnTheFormIsRefused) {
  const int count = form->ComponentCount();
  try {
    new TVisualStyle(form, "VisualStyle2");
    FAIL() << "a second TVisualStyle was made";
  } catch (const Exception& error) {
    EXPECT_STREQ(error.what(), "Only one instance of TVisualStyle allowed on form");
  }
  EXPECT_EQ(form->ComponentCount(), count);
  EXPECT_EQ(form->FindComponent("VisualStyle2"), nullptr);
  EXPECT_EQ(form->FindComponent("VisualStyle1"), form->VisualStyle1);
}

TEST_F(AboutTest, AVisualStyleNeedsAFormAsItsOwner) {
  TComponent plain(nullptr, "Plain");
  struct Case {
    const char* name;
    TComponent* owner;
  };
  const Case cases[] = {
      {"no owner", nullptr},
      {"a plain component", &plain},
      {"a control on the form", form->Panel1},
      {"the application", app.get()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const int before = c.owner != nullptr ? c.owner->ComponentCount() : 0;
    try {
      new TVisualStyle(c.owner, "Style");
      FAIL() << "made without a form";
    } catch (const Exception& error) {
      EXPECT_STREQ(error.what(), "Control parent must be a form!");
    }
    if (c.owner != nullptr) {
      EXPECT_EQ(c.owner->ComponentCount(), before);
    }
  }
  // On another form it is the first one there, and welcome.
  TAbout about(form);
  EXPECT_NO_THROW(new TVisualStyle(&about, "Style"));
}

}  // namespace
}  // namespace velocane
