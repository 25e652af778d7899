#pragma once
// Drawing support the components share: a device context with the drawing
// operations on it, an offscreen memory device context with its own bitmap,
// a brush selected for a while, and the brush-copy operation; each releases
// what it made on every way out.
#include "platform/drawing.h"

namespace velocane {

// A device context with the operations to draw on it.
struct TDc {
  Drawing& gdi;
  DcHandle dc;
};

// A memory device context with a bitmap of its own (colour, or monochrome).
// The system refuses empty and negative sizes: callers with nothing to draw
// do not make one.
class TMemoryDc {
 public:
  TMemoryDc(Drawing& gdi, int width, int height, bool mono = false);
  ~TMemoryDc();
  TMemoryDc(const TMemoryDc&) = delete;
  TMemoryDc& operator=(const TMemoryDc&) = delete;

  Drawing& Gdi() const { return gdi_; }
  DcHandle Dc() const { return dc_; }
  BitmapHandle Bitmap() const { return bitmap_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  TDc Target() const { return TDc{gdi_, dc_}; }

 private:
  Drawing& gdi_;
  int width_;
  int height_;
  DcHandle dc_;
  BitmapHandle bitmap_;
  BitmapHandle old_;
};

// A brush of our own selected into a device context; the previous brush is
// put back and ours deleted at the end. Set replaces it with another.
class TSelectedBrush {
 public:
  TSelectedBrush(Drawing& gdi, DcHandle dc, const Brush& brush);
  ~TSelectedBrush();
  TSelectedBrush(const TSelectedBrush&) = delete;
  TSelectedBrush& operator=(const TSelectedBrush&) = delete;
  void Set(const Brush& brush);

 private:
  Drawing& gdi_;
  DcHandle dc_;
  BrushHandle brush_;
  BrushHandle old_;
};

// The brush-copy operation: copies src's (0, 0, width, height) onto dst at
// (0, 0), painting the pixels of colour `key` with dst's selected brush instead.
void BrushCopy(TDc dst, DcHandle src, int width, int height, Color key);

}  // namespace velocane
