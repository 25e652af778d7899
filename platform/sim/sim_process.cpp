#include "platform/sim/sim_process.h"

#include <cstdio>

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

}  // namespace velocane::sim
