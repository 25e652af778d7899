// The whole program for a long stretch of virtual time on the simulated
// platform: browser windows opening, navigating, sharing a window as tabs and
// closing; the user's commands; Explorer restarting and the shell's window
// collection going away and coming back; registry and COM failures now and
// then. Everything the program promises is checked as it runs, and its sizes
// must stop growing once the first stretch is over.
//
// The test command runs a short stretch. VELOCANE_SOAK_HOURS sets another
// (tools/soak.sh runs a day), VELOCANE_SOAK_SEED another random course.
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <map>
#include <random>
#include <set>

#include "app/OBAbout.h"
#include "platform/sim/sim_errors.h"
#include "tests/support/program_fixture.h"

namespace velocane::testing {
namespace {

using sim::ShellCall;

constexpr std::uint64_t kSecond = 1000;
constexpr std::uint64_t kMinute = 60 * kSecond;
constexpr std::uint64_t kHour = 60 * kMinute;

// How many browser windows (with their own window) and tabs may be open at once.
constexpr int kMaxWindows = 6;
constexpr int kMaxTabs = 4;

const std::string kFocusError = "Cannot focus a disabled or invisible window";
const std::string kSelectRow = "Select a Title or URL please.";
const std::string kRequestPrefix = "http://translate-5.example/translate_c?sl=fr&&hl=en&&u=";

double EnvNumber(const char* name, double fallback) {
  const char* text = std::getenv(name);
  return text != nullptr && *text != '\0' ? std::atof(text) : fallback;
}

std::string Narrow(const std::u16string& text) { return std::string(text.begin(), text.end()); }

std::string Spaced(std::string url) {
  for (std::size_t at; (at = url.find("%20")) != std::string::npos;) url.replace(at, 3, " ");
  return url;
}

bool IsTranslationCall(ShellCall call) {
  return call == ShellCall::kNavigate || call == ShellCall::kVisible ||
         call == ShellCall::kCreateBrowser;
}

// The sizes that must stay bounded, and their peaks.
struct Sizes {
  std::size_t entries = 0, log_lines = 0, rows = 0, program_windows = 0, all_windows = 0,
              timers = 0, peers = 0, icons = 0, browsers = 0;
  // Entries and rows right after a whole poll without a fault.
  std::size_t settled_entries = 0, settled_rows = 0;
  void Raise(const Sizes& s) {
    entries = std::max(entries, s.entries);
    log_lines = std::max(log_lines, s.log_lines);
    rows = std::max(rows, s.rows);
    program_windows = std::max(program_windows, s.program_windows);
    all_windows = std::max(all_windows, s.all_windows);
    timers = std::max(timers, s.timers);
    peers = std::max(peers, s.peers);
    icons = std::max(icons, s.icons);
    browsers = std::max(browsers, s.browsers);
    settled_entries = std::max(settled_entries, s.settled_entries);
    settled_rows = std::max(settled_rows, s.settled_rows);
  }
};

class Soak : public ProgramTest {
 protected:
  // One item of the shell's collection, as this test made it.
  struct Item {
    int id = 0;
    WindowHandle hwnd;
    bool tab = false;  // reports the window of `owner`
    int owner = 0;
    bool nil = false;           // an empty slot of the collection
    std::string url;            // as the browser reports it
    std::size_t sent_seen = 0;  // the program's navigations taken into `url`
  };
  // A failure armed in the simulated shell, counted down as the shell does.
  struct Armed {
    int countdown;
    std::string text;  // what an error box shows for it
    HResult hr;
  };

  void Run();

  // The course of events.
  void Event();
  void OpenWindow();
  void OpenTab();
  void NavigateSome();
  void CloseSome();
  void Accelerate();
  void Stop();
  void PickType();
  void View();
  void Minimize();
  void TrayClick();
  void About();
  void TranslateNow();
  void TranslateInNew();
  void CloseSelected();
  void RestartExplorer();
  void StopShell();
  void ArmObserverFailure();
  // Now and then the next writes of a limit fail once or twice; returns the
  // error box that twice gives, empty otherwise.
  std::string ArmRegistryFailure();

  // Checks.
  void AfterSlice();
  void AfterEvent(const std::vector<std::string>& expected_boxes);
  void TakeRaised(std::vector<std::pair<ShellCall, Armed>>* raised);
  void CheckObserverAndList(bool clean_tick);
  void CheckRegistry();
  void CheckTray();
  void CheckBrowsersAlive();
  void Measure(bool settled = false);

  // Helpers.
  std::uint64_t Now() const { return sim.clock.Now(); }
  int Uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng_); }
  bool Chance(double p) { return std::bernoulli_distribution(p)(rng_); }
  std::string RandomUrl();
  void Count(const std::string& name) { ++events_[name]; }
  int TopLevelOpen() const;
  int TabsOpen() const;
  void CloseItem(int id);
  void CloseOrphanTabs();
  void SyncNavigations();
  void AdoptNewItems();
  bool PickRow();
  std::pair<std::uint32_t, std::uint32_t> PairUnder(RootKey root) const;
  void ExpectBoxes(std::size_t from, const std::vector<std::string>& expected);
  void Arm(ShellCall call, HResult hr, const std::string& description, int nth);

