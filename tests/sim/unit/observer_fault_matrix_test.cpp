// The observer's tick under every COM fault: the k-th call of the tick, for
// every k, fails with the OLE system error (a failing HRESULT, no
// description), with the OLE exception (the object described the failure)
// and, for the collection's own calls, with its server gone; and the making of
// the collection fails. One table says what each call site does; the tick is
// checked against it and for everything else staying as it was: entries with
// their handles, titles and browsers, the count, the log, the collection, no
// error box, and no browser left referenced once the observer is gone.
#include <gtest/gtest.h>

#include <cstdio>
#include <exception>
#include <map>
#include <string>
#include <vector>

#include "components/uShellWindowObserver.h"
#include "platform/framework/application.h"
#include "platform/sim/sim_platform.h"

namespace velocane {
namespace {

using sim::ShellCall;
using sim::SimShell;

enum class ErrorKind { kSystem, kDescribed, kGone };

const char* NameOf(ErrorKind kind) {
  switch (kind) {
    case ErrorKind::kSystem:
      return "system error";
    case ErrorKind::kDescribed:
      return "OLE exception";
    case ErrorKind::kGone:
      return "server gone";
  }
  return "?";
}

// What a failure at a call site does to the tick.
enum class Behaviour {
  kTickEnds,       // the windows before the failing one are done; no purge
  kWindowSkipped,  // that window is left alone for this tick; the rest runs
  kEntryDropped,   // the entry the purge is looking for counts as closed
};

const char* NameOf(Behaviour behaviour) {
  switch (behaviour) {
    case Behaviour::kTickEnds:
      return "tick ends";
    case Behaviour::kWindowSkipped:
      return "window skipped";
    case Behaviour::kEntryDropped:
      return "entry dropped";
  }
  return "?";
}

struct SiteRule {
  ShellCall call;
  bool purge;  // the purge reading a handle that the scan did not read
  Behaviour system;
  Behaviour described;
};

// A server gone at Count or Item ends the tick as well, and the collection is
// made again kReconnectTicks polls later.
const SiteRule kRules[] = {
    {ShellCall::kCount, false, Behaviour::kTickEnds, Behaviour::kTickEnds},
    {ShellCall::kItem, false, Behaviour::kTickEnds, Behaviour::kTickEnds},
    // Asking for the browser fails as a cast, whatever the kind.
    {ShellCall::kQueryBrowser, false, Behaviour::kTickEnds, Behaviour::kTickEnds},
    {ShellCall::kLocationURL, false, Behaviour::kTickEnds, Behaviour::kWindowSkipped},
    {ShellCall::kLocationName, false, Behaviour::kTickEnds, Behaviour::kWindowSkipped},
    {ShellCall::kHwnd, false, Behaviour::kTickEnds, Behaviour::kWindowSkipped},
    {ShellCall::kHwnd, true, Behaviour::kEntryDropped, Behaviour::kEntryDropped},
};

// What an owner sees after the failing tick, by name.
struct Outcome {
  const char* name;
  std::vector<std::string> entries;  // "number address"
  std::vector<std::string> events;
};

// Entries 1 a, 2 b, 3 e, 4 d are held; the filter is on (LoggingDirs false).
// Then a and b navigate, e shows a folder (left out by the filter, so only the
// purge reads its handle), d closes and c opens: the collection is a, b, e, c.
const std::vector<std::string> kBefore = {"1 http://a/", "2 http://b/", "3 http://e/",
                                          "4 http://d/"};
const std::vector<std::string> kCaughtUp = {"1 http://a2/", "2 http://b2/", "3 http://e/",
                                            "4 http://c/"};
const Outcome kOutcomes[] = {
    {"all",
     kCaughtUp,
     {"added 1 http://a2/", "added 2 http://b2/", "changed 5", "added 5 http://c/", "changed 4"}},
    {"nothing", kBefore, {}},
    {"a only",
     {"1 http://a2/", "2 http://b/", "3 http://e/", "4 http://d/"},
     {"added 1 http://a2/"}},
    {"a and b only",
     {"1 http://a2/", "2 http://b2/", "3 http://e/", "4 http://d/"},
     {"added 1 http://a2/", "added 2 http://b2/"}},
    {"all but a",
     {"1 http://a/", "2 http://b2/", "3 http://e/", "4 http://c/"},
     {"added 2 http://b2/", "changed 5", "added 5 http://c/", "changed 4"}},
    {"all but b",
     {"1 http://a2/", "2 http://b/", "3 http://e/", "4 http://c/"},
     {"added 1 http://a2/", "changed 5", "added 5 http://c/", "changed 4"}},
    {"all but c",
     {"1 http://a2/", "2 http://b2/", "3 http://e/"},
     {"added 1 http://a2/", "added 2 http://b2/", "changed 3"}},
    {"all, e dropped",
     {"1 http://a2/", "2 http://b2/", "3 http://c/"},
     {"added 1 http://a2/", "added 2 http://b2/", "changed 5", "added 5 http://c/", "changed 3"}},
};

class World {
 public:
  World() {
    app.Initialize();
    sim.windowing.SetErrorHandler([this](std::exception_ptr error) {
      ++errors;
      app.ShowException(error);
    });
    observer = new TShellWindowObserver(&app, "Observer");
    observer->Active = true;
    observer->LoggingDirs = false;
    observer->OnChangedNumber = [this](TComponent&, int number) {
      events.push_back("changed " + std::to_string(number));
    };
    observer->OnAddedEntry = [this](TComponent&, TShellWindow& e, const std::string& line) {
      events.push_back("added " + std::to_string(e.Number) + " " + e.URL);
      lines.push_back(line);
    };
    a = Open("http://a/", "A");
    b = Open("http://b/", "B");
    e = Open("http://e/", "E");
    d = Open("http://d/", "D");
  }

