#pragma once
// The registry operations the program uses, shaped like the advapi32 calls.
// Every call reports the system's status code (0 = success); it never hides a
// failure. What to do about a failure is the caller's decision.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace velocane {

enum class RootKey { CurrentUser, CurrentConfig, LocalMachine };

// Value types, numbered as the registry numbers them.
enum class ValueType : std::uint32_t {
  None = 0,
  String = 1,
  ExpandString = 2,
  Binary = 3,
  DWord = 4,
  MultiString = 7,
};

// Status codes the program meets.
namespace regstatus {
constexpr long kSuccess = 0;
constexpr long kFileNotFound = 2;
constexpr long kAccessDenied = 5;
constexpr long kInvalidHandle = 6;
constexpr long kMoreData = 234;
}  // namespace regstatus

struct RegValue {
  ValueType type = ValueType::None;
  std::vector<std::uint8_t> data;  // the bytes exactly as stored
};

// An open key; closed when it goes.
class RegistryKey {
 public:
  virtual ~RegistryKey() = default;
  virtual long QueryValue(const std::string& name, RegValue* value) = 0;
  virtual long SetValue(const std::string& name, const RegValue& value) = 0;
  virtual long DeleteValue(const std::string& name) = 0;
};

class Registry {
 public:
  virtual ~Registry() = default;
  // Opens `path` (relative to `root`, no leading backslash) with full access,
  // creating it when `create` is set and it is missing. `key` is empty unless
  // the status is success.
  virtual long OpenKey(RootKey root, const std::string& path, bool create,
                       std::unique_ptr<RegistryKey>* key) = 0;
};

}  // namespace velocane
