#pragma once
// The simulated system's ANSI code page, Windows-1252, and the conversions a
// COM backend makes between it and wide strings.
#include <string>
#include <string_view>

namespace velocane::sim {

// What the code page lacks becomes '?', as WideCharToMultiByte's default
// character; unlike the system, no character is mapped to a look-alike.
std::string ToAnsi(std::u16string_view wide);
std::u16string FromAnsi(std::string_view ansi);

}  // namespace velocane::sim
