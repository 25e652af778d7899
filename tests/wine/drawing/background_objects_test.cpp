// No GDI object made by a background paint outlives it, on the real GDI:
// every handle the paint had the drawing operations make is gone afterwards
// (GetObjectType answers 0), whatever the style. GetGuiResources is printed
// too; Wine answers 0 for it, so it cannot serve as the count there.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>

#include "components/vex/vextbackground.h"
#include "platform/framework/exceptions.h"
#include "platform/win32/win32_drawing.h"
#include "platform/win32/windows_clean.h"

namespace velocane {
namespace {

// The real drawing, noting every object it is asked to make.
class RecordingDrawing : public win32::Win32Drawing {
 public:
  DcHandle CreateMemoryDc() override { return Note(win32::Win32Drawing::CreateMemoryDc()); }
  BitmapHandle CreateBitmap(int width, int height) override {
    return Note(win32::Win32Drawing::CreateBitmap(width, height));
  }
  BitmapHandle CreateMonoBitmap(int width, int height) override {
    return Note(win32::Win32Drawing::CreateMonoBitmap(width, height));
  }
  BrushHandle CreateBrush(const Brush& brush) override {
    const BrushHandle made = win32::Win32Drawing::CreateBrush(brush);
    if (brush.style != TBrushStyle::bsClear) made_.insert(made.value);  // not the stock null brush
    return made;
  }
  // Objects still alive of those made since the last call.
  int Survivors() {
    int alive = 0;
    for (std::uintptr_t handle : made_) {
      if (GetObjectType(reinterpret_cast<HGDIOBJ>(handle)) != 0) ++alive;
    }
    made_.clear();
    return alive;
  }
  std::size_t Made() const { return made_.size(); }

 private:
  template <class Handle>
  Handle Note(Handle handle) {
    made_.insert(handle.value);
    return handle;
  }
  std::set<std::uintptr_t> made_;
};

TEST(BackgroundObjects, NothingMadeForAPaintOutlivesIt) {
  RecordingDrawing gdi;
  TMemoryDc surface(gdi, 60, 40);
  const int survivors_before = gdi.Survivors();  // the surface itself
  EXPECT_EQ(survivors_before, 2);
  const DWORD before = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  TVexBackground background(nullptr, "Background");
  TVexImage picture{5, 3, std::vector<Color>(15, 0x0000FF)};
  picture.pixels[4] = 0x00FF00;
  background.Texture().SetImage(picture);
  background.Texture().SetTransparentColor(0x00FF00);
  background.Gradient().SetColorsInBetween({"clTeal"});
  for (int style = 0; style <= static_cast<int>(TVexBackStyle::bBrushFillSolidColor); ++style) {
    background.SetBackgroundStyle(static_cast<TVexBackStyle>(style));
    for (int fill = 0; fill <= static_cast<int>(TVexFillStyle::HorizontalDoppelBar); ++fill) {
      background.Gradient().SetFillStyle(static_cast<TVexFillStyle>(fill));
      background.Texture().SetImageStyle(static_cast<TVexImageStyle>(fill % 3));
      background.BrushFill().SetBrushStyle(static_cast<TBrushStyle>(fill % 8));
      background.PaintBackground(surface.Target(), 60, 40, true);
      if (style != static_cast<int>(TVexBackStyle::bSolidcolor)) {
        EXPECT_GT(gdi.Made(), 0u) << style << "/" << fill;
      }
      ASSERT_EQ(gdi.Survivors(), 0) << style << "/" << fill;
    }
  }
  // A failing paint releases what it made, too.
  background.SetBackgroundStyle(TVexBackStyle::bGradient);
  background.Gradient().SetColorsInBetween({"no colour"});
  EXPECT_THROW(background.PaintBackground(surface.Target(), 60, 40, true), EConvertError);
  EXPECT_EQ(gdi.Survivors(), 0);
  const DWORD after = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  std::printf("[ objects ] GetGuiResources(GR_GDIOBJECTS): %lu before, %lu after\n",
              static_cast<unsigned long>(before), static_cast<unsigned long>(after));
  if (before != 0) {
    EXPECT_EQ(after, before);
  }
}

}  // namespace
}  // namespace velocane
