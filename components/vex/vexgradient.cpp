// The gradient painter: steps of colour between neighbouring entries of the
// colour list, each drawn as the fill style's shapes onto a scratch bitmap
// that is copied to the device context at the end.
#include <variant>

#include "components/vex/vextbackground.h"
#include "platform/framework/colors.h"

namespace velocane {

namespace {

int Red(Color c) { return static_cast<int>(c & 0xFF); }
int Green(Color c) { return static_cast<int>((c >> 8) & 0xFF); }
int Blue(Color c) { return static_cast<int>((c >> 16) & 0xFF); }

// An entry of the colour list: a colour property, or a line still to be read.
using Entry = std::variant<Color, std::string>;

Color ColorOf(Drawing& gdi, const Entry& entry) {
  const Color value = std::holds_alternative<Color>(entry)
                          ? std::get<Color>(entry)
                          : StringToColor(std::get<std::string>(entry));
  return gdi.Resolve(value);
}

// Channel by channel from c1 towards c2, step `i` of `n`.
Color StepColor(Color c1, Color c2, int i, int n, bool zero_to_one) {
  const auto channel = [&](int a, int b) {
    const int v = a + MulDiv(i, b - a, n - 1);
    return zero_to_one && v == 0 ? 1 : v;
  };
  return Rgb(channel(Red(c1), Red(c2)), channel(Green(c1), Green(c2)), channel(Blue(c1), Blue(c2)));
}

int Round(double value) { return RoundHalfEven(value); }

}  // namespace

void TVexGradient::PaintGradient(TVexDc target, int w, int h, const std::vector<std::string>& lines,
                                 bool forward) {
  if (w <= 0 || h <= 0) return;  // no area, nothing to paint
  Drawing& gdi = target.gdi;
  std::vector<Entry> entries;
  entries.emplace_back(forward ? begin_color_ : end_color_);
  for (const std::string& line : lines) entries.emplace_back(line);
  entries.emplace_back(forward ? end_color_ : begin_color_);
  const int k = static_cast<int>(entries.size()) - 1;
  const int n = color_count_;
  const auto m = [n](int a, int b) { return MulDiv(a, b, n); };

  TMemoryDc scratch(gdi, w, h);
  const DcHandle dc = scratch.Dc();
  // The first colour exactly, without the step colours' rule for zero.
  TSelectedBrush brush(gdi, dc, Brush{TBrushStyle::bsSolid, ColorOf(gdi, entries.front())});
  gdi.PatBlt(dc, 0, 0, w, h, rop::kPatCopy);

  const int hb = Round(static_cast<double>(h) / k) + 1;
  const int wb = Round(static_cast<double>(w) / k) + 1;
  const int hb0 = Round(static_cast<double>(h) / k);
  const int wb0 = Round(static_cast<double>(w) / k);
  for (int r = 0; r < k; ++r) {
    const Color c1 = ColorOf(gdi, entries[r]);
    const Color c2 = ColorOf(gdi, entries[r + 1]);
    for (int i = 0; i < n; ++i) {
      const Color color = StepColor(c1, c2, i, n, true);
      brush.Set(Brush{TBrushStyle::bsSolid, color});
      const auto patblt = [&](int x, int y, int width, int height) {
        gdi.PatBlt(dc, x, y, width, height, rop::kPatCopy);
      };
      const auto ellipse = [&](int left, int top, int right, int bottom) {
        gdi.Ellipse(dc, Rect{left, top, right, bottom}, color, color);
      };
      // Circle and Spectral: lines through the centre, in one colour or, for
      // Spectral, the step colour on odd and the mirror colour on even ones.
      const auto circle_lines = [&](bool spectral) {
        const Color mirror = StepColor(c1, c2, n - 1 - i, n, false);
        const int oy = hb * r;
        const int ox = wb * r;
        for (int x = m(i, wb); x <= m(i + 2, wb); ++x) {
          const Color pen = spectral && x % 2 == 0 ? mirror : color;
          gdi.Line(dc, ox + x, 0, w - x - ox, h, pen);
        }
        for (int y = m(i, hb); y <= m(i + 2, hb); ++y) {
          const Color pen = spectral && y % 2 == 0 ? mirror : color;
          gdi.Line(dc, 0, oy + y, w, h - y - oy, pen);
        }
      };
      switch (fill_style_) {
        case TVexFillStyle::Circle:
          circle_lines(false);
          break;
        case TVexFillStyle::Spectral:
          circle_lines(true);
          break;
        case TVexFillStyle::Horizontal: {
          const int oy = hb * r;
          const int y1 = m(i, hb), y2 = m(i + 2, hb);
          patblt(0, oy + y1, w, oy + y2 - y1);
          break;
        }
        case TVexFillStyle::Vertical: {
          const int ox = wb * r;
          const int x1 = m(i, wb), x2 = m(i + 2, wb);
          patblt(ox + x1, 0, ox + x2 - x1, h);
          break;
        }
        case TVexFillStyle::LeftBottom: {
          const int ox = wb * r, oy = hb * r;
          const int x1 = m(i, wb), y1 = m(i, hb);
          patblt(ox + x1, oy + y1, w - x1, h - y1);
          break;
        }
        case TVexFillStyle::RoundMiddle: {
          const int ox = Round(wb / 2.0 * r) + 1, oy = Round(hb / 2.0 * r) + 1;
          const int x1 = m(i, Round(wb / 2.0) + 1), y1 = m(i, Round(hb / 2.0) + 1);
          ellipse(ox + x1, oy + y1, w - x1 - ox, h - y1 - oy);
          break;
        }
        case TVexFillStyle::SquareMiddle: {
          const int ox = Round(wb0 / 2.0 * r), oy = Round(hb0 / 2.0 * r);
          const int x1 = m(i, Round(wb0 / 2.0)), y1 = m(i, Round(hb0 / 2.0));
          patblt(ox + x1, oy + y1, w - 2 * x1 - 2 * ox, h - 2 * y1 - 2 * oy);
          break;
        }
        case TVexFillStyle::DoppelFlash: {
          const int ox = wb * r + 1, oy = hb * r + 1;
          const int x1 = m(i, wb), y1 = m(i, hb);
          ellipse(ox + x1, oy + y1, w, h);
          ellipse(w - x1 - ox, h - y1 - oy, 0, 0);
          break;
        }
        case TVexFillStyle::Singleflash: {
          const int ox = wb0 * r, oy = hb0 * r;
          const int x1 = m(i, wb0), y1 = m(i, hb0);
          ellipse(ox + x1, oy + y1, w, h);
          break;
        }
        case TVexFillStyle::MiddleHBar: {
          const int oy = Round(hb / 2.0 * r) + 1, p = Round(hb / 2.0);
          const int a1 = h - m(i, p + 1), a2 = h - m(i + 2, p + 1);
          const int b1 = m(i, p), b2 = m(i + 2, p);
          patblt(0, a1 - 1 - oy, w, a2 - a1);
          patblt(0, oy + b1, w, b2 - b1 + 1);
          break;
        }
        case TVexFillStyle::MiddleVBar: {
          const int ox = Round(wb / 2.0 * r) + 1, p = Round(wb / 2.0);
          const int a1 = w - m(i, p + 1), a2 = w - m(i + 2, p + 1);
          const int b1 = m(i, p), b2 = m(i + 2, p);
          patblt(a1 - 1 - ox, 0, a2 - a1, h);
          patblt(ox + b1, 0, b2 - b1 + 1, h);
          break;
        }
        case TVexFillStyle::VerticalDoppelBar: {
          const int ox = Round(wb / 3.0 * r) + 1, p = Round(wb / 3.0) + 1;
          const int t = 2 * Round(w / 3.0);
          const int x1 = m(i, p), x2 = m(i + 1, p);
          patblt(ox + x1, 0, x2 - x1, h);
          patblt(t - x2 - ox, 0, x2 - x1, h);
          patblt(t + ox + x1, 0, x2 - x1, h);
          break;
        }
        case TVexFillStyle::HorizontalDoppelBar: {
          const int oy = Round(hb / 3.0 * r) + 1, p = Round(hb / 3.0) + 1;
          const int t = 2 * Round(h / 3.0);
          const int y1 = m(i, p), y2 = m(i + 1, p);
          patblt(0, oy + y1, w, y2 - y1);
          patblt(0, t - y2 - oy, w, y2 - y1);
          patblt(0, t + oy + y1, w, y2 - y1);
          break;
        }
      }
    }
  }
  gdi.BitBlt(target.dc, 0, 0, w, h, dc, 0, 0, rop::kSrcCopy);
}

}  // namespace velocane
