#pragma once
// Colour values by name, as the framework's colour properties are written:
// the standard names (clRed, clBtnFace, ...) or integers, decimal or
// hexadecimal after '$'.
#include <optional>
#include <string>

#include "platform/types.h"

namespace velocane {

// The colour a standard name stands for (case does not matter), if it is one.
std::optional<Color> IdentToColor(const std::string& name);

// A name or an integer; anything else raises EConvertError with the
// framework's text "'<text>' is not a valid integer value".
Color StringToColor(const std::string& text);

}  // namespace velocane
