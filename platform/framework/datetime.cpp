#include "platform/framework/datetime.h"

namespace velocane {

std::string DateTimeToStr(Process& process, const LocalTime& time) {
  std::string text = process.ShortDateText(time);
  const bool midnight =
      time.hour == 0 && time.minute == 0 && time.second == 0 && time.millisecond == 0;
  if (!midnight) {
    text += ' ';
    text += process.LongTimeText(time);
  }
  return text;
}

}  // namespace velocane
