#pragma once
// Registry access with the framework's rules: a key opened with full access
// and created when missing; reads that tell a missing value from one of the
// wrong type; writes that raise "Failed to set data for '%s'" when they fail.
#include <cstdint>
#include <string>

#include "platform/registry.h"

namespace velocane {

class TRegistry {
 public:
  explicit TRegistry(Registry& backend, RootKey root = RootKey::CurrentUser)
      : backend_(backend), root_(root) {}
  ~TRegistry() { CloseKey(); }
  TRegistry(const TRegistry&) = delete;
  TRegistry& operator=(const TRegistry&) = delete;

  RootKey Root() const { return root_; }
  // Closes the current key.
  void SetRootKey(RootKey root);

  // A key with a leading backslash is a path under the root; without, it is
  // relative to the key that is open. False when the key cannot be opened (or
  // created): no rights, or missing and `can_create` not set.
  bool OpenKey(const std::string& key, bool can_create);
  void CloseKey();

  bool ValueExists(const std::string& name);
  // A DWORD value. Missing: ERegistryException "Failed to get data for '%s'";
  // another type: ERegistryException "Invalid data type for '%s'"; a DWORD of
  // another size: EConvertError.
  std::int32_t ReadInteger(const std::string& name);
  // A string value (REG_SZ or REG_EXPAND_SZ), up to its first terminator or
  // the end of the stored bytes. Missing: empty. Another type: ERegistryException.
  std::string ReadString(const std::string& name);
  // ERegistryException "Failed to set data for '%s'" when the system refuses.
  void WriteInteger(const std::string& name, std::int32_t value);
  void WriteString(const std::string& name, const std::string& value);
  bool DeleteValue(const std::string& name);

 private:
  void RequireKey(const std::string& name, const char* what) const;

  Registry& backend_;
  RootKey root_;
  std::unique_ptr<RegistryKey> key_;
  std::string path_;  // of the open key, without a leading backslash
};

}  // namespace velocane
