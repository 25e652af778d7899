#pragma once
// The visual-style component: it stands for the program's manifest, which asks
// the system for the common controls that draw in the current visual style,
// and it belongs once on the main form.
#include <string>

#include "platform/framework/component.h"

namespace velocane {

class TVisualStyle : public TComponent {
 public:
  // Raises Exception when the owner is no form, or already holds one.
  explicit TVisualStyle(TComponent* owner, std::string name = {});
};

}  // namespace velocane
