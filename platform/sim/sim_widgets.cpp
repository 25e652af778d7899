#include "platform/sim/sim_widgets.h"

#include "platform/canvas.h"
#include "platform/messages.h"
#include "platform/process.h"

namespace velocane::sim {

SimPeer::~SimPeer() {
  if (surface_) {
    drawing_.DeleteDc(surface_);
    drawing_.DeleteBitmap(surface_bitmap_);
  }
  if (parent_ == nullptr) windowing_.DestroyWindow(handle_);
}

DcHandle SimPeer::Surface() {
  if (!surface_) {
    surface_ = drawing_.CreateMemoryDc();
    surface_bitmap_ = drawing_.CreateBitmap(state.bounds.Width(), state.bounds.Height());
    drawing_.SelectBitmap(surface_, surface_bitmap_);
  }
  return surface_;
}

void SimPeer::Render() {
  const DcHandle dc = Surface();
  drawing_.FillRect(dc, Rect{0, 0, state.bounds.Width(), state.bounds.Height()}, state.color);
  Canvas canvas(drawing_, dc);
  sink.PeerPaint(canvas);
}

void SimPeer::SetVisible(bool visible) {
  state.visible = visible;
  if (parent_ == nullptr) windowing_.ShowWindow(handle_, visible ? showcmd::kShow : showcmd::kHide);
}

bool SimPeer::SetFocus() { return state.visible && state.enabled; }

CreatePeerResult SimWidgets::Create(const WidgetDesc& desc, WidgetPeer* parent, WidgetSink& sink) {
  if (fail_next_create_ != 0) {
    unsigned error = fail_next_create_;
    fail_next_create_ = 0;
    return CreatePeerResult{nullptr, error};
  }
  WindowHandle handle;
  if (parent == nullptr) {
    // The close box and the end of the session reach the form as on the desktop.
    handle = windowing_.AddWindow(
        "T" + desc.name, desc.text,
        [&sink](std::uint32_t msg, std::uintptr_t, std::intptr_t) -> std::optional<std::intptr_t> {
          if (msg == wm::kClose) {
            sink.PeerCloseRequested();
            return 0;
          }
          if (msg == wm::kQueryEndSession) return sink.PeerQueryEndSession() ? 1 : 0;
          return std::nullopt;
        },
        desc.owner);
    windowing_.ShowWindow(handle, desc.visible ? showcmd::kShow : showcmd::kHide);
  } else {
    handle = windowing_.CreateHiddenWindow(desc.name, desc.text, true, {}).handle;
  }
  return CreatePeerResult{std::make_unique<SimPeer>(desc, sink, handle, windowing_, drawing_,
                                                    static_cast<SimPeer*>(parent)),
                          0};
}

}  // namespace velocane::sim
