// Every COM call the browser window list and the page translation rest on,
// failing with either error kind (a failing HRESULT alone, or one the object
// describes): what the list shows afterwards, which box the user sees (the
// translation's handlers catch nothing; nothing else may show one), what the
// status line keeps, that the program goes on working, and that nothing is
// left alive. Each case prints what it saw, one line, for the record.
#include <algorithm>
#include <cstdio>
#include <map>

#include "platform/sim/sim_errors.h"
#include "tests/support/program_fixture.h"

namespace velocane::testing {
namespace {

using sim::ShellCall;

const std::string kDescription = "The browser refused the call.";
const std::string kBefore = "Before.";

enum class ErrorKind { kSystem, kDescribed };

// Who makes the failing call.
enum class Place { kPoll, kReconnect, kTranslateNow, kTranslateInNew };

struct ComFault {
  const char* name;
  Place place;
  ShellCall call;
  // The nth call of that kind from the act on. For a poll the scene is: A
  // navigated, B unchanged, C closed, D new; the poll reads A, B and D in
  // that order, and the comments say whose call it is.
  int nth;
};

const ComFault kFaults[] = {
    {"PollCountFirst", Place::kPoll, ShellCall::kCount, 1},             // the scan's count
    {"PollItemFirst", Place::kPoll, ShellCall::kItem, 1},               // A
    {"PollItemNewWindow", Place::kPoll, ShellCall::kItem, 3},           // D
    {"PollQueryFirst", Place::kPoll, ShellCall::kQueryBrowser, 1},      // A
    {"PollUrlChanged", Place::kPoll, ShellCall::kLocationURL, 1},       // A's new address
    {"PollUrlNewWindow", Place::kPoll, ShellCall::kLocationURL, 3},     // D
    {"PollTitleChanged", Place::kPoll, ShellCall::kLocationName, 1},    // A
    {"PollTitleNewWindow", Place::kPoll, ShellCall::kLocationName, 3},  // D
    {"PollHwndKnown", Place::kPoll, ShellCall::kHwnd, 1},               // A
    {"PollHwndNewWindow", Place::kPoll, ShellCall::kHwnd, 3},           // D
    {"ReconnectCreate", Place::kReconnect, ShellCall::kCreateShellWindows, 1},
    {"NowNavigate", Place::kTranslateNow, ShellCall::kNavigate, 1},
    {"NewCreate", Place::kTranslateInNew, ShellCall::kCreateBrowser, 1},
    {"NewVisible", Place::kTranslateInNew, ShellCall::kVisible, 1},
    {"NewNavigate", Place::kTranslateInNew, ShellCall::kNavigate, 1},
};

struct ComFaultCase {
  ComFault fault;
  ErrorKind kind;
};

std::vector<ComFaultCase> AllCases() {
  std::vector<ComFaultCase> cases;
  for (const ComFault& fault : kFaults) {
    for (ErrorKind kind : {ErrorKind::kSystem, ErrorKind::kDescribed}) {
      cases.push_back({fault, kind});
    }
  }
  return cases;
}

std::string CaseName(const ComFaultCase& c) {
  return std::string(c.fault.name) + (c.kind == ErrorKind::kSystem ? "System" : "Described");
}

void PrintTo(const ComFaultCase& c, std::ostream* out) { *out << CaseName(c); }

// A row as the list shows it, and the entry it holds.
struct Row {
  std::string caption, title, url;
  const void* entry;
  bool operator==(const Row&) const = default;
};

class ComFaults : public ProgramTest {
 protected:
  // Three browser windows in the list, the middle row selected, the list
  // uncovered by View, and a status text to keep.
  void SetUp() override {
    Start().Show();  // as the message loop shows it
    a_ = Open(u"http://a.example/", u"A");
    b_ = Open(u"http://b.example/", u"B");
    c_ = Open(u"http://c.example/", u"C");
    Poll();
    ASSERT_EQ(form->ListView1->ItemCount(), 3);
    ClickButton(form->SpeedButton2);
    view_pressed_at_ = sim.clock.Now();
    SelectRow(1);
    form->Label1->SetCaption(kBefore);
  }
  // Nothing the program made outlives it.
  void TearDown() override {
    app.reset();
    EXPECT_EQ(sim.shell.LiveBrowsers(), 0);
    EXPECT_EQ(sim.windowing.LiveTimers(), 0);
    EXPECT_EQ(sim.widgets.LivePeers(), 0);
    EXPECT_EQ(sim.registry.OpenHandles(), 0);
  }

