#include "platform/framework/params.h"

#include <vector>

namespace velocane {

namespace {

std::vector<std::string> Split(const std::string& line) {
  std::vector<std::string> args;
  size_t i = 0;
  for (;;) {
    while (i < line.size() && static_cast<unsigned char>(line[i]) <= ' ') ++i;
    if (i >= line.size()) break;
    std::string arg;
    bool quoted = false;
    while (i < line.size() && (quoted || static_cast<unsigned char>(line[i]) > ' ')) {
      if (line[i] == '"') {
        quoted = !quoted;
      } else {
        arg += line[i];
      }
      ++i;
    }
    args.push_back(arg);
  }
  return args;
}

}  // namespace

std::string ParamStr(const std::string& command_line, int index) {
  std::vector<std::string> args = Split(command_line);
  return index >= 0 && index < static_cast<int>(args.size()) ? args[index] : std::string();
}

}  // namespace velocane
