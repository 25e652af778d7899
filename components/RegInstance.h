#pragma once
// The single-instance guard: a second start finds the running copy by its
// application window (same class, same title), brings it forward and ends.
#include <cstdint>

#include "platform/framework/component.h"
#include "platform/types.h"

namespace velocane {

class TPrevInst : public TComponent {
 public:
  TPrevInst(TComponent* owner, std::string name = {});

  // How many copies may run at once, counting the one that checks.
  std::int32_t AllowedInst = 1;

  // True when another copy was found and this one has been told to end.
  virtual bool CheckPrevInst();
};

// What the last check saw; shared by every guard in the process.
struct TPrevInstState {
  char OwnTitle[256] = {};
  char OwnClassName[256] = {};
  std::int32_t InstanceCount = 0;
  WindowHandle OtherInstanceWindow;
};
TPrevInstState& PrevInstState();

}  // namespace velocane
