// The observer's poll against the step-by-step poll. Two observers follow one
// simulated shell through long random scripts — windows opening, navigating,
// retitled, closing, tabs sharing a window, items without a browser, nil
// items, the filter switched, the shell going away and coming back — with one
// call failing in many ticks, and after every tick they must agree on all an
// owner can see: the events with their arguments in order, the entries, the
// count, the log, the browser under examination and whether the collection's
// server has gone. Each tick also stays within the observer's call budget.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <map>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "components/ShellWindowScan.h"
#include "components/uShellWindowObserver.h"
#include "platform/framework/application.h"
#include "platform/sim/sim_platform.h"
#include "tests/support/literal_shell_window_scan.h"

namespace velocane {
namespace {

using sim::ShellCall;
using sim::SimShell;

std::string Describe(const TShellWindow& e) {
  char hwnd[24];
  std::snprintf(hwnd, sizeof hwnd, "%llX", static_cast<unsigned long long>(e.Hwnd.value));
  return std::to_string(e.Number) + " " + hwnd + " [" + e.URL + "] [" + e.Title + "] browser of " +
         std::to_string(SimShell::IdOf(e.Browser.get()));
}

// One observer and what its events told during the current tick.
class Watched {
 public:
  Watched(TApplication& app, const char* name) : observer(new TShellWindowObserver(&app, name)) {
    observer->OnChangedNumber = [this](TComponent& sender, int number) {
      events.push_back(Sender(sender) + "changed " + std::to_string(number));
    };
    observer->OnAddedEntry = [this](TComponent& sender, TShellWindow& e, const std::string& line) {
      events.push_back(Sender(sender) + "added entry " + std::to_string(IndexOf(e)) + ": " +
                       Describe(e) + " | " + line);
    };
  }

  std::vector<std::string> Entries() const {
    std::vector<std::string> entries;
    for (const TShellWindowRef& e : observer->WindowList()) entries.push_back(Describe(*e));
    return entries;
  }

  TShellWindowObserver* observer;  // owned by the application
  std::vector<std::string> events;

 private:
  std::string Sender(const TComponent& sender) const {
    return &sender == observer ? "" : "(another sender) ";
  }
  int IndexOf(const TShellWindow& e) const {
    const auto& list = observer->WindowList();
    for (std::size_t i = 0; i < list.size(); ++i) {
      if (list[i].get() == &e) return static_cast<int>(i);
    }
    return -1;
  }
};

// The one call that fails in a tick: the nth Count or Item of the tick, or the
// nth call of a kind on one window's objects.
struct Failure {
  ShellCall call;
  int id;  // 0 for the collection's own calls
  int nth;
  HResult hr;
  std::string description;

  std::string Text() const {
    return std::string(sim::ShellCallName(call)) + " #" + std::to_string(nth) +
           (id != 0 ? " of window " + std::to_string(id) : "") + " hr " + std::to_string(hr) +
           (description.empty() ? " (system error)" : " (described)");
  }
};

// What happened to the failures over a script.
struct Tally {
  int ticks = 0;
  int failures = 0;
  int shared = 0;     // both polls made the call and failed at it
  int step_only = 0;  // only the step-by-step poll makes the call: compared with its tick without
  int unreached = 0;  // neither came to it
  int gone = 0;       // ticks that found the collection unusable
  int added = 0;      // events seen
  int changed = 0;
  long long observer_calls = 0;
  long long step_calls = 0;
};

// A random script on one simulated shell, the two observers following it.
class Differential {
 public:
  explicit Differential(std::uint32_t seed) : random_(seed) {
    for (Watched* w : {&fast_, &step_}) w->observer->Active = false;  // the test polls
  }

  // Runs `ticks` ticks; false at the first disagreement, with `why` telling it.
  bool Run(int ticks, Tally& tally, std::string& why) {
    for (int tick = 0; tick < ticks; ++tick) {
      actions_.clear();
      Act();
      if (!Poll(tally, why)) {
        why = "tick " + std::to_string(tick) + " after" + actions_ + ": " + why;
        return false;
      }
    }
    return true;
  }

