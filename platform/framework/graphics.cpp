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

}  // namespace velocane
