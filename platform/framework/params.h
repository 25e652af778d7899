#pragma once
// Command-line arguments, split as the program's runtime splits them:
// blanks separate, double quotes group and are dropped.
#include <string>

namespace velocane {

// Argument `index` (0 is the program itself); empty when there is none.
std::string ParamStr(const std::string& command_line, int index);

}  // namespace velocane
