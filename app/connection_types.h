#pragma once
// The connection types and the pair of per-server connection limits each yields.
#include <cstdint>
#include <span>
#include <string_view>

namespace velocane {

struct ConnectionType {
  std::string_view word;  // how a list item is recognised
  std::string_view name;  // what is shown in the combo box and stored
  std::int32_t per_server;
  std::int32_t per_1_0_server;
};

// In the order a selection tries them.
std::span<const ConnectionType> ConnectionTypes();
// The row whose name is exactly `name` (case-sensitive), or null.
const ConnectionType* FindConnectionType(std::string_view name);

// The pair that removing the acceleration writes back.
constexpr std::int32_t kDefaultPerServer = 2;
constexpr std::int32_t kDefaultPer1_0Server = 4;
// The pair before anything is read or chosen.
constexpr std::int32_t kInitialLimit = 6;

constexpr const char* kInternetSettingsKey =
    "\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
constexpr const char* kMaxConnectionsPerServer = "MaxConnectionsPerServer";
constexpr const char* kMaxConnectionsPer1_0Server = "MaxConnectionsPer1_0Server";
constexpr const char* kConnectionTypeValue = "ConnectionType";

}  // namespace velocane