  std::mt19937 rng_;
  std::uint64_t end_ = 0, warm_up_ = 0;
  std::vector<Item> items_;                // the open items, in the collection's order
  std::set<std::uintptr_t> closed_hwnds_;  // windows reported by an item that has closed
  std::array<std::deque<Armed>, sim::kShellCallKinds> armed_;
  std::array<int, sim::kShellCallKinds> calls_seen_{};
  std::size_t boxes_seen_ = 0;
  bool minimized_ = false;
  bool shell_up_ = true;
  bool collection_alive_ = true;  // the observer holds a collection that answers
  std::uint64_t shell_back_at_ = 0;
  // The rows may lag the entries only after an observer fault since they last matched.
  bool faulted_since_sync_ = false;
  std::uint64_t out_of_sync_since_ = 0;
  std::uint64_t longest_out_of_sync_ = 0;
  int out_of_sync_stretches_ = 0;
  bool registry_torn_ok_ = false;  // a write failed twice; the pair may be half written
  int clean_ticks_ = 0, faulty_ticks_ = 0, observer_failures_ = 0;
  bool opening_ = true;  // the first steps: every command once, no failure armed
  std::map<std::string, long> events_;
  std::map<std::string, long> boxes_;
  Sizes warm_peak_, late_peak_;
  std::uint64_t slices_ = 0;
};

// ---------------------------------------------------------------------------
// The course.

void Soak::Run() {
  const double hours = EnvNumber("VELOCANE_SOAK_HOURS", 0.25);
  const auto seed = static_cast<unsigned>(EnvNumber("VELOCANE_SOAK_SEED", 1));
  rng_.seed(seed);
  end_ = static_cast<std::uint64_t>(hours * kHour);
  warm_up_ = std::min<std::uint64_t>(kHour, end_ / 3);
  const auto started = std::chrono::steady_clock::now();

  // A start at log-on: the acceleration after 1.5 s, then into the tray.
  StorePair(RootKey::CurrentConfig, 2, 4);
  Start("\"C:\\Program Files\\Velocane\\velocane.exe\" /Auto").Show();
  sim.windowing.RunFor(5 * kSecond);
  ASSERT_TRUE(form->CT1->IconVisible());
  minimized_ = true;
  AfterEvent({});

  // The first stretch opens up to the most windows and tabs at once and
  // uses every command, so later peaks have something to be compared with.
  const std::vector<void (Soak::*)()> opening = {
      &Soak::TrayClick,      &Soak::OpenWindow,    &Soak::OpenWindow, &Soak::OpenTab,
      &Soak::View,           &Soak::OpenWindow,    &Soak::OpenTab,    &Soak::OpenWindow,
      &Soak::OpenWindow,     &Soak::OpenTab,       &Soak::OpenTab,    &Soak::OpenWindow,
      &Soak::TranslateInNew, &Soak::About,         &Soak::Accelerate, &Soak::View,
      &Soak::TranslateNow,   &Soak::CloseSelected, &Soak::Minimize,   &Soak::RestartExplorer,
      &Soak::TrayClick,      &Soak::PickType,      &Soak::Stop,       &Soak::StopShell};
  for (auto step : opening) {
    for (int slice = 0; slice < 27; ++slice) {
      sim.windowing.RunFor(TShellWindowObserver::kPollInterval);
      AfterSlice();
    }
    (this->*step)();
    if (HasFailure()) return;
  }
  opening_ = false;

  while (Now() < end_ && !HasFailure()) {
    const std::uint64_t next =
        std::min(end_, Now() + static_cast<std::uint64_t>(Uniform(0, 20000)));
    while (Now() < next && !HasFailure()) {
      sim.windowing.RunFor(
          std::min<std::uint64_t>(TShellWindowObserver::kPollInterval, next - Now()));
      AfterSlice();
    }
    if (Now() < end_ && !HasFailure()) Event();
  }
  if (HasFailure()) return;

  // The end: the close writes the defaults back and asks its question.
  const std::size_t boxes = Boxes().size();
  sim.windowing.SendMessage(form->Handle(), wm::kClose, 0, 0);
  ASSERT_EQ(Boxes().size(), boxes + 1);
  EXPECT_EQ(Boxes().back().caption, "Warning");
  EXPECT_TRUE(sim.windowing.QuitPosted());
  for (RootKey root : {RootKey::CurrentUser, RootKey::CurrentConfig}) {
    EXPECT_EQ(PairUnder(root), std::make_pair(2u, 4u));
  }
  const std::uint64_t virtual_end = Now();
  app.reset();
  form = nullptr;
  int browser_windows = 0;
  for (const Item& item : items_) browser_windows += !item.tab && !item.nil ? 1 : 0;
  EXPECT_EQ(sim.windowing.LiveWindows(), browser_windows);
  EXPECT_EQ(sim.windowing.LiveTimers(), 0);
  EXPECT_EQ(sim.widgets.LivePeers(), 0);
  EXPECT_EQ(sim.notify_area.LiveIcons(), 0);
  EXPECT_EQ(sim.notify_area.IconCount(), 0);
  EXPECT_EQ(sim.shell.LiveBrowsers(), 0);
  EXPECT_EQ(sim.registry.OpenHandles(), 0);

  // The stretch after the first must not have grown any of them.
  // Entries and rows settle to one per window after every whole poll; in
  // between, windows that closed meanwhile may still be held.
  EXPECT_LE(late_peak_.settled_entries, warm_peak_.settled_entries);
  EXPECT_LE(late_peak_.settled_rows, warm_peak_.settled_rows);
  EXPECT_LE(late_peak_.entries, 2u * kMaxWindows);
  EXPECT_LE(late_peak_.rows, 2u * kMaxWindows);
  EXPECT_LE(late_peak_.log_lines, warm_peak_.log_lines);
  EXPECT_EQ(warm_peak_.log_lines, TShellWindowObserver::kEntryLogLimit);
  EXPECT_LE(late_peak_.program_windows, warm_peak_.program_windows);
  EXPECT_LE(late_peak_.timers, warm_peak_.timers);
  EXPECT_LE(late_peak_.peers, warm_peak_.peers);
  EXPECT_LE(late_peak_.icons, warm_peak_.icons);

  const double real =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  std::printf(
      "[ soak ] seed %u: %.2f virtual hours (%llu ms) in %.1f s of real time, %llu slices\n", seed,
      static_cast<double>(virtual_end) / kHour, static_cast<unsigned long long>(virtual_end), real,
      static_cast<unsigned long long>(slices_));
  std::printf(
      "[ soak ] poll ticks seen: %d, checked in full (no fault, shell up): %d; COM failures met by "
      "the observer: %d\n",
      clean_ticks_ + faulty_ticks_, clean_ticks_, observer_failures_);
  for (const auto& [name, count] : events_)
    std::printf("[ soak ] event %-24s %ld\n", name.c_str(), count);
  for (const auto& [text, count] : boxes_)
    std::printf("[ soak ] box   %-44s %ld\n", text.c_str(), count);
  std::printf("[ soak ] rows behind the entries after a fault: %d times, longest %.1f s\n",
              out_of_sync_stretches_, static_cast<double>(longest_out_of_sync_) / kSecond);
  const auto peaks = [](const char* name, const Sizes& s) {
    std::printf(
        "[ soak ] peak %-13s entries %zu (%zu after a whole poll), log lines %zu, rows %zu (%zu), "
        "windows %zu (the program's %zu), timers %zu, peers %zu, icons %zu, browser objects %zu\n",
        name, s.entries, s.settled_entries, s.log_lines, s.rows, s.settled_rows, s.all_windows,
        s.program_windows, s.timers, s.peers, s.icons, s.browsers);
  };
  peaks("first stretch", warm_peak_);
  peaks("after", late_peak_);
}