 private:
  int Pick(int n) { return static_cast<int>(random_() % static_cast<std::uint32_t>(n)); }
  bool Chance(int percent) { return Pick(100) < percent; }

  std::u16string Url() {
    static const char16_t* const kUrls[] = {
        u"http://a.example/",         u"http://a.example/my%20page",
        u"https://b.example/%20%20x", u"ftp://files.example/",
        u"gopher://hole.example/",    u"file:///C:/Users",
        u"C:\\http\\page.html",       u"about:blank",
        u"http://c.example/?q=1,2;3", u"http://d.example/%2020%41"};
    return kUrls[Pick(10)];
  }
  std::u16string Title() {
    static const char16_t* const kTitles[] = {u"", u"A", u"Page, with a comma", u"T;itle"};
    return kTitles[Pick(4)];
  }
  int AnyItem() {
    const std::vector<int> ids = sim_.shell.Ids();
    return ids.empty() ? 0 : ids[static_cast<std::size_t>(Pick(static_cast<int>(ids.size())))];
  }
  int AnyBrowser() {
    std::vector<int> browsers;
    for (int id : sim_.shell.Ids()) {
      if (kinds_[id] != Kind::kForeign && kinds_[id] != Kind::kNil) browsers.push_back(id);
    }
    return browsers.empty()
               ? 0
               : browsers[static_cast<std::size_t>(Pick(static_cast<int>(browsers.size())))];
  }
  void Note(const std::string& what) { actions_ += " " + what; }

  enum class Kind { kWindow, kTab, kForeign, kNil };

  // The script's step before a tick.
  void Act() {
    // An item without a browser ends every tick it is met in: it does not stay long.
    for (int id : sim_.shell.Ids()) {
      if (kinds_[id] == Kind::kForeign && Chance(50)) {
        sim_.shell.Close(id);
        Note("close-foreign " + std::to_string(id));
      }
    }
    const int actions = Pick(4);
    for (int i = 0; i < actions; ++i) {
      const int roll = Pick(100);
      const bool room = sim_.shell.Ids().size() < 12;
      if (roll < 22 && room) {
        const int id = sim_.shell.Open(Url(), Title());
        kinds_[id] = Kind::kWindow;
        Note("open " + std::to_string(id));
      } else if (roll < 30 && room) {
        const int host = AnyBrowser();
        if (host == 0) continue;
        const int id = sim_.shell.Open(Url(), Title(), sim_.shell.HwndOf(host));
        kinds_[id] = Kind::kTab;
        Note("tab " + std::to_string(id) + " of " + std::to_string(host));
      } else if (roll < 55) {
        const int id = AnyBrowser();
        if (id == 0) continue;
        sim_.shell.Navigate(id, Url(), Title());
        Note("navigate " + std::to_string(id));
      } else if (roll < 63) {
        const int id = AnyBrowser();
        if (id == 0) continue;
        sim_.shell.Retitle(id, Title());
        Note("retitle " + std::to_string(id));
      } else if (roll < 80) {
        const int id = AnyItem();
        if (id == 0) continue;
        sim_.shell.Close(id);
        Note("close " + std::to_string(id));
      } else if (roll < 83 && room) {
        kinds_[sim_.shell.AddForeignItem()] = Kind::kForeign;
        Note("foreign");
      } else if (roll < 87 && room) {
        kinds_[sim_.shell.AddNilItem()] = Kind::kNil;
        Note("nil");
      } else if (roll < 90) {
        const bool dirs = !fast_.observer->LoggingDirs;
        fast_.observer->LoggingDirs = step_.observer->LoggingDirs = dirs;
        Note(dirs ? "dirs-on" : "dirs-off");
      } else if (roll < 91) {
        const char delimiter = ",;|"[Pick(3)];
        fast_.observer->Delimiter = step_.observer->Delimiter = delimiter;
        Note("delimiter");
      } else if (roll < 92) {
        // Now and then exactly midnight, which the log writes without a time.
        sim_.process.local_time.second = Pick(2) * Pick(60);
        sim_.process.local_time.hour = Pick(2) * 12;
        sim_.process.local_time.minute = 0;
        Note("clock");
      } else if (roll < 94 && server_running_) {
        sim_.shell.StopServer();
        server_running_ = false;
        Note("stop-server");
      }
    }
    if (!server_running_ && Chance(30)) {
      sim_.shell.StartServer();
      server_running_ = true;
      Note("start-server");
    }
  }

