// The observer's log on windows with any address and title (UTF-16 of any
// code units, unpaired surrogates included), any delimiter and any local time:
// every line is the entry's number, "-", "Hwnd", ":", its window in eight hex
// digits, its address, its title and the time, joined by the delimiter; the
// log never grows past its bound.
#include <cstdio>
#include <string>
#include <vector>

#include "components/ShellWindowScan.h"
#include "components/uShellWindowObserver.h"
#include "platform/framework/application.h"
#include "platform/framework/datetime.h"
#include "platform/sim/sim_platform.h"
#include "tests/fuzz/fuzz_input.h"

namespace {

using namespace velocane;

std::u16string Text(fuzz::Input& input) {
  std::u16string text;
  const int length = input.Byte() % 24;
  for (int i = 0; i < length; ++i) {
    const char16_t c = static_cast<char16_t>(input.Byte() << 8 | input.Byte());
    text.push_back(c);
  }
  // Mostly pages the filter lets through.
  if ((length & 3) != 0) text = u"http://" + text;
  return text;
}

std::string Hex8(WindowHandle h) {
  char text[24];
  std::snprintf(text, sizeof text, "%08llX", static_cast<unsigned long long>(h.value));
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Input input(data, size);
  sim::SimPlatform sim;
  TApplication app(sim.platform);
  app.Initialize();
  auto* observer = new TShellWindowObserver(&app, "Observer");
  observer->Active = true;
  observer->LoggingDirs = (input.Byte() & 1) != 0;
  observer->Delimiter = static_cast<char>(input.Byte());
  std::size_t lines = 0;
  observer->OnAddedEntry = [&](TComponent&, TShellWindow& e, const std::string& line) {
    const std::string d(1, observer->Delimiter);
    const LocalTime now = sim.process.local_time;
    const std::string expected = std::to_string(e.Number) + d + "-" + d + "Hwnd" + d + ":" + d +
                                 Hex8(e.Hwnd) + d + e.URL + d + e.Title + d +
                                 DateTimeToStr(sim.process, now);
    if (line != expected) __builtin_trap();
    if (!observer->LoggingDirs && !TShellWindowScanSteps::IsWebAddress(e.URL)) __builtin_trap();
    if (e.URL.find("%20") != std::string::npos) __builtin_trap();
    if (observer->EntryLog().empty() || observer->EntryLog().back() != line) __builtin_trap();
    ++lines;
  };
  std::vector<int> windows;
  // Bounded, so that a run stays quick: long scripts add nothing short ones do not.
  for (int step = 0; step < 200 && !input.Empty(); ++step) {
    const std::uint8_t op = input.Byte();
    const int which = windows.empty() ? 0 : windows[input.Byte() % windows.size()];
    switch (op % 6) {
      case 0:
        if (windows.size() < 12) {
          const bool tab = (op & 0x80) != 0 && !windows.empty();
          windows.push_back(sim.shell.Open(Text(input), Text(input),
                                           tab ? sim.shell.HwndOf(which) : WindowHandle{}));
        }
        break;
      case 1:
        if (!windows.empty() && sim.shell.IsOpen(which)) {
          sim.shell.Navigate(which, Text(input), Text(input));
        }
        break;
      case 2:
        if (!windows.empty() && sim.shell.IsOpen(which)) sim.shell.Retitle(which, Text(input));
        break;
      case 3:
        if (!windows.empty() && sim.shell.IsOpen(which)) sim.shell.Close(which);
        break;
      case 4: {
        LocalTime& t = sim.process.local_time;
        t.year = 1990 + input.Byte() % 120;
        t.month = 1 + input.Byte() % 12;
        t.day = 1 + input.Byte() % 28;
        // Midnight now and then: the time is left out.
        const bool midnight = (op & 0x40) != 0;
        t.hour = midnight ? 0 : input.Byte() % 24;
        t.minute = midnight ? 0 : input.Byte() % 60;
        t.second = midnight ? 0 : input.Byte() % 60;
        break;
      }
      default:
        sim.windowing.RunFor(TShellWindowObserver::kPollInterval * (1 + op / 64));
        break;
    }
  }
  sim.windowing.RunFor(TShellWindowObserver::kPollInterval * 2);
  const std::size_t logged = observer->EntryLog().size();
  if (logged > TShellWindowObserver::kEntryLogLimit ||
      logged != std::min(lines, TShellWindowObserver::kEntryLogLimit)) {
    __builtin_trap();
  }
  return 0;
}
