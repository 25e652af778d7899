#pragma once
// The observer's poll step by step, one call to the shell wherever the
// observer's rules read something: every item is read and compared with the
// entries, a new window's handle is read a second time, and every entry is
// looked for again by walking the whole collection. The observer polls in
// fewer calls; the tests and the benchmark compare it with this one.
#include "components/ShellWindowScan.h"

namespace velocane {

class TLiteralShellWindowScan : public TShellWindowScanSteps {
 public:
  explicit TLiteralShellWindowScan(TShellWindowObserver& observer)
      : TShellWindowScanSteps(observer) {}

  // The whole tick.
  TPollEnd Scan(ShellWindows& collection);

 private:
  void ScanItems(ShellWindows& collection, bool& counted);
  void CheckWindow();
  void Purge(ShellWindows& collection);
};

}  // namespace velocane