  std::optional<Failure> ChooseFailure() {
    if (!Chance(40)) return std::nullopt;
    Failure f{};
    const int items = static_cast<int>(sim_.shell.Ids().size());
    const int where = Pick(100);
    if (where < 10) {
      f.call = ShellCall::kCount;
      f.nth = 1 + Pick(3);
    } else if (where < 30) {
      f.call = ShellCall::kItem;
      f.nth = 1 + Pick(items + 4);
    } else {
      f.id = AnyItem();
      if (f.id == 0) return std::nullopt;
      static const ShellCall kCalls[] = {ShellCall::kQueryBrowser, ShellCall::kLocationURL,
                                         ShellCall::kLocationName, ShellCall::kHwnd,
                                         ShellCall::kHwnd};
      f.call = kCalls[Pick(5)];
      f.nth = Chance(70) ? 1 : 2 + Pick(2);
    }
    const int kind = Pick(100);
    f.hr = hresult::kFail;
    if (kind < 45) {
      f.description = "The object described this failure.";
    } else if (kind >= 90) {
      // The server of the collection, or of a browser, has gone.
      f.hr = f.id == 0 ? hresult::kServerUnavailable : hresult::kDisconnected;
      if (kind >= 95) f.description = "Gone, and described.";
    } else if (kind >= 85) {
      // A collection without the call is of no use; a browser without it fails this once.
      f.hr = hresult::kNotImplemented;
    }
    return f;
  }

  void Inject(const Failure& f) {
    if (f.id == 0) {
      sim_.shell.FailCall(f.call, f.hr, f.description, f.nth);
    } else {
      sim_.shell.FailCallOn(f.id, f.call, f.hr, f.description, f.nth);
    }
  }
  // Whether the journal holds the call `f` names.
  static bool Made(const std::vector<SimShell::CallRecord>& journal, const Failure& f) {
    int seen = 0;
    for (const SimShell::CallRecord& record : journal) {
      if (record.call == f.call && (f.id == 0 || record.id == f.id)) ++seen;
    }
    return seen >= f.nth;
  }

