#include "platform/sim/sim_process.h"

#include <cstdio>

#include "platform/sim/sim_codepage.h"

namespace velocane::sim {

std::string SimProcess::ShortDateText(const LocalTime& time) {
  char text[32];
  std::snprintf(text, sizeof text, "%d/%d/%04d", time.month, time.day, time.year);
  return text;
}

std::string SimProcess::LongTimeText(const LocalTime& time) {
  const int hour12 = time.hour % 12 == 0 ? 12 : time.hour % 12;
  char text[32];
  std::snprintf(text, sizeof text, "%d:%02d:%02d %s", hour12, time.minute, time.second,
                time.hour < 12 ? "AM" : "PM");
  return text;
}

std::string SimProcess::AnsiToUtf8(const std::string& ansi) {
  std::string utf8;
  for (const char16_t unit : FromAnsi(ansi)) {
    if (unit < 0x80) {
      utf8.push_back(static_cast<char>(unit));
    } else if (unit < 0x800) {
      utf8.push_back(static_cast<char>(0xC0 | (unit >> 6)));
      utf8.push_back(static_cast<char>(0x80 | (unit & 0x3F)));
    } else {
      utf8.push_back(static_cast<char>(0xE0 | (unit >> 12)));
      utf8.push_back(static_cast<char>(0x80 | ((unit >> 6) & 0x3F)));
      utf8.push_back(static_cast<char>(0x80 | (unit & 0x3F)));
    }
  }
  return utf8;
}

}  // namespace velocane::sim
