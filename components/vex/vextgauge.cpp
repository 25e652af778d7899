#include "components/vex/vextgauge.h"

#include <string>

#include "components/vex/vextbackground.h"

namespace velocane {

TVexGauge::TVexGauge(TComponent* owner, std::string name)
    : TVexGraphicControl(owner, std::move(name)) {
  SetBounds(DesignBounds().left, DesignBounds().top, 140, 36);
  glyph_ = std::make_unique<TVexGlyph>(this);
  bevel_inner_ = std::make_unique<TVexFrame>(this);
  bevel_inner_->SetFrameStyle(TVexFrameStyle::frameLowered);
  bevel_outer_ = std::make_unique<TVexFrame>(this);
  font3d_ = std::make_unique<TVexFont3D>(this);
  // Frames and the 3-D font repaint the gauge when they change; the glyph does not.
  bevel_inner_->OnChange = [this] { Invalidate(); };
  bevel_outer_->OnChange = [this] { Invalidate(); };
  font3d_->OnChange = [this] { Invalidate(); };
  segment_area_ = Rect{0, 0, Width(), Height()};
}

TVexGauge::~TVexGauge() {
  if (background_ != nullptr) background_->RemoveClient(this);
}

void TVexGauge::SetBackground(TVexBackground* background) {
  if (background_ != nullptr) background_->RemoveClient(this);
  if (background != nullptr) {
    background->AddClient(this);
    FreeNotification(background);
  }
  background_ = background;
  Invalidate();
}

void TVexGauge::Notification(TComponent* component, TOperation operation) {
  TVexGraphicControl::Notification(component, operation);
  // The background is being destroyed and has emptied its client list:
  // drop the reference without calling it again.
  if (operation == TOperation::opRemove && component != nullptr && component == background_) {
    background_ = nullptr;
    Invalidate();
  }
}

void TVexGauge::SetPercentage(int value) {
  const std::uint8_t previous = percentage_;
  percentage_ = static_cast<std::uint8_t>(std::clamp(value, 0, 100));
  ComputeSegmentArea();
  DrawNow(segment_area_, [this](TVexDc target) { PaintSegments(target); });
  if (percentage_ != previous) AccNotify(AccEvent::kValueChange);
}

std::optional<AccElement> TVexGauge::Accessible() const {
  return AccElement{AccRole::kProgressBar,
                    "Progress",
                    std::to_string(percentage_) + "%",
                    AccState() | accstate::kReadOnly,
                    BoundsRect(),
                    {},
                    {}};
}

void TVexGauge::SetKind(TVexKind kind) {
  kind_ = kind;
  Invalidate();
}

void TVexGauge::SetSegmentWidth(std::uint8_t width) {
  if (width == segment_width_) return;
  segment_width_ = width;
  Invalidate();
}

void TVexGauge::SetSegmentGap(std::uint8_t gap) {
  if (gap == segment_gap_) return;
  segment_gap_ = gap;
  Invalidate();
}

void TVexGauge::SetSegmentColor(Color color) {
  segment_color_ = color;
  Invalidate();
}

void TVexGauge::SetInsideBackColor(Color color) {
  inside_back_color_ = color;
  Invalidate();
}

void TVexGauge::SetBorderwidth(std::uint8_t width) {
  if (width == border_width_) return;
  border_width_ = width;
  Invalidate();
}

void TVexGauge::SetPicturePosition(TVexPosition position) {
  picture_position_ = position;
  Invalidate();
}

TVexGauge::Margins TVexGauge::ComputeMargins() const {
  const int border = Scaled(border_width_);
  Margins m{border, border, border, border};
  const int g = glyph_->GlyphWidth();
  if (g > 0) {
    switch (picture_position_) {
      case TVexPosition::pLeft:
        m.left += g;
        break;
      case TVexPosition::pRight:
        m.right += g;
        break;
      case TVexPosition::pTop:
        m.top += g;
        break;
      case TVexPosition::pBottom:
        m.bottom += g;
        break;
    }
  }
  return m;
}

void TVexGauge::ComputeSegmentArea() {
  const Margins m = ComputeMargins();
  const int o = bevel_outer_->FrameDepth();
  const int i = bevel_inner_->FrameDepth();
  segment_area_ = Rect{o + m.left + i - 1, o + m.top + i - 1, Width() - m.right - i - o,
                       Height() - m.bottom - i - o};
}

void TVexGauge::PaintTo(TVexDc target) {
  if (background_ != nullptr) background_->PaintBackground(target, Width(), Height(), true);
  const Margins m = ComputeMargins();
  const int o = bevel_outer_->FrameDepth();
  const int g = glyph_->GlyphWidth();
  const int h = glyph_->GlyphHeight();
  const int b = RoundHalfEven(Scaled(border_width_) / 2.0);
  int x = 0;
  int y = 0;
  switch (picture_position_) {
    case TVexPosition::pLeft:
      x = o + 1 + b;
      y = RoundHalfEven(Height() / 2.0 - h / 2.0);
      break;
    case TVexPosition::pRight:
      x = Width() - o - m.right + b + 1;
      y = RoundHalfEven(Height() / 2.0 - h / 2.0);
      break;
    case TVexPosition::pTop:
      x = RoundHalfEven(Width() / 2.0 - g / 2.0);
      y = o + 1 + b;
      break;
    case TVexPosition::pBottom:
      x = RoundHalfEven(Width() / 2.0 - g / 2.0) + 1;
      y = Height() - o - m.bottom + b;
      break;
  }
  glyph_->DrawGlyph(target, x, y, Enabled(), false, false);
  Rect r{0, 0, Width(), Height()};
  bevel_outer_->DrawFrame(target, r);
  r = Rect{r.left + m.left - 1, r.top + m.top - 1, r.right - m.right, r.bottom - m.bottom};
  bevel_inner_->DrawFrame(target, r);
  target.gdi.FillRect(target.dc, r, inside_back_color_);
  PaintSegments(target);
}

Color TVexGauge::PenFor(int coordinate) const {
  const int width = Scaled(segment_width_);
  const int pitch = width + Scaled(segment_gap_);
  // Without a pitch there are no gaps: the bar is solid.
  if (pitch == 0) return segment_color_;
  const int position = ((coordinate % pitch) + pitch) % pitch;
  return position <= width ? segment_color_ : inside_back_color_;
}

void TVexGauge::PaintSegments(TVexDc target) {
  ComputeSegmentArea();
  const Rect caption_area = segment_area_;
  if (kind_ == TVexKind::kHorizontal) {
    PaintHorizontal(target);
  } else {
    PaintVertical(target);
  }
  font3d_->DrawText3D(ScaledFont(), target, caption_area, std::to_string(percentage_) + " %",
                      textflag::kCenter | textflag::kVCenter | textflag::kSingleLine, Enabled());
}

void TVexGauge::PaintHorizontal(TVexDc target) {
  const Rect a = segment_area_;
  const int len = a.right - a.left - 1;
  const int n = RoundHalfEven(static_cast<double>(len) * percentage_ / 100.0);
  const int xe = a.left + n;
  if (percentage_ > 0 && n >= 0) {
    for (int x = a.left; x <= xe; ++x) target.gdi.Line(target.dc, x, a.top, x, a.bottom, PenFor(x));
  }
  if (n < len)
    target.gdi.FillRect(target.dc, Rect{xe, a.top, a.right, a.bottom}, inside_back_color_);
}

void TVexGauge::PaintVertical(TVexDc target) {
  const Rect a = segment_area_;
  const int bottom_row = a.bottom - 1;
  const int len = bottom_row - a.top;
  const int n = RoundHalfEven(static_cast<double>(len) * percentage_ / 100.0);
  const int yt = bottom_row - n;
  if (percentage_ > 0 && bottom_row >= yt) {
    for (int y = yt; y <= bottom_row; ++y) {
      target.gdi.Line(target.dc, a.left, y, a.right, y, PenFor(y));
    }
  }
  const int clear_bottom = percentage_ == 0 ? yt + 1 : yt;
  target.gdi.FillRect(target.dc, Rect{a.left, a.top, a.right, clear_bottom}, inside_back_color_);
}

}  // namespace velocane
