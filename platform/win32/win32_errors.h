#pragma once
// The system's error texts, and raising them as the framework's error kind.
#include <string>

#include "platform/framework/exceptions.h"

namespace velocane::win32 {

// FormatMessage's text for a system error code, without the trailing line break.
std::string SystemErrorText(unsigned code);

// EOSError with the code and its text.
[[noreturn]] inline void ThrowOSError(unsigned code) {
  throw EOSError(code, SystemErrorText(code));
}

// EOSError for the calling thread's last error; a failure that left no code
// reports ERROR_NOT_ENOUGH_MEMORY, the usual cause of a refused resource.
[[noreturn]] void ThrowLastError();

}  // namespace velocane::win32