void Soak::Event() {
  if (shell_back_at_ != 0 && Now() >= shell_back_at_) {
    sim.shell.StartServer();
    shell_up_ = true;
    shell_back_at_ = 0;
    Count("shell back");
    AfterEvent({});
    return;
  }
  // Browsing goes on whatever the program shows; the commands need its window.
  struct Choice {
    int weight;
    void (Soak::*run)();
    bool needs_window;
  };
  static const Choice choices[] = {
      {8, &Soak::OpenWindow, false},    {4, &Soak::OpenTab, false},
      {12, &Soak::NavigateSome, false}, {8, &Soak::CloseSome, false},
      {3, &Soak::Accelerate, true},     {2, &Soak::Stop, true},
      {2, &Soak::PickType, true},       {4, &Soak::View, true},
      {2, &Soak::Minimize, true},       {1, &Soak::About, true},
      {2, &Soak::TranslateNow, true},   {1, &Soak::TranslateInNew, true},
      {1, &Soak::CloseSelected, true},  {1, &Soak::RestartExplorer, false},
      {1, &Soak::StopShell, false},     {3, &Soak::ArmObserverFailure, false},
      {3, &Soak::TrayClick, false},
  };
  int total = 0;
  for (const Choice& c : choices) total += c.weight;
  for (;;) {
    int roll = Uniform(0, total - 1);
    const Choice* chosen = nullptr;
    for (const Choice& c : choices) {
      if ((roll -= c.weight) < 0) {
        chosen = &c;
        break;
      }
    }
    if (chosen->needs_window && minimized_) continue;
    if (chosen->run == &Soak::TrayClick && !minimized_) continue;
    (this->*chosen->run)();
    return;
  }
}

// ---------------------------------------------------------------------------
// Browsing.

std::string Soak::RandomUrl() {
  switch (Uniform(0, 9)) {
    case 0:
      return "about:blank";
    case 1:
      return "file:///C:/My%20Documents/page%20" + std::to_string(Uniform(1, 9)) + ".html";
    case 2:
      return "ftp://files.example/pub/" + std::to_string(Uniform(1, 99));
    case 3:
      return ServerBase(1) + "http%3A%2F%2Fdone.example%2F";  // a translation already
    default:
      return "http://site" + std::to_string(Uniform(1, 30)) +
             ".example/page?id=" + std::to_string(Uniform(1, 500));
  }
}

int Soak::TopLevelOpen() const {
  int n = 0;
  for (const Item& item : items_) n += !item.tab && !item.nil ? 1 : 0;
  return n;
}

int Soak::TabsOpen() const {
  int n = 0;
  for (const Item& item : items_) n += item.tab ? 1 : 0;
  return n;
}

void Soak::OpenWindow() {
  if (TopLevelOpen() >= kMaxWindows) return CloseSome();
  if (!opening_ && Chance(0.05) &&
      std::none_of(items_.begin(), items_.end(), [](const Item& i) { return i.nil; })) {
    Item slot;
    slot.id = sim.shell.AddNilItem();
    slot.nil = true;
    items_.push_back(slot);
    Count("nil item added");
    return AfterEvent({});
  }
  Item item;
  item.url = RandomUrl();
  item.id =
      sim.shell.Open(std::u16string(item.url.begin(), item.url.end()),
                     u"Page " + std::u16string(1, static_cast<char16_t>(u'A' + Uniform(0, 25))));
  item.hwnd = sim.shell.HwndOf(item.id);
  items_.push_back(item);
  Count("window opened");
  AfterEvent({});
}

