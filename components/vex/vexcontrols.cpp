#include "components/vex/vexcontrols.h"

#include "platform/framework/application.h"

namespace velocane {

namespace {

// The control's own surface, holding what lies under it on the parent first.
class Offscreen : public TMemoryDc {
 public:
  Offscreen(Drawing& gdi, DcHandle parent, const Rect& place)
      : TMemoryDc(gdi, place.Width(), place.Height()) {
    gdi.BitBlt(Dc(), 0, 0, place.Width(), place.Height(), parent, place.left, place.top,
               rop::kSrcCopy);
  }
};

}  // namespace

void TVexGraphicControl::Paint(Canvas& canvas) {
  Drawing& gdi = canvas.Gdi();
  const Rect place = BoundsRect();
  if (place.Width() <= 0 || place.Height() <= 0) return;  // nothing to paint
  Offscreen surface(gdi, canvas.Dc(), place);
  PaintTo(TVexDc{gdi, surface.Dc()});
  gdi.BitBlt(canvas.Dc(), place.left, place.top, place.Width(), place.Height(), surface.Dc(), 0, 0,
             rop::kSrcCopy);
}

void TVexGraphicControl::DrawNow(const Rect& area, const std::function<void(TVexDc)>& draw) {
  TWinControl* parent = Parent();
  TApplication* app = Application();
  // Hidden, or not on a window yet: nothing to draw on.
  if (!Visible() || parent == nullptr || parent->Peer() == nullptr || app == nullptr) return;
  const Rect place = BoundsRect();
  if (place.Width() <= 0 || place.Height() <= 0) return;
  WidgetPeer* peer = parent->Peer();
  // The parent's context goes back to it also when drawing fails.
  struct ParentDc {
    WidgetPeer* peer;
    DcHandle dc;
    ~ParentDc() {
      if (dc) peer->ReleaseDc(dc);
    }
  } parent_dc{peer, peer->GetDc()};
  if (!parent_dc.dc) return;
  Drawing& gdi = app->Platform().drawing;
  Offscreen surface(gdi, parent_dc.dc, place);
  draw(TVexDc{gdi, surface.Dc()});
  gdi.BitBlt(parent_dc.dc, place.left + area.left, place.top + area.top, area.Width(),
             area.Height(), surface.Dc(), area.left, area.top, rop::kSrcCopy);
}

}  // namespace velocane
