#include "components/vex/vexenhancedclass.h"

namespace velocane {

void TVexFont3D::SetThreeDimensional(bool on) {
  three_dimensional_ = on;
  Changed();
}

void TVexFont3D::SetStyle3D(TVexStyle3D style) {
  style_ = style;
  Changed();
}

void TVexFont3D::SetOffset(std::uint8_t offset) {
  if (offset != 0) offset_ = offset;
  Changed();
}

void TVexFont3D::SetHighlight(Color color) {
  highlight_ = color;
  Changed();
}

void TVexFont3D::SetShadow(Color color) {
  shadow_ = color;
  Changed();
}

void TVexFont3D::SetRepetition(TVexRepeat repetition) {
  repetition_ = repetition;
  Changed();
}

void TVexFont3D::SetRepetitionColor(Color color) {
  repetition_color_ = color;
  Changed();
}

void TVexFont3D::SetRepetitionwidth(std::uint8_t width) {
  if (width == repetition_width_) return;
  repetition_width_ = width;
  Changed();
}

void TVexFont3D::Assign(const TVexFont3D& other) {
  three_dimensional_ = other.three_dimensional_;
  style_ = other.style_;
  offset_ = other.offset_;
  highlight_ = other.highlight_;
  shadow_ = other.shadow_;
  repetition_ = other.repetition_;
  repetition_color_ = other.repetition_color_;
  repetition_width_ = other.repetition_width_;
  Changed();
}

void TVexFont3D::DrawText3D(const FontDesc& font, TVexDc target, const Rect& rect,
                            const std::string& text, unsigned flags, bool enabled) {
  Rect r = rect;
  const Color saved = target.gdi.GetTextColor(target.dc);
  const auto pass = [&](Color color) {
    target.gdi.SetTextColor(target.dc, color);
    target.gdi.DrawText(target.dc, text, r, flags | textflag::kNoClip, font);
  };
  const auto move = [&](int dx, int dy) {
    r = Rect{r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
  };

  const int one = Scaled(1);
  if (!enabled) {
    pass(clBtnHighlight);
    move(-one, -one);
    pass(clGrayText);
  } else if (!three_dimensional_) {
    pass(font.color);
  } else {
    if (repetition_ != TVexRepeat::repeatNone) {
      const int w = Scaled(repetition_width_);
      r = Rect{r.left + w, r.top + w, r.right - w, r.bottom - w};
      const int o = Scaled(offset_);
      if (repetition_ == TVexRepeat::repeatOnShadow) {
        move(o, o);
        for (int i = 0; i < w; ++i) {
          pass(repetition_color_);
          move(-1, -1);
        }
      } else {
        move(-o, -o);
        for (int i = 0; i < w; ++i) {
          pass(repetition_color_);
          move(1, 1);
        }
      }
    }
    if (style_ != TVexStyle3D::fontOutLineShadow) {
      const bool raised = style_ == TVexStyle3D::fontRaised;
      const Color up_left = raised ? highlight_ : shadow_;
      const Color down_right = raised ? shadow_ : highlight_;
      const int o = Scaled(offset_);
      move(-o, -o);
      if (style_ != TVexStyle3D::fontOnlyShadow) {
        pass(style_ == TVexStyle3D::fontOnlyHighlight ? highlight_ : up_left);
      }
      move(2 * o, 2 * o);
      if (style_ != TVexStyle3D::fontOnlyHighlight) {
        pass(style_ == TVexStyle3D::fontOnlyShadow ? shadow_ : down_right);
      }
      move(-o, -o);
    } else {
      for (Point d : {Point{-one, -one}, Point{one, -one}, Point{one, one}, Point{-one, one}}) {
        move(d.x, d.y);
        pass(shadow_);
        move(-d.x, -d.y);
      }
    }
    pass(font.color);
  }
  target.gdi.SetTextColor(target.dc, saved);
}

}  // namespace velocane