void Soak::OpenTab() {
  std::vector<const Item*> owners;
  for (const Item& item : items_) {
    if (!item.tab && !item.nil) owners.push_back(&item);
  }
  if (owners.empty() || TabsOpen() >= kMaxTabs) return NavigateSome();
  const Item owner =
      *owners[static_cast<std::size_t>(Uniform(0, static_cast<int>(owners.size()) - 1))];
  Item tab;
  tab.url = RandomUrl();
  tab.tab = true;
  tab.owner = owner.id;
  tab.hwnd = owner.hwnd;
  tab.id = sim.shell.Open(std::u16string(tab.url.begin(), tab.url.end()), u"Tab", owner.hwnd);
  items_.push_back(tab);
  Count("tab opened");
  AfterEvent({});
}

void Soak::NavigateSome() {
  std::vector<Item*> pages;
  for (Item& item : items_) {
    if (!item.nil) pages.push_back(&item);
  }
  if (pages.empty()) return OpenWindow();
  Item& item = *pages[static_cast<std::size_t>(Uniform(0, static_cast<int>(pages.size()) - 1))];
  if (Chance(0.2)) {
    sim.shell.Retitle(item.id, u"Retitled");
    Count("window retitled");
  } else {
    item.url = RandomUrl();
    sim.shell.Navigate(item.id, std::u16string(item.url.begin(), item.url.end()), u"Next");
    Count("window navigated");
  }
  AfterEvent({});
}

void Soak::CloseItem(int id) {
  const auto it =
      std::find_if(items_.begin(), items_.end(), [id](const Item& i) { return i.id == id; });
  if (it == items_.end()) return;
  if (!it->nil) closed_hwnds_.insert(it->hwnd.value);
  sim.shell.Close(id);
  items_.erase(it);
}

// A window's tabs close with it.
void Soak::CloseOrphanTabs() {
  std::vector<int> orphans;
  for (const Item& item : items_) {
    if (item.tab && !sim.shell.IsOpen(item.owner)) orphans.push_back(item.id);
  }
  for (int id : orphans) CloseItem(id);
  // Windows the program's own close request ended.
  std::vector<int> gone;
  for (const Item& item : items_) {
    if (!sim.shell.IsOpen(item.id)) gone.push_back(item.id);
  }
  for (int id : gone) {
    const auto it =
        std::find_if(items_.begin(), items_.end(), [id](const Item& i) { return i.id == id; });
    if (!it->nil) closed_hwnds_.insert(it->hwnd.value);
    items_.erase(it);
  }
}

void Soak::CloseSome() {
  if (items_.empty()) return OpenWindow();
  const Item item =
      items_[static_cast<std::size_t>(Uniform(0, static_cast<int>(items_.size()) - 1))];
  CloseItem(item.id);
  CloseOrphanTabs();
  Count(item.tab ? "tab closed" : item.nil ? "nil item removed" : "window closed");
  AfterEvent({});
}

// Items the program made (a new browser) join the test's list.
void Soak::AdoptNewItems() {
  for (int id : sim.shell.Ids()) {
    if (std::any_of(items_.begin(), items_.end(), [id](const Item& i) { return i.id == id; }))
      continue;
    Item item;
    item.id = id;
    item.hwnd = sim.shell.HwndOf(id);
    items_.push_back(item);
  }
}

// What the program sent to a browser since is its address now.
void Soak::SyncNavigations() {
  for (Item& item : items_) {
    if (item.nil) continue;
    const auto& sent = sim.shell.NavigationsOf(item.id);
    if (sent.size() > item.sent_seen) {
      item.url = Narrow(sent.back());
      item.sent_seen = sent.size();
    }
  }
}

// ---------------------------------------------------------------------------
// Commands.

std::string Soak::ArmRegistryFailure() {
  if (opening_ || !Chance(0.15)) return {};
  const char* names[] = {kMaxConnectionsPerServer, kMaxConnectionsPer1_0Server};
  const std::string name = names[Uniform(0, 1)];
  const int count = Uniform(1, 2);
  const std::optional<RootKey> root =
      Uniform(0, 2) == 0
          ? std::nullopt
          : std::optional<RootKey>(Chance(0.5) ? RootKey::CurrentUser : RootKey::CurrentConfig);
  sim.registry.FailWrites(name, count, regstatus::kAccessDenied, root);
  Count(count == 2 ? "registry write failing twice" : "registry write failing once");
  return count == 2 ? "Failed to set data for '" + name + "'" : std::string();
}

void Soak::Accelerate() {
  if (!form->SpeedButton1->Enabled()) {
    // Left disabled by an earlier failure: the button takes no click.
    ClickButton(form->SpeedButton1);
    Count("accelerate (disabled)");
    return AfterEvent({});
  }
  const std::string failure = ArmRegistryFailure();
  const std::string status = form->Label1->Caption();
  ClickButton(form->SpeedButton1);
  Count("accelerate");
  if (failure.empty()) {
    EXPECT_EQ(form->Label1->Caption(), "Acceleration successfully!");
    EXPECT_TRUE(form->CT1->CycleIcons());
    EXPECT_TRUE(form->SpeedButton1->Enabled());
    const auto pair = std::make_pair(static_cast<std::uint32_t>(form->LimitPerServer),
                                     static_cast<std::uint32_t>(form->LimitPer1_0Server));
    EXPECT_EQ(PairUnder(RootKey::CurrentUser), pair);
    EXPECT_EQ(PairUnder(RootKey::CurrentConfig), pair);
    registry_torn_ok_ = false;
    AfterEvent({});
  } else {
    EXPECT_EQ(form->Label1->Caption(), status);
    EXPECT_FALSE(form->SpeedButton1->Enabled());
    registry_torn_ok_ = true;
    AfterEvent({failure});
  }
}

