#include "components/vex/vexenhancedclass.h"
#include "platform/framework/control.h"

namespace velocane {

int TVexPersistent::Scaled(int length) const {
  const auto* control = dynamic_cast<const TControl*>(owner_);
  return control != nullptr ? control->Scaled(length) : length;
}

void TVexFrame::SetFrameStyle(TVexFrameStyle style) {
  style_ = style;
  Changed();
}

void TVexFrame::SetEdges(TVexFrameEdges edges) {
  edges_ = edges;
  Changed();
}

void TVexFrame::SetHighlight(Color color) {
  highlight_ = color;
  Changed();
}

void TVexFrame::SetShadow(Color color) {
  shadow_ = color;
  Changed();
}

void TVexFrame::SetSolid(Color color) {
  solid_ = color;
  Changed();
}

void TVexFrame::SetFrameWidth(std::uint8_t width) {
  if (width == 0) return;
  width_ = width;
  Changed();
}

void TVexFrame::Assign(const TVexFrame& other) {
  style_ = other.style_;
  edges_ = other.edges_;
  highlight_ = other.highlight_;
  shadow_ = other.shadow_;
  solid_ = other.solid_;
  width_ = other.width_;
  Changed();
}

int TVexFrame::FrameDepth() const {
  switch (style_) {
    case TVexFrameStyle::frameNone:
      return 0;
    case TVexFrameStyle::frameSolid:
    case TVexFrameStyle::frameRaised:
    case TVexFrameStyle::frameLowered:
      return Scaled(width_);
    default:
      return 2 * Scaled(width_);
  }
}

void TVexFrame::DrawFrame(TVexDc target, Rect& rect) {
  switch (style_) {
    case TVexFrameStyle::frameSolid:
      Band(target, rect, solid_, solid_);
      break;
    case TVexFrameStyle::frameRaised:
      Band(target, rect, highlight_, shadow_);
      break;
    case TVexFrameStyle::frameLowered:
      Band(target, rect, shadow_, highlight_);
      break;
    case TVexFrameStyle::frameNone:
      break;
    case TVexFrameStyle::frameFramedUp:
      Band(target, rect, highlight_, shadow_);
      Band(target, rect, shadow_, highlight_);
      break;
    case TVexFrameStyle::frameFramedDown:
      Band(target, rect, shadow_, highlight_);
      Band(target, rect, highlight_, shadow_);
      break;
    case TVexFrameStyle::framePanelUp:
      Band(target, rect, highlight_, clBlack);
      Band(target, rect, clNone, shadow_);
      break;
    case TVexFrameStyle::framePanelDown:
      Band(target, rect, shadow_, clNone);
      Band(target, rect, clBlack, highlight_);
      break;
    case TVexFrameStyle::frameLightBordered:
      Band(target, rect, clNone, shadow_);
      Band(target, rect, highlight_, highlight_);
      break;
  }
}

void TVexFrame::Band(TVexDc target, Rect& rect, Color first, Color second) {
  // Right and bottom name the last column and row while the rings are drawn.
  --rect.right;
  --rect.bottom;
  ring_counter_ = Scaled(width_);
  while (ring_counter_ > 0) {
    --ring_counter_;
    Ring(target, rect, first, second);
    rect = Rect{rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1};
  }
  ++rect.right;
  ++rect.bottom;
}

void TVexFrame::Ring(TVexDc target, const Rect& r, Color first, Color second) {
  if (first != clNone) {
    if ((edges_ & EdgeLeft) != 0)
      target.gdi.Line(target.dc, r.left, r.bottom, r.left, r.top, first);
    if ((edges_ & EdgeTop) != 0) target.gdi.Line(target.dc, r.left, r.top, r.right, r.top, first);
  }
  if (second != clNone) {
    if ((edges_ & EdgeRight) != 0) {
      target.gdi.Line(target.dc, r.right, r.top, r.right, r.bottom, second);
    }
    if ((edges_ & EdgeBottom) != 0) {
      target.gdi.Line(target.dc, r.right, r.bottom, r.left - 1, r.bottom, second);
    }
  }
}

}  // namespace velocane
