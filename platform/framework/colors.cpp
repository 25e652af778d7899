#include "platform/framework/colors.h"

#include <cctype>
#include <cstdint>

#include "platform/framework/exceptions.h"

namespace velocane {

namespace {

struct NamedColor {
  const char* name;
  Color value;
};

constexpr NamedColor kNames[] = {
    {"clBlack", 0x000000},
    {"clMaroon", 0x000080},
    {"clGreen", 0x008000},
    {"clOlive", 0x008080},
    {"clNavy", 0x800000},
    {"clPurple", 0x800080},
    {"clTeal", 0x808000},
    {"clGray", 0x808080},
    {"clSilver", 0xC0C0C0},
    {"clRed", 0x0000FF},
    {"clLime", 0x00FF00},
    {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},
    {"clFuchsia", 0xFF00FF},
    {"clAqua", 0xFFFF00},
    {"clWhite", 0xFFFFFF},
    {"clMoneyGreen", 0xC0DCC0},
    {"clSkyBlue", 0xF0CAA6},
    {"clCream", 0xF0FBFF},
    {"clMedGray", 0xA4A0A0},
    {"clLtGray", 0xC0C0C0},
    {"clDkGray", 0x808080},
    {"clScrollBar", kSystemColorFlag | 0},
    {"clBackground", kSystemColorFlag | 1},
    {"clActiveCaption", kSystemColorFlag | 2},
    {"clInactiveCaption", kSystemColorFlag | 3},
    {"clMenu", kSystemColorFlag | 4},
    {"clWindow", kSystemColorFlag | 5},
    {"clWindowFrame", kSystemColorFlag | 6},
    {"clMenuText", kSystemColorFlag | 7},
    {"clWindowText", kSystemColorFlag | 8},
    {"clCaptionText", kSystemColorFlag | 9},
    {"clActiveBorder", kSystemColorFlag | 10},
    {"clInactiveBorder", kSystemColorFlag | 11},
    {"clAppWorkSpace", kSystemColorFlag | 12},
    {"clHighlight", kSystemColorFlag | 13},
    {"clHighlightText", kSystemColorFlag | 14},
    {"clBtnFace", kSystemColorFlag | 15},
    {"clBtnShadow", kSystemColorFlag | 16},
    {"clGrayText", kSystemColorFlag | 17},
    {"clBtnText", kSystemColorFlag | 18},
    {"clInactiveCaptionText", kSystemColorFlag | 19},
    {"clBtnHighlight", kSystemColorFlag | 20},
    {"cl3DDkShadow", kSystemColorFlag | 21},
    {"cl3DLight", kSystemColorFlag | 22},
    {"clInfoText", kSystemColorFlag | 23},
    {"clInfoBk", kSystemColorFlag | 24},
    {"clHotLight", kSystemColorFlag | 26},
    {"clGradientActiveCaption", kSystemColorFlag | 27},
    {"clGradientInactiveCaption", kSystemColorFlag | 28},
    {"clMenuHighlight", kSystemColorFlag | 29},
    {"clMenuBar", kSystemColorFlag | 30},
    {"clNone", clNone},
    {"clDefault", 0x20000000},
};

bool SameText(const std::string& a, const char* b) {
  std::size_t i = 0;
  for (; i < a.size() && b[i] != '\0'; ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return i == a.size() && b[i] == '\0';
}

// Decimal with an optional sign, or hexadecimal after '$' or "0x"; 32 bits,
// hexadecimal values taken as unsigned.
std::optional<std::uint32_t> ParseInteger(const std::string& text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  int base = 10;
  if (i < text.size() && text[i] == '$') {
    base = 16;
    ++i;
  } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  if (i == text.size()) return std::nullopt;
  std::uint64_t value = 0;
  for (; i < text.size(); ++i) {
    const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(text[i])));
    int digit;
    if (c >= '0' && c <= '9') {
      digit = c - '0';
    } else if (base == 16 && c >= 'a' && c <= 'f') {
      digit = c - 'a' + 10;
    } else {
      return std::nullopt;
    }
    value = value * base + digit;
    const std::uint64_t limit =
        base == 16 ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
    if (value > limit) return std::nullopt;
  }
  const std::uint32_t bits = static_cast<std::uint32_t>(value);
  return negative ? static_cast<std::uint32_t>(0u - bits) : bits;
}

}  // namespace

std::optional<Color> IdentToColor(const std::string& name) {
  for (const NamedColor& c : kNames) {
    if (SameText(name, c.name)) return c.value;
  }
  return std::nullopt;
}

Color StringToColor(const std::string& text) {
  if (std::optional<Color> named = IdentToColor(text)) return *named;
  if (std::optional<std::uint32_t> number = ParseInteger(text)) return *number;
  throw EConvertError("'" + text + "' is not a valid integer value");
}

}  // namespace velocane
