#pragma once
// Background fills shared by any number of controls: a gradient in one of
// thirteen geometric styles, a tiled, centred or stretched texture, a solid
// colour, or a hatch-brush pattern. Every change of a setting repaints all
// the controls that use the background, then fires OnChanged.
#include <memory>
#include <string>
#include <vector>

#include "components/vex/vexenhancedclass.h"
#include "platform/framework/control.h"

namespace velocane {

enum class TVexBackStyle {
  bGradient,
  bTexture,
  bSolidcolor,
  bBrushFillUseCurrent,
  bBrushFillSolidColor
};

enum class TVexFillStyle {
  Circle,
  Horizontal,
  Vertical,
  LeftBottom,
  RoundMiddle,
  SquareMiddle,
  Spectral,
  DoppelFlash,
  Singleflash,
  MiddleHBar,
  MiddleVBar,
  VerticalDoppelBar,
  HorizontalDoppelBar
};

enum class TVexImageStyle { isTile, isCenter, isStretched };

class TVexGradient : public TVexPersistent {
 public:
  using TVexPersistent::TVexPersistent;

  Color BeginColor() const { return begin_color_; }
  void SetBeginColor(Color color);
  Color EndColor() const { return end_color_; }
  void SetEndColor(Color color);
  TVexFillStyle FillStyle() const { return fill_style_; }
  void SetFillStyle(TVexFillStyle style);
  int ColorCount() const { return color_count_; }
  // Only 2..255 are kept; the change is announced either way.
  void SetColorCount(int count);
  const std::vector<std::string>& ColorsInBetween() const { return colors_in_between_; }
  void SetColorsInBetween(const std::vector<std::string>& lines);
  void Assign(const TVexGradient& other);

  // Paints (0, 0, width, height) of the device context from BeginColor over
  // `lines` to EndColor (EndColor first when not forward). A line that is
  // neither a colour name nor an integer raises EConvertError and paints nothing.
  void PaintGradient(TVexDc target, int width, int height, const std::vector<std::string>& lines,
                     bool forward);

 private:
  Color begin_color_ = clBtnShadow;
  Color end_color_ = clBtnHighlight;
  TVexFillStyle fill_style_ = TVexFillStyle::Horizontal;
  int color_count_ = 32;
  std::vector<std::string> colors_in_between_;
};

class TVexTexture : public TVexPersistent {
 public:
  using TVexPersistent::TVexPersistent;

  const TVexImage& Image() const { return image_; }
  void SetImage(const TVexImage& image);
  TVexImageStyle ImageStyle() const { return image_style_; }
  void SetImageStyle(TVexImageStyle style);
  Color TransparentColor() const { return transparent_color_; }
  // clNone: no colour of the picture is replaced.
  void SetTransparentColor(Color color);
  Color TransparentBackground() const { return transparent_background_; }
  void SetTransparentBackground(Color color);
  void Assign(const TVexTexture& other);

  // Paints the picture into (0, 0, width, height); an empty picture paints nothing.
  void PaintTexture(TVexDc target, int width, int height, Color back_color);

 private:
  TVexImage image_;
  TVexImageStyle image_style_ = TVexImageStyle::isTile;
  Color transparent_color_ = clNone;
  Color transparent_background_ = clBtnFace;
};

class TVexBrushFill : public TVexPersistent {
 public:
  using TVexPersistent::TVexPersistent;

  TBrushStyle BrushStyle() const { return brush_style_; }
  void SetBrushStyle(TBrushStyle style);
  Color BrushColor() const { return brush_color_; }
  void SetBrushColor(Color color);
  void Assign(const TVexBrushFill& other);

 private:
  TBrushStyle brush_style_ = TBrushStyle::bsSolid;
  Color brush_color_ = clBtnFace;
};

class TVexBackground : public TComponent {
 public:
  TVexBackground(TComponent* owner, std::string name);
  ~TVexBackground() override;

  TVexBackStyle BackgroundStyle() const { return background_style_; }
  void SetBackgroundStyle(TVexBackStyle style);
  Color SolidColor() const { return solid_color_; }
  void SetSolidColor(Color color);
  TVexGradient& Gradient() { return *gradient_; }
  TVexTexture& Texture() { return *texture_; }
  TVexBrushFill& BrushFill() { return *brush_fill_; }
  // A whole new object: its settings are copied; the background keeps its own.
  void SetGradient(const TVexGradient& gradient) { gradient_->Assign(gradient); }
  void SetTexture(const TVexTexture& texture) { texture_->Assign(texture); }
  void SetBrushFill(const TVexBrushFill& brush_fill) { brush_fill_->Assign(brush_fill); }

  // Called after every change, once the clients were invalidated.
  TNotifyEvent OnChanged;

  // The controls that use the background, in the order they were added; not owned.
  void AddClient(TControl* control);
  void RemoveClient(TControl* control);
  const std::vector<TControl*>& Clients() const { return clients_; }
  // Invalidates every client, then fires OnChanged.
  void NotifyClients();

  // Paints the fill into (0, 0, width, height) of the device context; an
  // empty or negative area paints nothing.
  void PaintBackground(TVexDc target, int width, int height, bool forward);

 private:
  void PaintBrushFill(TVexDc target, int width, int height);

  TVexBackStyle background_style_ = TVexBackStyle::bGradient;
  Color solid_color_ = clBtnFace;
  std::vector<TControl*> clients_;
  std::unique_ptr<TVexTexture> texture_;
  std::unique_ptr<TVexGradient> gradient_;
  std::unique_ptr<TVexBrushFill> brush_fill_;
};

}  // namespace velocane