  void Poll(int polls = 1) { sim.windowing.RunFor(TShellWindowObserver::kPollInterval * polls); }
  sim::SimListView& ListPeer() const {
    return *static_cast<sim::SimListView*>(form->ListView1->Peer());
  }
  void SelectRow(int row) {
    ListPeer().ClickRow(row);
    ASSERT_NE(form->ListView1->Selected(), nullptr);
  }
  std::vector<Row> Rows() const {
    std::vector<Row> rows;
    for (int i = 0; i < form->ListView1->ItemCount(); ++i) {
      const TListItem& item = form->ListView1->Item(i);
      rows.push_back({item.Caption, item.SubItems.at(0), item.SubItems.at(1), item.Data.get()});
    }
    return rows;
  }
  // The rows the observer's entries give now.
  std::vector<Row> EntryRows() const {
    std::vector<Row> rows;
    for (const TShellWindowRef& e : form->ShellWindowObserver1->WindowList()) {
      rows.push_back({std::to_string(e->Number), e->Title, e->URL, e.get()});
    }
    return rows;
  }
  static std::string Text(const std::vector<Row>& rows) {
    std::string text;
    for (const Row& row : rows) {
      text += (text.empty() ? "" : ", ") + row.caption + " " + row.url;
    }
    return text.empty() ? "none" : text;
  }
  int SelectedIndex() const {
    const TListItem* selected = form->ListView1->Selected();
    for (int i = 0; selected != nullptr && i < form->ListView1->ItemCount(); ++i) {
      if (&form->ListView1->Item(i) == selected) return i;
    }
    return -1;
  }
  bool Uncovered() const {
    return form->ListView1->Visible() && !form->Memo1->Visible() && !form->Memo2->Visible();
  }
  std::string ExpectedText(ErrorKind kind) const {
    return kind == ErrorKind::kDescribed
               ? kDescription
               : sim::SystemErrorText(static_cast<unsigned>(hresult::kFail));
  }
  void Fail(ShellCall call, ErrorKind kind, int nth) {
    sim.shell.FailCall(call, hresult::kFail, kind == ErrorKind::kDescribed ? kDescription : "",
                       nth);
  }
  // The changes the next poll reports.
  void ChangeTheWindows() {
    sim.shell.Navigate(a_, u"http://a.example/2", u"A2");
    urls_[a_] = "http://a.example/2";
    sim.shell.Close(c_);
    d_ = Open(u"http://d.example/", u"D");
  }
  int Open(const std::u16string& url, const std::u16string& title) {
    const int id = sim.shell.Open(url, title);
    urls_[id] = std::string(url.begin(), url.end());
    return id;
  }
  // The address a window shows: the last one it was given, "" for a new
  // browser that was given none.
  std::string UrlOf(int id) const {
    const auto& sent = sim.shell.NavigationsOf(id);
    if (!sent.empty()) return std::string(sent.back().begin(), sent.back().end());
    const auto it = urls_.find(id);
    return it == urls_.end() ? std::string() : it->second;
  }
  // The window whose entry row `row` shows.
  int WindowOfRow(int row) const {
    const auto* entry = static_cast<const TShellWindow*>(form->ListView1->Item(row).Data.get());
    for (int id : sim.shell.Ids()) {
      if (sim.shell.HwndOf(id) == entry->Hwnd) return id;
    }
    return 0;
  }
  // Polls until the failure armed for the nth call of `call` has been met.
  void PollUntilCalled(ShellCall call, int nth, int start_calls, int max_polls) {
    for (int i = 0; i < max_polls && sim.shell.Calls(call) - start_calls < nth; ++i) Poll();
    ASSERT_GE(sim.shell.Calls(call) - start_calls, nth) << "the failing call was never made";
  }

