#include "platform/sim/sim_platform.h"
#include "tests/contract/backend.h"

namespace velocane::contract {

namespace {
sim::SimPlatform& Sim() {
  static sim::SimPlatform platform;
  return platform;
}
}  // namespace

Platform& Backend() { return Sim().platform; }

bool PumpUntil(const std::function<bool()>& done, unsigned budget_ms) {
  for (unsigned elapsed = 0; !done() && elapsed < budget_ms; ++elapsed) Sim().windowing.RunFor(1);
  return done();
}

}  // namespace velocane::contract
