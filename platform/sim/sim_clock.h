#pragma once
// Virtual time shared by the simulated platform: nothing sleeps for real.
#include <cstdint>

namespace velocane::sim {

class SimClock {
 public:
  std::uint64_t Now() const { return now_; }
  void Advance(std::uint64_t milliseconds) { now_ += milliseconds; }
  void AdvanceTo(std::uint64_t when) {
    if (when > now_) now_ = when;
  }

 private:
  std::uint64_t now_ = 0;
};

}  // namespace velocane::sim