void Soak::Stop() {
  if (!form->SpeedButton3->Enabled()) {
    ClickButton(form->SpeedButton3);
    Count("stop (disabled)");
    return AfterEvent({});
  }
  const std::string failure = ArmRegistryFailure();
  const std::string status = form->Label1->Caption();
  const bool cycling = form->CT1->CycleIcons();
  ClickButton(form->SpeedButton3);
  Count("stop");
  if (failure.empty()) {
    EXPECT_EQ(form->Label1->Caption(), "Acceleration removed.");
    EXPECT_FALSE(form->CT1->CycleIcons());
    EXPECT_TRUE(form->SpeedButton3->Enabled());
    EXPECT_EQ(PairUnder(RootKey::CurrentUser), std::make_pair(2u, 4u));
    EXPECT_EQ(PairUnder(RootKey::CurrentConfig), std::make_pair(2u, 4u));
    registry_torn_ok_ = false;
    AfterEvent({});
  } else {
    EXPECT_EQ(form->Label1->Caption(), status);
    EXPECT_EQ(form->CT1->CycleIcons(), cycling);
    EXPECT_FALSE(form->SpeedButton3->Enabled());
    registry_torn_ok_ = true;
    AfterEvent({failure});
  }
}

void Soak::PickType() {
  const int index = Uniform(0, 6);
  auto* combo = static_cast<sim::SimComboBox*>(form->CB->Peer());
  const std::string item = combo->items.at(static_cast<std::size_t>(index));
  const ConnectionType* type = nullptr;
  for (const ConnectionType& row : ConnectionTypes()) {
    if (item.find(row.word) != std::string::npos) type = &row;
  }
  if (!form->Memo2->Visible()) {
    // While View has the list uncovered the focus cannot go to the text.
    const auto pair = std::make_pair(form->LimitPerServer, form->LimitPer1_0Server);
    combo->Pick(index);
    Count("type picked during View");
    EXPECT_EQ(form->CB->Text(), type->name);
    EXPECT_EQ(std::make_pair(form->LimitPerServer, form->LimitPer1_0Server), pair);
    return AfterEvent({kFocusError});
  }
  const std::string failure = ArmRegistryFailure();
  combo->Pick(index);
  Count("type picked");
  EXPECT_EQ(form->CB->Text(), type->name);
  EXPECT_EQ(form->LimitPerServer, type->per_server);
  EXPECT_EQ(form->LimitPer1_0Server, type->per_1_0_server);
  if (failure.empty()) {
    EXPECT_TRUE(form->SpeedButton1->Enabled());
    EXPECT_EQ(String(RootKey::CurrentConfig, kConnectionTypeValue), std::string(type->name));
    const auto pair = std::make_pair(static_cast<std::uint32_t>(type->per_server),
                                     static_cast<std::uint32_t>(type->per_1_0_server));
    EXPECT_EQ(PairUnder(RootKey::CurrentUser), pair);
    EXPECT_EQ(PairUnder(RootKey::CurrentConfig), pair);
    registry_torn_ok_ = false;
    AfterEvent({});
  } else {
    registry_torn_ok_ = true;
    AfterEvent({failure});
  }
}

void Soak::View() {
  ClickButton(form->SpeedButton2);
  Count("view");
  EXPECT_TRUE(form->ListView1->Visible());
  EXPECT_FALSE(form->Memo1->Visible());
  AfterEvent({});
}

void Soak::Minimize() {
  ClickButton(form->SpeedButton4);
  minimized_ = true;
  Count("minimize");
  EXPECT_FALSE(form->Visible());
  AfterEvent({});
}

void Soak::TrayClick() {
  if (!minimized_) return;
  sim.notify_area.Notify(TNotifyIconHandler::Window(), form->CT1->Id(),
                         {wm::kLButtonDown, wm::kLButtonUp});
  minimized_ = false;
  Count("tray click");
  EXPECT_TRUE(form->Visible());
  AfterEvent({});
}

void Soak::About() {
  // The box stays up a while; the program polls and cycles meanwhile, and the
  // checks run at every turn of its loop.
  const std::uint64_t close_at = Now() + static_cast<std::uint64_t>(Uniform(1000, 60000));
  bool closed = false;
  sim.windowing.SetModalResponder([&](WindowHandle) {
    AfterSlice();
    if (Now() < close_at || closed) return false;
    auto* about = dynamic_cast<TAbout*>(form->FindComponent("About"));
    if (about == nullptr) return false;
    closed = true;
    static_cast<sim::SimButton*>(about->Button1->Peer())->Click();
    return true;
  });
  ClickButton(form->Edit1);
  sim.windowing.SetModalResponder(nullptr);
  Count("about");
  EXPECT_TRUE(closed);
  EXPECT_TRUE(form->Visible());
  EXPECT_EQ(form->FindComponent("About"), nullptr);
  AfterEvent({});
}

bool Soak::PickRow() {
  const int rows = form->ListView1->ItemCount();
  if (rows == 0 || Chance(0.05)) {
    form->ListView1->SetSelectedIndex(-1);
    return false;
  }
  static_cast<sim::SimListView*>(form->ListView1->Peer())->ClickRow(Uniform(0, rows - 1));
  return form->ListView1->Selected() != nullptr;
}

void Soak::Arm(ShellCall call, HResult hr, const std::string& description, int nth) {
  sim.shell.FailCall(call, hr, description, nth);
  armed_[static_cast<std::size_t>(call)].push_back(Armed{
      nth, description.empty() ? sim::SystemErrorText(static_cast<unsigned>(hr)) : description,
      hr});
}

