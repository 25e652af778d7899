#pragma once
// The segmented gauge: a percentage as a bar of coloured segments inside two
// bevels, with the value written over it in 3-D text.
#include <cstdint>
#include <memory>

#include "components/vex/vexcontrols.h"

namespace velocane {

class TVexBackground;

enum class TVexKind { kVertical, kHorizontal };
enum class TVexPosition { pLeft, pRight, pTop, pBottom };

class TVexGauge : public TVexGraphicControl {
 public:
  TVexGauge(TComponent* owner, std::string name);
  ~TVexGauge() override;

  std::uint8_t Percentage() const { return percentage_; }
  // Held in 0..100; draws the bar and caption at once.
  void SetPercentage(int value);
  TVexKind Kind() const { return kind_; }
  void SetKind(TVexKind kind);
  std::uint8_t SegmentWidth() const { return segment_width_; }
  void SetSegmentWidth(std::uint8_t width);
  std::uint8_t SegmentGap() const { return segment_gap_; }
  void SetSegmentGap(std::uint8_t gap);
  Color SegmentColor() const { return segment_color_; }
  void SetSegmentColor(Color color);
  Color InsideBackColor() const { return inside_back_color_; }
  void SetInsideBackColor(Color color);
  std::uint8_t Borderwidth() const { return border_width_; }
  void SetBorderwidth(std::uint8_t width);
  TVexPosition PicturePosition() const { return picture_position_; }
  void SetPicturePosition(TVexPosition position);

  TVexFrame& BevelOuter() { return *bevel_outer_; }
  TVexFrame& BevelInner() { return *bevel_inner_; }
  TVexGlyph& Glyph() { return *glyph_; }
  TVexFont3D& Font3D() { return *font3d_; }
  // A whole new object: its settings are copied; the gauge keeps its own.
  void SetBevelOuter(const TVexFrame& frame) { bevel_outer_->Assign(frame); }
  void SetBevelInner(const TVexFrame& frame) { bevel_inner_->Assign(frame); }
  void SetGlyph(const TVexGlyph& glyph) { glyph_->Assign(glyph); }
  void SetFont3D(const TVexFont3D& font) { font3d_->Assign(font); }

  // Shared, not owned: the gauge is on its client list while it uses it.
  TVexBackground* Background() const { return background_; }
  void SetBackground(TVexBackground* background);

  const Rect& SegmentArea() const { return segment_area_; }

  // Announced as a progress bar with its percentage while it is shown.
  std::optional<AccElement> Accessible() const override;

  void PaintTo(TVexDc target) override;
  // The bar and the caption only.
  void PaintSegments(TVexDc target);

 protected:
  // A background freed while the gauge uses it leaves the gauge without one.
  void Notification(TComponent* component, TOperation operation) override;

 private:
  struct Margins {
    int left, top, right, bottom;
  };
  Margins ComputeMargins() const;
  void ComputeSegmentArea();
  void PaintHorizontal(TVexDc target);
  void PaintVertical(TVexDc target);
  // The lit-pixel rule: on the control's own coordinate.
  Color PenFor(int coordinate) const;

  std::uint8_t percentage_ = 0;
  TVexKind kind_ = TVexKind::kHorizontal;
  std::uint8_t segment_width_ = 8;
  std::uint8_t segment_gap_ = 2;
  Color segment_color_ = 0x800000;
  Color inside_back_color_ = 0xFFFFFF;
  std::uint8_t border_width_ = 6;
  TVexPosition picture_position_ = TVexPosition::pLeft;
  std::unique_ptr<TVexGlyph> glyph_;
  std::unique_ptr<TVexFrame> bevel_inner_;
  std::unique_ptr<TVexFrame> bevel_outer_;
  std::unique_ptr<TVexFont3D> font3d_;
  Rect segment_area_;
  TVexBackground* background_ = nullptr;
};

}  // namespace velocane
