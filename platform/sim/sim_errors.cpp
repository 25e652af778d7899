#include "platform/sim/sim_errors.h"

#include <cstdio>

namespace velocane::sim {

std::string SystemErrorText(unsigned code) {
  switch (code) {
    case 2:
    case 0x80070002u:
      return "The system cannot find the file specified.";
    case 5:
    case 0x80070005u:
      return "Access is denied.";
    case 8:
      return "Not enough memory resources are available to process this command.";
    case 87:
      return "The parameter is incorrect.";
    case 1400:
      return "Invalid window handle.";
    case 1407:
      return "Cannot find window class.";
    case 0x80040154u:
      return "Class not registered";
    case 0x80004005u:
      return "Unspecified error";
    default: {
      // HRESULTs read better in hexadecimal.
      char text[40];
      std::snprintf(text, sizeof text,
                    code >= 0x80000000u ? "System error 0x%08X." : "System error %u.", code);
      return text;
    }
  }
}

}  // namespace velocane::sim