  // One tick of both polls, compared.
  bool Poll(Tally& tally, std::string& why) {
    ++tally.ticks;
    if (!collection_) {
      try {
        collection_ = sim_.shell.CreateShellWindows();
      } catch (const EOleSysError&) {
        return true;  // no shell: neither polls
      }
    }
    const int items = static_cast<int>(sim_.shell.Ids().size());
    const std::optional<Failure> failure = ChooseFailure();
    if (failure) {
      ++tally.failures;
      Note("[fail " + failure->Text() + "]");
    }

    sim_.shell.KeepJournal(true);
    sim_.shell.ResetCalls();
    fast_.events.clear();
    if (failure) Inject(*failure);
    const TPollEnd fast_end = TShellWindowScan(*fast_.observer).Scan(*collection_);
    const int fast_current = SimShell::IdOf(TShellWindowObserver::CurrentBrowser().get());
    const int fast_calls = sim_.shell.TotalCalls();
    const bool fast_failed = failure && sim_.shell.PendingFailures() == 0;
    sim_.shell.ClearFailures();

    sim_.shell.ResetCalls();
    step_.events.clear();
    // A failure at a call the observer's poll does not make is left out of
    // the step-by-step tick: the observer's tick is the one the step-by-step
    // poll makes when that call succeeds. Its own outcome (an entry dropped
    // for a failed search, a tick ended by a failed cast in the purge, a new
    // window skipped for a failed second read of its handle) cannot be
    // reproduced by a poll that never makes the call.
    if (fast_failed) Inject(*failure);
    const TPollEnd step_end = TLiteralShellWindowScan(*step_.observer).Scan(*collection_);
    const int step_current = SimShell::IdOf(TShellWindowObserver::CurrentBrowser().get());
    const int step_calls = sim_.shell.TotalCalls();
    if (fast_failed) {
      ++tally.shared;
      if (sim_.shell.PendingFailures() != 0) {
        why = "the step-by-step poll never made the call that failed in the observer's";
        return false;
      }
    } else if (failure) {
      ++(Made(sim_.shell.Journal(), *failure) ? tally.step_only : tally.unreached);
    }
    sim_.shell.ClearFailures();
    sim_.shell.KeepJournal(false);
    tally.observer_calls += fast_calls;
    tally.step_calls += step_calls;

    // The observer's budget: one Count and five calls an item; a failed call
    // can cost one more read of a handle that the purge then needs.
    const int budget = 1 + 5 * items + (fast_failed ? 1 : 0);
    if (fast_calls > budget) {
      why = std::to_string(fast_calls) + " calls for " + std::to_string(items) + " items";
      return false;
    }
    if (fast_end != step_end) {
      return Differ("how the poll ended", static_cast<int>(fast_end), static_cast<int>(step_end),
                    why);
    }
    if (fast_.events != step_.events) return Differ("events", fast_.events, step_.events, why);
    if (fast_.Entries() != step_.Entries()) {
      return Differ("entries", fast_.Entries(), step_.Entries(), why);
    }
    if (fast_.observer->WindowCount() != step_.observer->WindowCount()) {
      return Differ("WindowCount", fast_.observer->WindowCount(), step_.observer->WindowCount(),
                    why);
    }
    if (fast_.observer->EntryLog() != step_.observer->EntryLog()) {
      return Differ("log", fast_.observer->EntryLog().size(), step_.observer->EntryLog().size(),
                    why);
    }
    if (fast_current != step_current) {
      return Differ("CurrentBrowser", fast_current, step_current, why);
    }
    for (const std::string& event : fast_.events) {
      ++(event.starts_with("added") ? tally.added : tally.changed);
    }
    if (fast_end == TPollEnd::kUnusable) {
      ++tally.gone;
      collection_.reset();
    }
    return true;
  }

  template <class T>
  static bool Differ(const char* what, const T& fast, const T& step, std::string& why) {
    std::ostringstream text;
    text << what << " differ:\n  observer's poll: " << ::testing::PrintToString(fast)
         << "\n  step by step:    " << ::testing::PrintToString(step);
    why = text.str();
    return false;
  }

  std::mt19937 random_;
  sim::SimPlatform sim_;
  TApplication app_{sim_.platform};
  [[maybe_unused]] bool initialized_ = (app_.Initialize(), true);
  Watched fast_{app_, "Observer"};
  Watched step_{app_, "StepByStep"};
  std::map<int, Kind> kinds_;
  ShellWindowsRef collection_;
  bool server_running_ = true;
  std::string actions_;
};

constexpr int kTicks = 3000;

class ObserverDifferential : public ::testing::TestWithParam<std::uint32_t> {};

TEST_P(ObserverDifferential, BothPollsAgreeAfterEveryTick) {
  Tally tally;
  std::string why;
  {
    Differential script(GetParam());
    ASSERT_TRUE(script.Run(kTicks, tally, why)) << why;
  }
  std::printf(
      "seed %u: %d ticks, %d failures (%d at a call both make, %d at a call only the "
      "step-by-step poll makes, %d reached by neither), %d ticks found the collection unusable "
      "(server gone, call not implemented), "
      "%d added and %d changed events; calls %lld against %lld\n",
      GetParam(), tally.ticks, tally.failures, tally.shared, tally.step_only, tally.unreached,
      tally.gone, tally.added, tally.changed, tally.observer_calls, tally.step_calls);
  // The script reaches what it is there for.
  EXPECT_GT(tally.shared, 200);
  EXPECT_GT(tally.step_only, 20);
  EXPECT_GT(tally.gone, 5);
  EXPECT_GT(tally.added, 200);
  EXPECT_GT(tally.changed, 200);
}

INSTANTIATE_TEST_SUITE_P(Seeds, ObserverDifferential,
                         ::testing::Values(1u, 2u, 3u, 20240309u, 77777u, 4242424242u),
                         [](const auto& info) { return "Seed" + std::to_string(info.param); });

}  // namespace
}  // namespace velocane
