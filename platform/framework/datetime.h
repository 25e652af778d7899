#pragma once
// Date and time texts in the user's locale.
#include <string>

#include "platform/process.h"

namespace velocane {

// The locale's short date, a blank and its long time; at exactly midnight the
// date alone.
std::string DateTimeToStr(Process& process, const LocalTime& time);

}  // namespace velocane