void Soak::TranslateNow() {
  const bool selected = PickRow();
  const std::string status = form->Label1->Caption();
  std::vector<std::string> expected;
  if (!selected) {
    form->GoButton->UserClick();
    Count("translate now without a row");
    EXPECT_EQ(form->Label1->Caption(), kSelectRow);
    return AfterEvent({});
  }
  const TListItem row = *form->ListView1->Selected();
  const auto* entry = static_cast<const TShellWindow*>(row.Data.get());
  const std::string page = row.SubItems.at(1);
  const bool refused = page == "about:blank" || page.find(ServerBase(1)) != std::string::npos ||
                       page.find(ServerBase(2)) != std::string::npos;
  if (!refused && !opening_ && Chance(0.3)) {
    Arm(ShellCall::kNavigate, hresult::kFail, Chance(0.5) ? "The page refused." : "", 1);
    Count("translate now, navigate failing");
  }
  const int navigate_calls = sim.shell.Calls(ShellCall::kNavigate);
  std::map<int, std::size_t> sent_before;
  for (const Item& item : items_) {
    if (!item.nil) sent_before[item.id] = sim.shell.NavigationsOf(item.id).size();
  }
  const std::size_t boxes = Boxes().size();
  form->GoButton->UserClick();
  Count("translate now");
  std::vector<std::pair<ShellCall, Armed>> raised;
  TakeRaised(&raised);
  for (const auto& [call, failure] : raised) {
    EXPECT_TRUE(IsTranslationCall(call)) << sim::ShellCallName(call);
    expected.push_back(failure.text);
  }
  if (refused) {
    EXPECT_EQ(sim.shell.Calls(ShellCall::kNavigate), navigate_calls);
    EXPECT_EQ(form->Label1->Caption(), page == "about:blank"
                                           ? "Blank page could not be translated!"
                                           : "The Webpage has already been translated!");
  } else {
    EXPECT_EQ(sim.shell.Calls(ShellCall::kNavigate), navigate_calls + 1);
    EXPECT_EQ(form->Label1->Caption(), status);
    int reached = 0;
    for (const Item& item : items_) {
      if (item.nil || sim.shell.NavigationsOf(item.id).size() == sent_before[item.id]) continue;
      ++reached;
      EXPECT_EQ(item.hwnd, entry->Hwnd);
      EXPECT_EQ(Narrow(sim.shell.NavigationsOf(item.id).back()).rfind(kRequestPrefix, 0), 0u);
    }
    if (raised.empty() && reached == 0) {
      // The entry's browser belongs to a window (or tab) that has closed since.
      EXPECT_TRUE(closed_hwnds_.contains(entry->Hwnd.value));
      expected.push_back(sim::SystemErrorText(static_cast<unsigned>(hresult::kDisconnected)));
      Count("translate now, window gone");
    }
    EXPECT_LE(reached, 1);
  }
  SyncNavigations();
  ExpectBoxes(boxes, expected);
  AfterEvent({});
}

void Soak::TranslateInNew() {
  if (TopLevelOpen() >= kMaxWindows) return CloseSome();
  const bool selected = PickRow();
  const std::string status = form->Label1->Caption();
  if (!selected) {
    form->NewButton->UserClick();
    Count("translate in new without a row");
    EXPECT_EQ(form->Label1->Caption(), kSelectRow);
    return AfterEvent({});
  }
  if (!opening_ && Chance(0.3)) {
    const ShellCall calls[] = {ShellCall::kCreateBrowser, ShellCall::kVisible,
                               ShellCall::kNavigate};
    Arm(calls[Uniform(0, 2)], hresult::kFail, Chance(0.5) ? "No browser today." : "", 1);
    Count("translate in new, a call failing");
  }
  const std::size_t boxes = Boxes().size();
  const std::size_t items = sim.shell.Ids().size();
  form->NewButton->UserClick();
  Count("translate in new");
  std::vector<std::pair<ShellCall, Armed>> raised;
  TakeRaised(&raised);
  std::vector<std::string> expected;
  for (const auto& [call, failure] : raised) {
    EXPECT_TRUE(IsTranslationCall(call)) << sim::ShellCallName(call);
    expected.push_back(failure.text);
  }
  EXPECT_EQ(form->Label1->Caption(), status);
  const bool created = raised.empty() || raised.front().first != ShellCall::kCreateBrowser;
  EXPECT_EQ(sim.shell.Ids().size(), items + (created ? 1 : 0));
  AdoptNewItems();
  if (created) {
    const Item& made = items_.back();
    EXPECT_EQ(sim.shell.IsVisible(made.id),
              raised.empty() || raised.front().first == ShellCall::kNavigate);
    EXPECT_EQ(sim.shell.NavigationsOf(made.id).size(), raised.empty() ? 1u : 0u);
  }
  SyncNavigations();
  ExpectBoxes(boxes, expected);
  AfterEvent({});
}

void Soak::CloseSelected() {
  if (!PickRow()) {
    form->CloseButton->UserClick();
    Count("close selected without a row");
    return AfterEvent({});
  }
  const auto* entry = static_cast<const TShellWindow*>(form->ListView1->Selected()->Data.get());
  const WindowHandle hwnd = entry->Hwnd;
  form->CloseButton->UserClick();
  Count("close selected");
  for (const Item& item : items_) {
    if (!item.tab && !item.nil && item.hwnd == hwnd) {
      EXPECT_FALSE(sim.shell.IsOpen(item.id));
    }
  }
  CloseOrphanTabs();
  AfterEvent({});
}

void Soak::RestartExplorer() {
  sim.notify_area.RestartShell();
  Count("explorer restart");
  AfterEvent({});
}