  void Tick(int ticks = 1) { sim.windowing.RunFor(TShellWindowObserver::kPollInterval * ticks); }

  // Up to the failing tick.
  void Prepare() {
    Tick();
    ASSERT_EQ(Entries(), kBefore);
    events.clear();
    lines.clear();
    Navigate(a, "http://a2/", "A2");
    Navigate(b, "http://b2/", "B2");
    Navigate(e, "file:///C:/e", "E folder");
    sim.shell.Close(d);
    c = Open("http://c/", "C");
    collection = TShellWindowObserver::ShellWindowsObject();
    log_before = observer->EntryLog().size();
    sim.shell.ResetCalls();
  }

  std::vector<std::string> Entries() const {
    std::vector<std::string> entries;
    for (const TShellWindowRef& entry : observer->WindowList()) {
      entries.push_back(std::to_string(entry->Number) + " " + entry->URL);
    }
    return entries;
  }
  std::string Seen() const {
    for (const Outcome& outcome : kOutcomes) {
      if (outcome.entries == Entries() && outcome.events == events) return outcome.name;
    }
    return "unlisted: " + ::testing::PrintToString(Entries()) + " " +
           ::testing::PrintToString(events);
  }
  const char* PositionOf(int id) const {
    if (id == a) return "a (first)";
    if (id == b) return "b (second)";
    if (id == e) return "e (third, left out)";
    if (id == c) return "c (last, new)";
    return "-";
  }

  // Everything but the numbers and addresses: each entry has its window's
  // handle, the browser it was first seen through and the title that came
  // with its address; the count; the log has a line for each event.
  void ExpectConsistent() const {
    const std::map<std::string, std::pair<int, std::string>> windows = {
        {"http://a/", {a, "A"}},   {"http://a2/", {a, "A2"}}, {"http://b/", {b, "B"}},
        {"http://b2/", {b, "B2"}}, {"http://e/", {e, "E"}},   {"http://d/", {d, "D"}},
        {"http://c/", {c, "C"}}};
    for (const TShellWindowRef& entry : observer->WindowList()) {
      ASSERT_TRUE(windows.contains(entry->URL)) << entry->URL;
      const auto& [id, title] = windows.at(entry->URL);
      EXPECT_EQ(entry->Hwnd, sim.shell.HwndOf(id)) << entry->URL;
      EXPECT_EQ(SimShell::IdOf(entry->Browser.get()), id) << entry->URL;
      EXPECT_EQ(entry->Title, title) << entry->URL;
    }
    EXPECT_EQ(observer->WindowCount(), static_cast<int>(observer->WindowList().size()));
    ASSERT_EQ(observer->EntryLog().size(), log_before + lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
      EXPECT_EQ(observer->EntryLog()[log_before + i], lines[i]);
    }
    EXPECT_TRUE(sim.windowing.MessageBoxes().empty());
    EXPECT_EQ(errors, 0);
  }

