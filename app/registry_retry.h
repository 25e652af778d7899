#pragma once
// The program's rule for registry writes: a write that fails is made once
// more, and a second failure goes to the caller.
#include "platform/framework/exceptions.h"

namespace velocane {

template <class Write>
void WriteWithRetry(Write&& write) {
  try {
    write();
  } catch (const ERegistryException&) {
    write();
  }
}

}  // namespace velocane
