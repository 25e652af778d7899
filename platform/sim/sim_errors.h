#pragma once
// The simulated system's error texts (those of the real system for the codes
// the program meets), and raising them as the framework's error kind.
#include <string>

#include "platform/framework/exceptions.h"

namespace velocane::sim {

std::string SystemErrorText(unsigned code);

[[noreturn]] inline void ThrowOSError(unsigned code) {
  throw EOSError(code, SystemErrorText(code));
}

}  // namespace velocane::sim
