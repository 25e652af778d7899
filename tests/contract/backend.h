#pragma once
// The backend a contract test runs against: the simulation natively, the real
// system under Wine. The same test source must pass on both.
#include <functional>

#include "platform/platform.h"

namespace velocane::contract {

Platform& Backend();
// Dispatches messages until `done()` holds or `budget_ms` of the backend's time
// (virtual in the simulation) has passed; returns `done()`.
bool PumpUntil(const std::function<bool()>& done, unsigned budget_ms);

}  // namespace velocane::contract
