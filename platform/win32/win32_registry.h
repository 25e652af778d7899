#pragma once
#include "platform/registry.h"

namespace velocane::win32 {

class Win32Registry : public Registry {
 public:
  long OpenKey(RootKey root, const std::string& path, bool create,
               std::unique_ptr<RegistryKey>* key) override;
};

}  // namespace velocane::win32
