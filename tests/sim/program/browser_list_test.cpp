// The main window's browser window list: the rows the observer's entries give,
// their rebuilds and selection, and View.
#include "tests/support/literal_shell_window_scan.h"
#include "tests/support/program_fixture.h"

namespace velocane::testing {
namespace {

using sim::ShellCall;

class BrowserList : public ProgramTest {
 protected:
  void SetUp() override { Start(); }
  void Poll(int polls = 1) { sim.windowing.RunFor(TShellWindowObserver::kPollInterval * polls); }
  sim::SimListView& Peer() const {
    return *static_cast<sim::SimListView*>(form->ListView1->Peer());
  }
  std::vector<std::vector<std::string>> Rows() const {
    std::vector<std::vector<std::string>> rows;
    for (int i = 0; i < form->ListView1->ItemCount(); ++i) {
      const TListItem& item = form->ListView1->Item(i);
      std::vector<std::string> row{item.Caption};
      row.insert(row.end(), item.SubItems.begin(), item.SubItems.end());
      rows.push_back(row);
    }
    return rows;
  }
  // The list is seen when it is shown and neither memo covers it.
  bool Uncovered() const {
    return form->ListView1->Visible() && !form->Memo1->Visible() && !form->Memo2->Visible();
  }
};

TEST_F(BrowserList, TheObserverHasTheMainWindowsSettings) {
  TShellWindowObserver& observer = *form->ShellWindowObserver1;
  EXPECT_EQ(observer.Owner(), form);
  EXPECT_TRUE(observer.Active);
  EXPECT_TRUE(observer.LoggingDirs);
  EXPECT_EQ(observer.Delimiter, ',');
  EXPECT_EQ(observer.SendAMessage(), TShellMessage::smClose);
  EXPECT_TRUE(Rows().empty());
}

TEST_F(BrowserList, RowsShowNumberTitleAndAddress) {
  sim.shell.Open(u"http://a.example/", u"Page A");
  sim.shell.Open(u"file:///C:/My%20Documents/x%20y.html");
  Poll();
  const std::vector<std::vector<std::string>> rows = {
      {"1", "Page A", "http://a.example/"},
      {"2", "", "file:///C:/My Documents/x y.html"},
  };
  EXPECT_EQ(Rows(), rows);
  EXPECT_EQ(Peer().rows, rows);
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(form->ListView1->Item(i).Data.get(),
              form->ShellWindowObserver1->WindowList()[i].get());
  }
}

TEST_F(BrowserList, WithNoBrowserTheListStaysEmpty) {
  Poll(100);
  EXPECT_TRUE(Rows().empty());
  EXPECT_EQ(Peer().clears, 0);
}

TEST_F(BrowserList, RebuildsTwiceForANewWindowOnceForANavigationOnceForAPurge) {
  const int a = sim.shell.Open(u"http://a/");
  Poll();
  EXPECT_EQ(Peer().clears, 2);
  sim.shell.Navigate(a, u"http://a/next", u"Next");
  Poll();
  EXPECT_EQ(Peer().clears, 3);
  sim.shell.Retitle(a, u"Other");
  Poll(10);
  EXPECT_EQ(Peer().clears, 3);
  const int b = sim.shell.Open(u"http://b/");
  const int c = sim.shell.Open(u"http://c/");
  Poll();
  EXPECT_EQ(Peer().clears, 7);
  sim.shell.Close(b);
  sim.shell.Close(c);
  Poll();
  EXPECT_EQ(Peer().clears, 8);
  EXPECT_EQ(Rows(), (std::vector<std::vector<std::string>>{{"1", "Next", "http://a/next"}}));
}

TEST_F(BrowserList, EveryRebuildClearsTheSelection) {
  const int a = sim.shell.Open(u"http://a/", u"A");
  sim.shell.Open(u"http://b/", u"B");
  Poll();
  Peer().ClickRow(1);
  ASSERT_NE(form->ListView1->Selected(), nullptr);
  EXPECT_EQ(form->ListView1->Selected()->SubItems[0], "B");
  Poll(10);  // nothing changes: the selection stays
  ASSERT_NE(form->ListView1->Selected(), nullptr);
  sim.shell.Navigate(a, u"http://a/2", u"A2");
  Poll();
  EXPECT_EQ(form->ListView1->Selected(), nullptr);
  EXPECT_TRUE(Peer().selected.empty());
}

TEST_F(BrowserList, BrowserOfItemIsTheEntrysBrowser) {
  sim.shell.Open(u"http://a/");
  Poll();
  const TListItem& row = form->ListView1->Item(0);
  const BrowserRef browser = form->BrowserOfItem(row);
  ASSERT_NE(browser, nullptr);
  EXPECT_EQ(browser, form->ShellWindowObserver1->WindowList()[0]->Browser);
  EXPECT_EQ(browser->LocationURL(), "http://a/");
}

TEST_F(BrowserList, ARowKeepsItsEntryAfterAPurgeThatReportedNothing) {
  sim.shell.Open(u"http://a/");
  const int b = sim.shell.Open(u"http://b/");
  sim.shell.Open(u"http://c/");
  Poll();
  sim.shell.Close(b);
  sim.shell.ResetCalls();
  // The observer's own poll reports every entry it takes out. The step-by-step
  // poll can take one out and end before the event (a failed cast in the
  // purge's search for c), and whatever removes an entry unreported, the row
  // must keep it.
  sim.shell.FailCall(ShellCall::kQueryBrowser, hresult::kFail, {}, 2 + 1 + 2 + 1);
  TLiteralShellWindowScan(*form->ShellWindowObserver1)
      .Scan(*TShellWindowObserver::ShellWindowsObject());
  EXPECT_EQ(sim.shell.PendingFailures(), 0);
  ASSERT_EQ(form->ShellWindowObserver1->WindowList().size(), 2u);
  ASSERT_EQ(form->ListView1->ItemCount(), 3);
  const TListItem& row = form->ListView1->Item(1);
  EXPECT_EQ(row.SubItems[1], "http://b/");
  const auto* entry = static_cast<const TShellWindow*>(row.Data.get());
  EXPECT_EQ(entry->URL, "http://b/");
  const BrowserRef browser = form->BrowserOfItem(row);
  ASSERT_NE(browser, nullptr);
  // The object is alive; only its closed window no longer answers.
  EXPECT_THROW(browser->LocationURL(), EOleSysError);
  // Nothing reports the removal, so the row stays until the next change rebuilds the list.
  const std::weak_ptr<void> kept = row.Data;
  Poll(10);
  EXPECT_EQ(form->ListView1->ItemCount(), 3);
  sim.shell.Open(u"http://d/");
  Poll();
  EXPECT_EQ(Rows(), (std::vector<std::vector<std::string>>{
                        {"1", "", "http://a/"}, {"2", "", "http://c/"}, {"3", "", "http://d/"}}));
  EXPECT_TRUE(kept.expired());
}

TEST_F(BrowserList, ViewUncoversTheListForFiveSeconds) {
  EXPECT_FALSE(Uncovered());
  ClickButton(form->SpeedButton2);
  EXPECT_TRUE(Uncovered());
  EXPECT_TRUE(form->Timer1->Enabled());
  EXPECT_TRUE(form->CB->Visible());
  EXPECT_TRUE(form->CB->Enabled());
  sim.windowing.RunFor(4999);
  EXPECT_TRUE(Uncovered());
  sim.windowing.RunFor(1);
  EXPECT_FALSE(Uncovered());
  EXPECT_TRUE(form->ListView1->Visible());
  EXPECT_FALSE(form->Timer1->Enabled());
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(BrowserList, ViewTwiceWithinFiveSecondsCoversAgainFiveSecondsAfterTheFirst) {
  ClickButton(form->SpeedButton2);
  sim.windowing.RunFor(3000);
  ClickButton(form->SpeedButton2);
  sim.windowing.RunFor(2000);
  EXPECT_FALSE(Uncovered());
  ClickButton(form->SpeedButton2);
  EXPECT_TRUE(Uncovered());
  sim.windowing.RunFor(5000);
  EXPECT_FALSE(Uncovered());
}

TEST_F(BrowserList, TheListFollowsWhileUncovered) {
  ClickButton(form->SpeedButton2);
  sim.shell.Open(u"http://a/", u"A");
  Poll();
  EXPECT_TRUE(Uncovered());
  EXPECT_EQ(Rows(), (std::vector<std::vector<std::string>>{{"1", "A", "http://a/"}}));
}

using BrowserListStart = ProgramTest;

TEST_F(BrowserListStart, WithoutAShellTheProgramStartsAndTheListFollowsLater) {
  sim.shell.StopServer();
  sim.shell.Open(u"http://a/", u"A");
  StorePair(RootKey::CurrentConfig, 2, 4);
  sim.registry.Put(RootKey::CurrentConfig, kSettings, kConnectionTypeValue,
                   sim::StringValue("Cable"));
  TForm1& form = Start();
  EXPECT_EQ(form.CB->Text(), "Cable");
  EXPECT_EQ(form.Label1->Caption(), "Ready.");
  EXPECT_TRUE(Boxes().empty());
  sim.windowing.RunFor(10000);
  EXPECT_EQ(form.ListView1->ItemCount(), 0);
  // The main job works meanwhile.
  form.SpeedButton1->Click();
  EXPECT_EQ(form.Label1->Caption(), "Acceleration successfully!");
  EXPECT_EQ(Pair(RootKey::CurrentUser),
            std::make_pair(std::optional<std::uint32_t>(20), std::optional<std::uint32_t>(20)));
  sim.shell.StartServer();
  sim.windowing.RunFor(3000);
  EXPECT_EQ(form.ListView1->ItemCount(), 1);
  EXPECT_TRUE(Boxes().empty());
}

}  // namespace
}  // namespace velocane::testing