  // The observer goes; every browser reference it held goes with it.
  void ExpectNothingLeftBehind() {
    collection.reset();
    delete observer;
    observer = nullptr;
    EXPECT_EQ(sim.shell.LiveBrowsers(), 0);
    EXPECT_EQ(TShellWindowObserver::ShellWindowsObject(), nullptr);
  }

  sim::SimPlatform sim;
  TApplication app{sim.platform};
  TShellWindowObserver* observer = nullptr;  // owned by the application
  std::vector<std::string> events;
  std::vector<std::string> lines;
  int errors = 0;
  int a = 0, b = 0, e = 0, d = 0, c = 0;
  ShellWindowsRef collection;
  std::size_t log_before = 0;

 private:
  int Open(const std::string& url, const std::string& title) {
    return sim.shell.Open(std::u16string(url.begin(), url.end()),
                          std::u16string(title.begin(), title.end()));
  }
  void Navigate(int id, const std::string& url, const std::string& title) {
    sim.shell.Navigate(id, std::u16string(url.begin(), url.end()),
                       std::u16string(title.begin(), title.end()));
  }
};

// The outcome a behaviour gives at the failing window.
std::string Expected(Behaviour behaviour, const World& w, int window) {
  switch (behaviour) {
    case Behaviour::kTickEnds:
      if (window == 0 || window == w.a) return "nothing";
      return window == w.b ? "a only" : "a and b only";
    case Behaviour::kWindowSkipped:
      if (window == w.a) return "all but a";
      if (window == w.b) return "all but b";
      if (window == w.c) return "all but c";
      return "all";  // e is left out by the filter anyway
    case Behaviour::kEntryDropped:
      return "all, e dropped";
  }
  return "?";
}

void Fail(sim::SimShell& shell, ShellCall call, ErrorKind kind, int nth) {
  switch (kind) {
    case ErrorKind::kSystem:
      shell.FailCall(call, hresult::kFail, {}, nth);
      break;
    case ErrorKind::kDescribed:
      shell.FailCall(call, hresult::kFail, "The object described this failure.", nth);
      break;
    case ErrorKind::kGone:
      shell.FailCall(call, hresult::kServerUnavailable, {}, nth);
      break;
  }
}

TEST(ObserverFaultMatrix, EveryCallOfTheTickUnderEveryKindOfFailure) {
  // The calls of the tick without a failure.
  std::vector<SimShell::CallRecord> calls;
  int folder = 0;  // e: only the purge reads its handle
  {
    World w;
    w.Prepare();
    w.sim.shell.KeepJournal(true);
    w.Tick();
    calls = w.sim.shell.Journal();
    folder = w.e;
    EXPECT_EQ(w.Seen(), "all");
    w.ExpectConsistent();
    // One Count and five calls for each of the four items.
    EXPECT_EQ(calls.size(), 1u + 5 * 4);
  }

  std::vector<std::string> table;
  std::map<ShellCall, int> nth_of;
  for (std::size_t k = 0; k < calls.size(); ++k) {
    const ShellCall call = calls[k].call;
    const int nth = ++nth_of[call];
    const int window = calls[k].id;
    const bool purge = call == ShellCall::kHwnd && window == folder;
    const SiteRule* rule = nullptr;
    for (const SiteRule& r : kRules) {
      if (r.call == call && r.purge == purge) rule = &r;
    }
    ASSERT_NE(rule, nullptr) << sim::ShellCallName(call);
    const bool collection_call = call == ShellCall::kCount || call == ShellCall::kItem;
    for (ErrorKind kind : {ErrorKind::kSystem, ErrorKind::kDescribed, ErrorKind::kGone}) {
      if (kind == ErrorKind::kGone && !collection_call) continue;
      World w;
      w.Prepare();
      const Behaviour behaviour = kind == ErrorKind::kDescribed ? rule->described : rule->system;
      const std::string expected = Expected(behaviour, w, window);
      SCOPED_TRACE("call " + std::to_string(k + 1) + ": " + sim::ShellCallName(call) + " of " +
                   w.PositionOf(window) + ", " + NameOf(kind));
      Fail(w.sim.shell, call, kind, nth);
      w.Tick();
      EXPECT_EQ(w.sim.shell.PendingFailures(), 0);
      const std::string seen = w.Seen();
      EXPECT_EQ(seen, expected);
      w.ExpectConsistent();
      EXPECT_EQ(w.sim.shell.Calls(ShellCall::kCreateShellWindows), 0);
      std::string collection = "kept";
      if (kind == ErrorKind::kGone) {
        EXPECT_EQ(TShellWindowObserver::ShellWindowsObject(), nullptr);
        w.Tick(TShellWindowObserver::kReconnectTicks - 1);
        EXPECT_EQ(w.sim.shell.Calls(ShellCall::kCreateShellWindows), 0);
        EXPECT_EQ(w.Seen(), seen);
        w.Tick();
        EXPECT_EQ(w.sim.shell.Calls(ShellCall::kCreateShellWindows), 1);
        collection = "dropped, made again 3 s later";
      } else {
        EXPECT_EQ(TShellWindowObserver::ShellWindowsObject(), w.collection);
        w.Tick();
      }
      // The next tick (after the new collection, if any) brings it up to date.
      const std::vector<std::string> without_e = {"1 http://a2/", "2 http://b2/", "3 http://c/"};
      EXPECT_EQ(w.Entries(), behaviour == Behaviour::kEntryDropped ? without_e : kCaughtUp);
      w.ExpectConsistent();
      w.ExpectNothingLeftBehind();
      char row[256];
      std::snprintf(row, sizeof row, "%2zu  %-12s %-20s %-14s %-15s %-15s %s", k + 1,
                    sim::ShellCallName(call), w.PositionOf(window), NameOf(kind), NameOf(behaviour),
                    seen.c_str(), collection.c_str());
      table.push_back(row);
    }
  }

  // Making the collection: at the first poll, and again after the server went.
  for (bool after_gone : {false, true}) {
    for (ErrorKind kind : {ErrorKind::kSystem, ErrorKind::kDescribed}) {
      SCOPED_TRACE(std::string(after_gone ? "making it again, " : "first poll, ") + NameOf(kind));
      World w;
      const HResult hr = hresult::kClassNotRegistered;
      const std::string description =
          kind == ErrorKind::kDescribed ? "The object described this failure." : "";
      std::vector<std::string> held;
      if (after_gone) {
        w.Prepare();
        w.sim.shell.FailCall(ShellCall::kCount, hresult::kServerUnavailable);
        w.Tick();
        held = w.Entries();
        ASSERT_EQ(TShellWindowObserver::ShellWindowsObject(), nullptr);
        w.sim.shell.ResetCalls();
        w.sim.shell.FailCall(ShellCall::kCreateShellWindows, hr, description);
        w.Tick(TShellWindowObserver::kReconnectTicks);
      } else {
        w.sim.shell.FailCall(ShellCall::kCreateShellWindows, hr, description);
        w.Tick();
      }
      // One attempt, nothing else asked, nothing changed.
      EXPECT_EQ(w.sim.shell.Calls(ShellCall::kCreateShellWindows), 1);
      EXPECT_EQ(w.sim.shell.TotalCalls(), 1);
      EXPECT_EQ(TShellWindowObserver::ShellWindowsObject(), nullptr);
      EXPECT_EQ(w.Entries(), held);
      w.Tick(TShellWindowObserver::kReconnectTicks - 1);
      EXPECT_EQ(w.sim.shell.TotalCalls(), 1);
      w.Tick();
      EXPECT_EQ(w.sim.shell.Calls(ShellCall::kCreateShellWindows), 2);
      EXPECT_EQ(w.Entries(), after_gone ? kCaughtUp : kBefore);
      EXPECT_TRUE(w.sim.windowing.MessageBoxes().empty());
      EXPECT_EQ(w.errors, 0);
      w.ExpectNothingLeftBehind();
      char row[256];
      std::snprintf(row, sizeof row, "--  %-12s %-20s %-14s %-15s %-15s %s", "Create",
                    after_gone ? "after server gone" : "first poll", NameOf(kind), "no collection",
                    held.empty() ? "nothing" : "entries kept", "tried again 3 s later, then made");
      table.push_back(row);
    }
  }

  std::printf(
      " k  call         window               error          behaviour       seen            "
      "collection\n");
  for (const std::string& row : table) std::printf("%s\n", row.c_str());
}

}  // namespace
}  // namespace velocane