  int a_ = 0, b_ = 0, c_ = 0, d_ = 0;
  std::map<int, std::string> urls_;
  std::uint64_t view_pressed_at_ = 0;
};

class ComFaultMatrix : public ComFaults, public ::testing::WithParamInterface<ComFaultCase> {};

TEST_P(ComFaultMatrix, OneCallFails) {
  const ComFaultCase& c = GetParam();
  const std::vector<Row> before = Rows();
  const int clears_before = ListPeer().clears;
  const BrowserRef target_before = form->TargetBrowser;
  const std::vector<int> ids_before = sim.shell.Ids();
  const int start_calls = sim.shell.Calls(c.fault.call);
  const std::size_t writes_before = sim.registry.Writes().size();
  const std::size_t tray_requests_before = sim.notify_area.Requests().size();

  switch (c.fault.place) {
    case Place::kPoll:
      ChangeTheWindows();
      Fail(c.fault.call, c.kind, c.fault.nth);
      ASSERT_NO_FATAL_FAILURE(PollUntilCalled(c.fault.call, c.fault.nth, start_calls, 3));
      break;
    case Place::kReconnect:
      sim.shell.StopServer();
      Poll();  // the poll finds the collection's server gone
      ChangeTheWindows();
      sim.shell.StartServer();
      Fail(c.fault.call, c.kind, c.fault.nth);
      ASSERT_NO_FATAL_FAILURE(PollUntilCalled(c.fault.call, c.fault.nth, start_calls,
                                              TShellWindowObserver::kReconnectTicks + 1));
      break;
    case Place::kTranslateNow:
      Fail(c.fault.call, c.kind, c.fault.nth);
      form->GoButton->UserClick();
      break;
    case Place::kTranslateInNew:
      Fail(c.fault.call, c.kind, c.fault.nth);
      form->NewButton->UserClick();
      break;
  }
  const bool translating =
      c.fault.place == Place::kTranslateNow || c.fault.place == Place::kTranslateInNew;
  const std::vector<Row> after = Rows();
  const bool rebuilt = ListPeer().clears != clears_before;
  std::string seen = rebuilt ? "rebuilt: " + Text(after) : "rows kept";
  seen += SelectedIndex() == 1 ? ", selection kept" : ", selection cleared";

  // The box: the translation's error as the object gave it, nothing from the list.
  if (translating) {
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, ExpectedText(c.kind));
    EXPECT_EQ(Boxes()[0].caption, kApplicationTitle);
    EXPECT_EQ(Boxes()[0].flags, mb::kOk | mb::kIconError);
    seen += ", box \"" + Boxes()[0].text + "\"";
  } else {
    EXPECT_TRUE(Boxes().empty()) << Boxes()[0].text;
    seen += ", no box";
  }
  EXPECT_EQ(form->Label1->Caption(), kBefore);
  // Nothing else moved: no registry write, no tray request, the window as it was.
  EXPECT_EQ(sim.registry.Writes().size(), writes_before);
  EXPECT_EQ(sim.notify_area.Requests().size(), tray_requests_before);
  EXPECT_TRUE(form->Visible());
  EXPECT_EQ(form->CB->Text(), "AUTO");
  EXPECT_TRUE(form->SpeedButton1->Enabled());

  // The rows: each holds a living entry and shows its title and address;
  // without a rebuild the list is as it was, selection included.
  for (int i = 0; i < form->ListView1->ItemCount(); ++i) {
    const TListItem& row = form->ListView1->Item(i);
    const auto* entry = static_cast<const TShellWindow*>(row.Data.get());
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(row.SubItems, (std::vector<std::string>{entry->Title, entry->URL}));
    EXPECT_EQ(form->BrowserOfItem(row), entry->Browser);
  }
  if (!rebuilt) {
    EXPECT_EQ(after, before);
    EXPECT_EQ(SelectedIndex(), 1);
  }
  if (after != EntryRows()) seen += "; the entries differ: " + Text(EntryRows());

  // What each translation call leaves behind.
  if (c.fault.place == Place::kTranslateNow) {
    EXPECT_EQ(form->TargetBrowser, form->ShellWindowObserver1->WindowList()[1]->Browser);
    EXPECT_TRUE(sim.shell.NavigationsOf(b_).empty());
  }
  if (c.fault.place == Place::kTranslateInNew) {
    const std::vector<int> ids = sim.shell.Ids();
    if (c.fault.call == ShellCall::kCreateBrowser) {
      EXPECT_EQ(ids, ids_before);
      EXPECT_EQ(form->TargetBrowser, target_before);
      seen += ", no new browser";
    } else {
      ASSERT_EQ(ids.size(), ids_before.size() + 1);
      const int made = ids.back();
      EXPECT_NE(form->TargetBrowser, nullptr);
      EXPECT_TRUE(sim.shell.NavigationsOf(made).empty());
      // A failed Visible leaves the new window hidden, a failed Navigate shown and empty.
      EXPECT_EQ(sim.shell.IsVisible(made), c.fault.call == ShellCall::kNavigate);
      seen += sim.shell.IsVisible(made) ? ", new browser shown, empty" : ", new browser hidden";
    }
  }
  for (int id : {a_, b_}) EXPECT_TRUE(sim.shell.NavigationsOf(id).empty());

  // View still covers the list again five seconds after it was pressed.
  EXPECT_TRUE(Uncovered());
  sim.windowing.RunFor(view_pressed_at_ + 5000 - sim.clock.Now());
  EXPECT_FALSE(Uncovered());
  EXPECT_FALSE(form->Timer1->Enabled());

