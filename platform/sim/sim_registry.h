#pragma once
// An in-memory registry with the system's rules (names compare without regard
// to case, values keep their stored bytes) and fault injection for tests.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/registry.h"

namespace velocane::sim {

class SimRegistry : public Registry {
 public:
  long OpenKey(RootKey root, const std::string& path, bool create,
               std::unique_ptr<RegistryKey>* key) override;

  // Test side.
  // Opening this key (and creating it) fails with access denied.
  void DenyAccess(RootKey root, const std::string& path);
  // The next `count` writes of value `name` (in any key, or only in keys under
  // `root`) fail with `status`.
  void FailWrites(const std::string& name, int count, long status = regstatus::kAccessDenied,
                  std::optional<RootKey> root = std::nullopt);
  // Write failures asked for that have not happened yet.
  int PendingWriteFailures() const;
  // The next `count` deletions of value `name` fail with `status`.
  void FailDeletes(const std::string& name, int count, long status = regstatus::kAccessDenied);
  bool KeyExists(RootKey root, const std::string& path) const;
  const RegValue* Find(RootKey root, const std::string& path, const std::string& name) const;
  void Put(RootKey root, const std::string& path, const std::string& name, const RegValue& value);
  int OpenHandles() const { return open_keys_; }

  struct Write {
    RootKey root;
    std::string path;
    std::string name;
    RegValue value;
  };
  // Every successful write, in order.
  const std::vector<Write>& Writes() const { return writes_; }

 private:
  class OpenedKey;
  struct Key {
    std::string path;                          // as first created
    std::map<std::string, std::string> names;  // folded name -> name as written
    std::map<std::string, RegValue> values;    // folded name -> value
  };
  static std::string Fold(const std::string& text);

  // Keys are never removed, so an open key's entry stays valid.
  std::map<std::pair<RootKey, std::string>, Key> keys_;
  std::map<std::pair<RootKey, std::string>, bool> denied_;
  struct Failing {
    std::string folded_name;
    std::optional<RootKey> root;
    int remaining;
    long status;
  };
  // The status of the next write or deletion of a value, if a rule fails it.
  static std::optional<long> TakeFailure(std::vector<Failing>& rules, const std::string& folded,
                                         RootKey root);
  std::vector<Failing> failing_writes_;
  std::vector<Failing> failing_deletes_;
  int open_keys_ = 0;
  std::vector<Write> writes_;
};

RegValue DWordValue(std::uint32_t value);
// A string value with its terminator, as the system stores REG_SZ.
RegValue StringValue(const std::string& text);

}  // namespace velocane::sim
