// "Translate   Now ", "Translate in New" and "Close selected" on the rows of
// the browser window list, and the hidden controls of the translation.
#include "tests/support/program_fixture.h"

namespace velocane::testing {
namespace {

using sim::ShellCall;

const std::string kSelectRow = "Select a Title or URL please.";
const std::u16string kPage = u"http://page.example/a?b=1";
const std::u16string kRequest =
    u"http://translate-5.example/translate_c?sl=fr&&hl=en&&u="
    u"http%3A%2F%2Fpage.example%2Fa%3Fb%3D1";

class TranslationActions : public ProgramTest {
 protected:
  void SetUp() override { Start(); }
  // Opens windows, lets the list show them and selects row `row`.
  void Poll() { sim.windowing.RunFor(TShellWindowObserver::kPollInterval); }
  void SelectRow(int row) {
    static_cast<sim::SimListView*>(form->ListView1->Peer())->ClickRow(row);
    ASSERT_NE(form->ListView1->Selected(), nullptr);
  }
  void RefuseThePair() {
    form->CB1->SetText("Russian");
    form->CB1Select(*form->CB1);
    form->CB2->SetText("German");
    form->CB2Select(*form->CB2);
  }
  // The window the last "Translate in New" opened.
  int NewestWindow() const { return sim.shell.Ids().back(); }
  std::string Status() const { return form->Label1->Caption(); }
};

TEST_F(TranslationActions, WithNoRowSelectedTheTranslateButtonsAskForOneAndCloseDoesNothing) {
  const int a = sim.shell.Open(kPage, u"A");
  Poll();
  form->GoButton->UserClick();
  EXPECT_EQ(Status(), kSelectRow);
  form->Label1->SetCaption("Ready.");
  form->NewButton->UserClick();
  EXPECT_EQ(Status(), kSelectRow);
  EXPECT_EQ(sim.shell.Calls(ShellCall::kCreateBrowser), 0);
  form->Label1->SetCaption("Ready.");
  form->CloseButton->UserClick();
  EXPECT_EQ(Status(), "Ready.");
  EXPECT_TRUE(sim.shell.IsOpen(a));
  EXPECT_TRUE(sim.shell.NavigationsOf(a).empty());
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(TranslationActions, TranslateNowSendsTheRequestToTheRowsBrowser) {
  const int a = sim.shell.Open(u"http://other.example/");
  const int b = sim.shell.Open(kPage, u"B");
  Poll();
  SelectRow(1);
  form->GoButton->UserClick();
  EXPECT_EQ(sim.shell.NavigationsOf(b), std::vector<std::u16string>{kRequest});
  EXPECT_TRUE(sim.shell.NavigationsOf(a).empty());
  EXPECT_EQ(Status(), "Ready.");
  EXPECT_EQ(form->TargetBrowser, form->ShellWindowObserver1->WindowList()[1]->Browser);
  // The observer sees the translation at its next poll; the rebuild ends the selection.
  Poll();
  EXPECT_EQ(form->ListView1->Item(1).SubItems[1],
            "http://translate-5.example/translate_c?sl=fr&&hl=en&&u="
            "http%3A%2F%2Fpage.example%2Fa%3Fb%3D1");
  EXPECT_EQ(form->ListView1->Selected(), nullptr);
}

TEST_F(TranslationActions, TheBlankPageIsRefusedInPlaceAndSentFromANewWindow) {
  sim.shell.Open(u"about:blank");
  Poll();
  SelectRow(0);
  form->GoButton->UserClick();
  EXPECT_EQ(Status(), "Blank page could not be translated!");
  form->NewButton->UserClick();
  const int opened = NewestWindow();
  EXPECT_TRUE(sim.shell.IsVisible(opened));
  EXPECT_EQ(sim.shell.NavigationsOf(opened),
            std::vector<std::u16string>{
                u"http://translate-5.example/translate_c?sl=fr&&hl=en&&u=about%3Ablank"});
}

TEST_F(TranslationActions, OnlyServer1And2TranslationsCountAsTranslatedAlready) {
  struct Case {
    std::u16string page;
    bool translated;
  };
  const Case cases[] = {
      {u"http://translate-1.example/systran/cgi?partner=demo-SystranSoft&&f=32&&urltext=x", true},
      {u"http://mirror.example/?via=http://translate-2.example/tr?lp=fr_en", true},
      {u"http://translate-2.example/tr", false},  // not the whole base
      {u"http://translate-3.example/url_b.html?lp=fr_en&&url=x", false},
      {u"http://translate-5.example/translate_c?sl=fr&&hl=en&&u=x", false},
  };
  for (const Case& c : cases) sim.shell.Open(c.page);
  Poll();
  for (int row = 0; row < 5; ++row) {
    SCOPED_TRACE(row);
    form->Label1->SetCaption("Ready.");
    const int id = sim.shell.Ids()[static_cast<std::size_t>(row)];
    SelectRow(row);
    form->GoButton->UserClick();
    if (cases[row].translated) {
      EXPECT_EQ(Status(), "The Webpage has already been translated!");
      EXPECT_TRUE(sim.shell.NavigationsOf(id).empty());
    } else {
      EXPECT_EQ(Status(), "Ready.");
      EXPECT_EQ(sim.shell.NavigationsOf(id).size(), 1u);
    }
  }
}

TEST_F(TranslationActions, ARefusedPairIsShownInBothWordings) {
  const int a = sim.shell.Open(kPage);
  Poll();
  RefuseThePair();
  SelectRow(0);
  form->GoButton->UserClick();
  EXPECT_EQ(
      Status(),
      "Russian->German Translation are not supported by Server 5\rTry Server another please.");
  EXPECT_TRUE(sim.shell.NavigationsOf(a).empty());
  form->NewButton->UserClick();
  EXPECT_EQ(
      Status(),
      "Russian->German Translation are not supported by Server 5\rTry another server please.");
  // The new window stays open, and empty.
  const int opened = NewestWindow();
  EXPECT_NE(opened, a);
  EXPECT_TRUE(sim.shell.IsVisible(opened));
  EXPECT_TRUE(sim.shell.NavigationsOf(opened).empty());
}

TEST_F(TranslationActions, TranslateInNewLooksAtTheSelectionAgainAfterMakingTheBrowser) {
  sim.shell.Open(kPage);
  Poll();
  SelectRow(0);
  sim.shell.on_create_browser = [&] { form->ListView1->SetSelectedIndex(-1); };
  form->NewButton->UserClick();
  EXPECT_EQ(Status(), kSelectRow);
  const int opened = NewestWindow();
  EXPECT_TRUE(sim.shell.IsVisible(opened));
  EXPECT_TRUE(sim.shell.NavigationsOf(opened).empty());
}

TEST_F(TranslationActions, TranslateInNewSendsTheEntrysAddressToTheNewWindowThatGetsItsRow) {
  const int a = sim.shell.Open(kPage, u"A");
  Poll();
  SelectRow(0);
  form->NewButton->UserClick();
  const int opened = NewestWindow();
  EXPECT_EQ(sim.shell.NavigationsOf(opened), std::vector<std::u16string>{kRequest});
  EXPECT_TRUE(sim.shell.NavigationsOf(a).empty());
  Poll();
  ASSERT_EQ(form->ListView1->ItemCount(), 2);
  EXPECT_EQ(form->ListView1->Item(1).Caption, "2");
  EXPECT_EQ(form->ListView1->Item(1).SubItems[1],
            "http://translate-5.example/translate_c?sl=fr&&hl=en&&u="
            "http%3A%2F%2Fpage.example%2Fa%3Fb%3D1");
}

TEST_F(TranslationActions, CloseSelectedClosesTheWindowAndItsRowGoesAtALaterPoll) {
  sim.shell.Open(u"http://a/");
  const int b = sim.shell.Open(u"http://b/");
  Poll();
  SelectRow(1);
  form->CloseButton->UserClick();
  EXPECT_FALSE(sim.shell.IsOpen(b));
  EXPECT_EQ(form->ListView1->ItemCount(), 2);  // the list is not changed here
  Poll();
  EXPECT_EQ(form->ListView1->ItemCount(), 1);
  EXPECT_EQ(Status(), "Ready.");
}

TEST_F(TranslationActions, CloseSelectedOnAWindowThatIsGoneDoesNothing) {
  const int a = sim.shell.Open(u"http://a/");
  Poll();
  SelectRow(0);
  sim.shell.Close(a);  // gone before the list noticed
  form->CloseButton->UserClick();
  EXPECT_TRUE(Boxes().empty());
  EXPECT_EQ(Status(), "Ready.");
}

TEST_F(TranslationActions, TheTargetBrowserIsKeptUntilPointedElsewhere) {
  const int a = sim.shell.Open(kPage);
  Poll();
  SelectRow(0);
  form->GoButton->UserClick();
  const std::weak_ptr<ShellBrowser> first = form->TargetBrowser;
  sim.shell.Close(a);
  Poll();  // the entry and its row go
  EXPECT_EQ(form->ListView1->ItemCount(), 0);
  EXPECT_FALSE(first.expired());
  sim.shell.Open(kPage);
  Poll();
  SelectRow(0);
  form->NewButton->UserClick();
  EXPECT_TRUE(first.expired());
}

// A COM failure stops the handler in the error box; the status line keeps its text.
struct ComFailureCase {
  const char* name;
  bool in_new_window;
  ShellCall call;
  bool described;
};

const ComFailureCase kComFailures[] = {
    {"NowNavigate", false, ShellCall::kNavigate, false},
    {"NowNavigateDescribed", false, ShellCall::kNavigate, true},
    {"NewCreate", true, ShellCall::kCreateBrowser, false},
    {"NewCreateDescribed", true, ShellCall::kCreateBrowser, true},
    {"NewVisible", true, ShellCall::kVisible, false},
    {"NewVisibleDescribed", true, ShellCall::kVisible, true},
    {"NewNavigate", true, ShellCall::kNavigate, false},
    {"NewNavigateDescribed", true, ShellCall::kNavigate, true},
};

class TranslationComFailure : public TranslationActions,
                              public ::testing::WithParamInterface<ComFailureCase> {};

TEST_P(TranslationComFailure, IsShownInTheErrorBox) {
  const ComFailureCase& c = GetParam();
  sim.shell.Open(kPage);
  Poll();
  SelectRow(0);
  form->Label1->SetCaption("Before.");
  sim.shell.FailCall(c.call, hresult::kFail, c.described ? "The browser refused." : "");
  (c.in_new_window ? form->NewButton : form->GoButton)->UserClick();
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0].text, c.described ? "The browser refused." : "Unspecified error");
  EXPECT_EQ(Boxes()[0].caption, "Velocane 3.12");
  EXPECT_EQ(Boxes()[0].flags, mb::kOk | mb::kIconError);
  EXPECT_EQ(Status(), "Before.");
}

INSTANTIATE_TEST_SUITE_P(EachCall, TranslationComFailure, ::testing::ValuesIn(kComFailures),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(TranslationActions, HiddenControlsWithTheirItemsTextsSizesAndPictures) {
  const std::vector<std::string> languages = {"English", "French",     "German",  "Spanish",
                                              "Italian", "Portuguese", "Russian", "Chinese",
                                              "Korean",  "Japanese"};
  struct Combo {
    TComboBox* combo;
    const char* text;
    int width;
    int rows;
  };
  for (const Combo& c : {Combo{form->CB1, "French", 100, 10}, Combo{form->CB2, "English", 100, 10},
                         Combo{form->CBServer, "Server  5", 71, 8}}) {
    SCOPED_TRACE(c.combo->Name());
    // Their windows come once the main window is shown.
    EXPECT_EQ(c.combo->Peer(), nullptr);
    EXPECT_EQ(c.combo->Text(), c.text);
    EXPECT_EQ(c.combo->Width(), c.width);
    EXPECT_EQ(c.combo->DropDownCount(), c.rows);
    EXPECT_FALSE(c.combo->Visible());
  }
  form->Show();
  for (TComboBox* combo : {form->CB1, form->CB2, form->CBServer}) {
    auto* peer = static_cast<sim::SimComboBox*>(combo->Peer());
    ASSERT_NE(peer, nullptr);
    EXPECT_FALSE(peer->control.visible);
    EXPECT_EQ(peer->control.text, combo->Text());
    EXPECT_EQ(peer->items, combo->Items());
  }
  EXPECT_EQ(form->CB1->Items(), languages);
  EXPECT_EQ(form->CB2->Items(), languages);
  EXPECT_EQ(form->CBServer->Items(),
            (std::vector<std::string>{"Server  1", "Server  2", "Server  3", "Server  4",
                                      "Server  5", "Server  6", "Server  7"}));
  for (TComboBox* combo : {form->CB1, form->CB2}) {
    EXPECT_EQ(combo->Images(), form->FlagImageList);
    EXPECT_EQ(combo->ItemImageIndex(0), 0);
    EXPECT_EQ(combo->ItemImageIndex(1), 1);
    EXPECT_EQ(combo->ItemImageIndex(2), -1);  // the list holds two pictures
  }
  EXPECT_EQ(form->CBServer->Images(), nullptr);
  struct Button {
    TBitBtn* button;
    const char* caption;
  };
  for (const Button& b :
       {Button{form->GoButton, "Translate   Now "}, Button{form->NewButton, "Translate in New"},
        Button{form->CloseButton, "Close selected"}}) {
    EXPECT_EQ(b.button->Caption(), b.caption);
    EXPECT_EQ(b.button->Width(), 110);
    EXPECT_EQ(b.button->Height(), 25);
    EXPECT_EQ(b.button->Parent(), form->Panel1);
    EXPECT_FALSE(b.button->Visible());
  }
  // Nothing the user does shows them.
  ClickButton(form->SpeedButton2);
  sim.windowing.RunFor(6000);
  for (TControl* control :
       std::initializer_list<TControl*>{form->CB1, form->CB2, form->CBServer, form->GoButton,
                                        form->NewButton, form->CloseButton}) {
    EXPECT_FALSE(control->Visible()) << control->Name();
  }
}

}  // namespace
}  // namespace velocane::testing
