// The shell window observer on the simulated shell: entries, numbers, events,
// log lines, the filter, and COM calls failing with either error kind, for the
// observer's poll and, where its calls differ, for the step-by-step poll.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <tuple>
#include <vector>

#include "components/ShellWindowScan.h"
#include "components/uShellWindowObserver.h"
#include "platform/framework/application.h"
#include "platform/framework/timer.h"
#include "platform/messages.h"
#include "platform/sim/sim_platform.h"
#include "tests/support/literal_shell_window_scan.h"

namespace velocane {
namespace {

using sim::ShellCall;

const std::string kDescribed = "The object described this failure.";

// Which poll a test drives: the observer's own, on its timer, or the
// step-by-step one, run by the test on an inactive observer.
enum class Poll { kObserver, kStepByStep };

class ObserverTest : public ::testing::Test {
 protected:
  ObserverTest() {
    app.Initialize();
    observer = new TShellWindowObserver(&app, "Observer");
    observer->Active = true;
    observer->OnChangedNumber = [this](TComponent& sender, int number) {
      EXPECT_EQ(&sender, observer);
      events.push_back("changed " + std::to_string(number));
    };
    observer->OnAddedEntry = [this](TComponent& sender, TShellWindow& window,
                                    const std::string& line) {
      EXPECT_EQ(&sender, observer);
      events.push_back("added " + window.URL);
      lines.push_back(line);
    };
  }

  void Tick(int ticks = 1) {
    if (poll == Poll::kObserver) {
      sim.windowing.RunFor(TShellWindowObserver::kPollInterval * ticks);
      return;
    }
    for (int i = 0; i < ticks; ++i) {
      if (!collection) collection = sim.shell.CreateShellWindows();
      collection_gone = TLiteralShellWindowScan(*observer).Scan(*collection) == TPollEnd::kUnusable;
      if (collection_gone) collection.reset();
    }
  }
  void UseStepByStepPoll() {
    poll = Poll::kStepByStep;
    observer->Active = false;
  }

  // The entries as "number URL".
  std::vector<std::string> Entries() const {
    std::vector<std::string> entries;
    for (const TShellWindowRef& e : observer->WindowList()) {
      entries.push_back(std::to_string(e->Number) + " " + e->URL);
    }
    return entries;
  }
  std::string Hex(int id) const {
    char text[24];
    std::snprintf(text, sizeof text, "%08llX",
                  static_cast<unsigned long long>(sim.shell.HwndOf(id).value));
    return text;
  }

