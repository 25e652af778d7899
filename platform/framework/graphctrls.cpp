#include "platform/framework/graphctrls.h"

#include <algorithm>
#include <cctype>

#include "platform/framework/forms.h"
#include "platform/messages.h"

namespace velocane {

void TLabel::Paint(Canvas& canvas) {
  FontDesc font = ScaledFont();
  // A font's width does not grow exactly with its height (hinting rounds
  // each glyph), so a caption sized to its box at 96 DPI may overrun it at
  // another: there the font steps down until the caption fits again.
  if (Dpi() != kDesignDpi) {
    Drawing& gdi = canvas.Gdi();
    while (font.height > Font().height &&
           gdi.TextExtent(canvas.Dc(), Caption(), font).x > Width()) {
      --font.height;
    }
  }
  canvas.DrawText(BoundsRect(), Caption(), font, textflag::kLeft | textflag::kNoClip);
}

std::optional<AccElement> TLabel::Accessible() const {
  return AccElement{AccRole::kStaticText, Caption(), {}, AccState() | accstate::kReadOnly,
                    BoundsRect(),         {},        {}};
}

namespace {
constexpr int kGlyphSize = 32;
constexpr int kCaptionHeight = 16;
}  // namespace

void TSpeedButton::Paint(Canvas& canvas) {
  const Rect area = BoundsRect();
  if (pressed_) canvas.Edge(area, false);
  const int shift = pressed_ ? 1 : 0;
  // Picture above the caption, the pair centred in the button; the picture
  // is drawn at the size the DPI asks for.
  const int glyph = Scaled(kGlyphSize);
  const int gap = Scaled(2);
  const int caption = Scaled(kCaptionHeight);
  const int block = glyph + gap + caption;
  const int top = area.top + (area.Height() - block) / 2 + shift;
  const int left = area.left + (area.Width() - glyph) / 2 + shift;
  if (glyph_) glyph_(canvas, Rect{left, top, left + glyph, top + glyph}, Enabled());
  FontDesc font = ScaledFont();
  if (!Enabled()) font.color = clGrayText;
  const Rect text{area.left + shift, top + glyph + gap, area.right + shift,
                  top + glyph + gap + caption};
  canvas.DrawText(
      text, Caption(), font,
      textflag::kCenter | textflag::kVCenter | textflag::kSingleLine | textflag::kNoClip);
  // What the keyboard needs, once it is in use: the access key underlined,
  // and the frame of the focus.
  const TForm* form = ParentForm();
  if (form == nullptr || !form->KeyboardCues()) return;
  const std::size_t letter = AcceleratorPosition();
  if (letter != std::string::npos) {
    Drawing& gdi = canvas.Gdi();
    const Point whole = gdi.TextExtent(canvas.Dc(), Caption(), font);
    const Point before = gdi.TextExtent(canvas.Dc(), Caption().substr(0, letter), font);
    const Point glyph = gdi.TextExtent(canvas.Dc(), Caption().substr(letter, 1), font);
    const int x = text.left + (text.Width() - whole.x) / 2 + before.x;
    const int y = text.top + (text.Height() - whole.y) / 2 + whole.y - 1;
    gdi.Line(canvas.Dc(), x, y, x + glyph.x, y, gdi.Resolve(font.color));
  }
  if (Focused())
    canvas.FocusRect(Rect{area.left + 3, area.top + 3, area.right - 3, area.bottom - 3});
}

std::size_t TSpeedButton::AcceleratorPosition() const {
  if (Accelerator() == 0) return std::string::npos;
  const std::string& caption = Caption();
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (std::toupper(static_cast<unsigned char>(caption[i])) == Accelerator()) return i;
  }
  return std::string::npos;
}

bool TSpeedButton::KeyDown(const KeyStroke& key) {
  if (key.key == vk::kSpace) {
    if (!pressed_) {
      pressed_ = true;
      Invalidate();
    }
    return true;
  }
  if (key.key == vk::kReturn) {
    Click();
    return true;
  }
  return false;
}

bool TSpeedButton::KeyUp(const KeyStroke& key) {
  if (key.key != vk::kSpace) return false;
  const bool was_pressed = pressed_;
  pressed_ = false;
  Invalidate();
  if (was_pressed) Click();
  return true;
}

std::optional<AccElement> TSpeedButton::Accessible() const {
  std::uint32_t state = AccState();
  if (pressed_) state |= accstate::kPressed;
  std::string shortcut;
  if (Accelerator() != 0) shortcut = std::string("Alt+") + Accelerator();
  return AccElement{AccRole::kPushButton, Caption(), {}, state, BoundsRect(), "Press", shortcut};
}

void TSpeedButton::MouseDown(Point) {
  pressed_ = true;
  Invalidate();
}

void TSpeedButton::MouseUp(Point at) {
  const bool was_pressed = pressed_;
  pressed_ = false;
  Invalidate();
  if (was_pressed && BoundsRect().Contains(at)) Click();
}

void TImage::SetPicture(TPixelImage picture) {
  picture_ = std::move(picture);
  Invalidate();
}

void TImage::Paint(Canvas& canvas) {
  if (picture_.Empty() ||
      picture_.pixels.size() != static_cast<std::size_t>(picture_.width) * picture_.height) {
    return;
  }
  const Rect area = BoundsRect();
  const int width = std::min(picture_.width, area.Width());
  const int height = std::min(picture_.height, area.Height());
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const Color pixel = picture_.pixels[static_cast<std::size_t>(y) * picture_.width + x];
      if (pixel != clNone) canvas.Gdi().SetPixel(canvas.Dc(), area.left + x, area.top + y, pixel);
    }
  }
}

void TBevel::SetStyle(TBevelStyle style) {
  if (style == style_) return;
  style_ = style;
  Invalidate();
}

void TBevel::Paint(Canvas& canvas) { canvas.Edge(BoundsRect(), style_ == TBevelStyle::bsRaised); }

}  // namespace velocane
