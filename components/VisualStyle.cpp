#include "components/VisualStyle.h"

#include "platform/framework/exceptions.h"
#include "platform/framework/forms.h"

namespace velocane {

TVisualStyle::TVisualStyle(TComponent* owner, std::string name)
    : TComponent(owner, std::move(name)) {
  // Raised here, the base's destructor takes the component off the owner's list again.
  if (dynamic_cast<TForm*>(owner) == nullptr) throw Exception("Control parent must be a form!");
  int count = 0;
  for (int i = 0; i < owner->ComponentCount(); ++i) {
    if (dynamic_cast<TVisualStyle*>(owner->Components(i)) != nullptr) ++count;
  }
  if (count > 1) throw Exception("Only one instance of TVisualStyle allowed on form");
}

}  // namespace velocane