void Soak::StopShell() {
  if (!shell_up_) return RestartExplorer();
  sim.shell.StopServer();
  shell_up_ = false;
  collection_alive_ = false;
  faulted_since_sync_ = true;
  shell_back_at_ = Now() + static_cast<std::uint64_t>(Uniform(5000, 180000));
  Count("shell gone");
  AfterEvent({});
}

void Soak::ArmObserverFailure() {
  const ShellCall calls[] = {ShellCall::kCount,
                             ShellCall::kItem,
                             ShellCall::kQueryBrowser,
                             ShellCall::kLocationURL,
                             ShellCall::kLocationName,
                             ShellCall::kHwnd,
                             ShellCall::kCreateShellWindows};
  const HResult results[] = {hresult::kFail, hresult::kServerUnavailable, hresult::kDisconnected};
  const ShellCall call = calls[Uniform(0, 6)];
  Arm(call, results[Uniform(0, 2)], Chance(0.5) ? "Described by the object." : "", Uniform(1, 60));
  Count(std::string("COM failure armed: ") + sim::ShellCallName(call));
  AfterEvent({});
}

// ---------------------------------------------------------------------------
// Checks.

void Soak::TakeRaised(std::vector<std::pair<ShellCall, Armed>>* raised) {
  for (std::size_t kind = 0; kind < sim::kShellCallKinds; ++kind) {
    const int calls = sim.shell.Calls(static_cast<ShellCall>(kind));
    for (; calls_seen_[kind] < calls; ++calls_seen_[kind]) {
      // As the shell does: every armed failure counts the call, the first due one is raised.
      auto& armed = armed_[kind];
      for (Armed& a : armed) --a.countdown;
      const auto due =
          std::find_if(armed.begin(), armed.end(), [](const Armed& a) { return a.countdown <= 0; });
      if (due == armed.end()) continue;
      raised->emplace_back(static_cast<ShellCall>(kind), *due);
      armed.erase(due);
    }
  }
}

void Soak::AfterSlice() {
  ++slices_;
  const int polls_before = calls_seen_[static_cast<std::size_t>(ShellCall::kCount)];
  const int creates_before = calls_seen_[static_cast<std::size_t>(ShellCall::kCreateShellWindows)];
  std::vector<std::pair<ShellCall, Armed>> raised;
  TakeRaised(&raised);
  bool fault = false;
  for (const auto& [call, failure] : raised) {
    if (IsTranslationCall(call)) ADD_FAILURE() << "a translation call outside a command";
    fault = true;
    ++observer_failures_;
    // A collection that answers "server gone" is given up and made again later.
    if ((call == ShellCall::kCount || call == ShellCall::kItem) && ServerIsGone(failure.hr)) {
      collection_alive_ = false;
    }
  }
  if (fault) faulted_since_sync_ = true;
  const bool reconnected =
      shell_up_ &&
      calls_seen_[static_cast<std::size_t>(ShellCall::kCreateShellWindows)] > creates_before &&
      std::none_of(raised.begin(), raised.end(),
                   [](const auto& r) { return r.first == ShellCall::kCreateShellWindows; });
  if (reconnected) collection_alive_ = true;
  const bool polled = calls_seen_[static_cast<std::size_t>(ShellCall::kCount)] > polls_before;
  if (!shell_up_ && polled) faulted_since_sync_ = true;  // the poll that found the shell gone
  const bool clean = polled && !fault && shell_up_ && collection_alive_;
  if (polled) ++(clean ? clean_ticks_ : faulty_ticks_);
  ExpectBoxes(boxes_seen_, {});
  CheckObserverAndList(clean);
  CheckTray();
  CheckBrowsersAlive();
  EXPECT_EQ(sim.registry.OpenHandles(), 0);
  Measure(clean);
}

void Soak::AfterEvent(const std::vector<std::string>& expected_boxes) {
  CloseOrphanTabs();
  ExpectBoxes(boxes_seen_, expected_boxes);
  CheckRegistry();
  CheckTray();
  CheckBrowsersAlive();
  EXPECT_EQ(sim.registry.OpenHandles(), 0);
  // The window is shown, or it is in the tray with its icon.
  EXPECT_EQ(form->Visible(), !minimized_);
  EXPECT_EQ(form->CT1->Enabled(), minimized_);
  Measure();
}

void Soak::ExpectBoxes(std::size_t from, const std::vector<std::string>& expected) {
  std::vector<std::string> shown;
  for (std::size_t i = from; i < Boxes().size(); ++i) {
    shown.push_back(Boxes()[i].text);
    EXPECT_EQ(Boxes()[i].caption, kApplicationTitle);
    EXPECT_EQ(Boxes()[i].flags, mb::kOk | mb::kIconError);
    ++boxes_[Boxes()[i].text];
  }
  EXPECT_EQ(shown, expected) << "at " << Now() << " ms";
  boxes_seen_ = Boxes().size();
}

