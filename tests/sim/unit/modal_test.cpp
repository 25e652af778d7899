// Modal forms: the owner is disabled while one is up, the loop lets the user
// work in it and ends with its result on every way out, and a freed form
// leaves nothing behind.
#include <gtest/gtest.h>

#include "platform/framework/application.h"
#include "platform/framework/exceptions.h"
#include "platform/framework/forms.h"
#include "platform/framework/stdctrls.h"
#include "platform/framework/timer.h"
#include "platform/messages.h"
#include "platform/sim/sim_platform.h"

namespace velocane {
namespace {

// A main form and a dialog it owns, with an OK button.
struct ModalWorld {
  ModalWorld() {
    app.Initialize();
    app.SetTitle("Modal");
    main = &app.CreateForm<TForm>("Main");
    main->Show();
    dialog = new TForm(main, "Dialog");
    dialog->SetCaption("Dialog");
    ok = new TButton(dialog, "Ok");
    ok->SetModalResult(mrOk);
    ok->SetParent(dialog);
  }

  sim::SimButton& OkPeer() const { return *static_cast<sim::SimButton*>(ok->Peer()); }
  // What the user does while the dialog is up, one action each time the loop idles.
  void Respond(std::vector<std::function<void()>> actions) {
    sim.windowing.SetModalResponder(
        [this, actions = std::move(actions)](WindowHandle shown) mutable {
          seen_dialogs.push_back(shown);
          if (responses == actions.size()) return false;
          actions[responses++]();
          return true;
        });
  }

