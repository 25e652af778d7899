#pragma once
#include "platform/widgets.h"

namespace velocane::win32 {

class Win32Widgets : public WidgetFactory {
 public:
  CreatePeerResult Create(const WidgetDesc& desc, WidgetPeer* parent, WidgetSink& sink) override;
};

}  // namespace velocane::win32
