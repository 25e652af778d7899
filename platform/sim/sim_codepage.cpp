#include "platform/sim/sim_codepage.h"

#include <array>

namespace velocane::sim {

namespace {

// 0x80..0x9F; the five bytes the code page leaves undefined map to the C1
// controls of the same value, as the system maps them.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char16_t Decode(unsigned char byte) {
  return byte >= 0x80 && byte < 0xA0 ? kHigh[byte - 0x80] : static_cast<char16_t>(byte);
}

char Encode(char16_t unit) {
  if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) return static_cast<char>(unit);
  for (std::size_t i = 0; i < kHigh.size(); ++i) {
    if (kHigh[i] == unit) return static_cast<char>(0x80 + i);
  }
  return '?';
}

}  // namespace

std::string ToAnsi(std::u16string_view wide) {
  std::string ansi;
  ansi.reserve(wide.size());
  for (char16_t unit : wide) ansi.push_back(Encode(unit));
  return ansi;
}

std::u16string FromAnsi(std::string_view ansi) {
  std::u16string wide;
  wide.reserve(ansi.size());
  for (char byte : ansi) wide.push_back(Decode(static_cast<unsigned char>(byte)));
  return wide;
}

}  // namespace velocane::sim