void Soak::CheckObserverAndList(bool clean_tick) {
  const TShellWindowObserver& observer = *form->ShellWindowObserver1;
  const auto& list = observer.WindowList();
  EXPECT_LE(observer.EntryLog().size(), TShellWindowObserver::kEntryLogLimit);
  for (std::size_t i = 0; i < list.size(); ++i) {
    EXPECT_GT(list[i]->Number, i == 0 ? 0 : list[i - 1]->Number) << "numbers out of order";
  }
  if (clean_tick) {
    // After a whole poll: numbered 1..n, one entry per window of the
    // collection, each with the address its last item reports.
    std::map<std::uintptr_t, std::string> windows;
    for (const Item& item : items_) {
      if (!item.nil) windows[item.hwnd.value] = Spaced(item.url);
    }
    EXPECT_EQ(observer.WindowCount(), static_cast<int>(list.size()));
    std::map<std::uintptr_t, std::string> entries;
    for (std::size_t i = 0; i < list.size(); ++i) {
      EXPECT_EQ(list[i]->Number, static_cast<int>(i + 1));
      entries[list[i]->Hwnd.value] = list[i]->URL;
    }
    EXPECT_EQ(entries.size(), list.size()) << "two entries for one window";
    EXPECT_EQ(entries, windows) << "at " << Now() << " ms";
  }
  // The rows show the entries; after an observer fault they may lag until
  // the next change rebuilds them.
  bool same = form->ListView1->ItemCount() == static_cast<int>(list.size());
  for (int i = 0; same && i < form->ListView1->ItemCount(); ++i) {
    const TListItem& row = form->ListView1->Item(i);
    const TShellWindow& e = *list[static_cast<std::size_t>(i)];
    same = row.Data.get() == &e && row.Caption == std::to_string(e.Number) &&
           row.SubItems == std::vector<std::string>{e.Title, e.URL};
  }
  if (same) {
    if (out_of_sync_since_ != 0) {
      longest_out_of_sync_ = std::max(longest_out_of_sync_, Now() - out_of_sync_since_);
      out_of_sync_since_ = 0;
    }
    faulted_since_sync_ = false;
  } else {
    EXPECT_TRUE(faulted_since_sync_)
        << "the rows differ from the entries without a fault, at " << Now() << " ms";
    if (out_of_sync_since_ == 0) {
      out_of_sync_since_ = Now();
      ++out_of_sync_stretches_;
    }
  }
  for (int i = 0; i < form->ListView1->ItemCount(); ++i) {
    const TListItem& row = form->ListView1->Item(i);
    const auto* e = static_cast<const TShellWindow*>(row.Data.get());
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(row.SubItems, (std::vector<std::string>{e->Title, e->URL}));
  }
}

void Soak::CheckTray() {
  const bool shown = sim.notify_area.Find(TNotifyIconHandler::Window(), form->CT1->Id()) != nullptr;
  EXPECT_EQ(shown, form->CT1->IconVisible()) << "at " << Now() << " ms";
  EXPECT_EQ(form->CT1->IconVisible(), minimized_);
}

// Every browser object alive is held by an entry, a row, the translation's
// target or the observer's current browser.
void Soak::CheckBrowsersAlive() {
  std::set<const ShellBrowser*> held;
  for (const TShellWindowRef& e : form->ShellWindowObserver1->WindowList())
    held.insert(e->Browser.get());
  for (int i = 0; i < form->ListView1->ItemCount(); ++i) {
    held.insert(
        static_cast<const TShellWindow*>(form->ListView1->Item(i).Data.get())->Browser.get());
  }
  held.insert(form->TargetBrowser.get());
  held.insert(TShellWindowObserver::CurrentBrowser().get());
  held.erase(nullptr);
  EXPECT_EQ(sim.shell.LiveBrowsers(), static_cast<int>(held.size())) << "at " << Now() << " ms";
}

std::pair<std::uint32_t, std::uint32_t> Soak::PairUnder(RootKey root) const {
  const auto [a, b] = Pair(root);
  return {a.value_or(0), b.value_or(0)};
}

void Soak::CheckRegistry() {
  // The program's own pair is a row's or the first one.
  const auto own = std::make_pair(form->LimitPerServer, form->LimitPer1_0Server);
  bool own_known = own == std::make_pair(kInitialLimit, kInitialLimit);
  for (const ConnectionType& row : ConnectionTypes()) {
    own_known = own_known || own == std::make_pair(row.per_server, row.per_1_0_server);
  }
  EXPECT_TRUE(own_known) << own.first << "/" << own.second;
  if (registry_torn_ok_) return;
  for (RootKey root : {RootKey::CurrentUser, RootKey::CurrentConfig}) {
    const auto pair = PairUnder(root);
    bool known = pair == std::make_pair(2u, 4u) || pair == std::make_pair(6u, 6u);
    for (const ConnectionType& row : ConnectionTypes()) {
      known = known || pair == std::make_pair(static_cast<std::uint32_t>(row.per_server),
                                              static_cast<std::uint32_t>(row.per_1_0_server));
    }
    EXPECT_TRUE(known) << pair.first << "/" << pair.second << " at " << Now() << " ms";
  }
}

void Soak::Measure(bool settled) {
  Sizes s;
  s.entries = form->ShellWindowObserver1->WindowList().size();
  s.log_lines = form->ShellWindowObserver1->EntryLog().size();
  s.rows = static_cast<std::size_t>(form->ListView1->ItemCount());
  s.all_windows = static_cast<std::size_t>(sim.windowing.LiveWindows());
  s.program_windows = s.all_windows - static_cast<std::size_t>(TopLevelOpen());
  s.timers = static_cast<std::size_t>(sim.windowing.LiveTimers());
  s.peers = static_cast<std::size_t>(sim.widgets.LivePeers());
  s.icons = static_cast<std::size_t>(sim.notify_area.LiveIcons());
  s.browsers = static_cast<std::size_t>(sim.shell.LiveBrowsers());
  if (settled) {
    s.settled_entries = s.entries;
    s.settled_rows = s.rows;
  }
  (Now() < warm_up_ ? warm_peak_ : late_peak_).Raise(s);
}

TEST_F(Soak, TheWholeProgramRunsWithChurnFaultsAndRestarts) { Run(); }

}  // namespace
}  // namespace velocane::testing
