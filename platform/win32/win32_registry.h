#pragma once
#include "platform/registry.h"

namespace velocane::win32 {

class Win32Registry : public Registry {
 public:
  long OpenKey(RootKey root, const std::string& path, bool create, KeyHandle* key) override;
  long QueryValue(KeyHandle key, const std::string& name, RegValue* value) override;
  long SetValue(KeyHandle key, const std::string& name, const RegValue& value) override;
  long DeleteValue(KeyHandle key, const std::string& name) override;
  void CloseKey(KeyHandle key) override;
};

}  // namespace velocane::win32
