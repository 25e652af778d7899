#include "components/vex/vexcontrols.h"

#include "platform/framework/application.h"

namespace velocane {

namespace {

// The control's own surface, holding what lies under it on the parent first.
class Offscreen : public TVexMemoryDc {
 public:
  Offscreen(Drawing& gdi, DcHandle parent, const Rect& place)
      : TVexMemoryDc(gdi, place.Width(), place.Height()) {
    gdi.BitBlt(Dc(), 0, 0, place.Width(), place.Height(), parent, place.left, place.top,
               rop::kSrcCopy);
  }
};

}  // namespace

void TVexGraphicControl::Paint(Canvas& canvas) {
  Drawing& gdi = canvas.Gdi();
  const Rect place = BoundsRect();
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
  WidgetPeer* peer = parent->Peer();
  const DcHandle dc = peer->GetDc();
  if (!dc) return;
  Drawing& gdi = app->Platform().drawing;
  const Rect place = BoundsRect();
  {
    Offscreen surface(gdi, dc, place);
    draw(TVexDc{gdi, surface.Dc()});
    gdi.BitBlt(dc, place.left + area.left, place.top + area.top, area.Width(), area.Height(),
               surface.Dc(), area.left, area.top, rop::kSrcCopy);
  }
  peer->ReleaseDc(dc);
}

}  // namespace velocane
