#pragma once
// The pseudo-random numbers of the progress animations: a linear congruential
// generator on a 32-bit seed that starts at 0 and is never reseeded, so every
// run of the program waits the same sequence.
#include <cstdint>

namespace velocane {

class TRandomGenerator {
 public:
  // An integer from 0 to range - 1.
  std::uint32_t Next(std::uint32_t range) {
    seed_ = seed_ * 134775813u + 1u;
    return static_cast<std::uint32_t>((static_cast<std::uint64_t>(range) * seed_) >> 32);
  }

 private:
  std::uint32_t seed_ = 0;
};

}  // namespace velocane
