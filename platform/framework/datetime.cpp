#include "platform/framework/datetime.h"

namespace velocane {

std::string DateTimeToStr(Process& process, const LocalTime& time) {
  std::string text = process.ShortDateText(time);
  const bool midnight =
      time.hour == 0 && time.minute == 0 && time.second == 0 && time.millisecond == 0;
  // Appended piece by piece: g++ 12 at -O3 takes `" " + text` for an overlapping copy.
  if (!midnight) {
    text += ' ';
    text += process.LongTimeText(time);
  }
  return text;
}

}  // namespace velocane
