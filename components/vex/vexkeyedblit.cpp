#include "components/vex/vexenhancedclass.h"

namespace velocane {

namespace {

// The monochrome mask of a bitmap: 1 where a pixel has the key colour.
class MaskSurface : public TMemoryDc {
 public:
  MaskSurface(Drawing& gdi, DcHandle source, int width, int height, Color key)
      : TMemoryDc(gdi, width, height, true) {
    const Color background = gdi.GetBkColor(source);
    gdi.SetBkColor(source, key);
    gdi.BitBlt(Dc(), 0, 0, width, height, source, 0, 0, rop::kSrcCopy);
    gdi.SetBkColor(source, background);
  }
};

}  // namespace

void DrawBitmapKeyed(TVexDc target, DcHandle source, Point size, Color key, int x, int y,
                     bool allow_native) {
  if (size.x <= 0 || size.y <= 0) return;
  MaskSurface mask(target.gdi, source, size.x, size.y, key);
  MaskedStretchBlit(target.gdi, target.dc, x, y, size.x, size.y, source, 0, 0, size.x, size.y,
                    mask.Dc(), 0, 0, allow_native);
}

void MaskedStretchBlit(Drawing& gdi, DcHandle dst, int dx, int dy, int dw, int dh, DcHandle src,
                       int sx, int sy, int sw, int sh, DcHandle mask_dc, int mx, int my,
                       bool allow_native) {
  if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;
  if (allow_native && dw == sw && dh == sh) {
    // MaskBlt wants the mask as a bitmap, not selected anywhere.
    const BitmapHandle stand_in = gdi.CreateBitmap(1, 1);
    const BitmapHandle mask = gdi.SelectBitmap(mask_dc, stand_in);
    const bool done =
        gdi.MaskBlt(dst, dx, dy, dw, dh, src, sx, sy, mask, mx, my, rop::kMaskKeepDestination);
    gdi.SelectBitmap(mask_dc, mask);
    gdi.DeleteBitmap(stand_in);
    if (done) return;
  }
  TMemoryDc memory(gdi, sw, sh);
  gdi.StretchBlt(memory.Dc(), 0, 0, sw, sh, mask_dc, mx, my, sw, sh, rop::kSrcCopy);
  gdi.BitBlt(memory.Dc(), 0, 0, sw, sh, src, sx, sy, rop::kSrcErase);
  const Color text = gdi.GetTextColor(dst);
  const Color background = gdi.GetBkColor(dst);
  gdi.SetTextColor(dst, clBlack);
  gdi.SetBkColor(dst, clWhite);
  gdi.StretchBlt(dst, dx, dy, dw, dh, mask_dc, mx, my, sw, sh, rop::kSrcAnd);
  gdi.StretchBlt(dst, dx, dy, dw, dh, memory.Dc(), 0, 0, sw, sh, rop::kSrcInvert);
  gdi.SetTextColor(dst, text);
  gdi.SetBkColor(dst, background);
}

}  // namespace velocane
