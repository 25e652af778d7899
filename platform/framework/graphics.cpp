#include "platform/framework/graphics.h"

namespace velocane {

TMemoryDc::TMemoryDc(Drawing& gdi, int width, int height, bool mono)
    : gdi_(gdi), width_(width), height_(height), dc_(gdi.CreateMemoryDc()) {
  try {
    bitmap_ = mono ? gdi.CreateMonoBitmap(width, height) : gdi.CreateBitmap(width, height);
  } catch (...) {
    gdi_.DeleteDc(dc_);
    throw;
  }
  old_ = gdi_.SelectBitmap(dc_, bitmap_);
}

TMemoryDc::~TMemoryDc() {
  gdi_.SelectBitmap(dc_, old_);
  gdi_.DeleteBitmap(bitmap_);
  gdi_.DeleteDc(dc_);
}

TSelectedBrush::TSelectedBrush(Drawing& gdi, DcHandle dc, const Brush& brush)
    : gdi_(gdi), dc_(dc), brush_(gdi.CreateBrush(brush)) {
  old_ = gdi_.SelectBrush(dc_, brush_);
}

TSelectedBrush::~TSelectedBrush() {
  gdi_.SelectBrush(dc_, old_);
  gdi_.DeleteBrush(brush_);
}

void TSelectedBrush::Set(const Brush& brush) {
  const BrushHandle next = gdi_.CreateBrush(brush);
  gdi_.SelectBrush(dc_, next);
  gdi_.DeleteBrush(brush_);
  brush_ = next;
}

void BrushCopy(TDc dst, DcHandle src, int width, int height, Color key) {
  if (width <= 0 || height <= 0) return;
  Drawing& gdi = dst.gdi;
  // The mask is white where the source has the key colour.
  TMemoryDc mask(gdi, width, height, true);
  const Color source_background = gdi.GetBkColor(src);
  gdi.SetBkColor(src, key);
  gdi.BitBlt(mask.Dc(), 0, 0, width, height, src, 0, 0, rop::kSrcCopy);
  gdi.SetBkColor(src, source_background);
  gdi.BitBlt(dst.dc, 0, 0, width, height, src, 0, 0, rop::kSrcCopy);
  // Through the mask, white taking the brush and black keeping what is there.
  const Color text = gdi.GetTextColor(dst.dc);
  const Color background = gdi.GetBkColor(dst.dc);
  gdi.SetTextColor(dst.dc, clBlack);
  gdi.SetBkColor(dst.dc, clWhite);
  gdi.BitBlt(dst.dc, 0, 0, width, height, mask.Dc(), 0, 0, rop::kDSPDxax);
  gdi.SetTextColor(dst.dc, text);
  gdi.SetBkColor(dst.dc, background);
}

}  // namespace velocane
