// Colour lines of any text, read as colour values and painted as the colours
// between a gradient's ends: a value or the conversion error, nothing left behind.
#include "components/vex/vextbackground.h"
#include "platform/framework/colors.h"
#include "platform/framework/exceptions.h"
#include "platform/framework/graphics.h"
#include "platform/sim/sim_drawing.h"
#include "tests/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace velocane;
  fuzz::Input input(data, size);
  const auto style = static_cast<TVexFillStyle>(input.Byte() % 13);
  const int count = input.Byte();
  const int width = input.Byte() % 40;
  const int height = input.Byte() % 40;
  std::vector<std::string> lines;
  bool all_colours = true;
  while (!input.Empty() && lines.size() < 8) {
    lines.push_back(input.Line());
    try {
      StringToColor(lines.back());
    } catch (const EConvertError&) {
      all_colours = false;
    }
  }
  sim::SimDrawing gdi;
  const int dcs = gdi.LiveDcs();
  const int bitmaps = gdi.LiveBitmaps();
  {
    TMemoryDc surface(gdi, 40, 40);
    TVexBackground background(nullptr, "Background");
    background.Gradient().SetFillStyle(style);
    background.Gradient().SetColorCount(count);
    background.Gradient().SetColorsInBetween(lines);
    try {
      background.PaintBackground(surface.Target(), width, height, (count & 1) != 0);
      if (!all_colours && width > 0 && height > 0) __builtin_trap();  // a bad line must fail
    } catch (const EConvertError&) {
      if (all_colours) __builtin_trap();
    }
  }
  if (gdi.LiveDcs() != dcs || gdi.LiveBitmaps() != bitmaps || gdi.LiveBrushes() != 0) {
    __builtin_trap();
  }
  return 0;
}