  sim::SimPlatform sim;
  TApplication app{sim.platform};
  TShellWindowObserver* observer = nullptr;  // owned by the application
  std::vector<std::string> events;
  std::vector<std::string> lines;
  Poll poll = Poll::kObserver;
  ShellWindowsRef collection;  // the step-by-step poll's
  bool collection_gone = false;
};

std::string PollName(Poll poll) { return poll == Poll::kObserver ? "Observer" : "StepByStep"; }
void PrintTo(Poll poll, std::ostream* os) { *os << PollName(poll); }

TEST(ObserverDefaults, ConstructionGivesTheStoredDefaults) {
  sim::SimPlatform sim;
  TApplication app(sim.platform);
  app.Initialize();
  auto* observer = new TShellWindowObserver(&app);
  EXPECT_FALSE(observer->LoggingDirs);
  EXPECT_EQ(observer->Delimiter, ',');
  EXPECT_FALSE(observer->Active);
  EXPECT_EQ(observer->SendAMessage(), TShellMessage::smClose);
  EXPECT_EQ(observer->SysCommand(), sc::kClose);
  EXPECT_EQ(observer->WindowCount(), 0);
  EXPECT_TRUE(observer->WindowList().empty());
  EXPECT_TRUE(observer->EntryLog().empty());
  // The collection is made by the first poll, not by the constructor.
  EXPECT_EQ(sim.shell.TotalCalls(), 0);
  EXPECT_EQ(TShellWindowObserver::ShellWindowsObject(), nullptr);

  // Inactive, the poll timer runs but asks the shell nothing.
  sim.shell.Open(u"http://a/");
  sim.windowing.RunFor(750);
  EXPECT_EQ(sim.shell.TotalCalls(), 0);
  observer->Active = true;
  sim.windowing.RunFor(74);
  EXPECT_EQ(sim.shell.TotalCalls(), 0);
  sim.windowing.RunFor(1);
  EXPECT_EQ(sim.shell.Calls(ShellCall::kCreateShellWindows), 1);
  EXPECT_NE(TShellWindowObserver::ShellWindowsObject(), nullptr);
  // The same poll reads the collection.
  EXPECT_EQ(sim.shell.Calls(ShellCall::kCount), 1);
  EXPECT_EQ(observer->WindowCount(), 1);
}

TEST(ObserverDefaults, OneCollectionForTheProcessReleasedWithTheLastObserver) {
  sim::SimPlatform sim;
  {
    TApplication app(sim.platform);
    app.Initialize();
    auto* first = new TShellWindowObserver(&app);
    auto* second = new TShellWindowObserver(&app);
    EXPECT_EQ(sim.shell.Calls(ShellCall::kCreateShellWindows), 0);
    first->Active = second->Active = true;
    sim.shell.Open(u"http://a/");
    sim.windowing.RunFor(75);
    EXPECT_EQ(sim.shell.Calls(ShellCall::kCreateShellWindows), 1);
    EXPECT_EQ(first->WindowCount(), 1);
    EXPECT_EQ(second->WindowCount(), 1);
    EXPECT_NE(TShellWindowObserver::CurrentBrowser(), nullptr);
    delete first;
    EXPECT_NE(TShellWindowObserver::ShellWindowsObject(), nullptr);
  }
  EXPECT_EQ(TShellWindowObserver::ShellWindowsObject(), nullptr);
  EXPECT_EQ(TShellWindowObserver::CurrentBrowser(), nullptr);
  EXPECT_EQ(sim.shell.LiveBrowsers(), 0);
}

TEST(ObserverDefaults, SendAMessageSetsTheSystemCommand) {
  sim::SimPlatform sim;
  TApplication app(sim.platform);
  app.Initialize();
  auto* observer = new TShellWindowObserver(&app);
  const std::pair<TShellMessage, std::uint16_t> table[] = {
      {TShellMessage::smMaximize, 0xF030},
      {TShellMessage::smMinimize, 0xF020},
      {TShellMessage::smRestore, 0xF120},
      {TShellMessage::smClose, 0xF060},
  };
  for (const auto& [message, command] : table) {
    observer->SetSendAMessage(message);
    EXPECT_EQ(observer->SendAMessage(), message);
    EXPECT_EQ(observer->SysCommand(), command);
  }
}

TEST_F(ObserverTest, NoWindowsNoEntryNoEventNoLine) {
  Tick(10);
  EXPECT_TRUE(Entries().empty());
  EXPECT_TRUE(events.empty());
  EXPECT_TRUE(observer->EntryLog().empty());
}

TEST_F(ObserverTest, ANewWindowReportsTheCountThenTheEntryWithItsLine) {
  const int a = sim.shell.Open(u"http://a.example/", u"Page A");
  Tick();
  EXPECT_EQ(events, (std::vector<std::string>{"changed 1", "added http://a.example/"}));
  const std::string line = "1,-,Hwnd,:," + Hex(a) + ",http://a.example/,Page A,3/9/2024 2:05:07 PM";
  EXPECT_EQ(lines, std::vector<std::string>{line});
  EXPECT_EQ(observer->EntryLog(), std::deque<std::string>{line});
  ASSERT_EQ(observer->WindowList().size(), 1u);
  const TShellWindow& entry = *observer->WindowList()[0];
  EXPECT_EQ(entry.Number, 1);
  EXPECT_EQ(entry.Hwnd, sim.shell.HwndOf(a));
  EXPECT_EQ(entry.Title, "Page A");
  ASSERT_NE(entry.Browser, nullptr);
  EXPECT_EQ(entry.Browser->LocationURL(), "http://a.example/");
  EXPECT_EQ(observer->WindowCount(), 1);

  events.clear();
  sim.shell.Open(u"http://b.example/", u"Page B");
  Tick();
  EXPECT_EQ(events, (std::vector<std::string>{"changed 2", "added http://b.example/"}));
  EXPECT_EQ(Entries(), (std::vector<std::string>{"1 http://a.example/", "2 http://b.example/"}));
  Tick(5);  // nothing changed
  EXPECT_EQ(events.size(), 2u);
}

TEST_F(ObserverTest, NavigationTakesTheAddressAndTitleOnce) {
  const int a = sim.shell.Open(u"http://a/", u"A");
  Tick();
  events.clear();
  sim.shell.Navigate(a, u"http://a/next", u"Next");
  Tick(3);
  EXPECT_EQ(events, std::vector<std::string>{"added http://a/next"});
  EXPECT_EQ(Entries(), std::vector<std::string>{"1 http://a/next"});
  EXPECT_EQ(observer->WindowList()[0]->Title, "Next");
  EXPECT_EQ(observer->EntryLog().size(), 2u);
}

TEST_F(ObserverTest, ATitleChangeAloneIsNotTakenOver) {
  const int a = sim.shell.Open(u"http://a/", u"Loading");
  Tick();
  events.clear();
  sim.shell.Retitle(a, u"Loaded");
  Tick(3);
  EXPECT_TRUE(events.empty());
  EXPECT_EQ(observer->WindowList()[0]->Title, "Loading");
}

TEST_F(ObserverTest, EveryPercent20BecomesABlankOtherEscapesStay) {
  sim.shell.Open(u"http://a/my%20page%20two%41%2", u"T");
  Tick();
  EXPECT_EQ(Entries(), std::vector<std::string>{"1 http://a/my page two%41%2"});
  EXPECT_NE(lines[0].find(",http://a/my page two%41%2,"), std::string::npos);
}

TEST(ReplaceAll, LeftToRightWithoutOverlapNeverSearchingTheInsertedText) {
  struct Case {
    const char* s;
    const char* old_text;
    const char* new_text;
    const char* result;
  };
  const Case cases[] = {
      {"a%20b%20c", "%20", " ", "a b c"},
      {"%20%20", "%20", " ", "  "},
      {"%2020", "%20", " ", " 20"},
      {"%%2020", "%20", " ", "% 20"},
      {"no escape", "%20", " ", "no escape"},
      {"", "%20", " ", ""},
      {"aaa", "aa", "a", "aa"},
      {"x%20", "%20", "%20%20", "x%20%20"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TShellWindowScan::ReplaceAll(c.s, c.old_text, c.new_text), c.result) << c.s;
  }
}

TEST_F(ObserverTest, AClosedWindowGoesAndTheLaterOnesMoveUp) {
  sim.shell.Open(u"http://one/");
  const int two = sim.shell.Open(u"http://two/");
  sim.shell.Open(u"http://three/");
  Tick();
  events.clear();
  sim.shell.Close(two);
  Tick();
  EXPECT_EQ(events, std::vector<std::string>{"changed 2"});
  EXPECT_EQ(Entries(), (std::vector<std::string>{"1 http://one/", "2 http://three/"}));
  EXPECT_EQ(observer->WindowCount(), 2);
  EXPECT_EQ(observer->EntryLog().size(), 3u);  // renumbering writes no line
  sim.shell.Open(u"http://four/");
  Tick();
  EXPECT_EQ(Entries().back(), "3 http://four/");
}

TEST(IsWebAddress, ASubstringAnywhereCaseSensitive) {
  const std::pair<const char*, bool> cases[] = {
      {"http://a/", true},      {"https://a/", true},     {"ftp://files/", true},
      {"gopher://hole/", true}, {"C:\\http\\page", true}, {"file:///C:/Users", false},
      {"about:blank", false},   {"HTTP://A/", false},     {"", false},
      {"C:\\Documents", false}, {"sftp-backup", true},
  };
  for (const auto& [address, web] : cases) {
    EXPECT_EQ(TShellWindowScan::IsWebAddress(address), web) << address;
  }
}

TEST_F(ObserverTest, WithoutLoggingDirsOnlyWebAddressesAreTracked) {
  observer->LoggingDirs = false;
  sim.shell.Open(u"file:///C:/Users", u"Users");
  sim.shell.Open(u"about:blank");
  sim.shell.Open(u"C:\\http\\page.html");
  sim.shell.Open(u"ftp://files/");
  Tick();
  EXPECT_EQ(Entries(), (std::vector<std::string>{"1 C:\\http\\page.html", "2 ftp://files/"}));
  observer->LoggingDirs = true;
  Tick();
  EXPECT_EQ(Entries().size(), 4u);
}

TEST_F(ObserverTest, ItemsSharingOneWindowShareOneEntryAndOverwriteItEveryTick) {
  const int first = sim.shell.Open(u"http://tab-one/");
  sim.shell.Open(u"http://tab-two/", u"", sim.shell.HwndOf(first));
  Tick();
  EXPECT_EQ(events, (std::vector<std::string>{"changed 1", "added http://tab-one/",
                                              "added http://tab-two/"}));
  events.clear();
  Tick();
  EXPECT_EQ(events, (std::vector<std::string>{"added http://tab-one/", "added http://tab-two/"}));
  EXPECT_EQ(Entries(), std::vector<std::string>{"1 http://tab-two/"});
}

TEST_F(ObserverTest, TheLogKeepsOnlyTheMostRecentLines) {
  const int first = sim.shell.Open(u"http://tab-one/");
  sim.shell.Open(u"http://tab-two/", u"", sim.shell.HwndOf(first));
  Tick(600);  // two lines a tick
  ASSERT_EQ(lines.size(), 1200u);
  ASSERT_EQ(observer->EntryLog().size(), TShellWindowObserver::kEntryLogLimit);
  EXPECT_EQ(observer->EntryLog().front(), lines[200]);
  EXPECT_EQ(observer->EntryLog().back(), lines.back());
}

TEST_F(ObserverTest, InactiveTheListStaysFrozenAndCatchesUpWhenActiveAgain) {
  const int a = sim.shell.Open(u"http://a/");
  const int b = sim.shell.Open(u"http://b/");
  Tick();
  events.clear();
  observer->Active = false;
  sim.shell.Close(a);
  sim.shell.Navigate(b, u"http://b/2", u"");
  sim.shell.Open(u"http://c/");
  sim.shell.ResetCalls();
  Tick(20);
  EXPECT_EQ(Entries(), (std::vector<std::string>{"1 http://a/", "2 http://b/"}));
  EXPECT_TRUE(events.empty());
  EXPECT_EQ(sim.shell.TotalCalls(), 0);
  observer->Active = true;
  Tick();
  EXPECT_EQ(Entries(), (std::vector<std::string>{"1 http://b/2", "2 http://c/"}));
  EXPECT_EQ(events, (std::vector<std::string>{"added http://b/2", "changed 3", "added http://c/",
                                              "changed 2"}));
}

TEST_F(ObserverTest, TheDelimiterIsWrittenUnescapedInsideAddressAndTitle) {
  observer->Delimiter = ';';
  const int a = sim.shell.Open(u"http://a/?x=1;y=2,z", u"T;itle,");
  Tick();
  EXPECT_EQ(lines[0], "1;-;Hwnd;:;" + Hex(a) + ";http://a/?x=1;y=2,z;T;itle,;3/9/2024 2:05:07 PM");
}

TEST_F(ObserverTest, TheTimeIsLeftOutAtExactlyMidnight) {
  const std::pair<LocalTime, std::string> cases[] = {
      {{2024, 12, 31, 0, 0, 0, 0}, "12/31/2024"},
      {{2024, 12, 31, 0, 0, 0, 1}, "12/31/2024 12:00:00 AM"},
      {{2025, 1, 1, 23, 59, 59, 999}, "1/1/2025 11:59:59 PM"},
      {{2025, 1, 1, 12, 0, 0, 0}, "1/1/2025 12:00:00 PM"},
  };
  const int a = sim.shell.Open(u"http://a/0");
  Tick();
  int n = 0;
  for (const auto& [time, text] : cases) {
    sim.process.local_time = time;
    sim.shell.Navigate(a, u"http://a/" + std::u16string(1, static_cast<char16_t>(u'1' + n++)), u"");
    Tick();
    const std::string& line = observer->EntryLog().back();
    EXPECT_EQ(line.substr(line.rfind(',') + 1), text);
  }
}

TEST_F(ObserverTest, NilItemsAreSkippedAndItemsWithoutABrowserEndTheTick) {
  sim.shell.AddNilItem();
  sim.shell.Open(u"http://a/");
  Tick();
  EXPECT_EQ(Entries(), std::vector<std::string>{"1 http://a/"});

  const int foreign = sim.shell.AddForeignItem();
  sim.shell.Open(u"http://b/");
  Tick(3);
  // The scan stops at the foreign item: the window after it is never reached.
  EXPECT_EQ(Entries(), std::vector<std::string>{"1 http://a/"});
  sim.shell.Close(foreign);
  Tick();
  EXPECT_EQ(Entries(), (std::vector<std::string>{"1 http://a/", "2 http://b/"}));
}

// The observer's purge never ends early: it makes no call that can end a tick.
// The step-by-step one does, on a failed cast in its search.
TEST_F(ObserverTest, ANumberFollowsTheHighestHeldAfterAPurgeThatEndedEarly) {
  UseStepByStepPoll();
  const int a = sim.shell.Open(u"http://a/");
  sim.shell.Open(u"http://b/");
  sim.shell.Open(u"http://c/");
  Tick();
  sim.shell.Close(a);
  // The purge takes out a, renumbers b, and ends in the search for c.
  sim.shell.FailCall(ShellCall::kQueryBrowser, hresult::kFail, {}, 2 + 2 + 1 + 1);
  Tick();
  EXPECT_EQ(Entries(), (std::vector<std::string>{"1 http://b/", "3 http://c/"}));
  sim.shell.Open(u"http://d/");
  Tick();
  EXPECT_EQ(lines.back().substr(0, 9), "4,-,Hwnd,");
  EXPECT_EQ(Entries(), (std::vector<std::string>{"1 http://b/", "2 http://c/", "3 http://d/"}));
}

// Entries 1 a, 2 b, 3 d are held. In the failing tick a has navigated to a2,
// d has closed and c has opened; the collection holds a, b, c. Without a
// failure the tick updates a, adds c as 4, and its purge takes out d and
// makes c 3. Each case fails one call of that tick, counted as the
// step-by-step poll makes its calls.
struct FailureCase {
  const char* name;
  ShellCall call;
  int nth;  // counted from the start of the failing tick
  // A call the observer's poll does not make: a new window's handle read
  // again, and the purge's search. There the observer's tick does it all.
  bool step_by_step_only;
  // With the OLE system error, and with the OLE exception (the described kind).
  std::vector<std::string> entries_system;
  std::vector<std::string> events_system;
  std::vector<std::string> entries_described;
  std::vector<std::string> events_described;
};

void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.name; }

const std::vector<std::string> kBefore = {"1 http://a/", "2 http://b/", "3 http://d/"};
const std::vector<std::string> kAfter = {"1 http://a2/", "2 http://b/", "3 http://c/"};
const std::vector<std::string> kAllEvents = {"added http://a2/", "changed 4", "added http://c/",
                                             "changed 3"};
const std::vector<std::string> kUpdatedOnly = {"1 http://a2/", "2 http://b/", "3 http://d/"};
const std::vector<std::string> kUpdateEvent = {"added http://a2/"};

const FailureCase kFailureCases[] = {
    {"ScanCount", ShellCall::kCount, 1, false, kBefore, {}, kBefore, {}},
    {"ScanItemOfB", ShellCall::kItem, 2, false, kUpdatedOnly, kUpdateEvent, kUpdatedOnly,
     kUpdateEvent},
    {"ScanQueryOfB", ShellCall::kQueryBrowser, 2, false, kUpdatedOnly, kUpdateEvent, kUpdatedOnly,
     kUpdateEvent},
    {"LocationUrlOfB", ShellCall::kLocationURL, 2, false, kUpdatedOnly, kUpdateEvent, kAfter,
     kAllEvents},
    {"LocationNameOfB", ShellCall::kLocationName, 2, false, kUpdatedOnly, kUpdateEvent, kAfter,
     kAllEvents},
    {"HwndOfB", ShellCall::kHwnd, 2, false, kUpdatedOnly, kUpdateEvent, kAfter, kAllEvents},
    {"SecondHwndOfNewC",
     ShellCall::kHwnd,
     4,
     true,
     kUpdatedOnly,
     kUpdateEvent,
     {"1 http://a2/", "2 http://b/"},
     {"added http://a2/", "changed 2"}},
    // The search for a fails: a counts as closed (it comes back at the next tick).
    {"PurgeCountForA",
     ShellCall::kCount,
     2,
     true,
     {"1 http://b/", "2 http://c/"},
     {"added http://a2/", "changed 4", "added http://c/", "changed 2"},
     {"1 http://b/", "2 http://c/"},
     {"added http://a2/", "changed 4", "added http://c/", "changed 2"}},
    {"PurgeItemForB",
     ShellCall::kItem,
     5,
     true,
     {"1 http://a2/", "2 http://c/"},
     {"added http://a2/", "changed 4", "added http://c/", "changed 2"},
     {"1 http://a2/", "2 http://c/"},
     {"added http://a2/", "changed 4", "added http://c/", "changed 2"}},
    {"PurgeHwndForB",
     ShellCall::kHwnd,
     6,
     true,
     {"1 http://a2/", "2 http://c/"},
     {"added http://a2/", "changed 4", "added http://c/", "changed 2"},
     {"1 http://a2/", "2 http://c/"},
     {"added http://a2/", "changed 4", "added http://c/", "changed 2"}},
    // A failed cast is no OLE error: it ends the tick in the middle of the purge.
    {"PurgeQueryForB",
     ShellCall::kQueryBrowser,
     5,
     true,
     {"1 http://a2/", "2 http://b/", "3 http://d/", "4 http://c/"},
     {"added http://a2/", "changed 4", "added http://c/"},
     {"1 http://a2/", "2 http://b/", "3 http://d/", "4 http://c/"},
     {"added http://a2/", "changed 4", "added http://c/"}},
    // ... also after it took out d: no event tells of that removal.
    {"PurgeQueryForC",
     ShellCall::kQueryBrowser,
     10,
     true,
     {"1 http://a2/", "2 http://b/", "4 http://c/"},
     {"added http://a2/", "changed 4", "added http://c/"},
     {"1 http://a2/", "2 http://b/", "4 http://c/"},
     {"added http://a2/", "changed 4", "added http://c/"}},
};

class ScenarioTest : public ObserverTest {
 protected:
  void Prepare() {
    a = sim.shell.Open(u"http://a/");
    sim.shell.Open(u"http://b/");
    d = sim.shell.Open(u"http://d/");
    Tick();
    ASSERT_EQ(Entries(), kBefore);
    events.clear();
    sim.shell.Navigate(a, u"http://a2/", u"");
    sim.shell.Close(d);
    sim.shell.Open(u"http://c/");
  }
  int a = 0;
  int d = 0;
};

class ObserverFailure : public ScenarioTest,
                        public ::testing::WithParamInterface<std::tuple<FailureCase, Poll>> {
 protected:
  void SetUp() override {
    if (std::get<1>(GetParam()) == Poll::kStepByStep) UseStepByStepPoll();
  }
  const FailureCase& Case() const { return std::get<0>(GetParam()); }
  // The observer's poll never comes to the call: it does all of the tick.
  bool NotMade() const { return poll == Poll::kObserver && Case().step_by_step_only; }
  // Whether the failure happened in the tick, and then forgets it.
  void ExpectMade() {
    EXPECT_EQ(sim.shell.PendingFailures(), NotMade() ? 1 : 0);
    sim.shell.ClearFailures();
  }
};

TEST_P(ObserverFailure, WithTheSystemError) {
  Prepare();
  sim.shell.FailCall(Case().call, hresult::kFail, {}, Case().nth);
  Tick();
  ExpectMade();
  EXPECT_EQ(Entries(), NotMade() ? kAfter : Case().entries_system);
  EXPECT_EQ(events, NotMade() ? kAllEvents : Case().events_system);
  EXPECT_TRUE(sim.windowing.MessageBoxes().empty());
}

TEST_P(ObserverFailure, WithTheDescribedError) {
  Prepare();
  sim.shell.FailCall(Case().call, hresult::kFail, kDescribed, Case().nth);
  Tick();
  ExpectMade();
  EXPECT_EQ(Entries(), NotMade() ? kAfter : Case().entries_described);
  EXPECT_EQ(events, NotMade() ? kAllEvents : Case().events_described);
  EXPECT_TRUE(sim.windowing.MessageBoxes().empty());
}

TEST_P(ObserverFailure, TheNextTickStartsAfresh) {
  Prepare();
  sim.shell.FailCall(Case().call, hresult::kFail, {}, Case().nth);
  Tick();
  ExpectMade();
  Tick(2);
  std::vector<std::string> urls;
  for (const TShellWindowRef& e : observer->WindowList()) urls.push_back(e->URL);
  std::sort(urls.begin(), urls.end());
  EXPECT_EQ(urls, (std::vector<std::string>{"http://a2/", "http://b/", "http://c/"}));
  for (std::size_t i = 0; i < observer->WindowList().size(); ++i) {
    EXPECT_EQ(observer->WindowList()[i]->Number, static_cast<int>(i) + 1);
  }
}

TEST_F(ScenarioTest, WithoutAFailureTheObserversTickReadsEachItemOnce) {
  Prepare();
  sim.shell.ResetCalls();
  Tick();
  EXPECT_EQ(Entries(), kAfter);
  EXPECT_EQ(events, kAllEvents);
  EXPECT_EQ(sim.shell.Calls(ShellCall::kCount), 1);
  for (ShellCall call : {ShellCall::kItem, ShellCall::kQueryBrowser, ShellCall::kLocationURL,
                         ShellCall::kLocationName, ShellCall::kHwnd}) {
    EXPECT_EQ(sim.shell.Calls(call), 3) << sim::ShellCallName(call);
  }
  EXPECT_EQ(sim.shell.TotalCalls(), 1 + 5 * 3);
}

TEST_F(ScenarioTest, WithoutAFailureTheStepByStepTickDoesAllOfIt) {
  UseStepByStepPoll();
  Prepare();
  sim.shell.ResetCalls();
  Tick();
  EXPECT_EQ(Entries(), kAfter);
  EXPECT_EQ(events, kAllEvents);
  // The call numbers the cases count by.
  EXPECT_EQ(sim.shell.Calls(ShellCall::kCount), 5);
  EXPECT_EQ(sim.shell.Calls(ShellCall::kItem), 12);
  EXPECT_EQ(sim.shell.Calls(ShellCall::kQueryBrowser), 12);
  EXPECT_EQ(sim.shell.Calls(ShellCall::kHwnd), 13);
}

INSTANTIATE_TEST_SUITE_P(EachCall, ObserverFailure,
                         ::testing::Combine(::testing::ValuesIn(kFailureCases),
                                            ::testing::Values(Poll::kObserver, Poll::kStepByStep)),
                         [](const auto& info) {
                           return std::string(std::get<0>(info.param).name) + "_" +
                                  PollName(std::get<1>(info.param));
                         });

TEST(ObserverStart, WithoutAShellTheObserverIsMadeAndConnectsLater) {
  sim::SimPlatform sim;
  sim.shell.StopServer();
  TApplication app(sim.platform);
  app.Initialize();
  TShellWindowObserver* observer = nullptr;
  ASSERT_NO_THROW(observer = new TShellWindowObserver(&app));
  observer->Active = true;
  EXPECT_EQ(TShellWindowObserver::ShellWindowsObject(), nullptr);
  sim.shell.Open(u"http://a/");
  // One attempt at the first poll, then one every kReconnectTicks polls.
  sim.windowing.RunFor(75);
  EXPECT_EQ(sim.shell.Calls(ShellCall::kCreateShellWindows), 1);
  sim.windowing.RunFor(75 * (3 * TShellWindowObserver::kReconnectTicks - 1));
  EXPECT_EQ(sim.shell.Calls(ShellCall::kCreateShellWindows), 3);
  EXPECT_EQ(sim.shell.Calls(ShellCall::kCount), 0);
  EXPECT_TRUE(observer->WindowList().empty());
  sim.shell.StartServer();
  sim.windowing.RunFor(75 * TShellWindowObserver::kReconnectTicks);
  ASSERT_EQ(observer->WindowList().size(), 1u);
  EXPECT_EQ(observer->WindowList()[0]->URL, "http://a/");
  EXPECT_TRUE(sim.windowing.MessageBoxes().empty());
}

TEST(ObserverStart, WithoutComTheObserverIsMadeAndStaysEmpty) {
  sim::SimPlatform sim;
  sim.com.fail_with = static_cast<HResult>(0x8001010Eu);
  TApplication app(sim.platform);
  app.Initialize();
  auto* observer = new TShellWindowObserver(&app);
  observer->Active = true;
  sim.shell.Open(u"http://a/");
  sim.windowing.RunFor(75 * 100);
  EXPECT_EQ(sim.shell.Calls(ShellCall::kCreateShellWindows), 0);
  EXPECT_TRUE(observer->WindowList().empty());
}

// The shell's server goes, or the collection turns out not to implement the
// call, at one of the collection's own calls: the entries stay as they are,
// the collection is dropped, and a new one is made a few seconds later.
struct GoneCase {
  const char* name;
  ShellCall call;
  int nth;
  bool step_by_step_only;  // the purge's search, which the observer's poll does not make
  std::vector<std::string> entries;
  HResult hr = hresult::kServerUnavailable;
};

void PrintTo(const GoneCase& c, std::ostream* os) { *os << c.name; }

const std::vector<std::string> kAllFourHeld = {"1 http://a2/", "2 http://b/", "3 http://d/",
                                               "4 http://c/"};
const GoneCase kGoneCases[] = {
    {"ScanCount", ShellCall::kCount, 1, false, kBefore},
    {"ScanItem", ShellCall::kItem, 2, false, kUpdatedOnly},
    {"PurgeCount", ShellCall::kCount, 2, true, kAllFourHeld},
    {"PurgeItem", ShellCall::kItem, 5, true, kAllFourHeld},
    {"ScanCountNotImplemented", ShellCall::kCount, 1, false, kBefore, hresult::kNotImplemented},
    {"ScanItemNotImplemented", ShellCall::kItem, 2, false, kUpdatedOnly, hresult::kNotImplemented},
    {"PurgeCountNotImplemented", ShellCall::kCount, 2, true, kAllFourHeld,
     hresult::kNotImplemented},
    {"PurgeItemNotImplemented", ShellCall::kItem, 5, true, kAllFourHeld, hresult::kNotImplemented},
};

class ObserverShellGone : public ScenarioTest,
                          public ::testing::WithParamInterface<std::tuple<GoneCase, Poll>> {
 protected:
  void SetUp() override {
    if (std::get<1>(GetParam()) == Poll::kStepByStep) UseStepByStepPoll();
  }
  const GoneCase& Case() const { return std::get<0>(GetParam()); }
};

TEST_P(ObserverShellGone, EntriesStayAndTheCollectionIsMadeAgain) {
  Prepare();
  sim.shell.FailCall(Case().call, Case().hr, {}, Case().nth);
  const int made = sim.shell.Calls(ShellCall::kCreateShellWindows);
  Tick();
  if (poll == Poll::kStepByStep) {
    EXPECT_EQ(Entries(), Case().entries);
    EXPECT_TRUE(collection_gone);
    return;
  }
  if (Case().step_by_step_only) {
    // Never reached: the tick did all of it and the collection stays.
    EXPECT_EQ(sim.shell.PendingFailures(), 1);
    EXPECT_EQ(Entries(), kAfter);
    EXPECT_NE(TShellWindowObserver::ShellWindowsObject(), nullptr);
    return;
  }
  EXPECT_EQ(Entries(), Case().entries);
  EXPECT_EQ(TShellWindowObserver::ShellWindowsObject(), nullptr);
  Tick(TShellWindowObserver::kReconnectTicks - 1);
  EXPECT_EQ(sim.shell.Calls(ShellCall::kCreateShellWindows), made);
  EXPECT_EQ(Entries(), Case().entries);
  Tick();
  EXPECT_EQ(sim.shell.Calls(ShellCall::kCreateShellWindows), made + 1);
  EXPECT_EQ(Entries(), kAfter);
}

INSTANTIATE_TEST_SUITE_P(EachCollectionCall, ObserverShellGone,
                         ::testing::Combine(::testing::ValuesIn(kGoneCases),
                                            ::testing::Values(Poll::kObserver, Poll::kStepByStep)),
                         [](const auto& info) {
                           return std::string(std::get<0>(info.param).name) + "_" +
                                  PollName(std::get<1>(info.param));
                         });

TEST_F(ObserverTest, TheShellRestartsWhileTheProgramRuns) {
  sim.shell.Open(u"http://a/");
  const int b = sim.shell.Open(u"http://b/");
  Tick();
  events.clear();
  sim.shell.StopServer();
  sim.shell.Close(b);
  Tick(5 * TShellWindowObserver::kReconnectTicks);
  // Frozen as it was, without a word.
  EXPECT_EQ(Entries(), (std::vector<std::string>{"1 http://a/", "2 http://b/"}));
  EXPECT_TRUE(events.empty());
  EXPECT_TRUE(sim.windowing.MessageBoxes().empty());
  // The old collection's calls fail for good; a new one is made within a few seconds.
  sim.shell.StartServer();
  Tick(TShellWindowObserver::kReconnectTicks);
  EXPECT_EQ(Entries(), std::vector<std::string>{"1 http://a/"});
  EXPECT_EQ(events, std::vector<std::string>{"changed 1"});
}

// Count failing now and then, even for almost 3 s on end, keeps the
// collection; each answer starts the count of failures afresh.
TEST_F(ObserverTest, FailuresOfTheCollectionForAWhileKeepIt) {
  for (const std::string& description : {std::string(), kDescribed}) {
    SCOPED_TRACE(description.empty() ? "system error" : "described");
    sim.shell.ClearFailures();
    const int a = sim.shell.Open(u"http://a/");
    Tick();
    const ShellWindowsRef kept = TShellWindowObserver::ShellWindowsObject();
    ASSERT_NE(kept, nullptr);
    sim.shell.Close(a);
    for (int round = 0; round < 2; ++round) {
      for (int i = 1; i < TShellWindowObserver::kFailedCountsBeforeDrop; ++i) {
        sim.shell.FailCall(ShellCall::kCount, hresult::kFail, description);
      }
      Tick(TShellWindowObserver::kFailedCountsBeforeDrop - 1);
      EXPECT_EQ(TShellWindowObserver::ShellWindowsObject(), kept);
      Tick();
      EXPECT_TRUE(Entries().empty());
    }
    EXPECT_EQ(sim.shell.PendingFailures(), 0);
  }
  EXPECT_EQ(sim.shell.Calls(ShellCall::kCreateShellWindows), 1);
  EXPECT_TRUE(sim.windowing.MessageBoxes().empty());
}

// A Count that fails at every poll for 3 s: the collection is dropped and
// made again 3 s later, as for a missing shell; the entries stay meanwhile.
TEST_F(ObserverTest, ACountThatFailsAtEveryPollFor3SecondsDropsTheCollection) {
  sim.shell.Open(u"http://a/");
  Tick();
  sim.shell.AnswerCollectionCalls(hresult::kFail);
  sim.shell.Open(u"http://b/");
  sim.shell.ResetCalls();
  Tick(TShellWindowObserver::kFailedCountsBeforeDrop - 1);
  EXPECT_NE(TShellWindowObserver::ShellWindowsObject(), nullptr);
  Tick();
  EXPECT_EQ(TShellWindowObserver::ShellWindowsObject(), nullptr);
  EXPECT_EQ(sim.shell.Calls(ShellCall::kCount), TShellWindowObserver::kFailedCountsBeforeDrop);
  EXPECT_EQ(Entries(), std::vector<std::string>{"1 http://a/"});
  sim.shell.AnswerCollectionCalls(0);
  Tick(TShellWindowObserver::kReconnectTicks - 1);
  EXPECT_EQ(sim.shell.Calls(ShellCall::kCreateShellWindows), 0);
  Tick();
  EXPECT_EQ(sim.shell.Calls(ShellCall::kCreateShellWindows), 1);
  EXPECT_EQ(Entries(), (std::vector<std::string>{"1 http://a/", "2 http://b/"}));
  EXPECT_TRUE(sim.windowing.MessageBoxes().empty());
}

// Wine's own collection answers E_NOTIMPL to Count and Item: it is of no use
// and is treated as no shell at all. The program then asks the shell for two
// things every 3 s instead of one every 75 ms, and takes the windows up as
// soon as a collection answers.
TEST_F(ObserverTest, ACollectionThatImplementsNothingIsMadeAgainEvery3Seconds) {
  sim.shell.Open(u"http://a/");
  sim.shell.AnswerCollectionCalls(hresult::kNotImplemented);
  constexpr int kPeriods = 5;
  Tick(kPeriods * TShellWindowObserver::kReconnectTicks);
  EXPECT_EQ(sim.shell.Calls(ShellCall::kCreateShellWindows), kPeriods);
  EXPECT_EQ(sim.shell.Calls(ShellCall::kCount), kPeriods);
  EXPECT_EQ(sim.shell.TotalCalls(), 2 * kPeriods);
  EXPECT_EQ(TShellWindowObserver::ShellWindowsObject(), nullptr);
  EXPECT_TRUE(Entries().empty());
  // Meanwhile the poll timer wakes the program only for the next try.
  const auto* timer = dynamic_cast<const TTimer*>(observer->FindComponent("PollTimer"));
  ASSERT_NE(timer, nullptr);
  EXPECT_EQ(timer->Interval(), TShellWindowObserver::kReconnectInterval);
  sim.shell.AnswerCollectionCalls(0);
  Tick(TShellWindowObserver::kReconnectTicks);
  EXPECT_EQ(Entries(), std::vector<std::string>{"1 http://a/"});
  EXPECT_EQ(timer->Interval(), TShellWindowObserver::kPollInterval);
  EXPECT_TRUE(sim.windowing.MessageBoxes().empty());
}

// A browser that does not implement a call (Wine's answers E_NOTIMPL to
// LocationName) is no reason to drop the collection.
TEST_F(ObserverTest, ABrowserWithoutACallKeepsTheCollection) {
  const int a = sim.shell.Open(u"http://a/");
  for (int i = 0; i < 2 * TShellWindowObserver::kFailedCountsBeforeDrop; ++i) {
    sim.shell.FailCallOn(a, ShellCall::kLocationName, hresult::kNotImplemented);
  }
  Tick(2 * TShellWindowObserver::kFailedCountsBeforeDrop);
  EXPECT_NE(TShellWindowObserver::ShellWindowsObject(), nullptr);
  EXPECT_EQ(sim.shell.Calls(ShellCall::kCreateShellWindows), 1);
  Tick();
  EXPECT_EQ(Entries(), std::vector<std::string>{"1 http://a/"});
}

TEST_F(ObserverTest, TextsOfAnyLengthAndContentAreKept) {
  std::u16string long_url = u"http://long/";
  long_url.append(65536, u'x');
  const std::u16string odd = std::u16string(u"http://odd/\t\r\n,\x01") + char16_t(0x20AC) +
                             char16_t(0x4E2D) + char16_t(0xD83D) + char16_t(0xDE00) +
                             std::u16string(1, u'\0') + u"end";
  sim.shell.Open(long_url, std::u16string(10000, u't'));
  sim.shell.Open(odd, u"\x4E2D\x6587");
  Tick();
  ASSERT_EQ(observer->WindowList().size(), 2u);
  EXPECT_EQ(observer->WindowList()[0]->URL.size(), long_url.size());
  EXPECT_EQ(observer->WindowList()[0]->Title, std::string(10000, 't'));
  EXPECT_EQ(observer->WindowList()[1]->URL,
            std::string("http://odd/\t\r\n,\x01\x80???") + std::string(1, '\0') + "end");
  EXPECT_EQ(observer->WindowList()[1]->Title, "??");
}

TEST_F(ObserverTest, DestructionReleasesEveryBrowser) {
  sim.shell.Open(u"http://a/");
  sim.shell.Open(u"http://b/");
  Tick();
  EXPECT_GT(sim.shell.LiveBrowsers(), 0);
  delete observer;
  observer = nullptr;
  EXPECT_EQ(sim.shell.LiveBrowsers(), 0);
  EXPECT_EQ(TShellWindowObserver::ShellWindowsObject(), nullptr);
}

}  // namespace
}  // namespace velocane
