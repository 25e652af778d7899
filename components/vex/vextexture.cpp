// The texture painter: the picture tiled, centred or stretched, with one of
// its colours first replaced by a brush.
#include <optional>

#include "components/vex/vextbackground.h"

namespace velocane {

void TVexTexture::PaintTexture(TVexDc target, int w, int h, Color back_color) {
  if (image_.Empty() || w <= 0 || h <= 0) return;
  Drawing& gdi = target.gdi;
  const int iw = image_.width;
  const int ih = image_.height;
  // The picture as a bitmap the system can copy from.
  TMemoryDc picture(gdi, iw, ih);
  for (int y = 0; y < ih; ++y) {
    for (int x = 0; x < iw; ++x) gdi.SetPixel(picture.Dc(), x, y, image_.At(x, y));
  }
  std::optional<TMemoryDc> prepared;
  DcHandle source = picture.Dc();
  if (transparent_color_ != clNone) {
    prepared.emplace(gdi, iw, ih);
    TSelectedBrush brush(gdi, prepared->Dc(), Brush{TBrushStyle::bsSolid, transparent_background_});
    BrushCopy(prepared->Target(), picture.Dc(), iw, ih, transparent_color_);
    source = prepared->Dc();
  }
  switch (image_style_) {
    case TVexImageStyle::isTile: {
      // One more column and row than fit whole: the last ones overhang the edge.
      const int columns = w / iw;
      const int rows = h / ih;
      for (int c = 0; c <= columns; ++c) {
        for (int d = 0; d <= rows; ++d) {
          gdi.BitBlt(target.dc, c * iw, d * ih, iw, ih, source, 0, 0, rop::kSrcCopy);
        }
      }
      break;
    }
    case TVexImageStyle::isStretched:
      gdi.StretchBlt(target.dc, 0, 0, w, h, source, 0, 0, iw, ih, rop::kSrcCopy);
      break;
    case TVexImageStyle::isCenter:
    default: {
      gdi.SetBkColor(target.dc, gdi.Resolve(back_color));
      gdi.SetBkMode(target.dc, BkMode::kOpaque);
      const int x = iw < w ? (w - iw) / 2 : 0;
      const int y = ih < h ? (h - ih) / 2 : 0;
      gdi.BitBlt(target.dc, x, y, iw, ih, source, 0, 0, rop::kSrcCopy);
      break;
    }
  }
}

}  // namespace velocane