  sim::SimPlatform sim;
  TApplication app{sim.platform};
  TForm* main = nullptr;
  TForm* dialog = nullptr;
  TButton* ok = nullptr;
  std::vector<WindowHandle> seen_dialogs;
  std::size_t responses = 0;
};

class ModalTest : public ::testing::Test, public ModalWorld {};

TEST_F(ModalTest, OwnerIsDisabledMeanwhileAndTheButtonsResultEndsIt) {
  bool main_enabled = true, main_window_enabled = true, shown = false;
  Respond({[&] {
    main_enabled = main->Enabled();
    main_window_enabled = static_cast<sim::SimForm*>(main->Peer())->control.enabled;
    shown = sim.windowing.IsWindowVisible(dialog->Handle());
    EXPECT_TRUE(dialog->Modal());
    OkPeer().Click();
  }});
  EXPECT_EQ(dialog->ShowModal(), mrOk);
  EXPECT_FALSE(main_enabled);
  EXPECT_FALSE(main_window_enabled);
  EXPECT_TRUE(shown);
  ASSERT_EQ(seen_dialogs.size(), 1u);
  EXPECT_EQ(seen_dialogs[0], dialog->Handle());
  // Afterwards: the owner works again, the dialog is hidden, not modal.
  EXPECT_TRUE(main->Enabled());
  EXPECT_TRUE(static_cast<sim::SimForm*>(main->Peer())->control.enabled);
  EXPECT_FALSE(dialog->Visible());
  EXPECT_FALSE(sim.windowing.IsWindowVisible(dialog->Handle()));
  EXPECT_FALSE(dialog->Modal());
  // Its window is owned by the owner's window, and it takes the focus first.
  EXPECT_EQ(static_cast<sim::SimForm*>(dialog->Peer())->owner, main->Handle());
  EXPECT_EQ(dialog->ActiveControl(), ok);
  EXPECT_EQ(sim.widgets.Focus(), ok->Handle());
}

TEST_F(ModalTest, CloseBoxCancelsUnlessTheFormRefuses) {
  bool may_close = false;
  int asked = 0;
  std::vector<TCloseAction> closes;
  dialog->OnCloseQuery = [&](TComponent&, bool& can_close) {
    ++asked;
    can_close = may_close;
  };
  dialog->OnClose = [&](TComponent&, TCloseAction& action) { closes.push_back(action); };
  Respond({
      [&] { sim.windowing.PostMessage(dialog->Handle(), wm::kClose, 0, 0); },
      [&] {
        EXPECT_TRUE(sim.windowing.IsWindowVisible(dialog->Handle())) << "refused, still up";
        may_close = true;
        sim.windowing.PostMessage(dialog->Handle(), wm::kClose, 0, 0);
      },
  });
  EXPECT_EQ(dialog->ShowModal(), mrCancel);
  EXPECT_EQ(asked, 2);
  EXPECT_EQ(closes, std::vector<TCloseAction>{TCloseAction::caHide});
  EXPECT_TRUE(app.MainForm() == main && !app.Terminated());
}

TEST_F(ModalTest, OnCloseWithCaNoneKeepsItOpen) {
  int closes = 0;
  dialog->OnClose = [&](TComponent&, TCloseAction& action) {
    if (++closes == 1) action = TCloseAction::caNone;
  };
  Respond({[&] { OkPeer().Click(); }, [&] { OkPeer().Click(); }});
  EXPECT_EQ(dialog->ShowModal(), mrOk);
  EXPECT_EQ(closes, 2);
}

TEST_F(ModalTest, EveryOtherWayOutEndsWithCancelAndRestoresTheOwner) {
  struct Case {
    const char* name;
    std::function<void(ModalWorld&)> arrange;
  };
  const Case cases[] = {
      // Nobody answers and nothing is due: the loop gives up instead of waiting forever.
      {"nothing can end it", [](ModalWorld&) {}},
      // The program is told to end while the dialog is up.
      {"the program ends", [](ModalWorld& t) { t.Respond({[&t] { t.app.Terminate(); }}); }},
      // The user's click runs into an error: it is shown, the dialog stays up.
      {"a handler fails",
       [](ModalWorld& t) {
         t.ok->SetModalResult(mrNone);
         t.ok->OnClick = [](TComponent&) { throw EInvalidOperation("broken"); };
         t.Respond({[&t] { t.OkPeer().Click(); }});
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ModalWorld t;
    c.arrange(t);
    EXPECT_EQ(t.dialog->ShowModal(), mrCancel);
    EXPECT_TRUE(t.main->Enabled());
    EXPECT_FALSE(t.dialog->Visible());
    EXPECT_FALSE(t.dialog->Modal());
  }
}

TEST_F(ModalTest, ErrorInTheDialogIsShownAndTheDialogStaysUp) {
  ok->OnClick = [](TComponent&) { throw EInvalidOperation("broken"); };
  ok->SetModalResult(mrNone);
  auto* second = new TButton(dialog, "Second");
  second->SetModalResult(mrOk);
  second->SetParent(dialog);
  Respond(
      {[&] { OkPeer().Click(); }, [&] { static_cast<sim::SimButton*>(second->Peer())->Click(); }});
  EXPECT_EQ(dialog->ShowModal(), mrOk);
  ASSERT_EQ(sim.windowing.MessageBoxes().size(), 1u);
  EXPECT_EQ(sim.windowing.MessageBoxes()[0].text, "broken");
}

TEST_F(ModalTest, TimersRunWhileTheDialogIsUp) {
  auto* timer = new TTimer(main, "Timer");
  timer->SetInterval(100);
  int ticks = 0;
  timer->SetOnTimer([&](TComponent&) {
    if (++ticks == 3) OkPeer().Click();
  });
  timer->SetEnabled(true);
  EXPECT_EQ(dialog->ShowModal(), mrOk);
  EXPECT_EQ(ticks, 3);
  EXPECT_EQ(sim.clock.Now(), 300u);
}

TEST_F(ModalTest, AnOwnerAlreadyDisabledStaysDisabled) {
  main->SetEnabled(false);
  Respond({[&] { OkPeer().Click(); }});
  EXPECT_EQ(dialog->ShowModal(), mrOk);
  EXPECT_FALSE(main->Enabled());
}

TEST_F(ModalTest, AShownFormCannotBeMadeModal) {
  dialog->Show();
  try {
    dialog->ShowModal();
    FAIL() << "a visible form became modal";
  } catch (const EInvalidOperation& error) {
    EXPECT_STREQ(error.what(), "Cannot make a visible window modal");
  }
  EXPECT_TRUE(main->Enabled());
}

TEST_F(ModalTest, AFreedFormLeavesNoWindowPeerOrIcon) {
  const int peers = sim.widgets.LivePeers();
  const int windows = sim.windowing.LiveWindows();
  const int icons = sim.notify_area.LiveIcons();
  {
    auto owned = std::make_unique<TForm>(main, "Owned");
    auto* button = new TButton(owned.get(), "Button");
    button->SetModalResult(mrOk);
    button->SetParent(owned.get());
    owned->Icon().Assign(TPixelImage{2, 2, {clWhite, clNone, clNone, clWhite}});
    Respond({[&] { static_cast<sim::SimButton*>(button->Peer())->Click(); }});
    EXPECT_EQ(owned->ShowModal(), mrOk);
    EXPECT_GT(sim.widgets.LivePeers(), peers);
    EXPECT_TRUE(static_cast<sim::SimForm*>(owned->Peer())->icon);
    EXPECT_EQ(main->FindComponent("Owned"), owned.get());
  }
  EXPECT_EQ(sim.widgets.LivePeers(), peers);
  EXPECT_EQ(sim.windowing.LiveWindows(), windows);
  EXPECT_EQ(sim.notify_area.LiveIcons(), icons);
  EXPECT_EQ(main->FindComponent("Owned"), nullptr);
}

TEST(ModalFormTest, AFormNeedsAnOwnerInTheApplication) {
  TComponent loose(nullptr, "Loose");
  EXPECT_THROW(TForm(&loose, "Orphan"), EInvalidOperation);
  EXPECT_EQ(loose.ComponentCount(), 0);
}

}  // namespace
}  // namespace velocane
