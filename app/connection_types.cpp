#include "app/connection_types.h"

#include <algorithm>

namespace velocane {

namespace {
constexpr ConnectionType kTable[] = {
    {"Modem", "Modem", 6, 6}, {"LAN", "LAN", 6, 6},     {"ISDN", "ISDN", 6, 6},
    {"CATV", "CATV", 16, 16}, {"ADSL", "ADSL", 16, 16}, {"Cable", "Cable", 20, 20},
    {"AUTO", "AUTO", 6, 8},
};
}  // namespace

std::span<const ConnectionType> ConnectionTypes() { return kTable; }

const ConnectionType* FindConnectionType(std::string_view name) {
  auto it = std::find_if(std::begin(kTable), std::end(kTable),
                         [&](const ConnectionType& row) { return row.name == name; });
  return it == std::end(kTable) ? nullptr : &*it;
}

}  // namespace velocane
