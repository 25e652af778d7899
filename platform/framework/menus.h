#pragma once
// A context menu. The main window's memos carry one without entries, which
// takes the place of the edit control's own menu.
#include <string>
#include <vector>

#include "platform/framework/component.h"

namespace velocane {

class TPopupMenu : public TComponent {
 public:
  using TComponent::TComponent;
  const std::vector<std::string>& Items() const { return items_; }

 private:
  std::vector<std::string> items_;
};

}  // namespace velocane