  // The next change brings the list up to date with the windows.
  // (A failed reconnection is tried again after its interval.)
  Open(u"http://e.example/", u"E");
  Poll(TShellWindowObserver::kReconnectTicks + 1);
  const std::vector<Row> settled = Rows();
  EXPECT_EQ(settled, EntryRows());
  std::vector<std::string> shown;
  for (std::size_t i = 0; i < settled.size(); ++i) {
    EXPECT_EQ(settled[i].caption, std::to_string(i + 1));
    shown.push_back(settled[i].url);
  }
  std::vector<std::string> open;
  for (int id : sim.shell.Ids()) open.push_back(UrlOf(id));
  std::sort(shown.begin(), shown.end());
  std::sort(open.begin(), open.end());
  EXPECT_EQ(shown, open);
  EXPECT_EQ(Boxes().size(), translating ? 1u : 0u);

  // And the program goes on: a translation of the first row is sent.
  SelectRow(0);
  form->Label1->SetCaption(kBefore);
  const int first = WindowOfRow(0);
  const std::size_t sent = sim.shell.NavigationsOf(first).size();
  form->GoButton->UserClick();
  EXPECT_EQ(sim.shell.NavigationsOf(first).size(), sent + 1);
  EXPECT_EQ(form->Label1->Caption(), kBefore);
  EXPECT_EQ(Boxes().size(), translating ? 1u : 0u);
  std::printf("[ seen ] %s: %s\n", CaseName(c).c_str(), seen.c_str());
}

// The list's own handlers and "Close selected" reach no COM object: with
// every kind of call set to fail, they do their work and show nothing.
TEST_F(ComFaults, TheListsHandlersAndCloseSelectedMakeNoComCall) {
  const ShellCall kinds[] = {ShellCall::kCreateShellWindows,
                             ShellCall::kCount,
                             ShellCall::kItem,
                             ShellCall::kQueryBrowser,
                             ShellCall::kLocationURL,
                             ShellCall::kLocationName,
                             ShellCall::kHwnd,
                             ShellCall::kNavigate,
                             ShellCall::kVisible,
                             ShellCall::kCreateBrowser};
  for (ShellCall call : kinds) Fail(call, ErrorKind::kDescribed, 1);
  const int calls = sim.shell.TotalCalls();
  form->RefreshList();
  EXPECT_EQ(Rows(), EntryRows());
  const BrowserRef browser = form->BrowserOfItem(form->ListView1->Item(1));
  EXPECT_EQ(browser, form->ShellWindowObserver1->WindowList()[1]->Browser);
  form->SpeedButton2Click(*form->SpeedButton2);
  EXPECT_TRUE(Uncovered());
  form->Timer1Timer(*form->Timer1);
  EXPECT_FALSE(Uncovered());
  SelectRow(2);
  form->CloseButton->UserClick();
  EXPECT_FALSE(sim.shell.IsOpen(c_));
  EXPECT_EQ(sim.shell.TotalCalls(), calls);
  EXPECT_TRUE(Boxes().empty());
  EXPECT_EQ(form->Label1->Caption(), kBefore);
}

// A row whose window closed after the list was last rebuilt: its browser
// object answers no more, and the error reaches the box.
TEST_F(ComFaults, TranslateNowOnAWindowClosedSinceTheRebuildShowsTheError) {
  sim.shell.Close(b_);
  form->GoButton->UserClick();
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0].text, sim::SystemErrorText(static_cast<unsigned>(hresult::kDisconnected)));
  EXPECT_EQ(form->Label1->Caption(), kBefore);
  Poll();
  EXPECT_EQ(Rows(), EntryRows());
  EXPECT_EQ(form->ListView1->ItemCount(), 2);
  std::printf("[ seen ] NowOnClosedWindow: box \"%s\", row gone at the next poll\n",
              Boxes()[0].text.c_str());
}

// Without COM there is no collection: the list stays empty, the translation
// buttons ask for a row and never reach a browser, and no box comes up.
using ComFaultsWithoutCom = ProgramTest;

TEST_F(ComFaultsWithoutCom, TheListStaysEmptyAndTheButtonsAskForARow) {
  sim.com.fail_with = hresult::kFail;
  Start();
  sim.shell.Open(u"http://a.example/", u"A");
  sim.windowing.RunFor(10000);
  EXPECT_EQ(form->ListView1->ItemCount(), 0);
  for (TBitBtn* button : {form->GoButton, form->NewButton}) {
    form->Label1->SetCaption(kBefore);
    button->UserClick();
    EXPECT_EQ(form->Label1->Caption(), "Select a Title or URL please.");
  }
  EXPECT_EQ(sim.shell.TotalCalls(), 0);
  EXPECT_TRUE(Boxes().empty());
}

INSTANTIATE_TEST_SUITE_P(EveryCallEitherKind, ComFaultMatrix, ::testing::ValuesIn(AllCases()),
                         [](const auto& info) { return CaseName(info.param); });

}  // namespace
}  // namespace velocane::testing
