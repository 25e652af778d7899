#include "components/vex/vextbackground.h"

#include <algorithm>

namespace velocane {

// ---------------------------------------------------------------- settings

void TVexGradient::SetBeginColor(Color color) {
  begin_color_ = color;
  Changed();
}

void TVexGradient::SetEndColor(Color color) {
  end_color_ = color;
  Changed();
}

void TVexGradient::SetFillStyle(TVexFillStyle style) {
  fill_style_ = style;
  Changed();
}

void TVexGradient::SetColorCount(int count) {
  if (count >= 2 && count <= 255) color_count_ = count;
  Changed();
}

void TVexGradient::SetColorsInBetween(const std::vector<std::string>& lines) {
  colors_in_between_ = lines;
  Changed();
}

void TVexGradient::Assign(const TVexGradient& other) {
  begin_color_ = other.begin_color_;
  end_color_ = other.end_color_;
  fill_style_ = other.fill_style_;
  color_count_ = other.color_count_;
  colors_in_between_ = other.colors_in_between_;
  Changed();
}

void TVexTexture::SetImage(const TVexImage& image) {
  if (&image != &image_) image_ = image;
  Changed();
}

void TVexTexture::SetImageStyle(TVexImageStyle style) {
  image_style_ = style;
  Changed();
}

void TVexTexture::SetTransparentColor(Color color) {
  transparent_color_ = color;
  Changed();
}

void TVexTexture::SetTransparentBackground(Color color) {
  transparent_background_ = color;
  Changed();
}

void TVexTexture::Assign(const TVexTexture& other) {
  image_ = other.image_;
  image_style_ = other.image_style_;
  transparent_color_ = other.transparent_color_;
  transparent_background_ = other.transparent_background_;
  Changed();
}

void TVexBrushFill::SetBrushStyle(TBrushStyle style) {
  brush_style_ = style;
  Changed();
}

void TVexBrushFill::SetBrushColor(Color color) {
  brush_color_ = color;
  Changed();
}

void TVexBrushFill::Assign(const TVexBrushFill& other) {
  brush_style_ = other.brush_style_;
  brush_color_ = other.brush_color_;
  Changed();
}

// ---------------------------------------------------------------- TVexBackground

TVexBackground::TVexBackground(TComponent* owner, std::string name)
    : TComponent(owner, std::move(name)),
      texture_(std::make_unique<TVexTexture>(this)),
      gradient_(std::make_unique<TVexGradient>(this)),
      brush_fill_(std::make_unique<TVexBrushFill>(this)) {
  texture_->OnChange = [this] { NotifyClients(); };
  gradient_->OnChange = [this] { NotifyClients(); };
  brush_fill_->OnChange = [this] { NotifyClients(); };
}

TVexBackground::~TVexBackground() {
  // The clients hear of it through the removal notice, not from here.
  texture_->OnChange = nullptr;
  gradient_->OnChange = nullptr;
  brush_fill_->OnChange = nullptr;
  clients_.clear();
}

void TVexBackground::SetBackgroundStyle(TVexBackStyle style) {
  background_style_ = style;
  NotifyClients();
}

void TVexBackground::SetSolidColor(Color color) {
  solid_color_ = color;
  NotifyClients();
}

void TVexBackground::AddClient(TControl* control) { clients_.push_back(control); }

void TVexBackground::RemoveClient(TControl* control) { std::erase(clients_, control); }

void TVexBackground::NotifyClients() {
  for (TControl* client : std::vector<TControl*>(clients_)) client->Invalidate();
  if (OnChanged) OnChanged(*this);
}

void TVexBackground::PaintBackground(TVexDc target, int width, int height, bool forward) {
  if (width <= 0 || height <= 0) return;  // no area, nothing to paint
  switch (background_style_) {
    case TVexBackStyle::bGradient:
      gradient_->PaintGradient(target, width, height, gradient_->ColorsInBetween(), forward);
      break;
    case TVexBackStyle::bTexture:
      texture_->PaintTexture(target, width, height, solid_color_);
      break;
    case TVexBackStyle::bBrushFillUseCurrent:
    case TVexBackStyle::bBrushFillSolidColor:
      PaintBrushFill(target, width, height);
      break;
    default:
      target.gdi.FillRect(target.dc, Rect{0, 0, width, height}, solid_color_);
      break;
  }
}

void TVexBackground::PaintBrushFill(TVexDc target, int w, int h) {
  Drawing& gdi = target.gdi;
  const TBrushStyle style = brush_fill_->BrushStyle();
  // Two scratch bitmaps, white as new bitmaps are; hatches leave the gaps
  // between their lines alone, as the platform draws them. The mode is set
  // before the brushes are: Wine fixes a hatch's background at its first use.
  TMemoryDc a(gdi, w, h);
  TMemoryDc b(gdi, w, h);
  for (const TMemoryDc* scratch : {&a, &b}) {
    gdi.FillRect(scratch->Dc(), Rect{0, 0, w, h}, clWhite);
    gdi.SetBkMode(scratch->Dc(), BkMode::kTransparent);
  }
  TSelectedBrush a_brush(gdi, a.Dc(), Brush{style, brush_fill_->BrushColor()});
  gdi.PatBlt(a.Dc(), 0, 0, w, h, rop::kPatCopy);
  TSelectedBrush b_brush(gdi, b.Dc(), Brush{style, clBlack});
  gdi.PatBlt(b.Dc(), 0, 0, w, h, rop::kPatCopy);
  // B's black pixels are where its pattern lies: there A takes its own brush.
  BrushCopy(a.Target(), b.Dc(), w, h, clBlack);
  if (background_style_ == TVexBackStyle::bBrushFillSolidColor) {
    b_brush.Set(Brush{TBrushStyle::bsSolid, solid_color_});
    gdi.PatBlt(b.Dc(), 0, 0, w, h, rop::kPatCopy);
    BrushCopy(b.Target(), a.Dc(), w, h, clWhite);
    gdi.BitBlt(a.Dc(), 0, 0, w, h, b.Dc(), 0, 0, rop::kSrcCopy);
  }
  gdi.BitBlt(target.dc, 0, 0, w, h, a.Dc(), 0, 0, rop::kSrcCopy);
}

}  // namespace velocane
