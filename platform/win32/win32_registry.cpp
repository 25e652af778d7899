#include "platform/win32/win32_registry.h"

#include "platform/win32/handles.h"
#include "platform/win32/win32_common.h"

namespace velocane::win32 {

namespace {

HKEY RootHandle(RootKey root) {
  switch (root) {
    case RootKey::CurrentUser:
      return HKEY_CURRENT_USER;
    case RootKey::CurrentConfig:
      return HKEY_CURRENT_CONFIG;
    case RootKey::LocalMachine:
      return HKEY_LOCAL_MACHINE;
  }
  return nullptr;
}

class Win32Key final : public RegistryKey {
 public:
  explicit Win32Key(UniqueKey key) : key_(std::move(key)) {}

  long QueryValue(const std::string& name, RegValue* value) override {
    // The size can change between the two calls; ask again while it grows.
    for (;;) {
      DWORD type = 0;
      DWORD size = 0;
      LONG status = RegQueryValueExA(key_.get(), name.c_str(), nullptr, &type, nullptr, &size);
      if (status != ERROR_SUCCESS) return status;
      value->data.assign(size, 0);
      DWORD got = size;
      status = RegQueryValueExA(key_.get(), name.c_str(), nullptr, &type,
                                size == 0 ? nullptr : value->data.data(), &got);
      if (status == ERROR_MORE_DATA) continue;
      if (status != ERROR_SUCCESS) return status;
      value->data.resize(got);
      value->type = static_cast<ValueType>(type);
      return ERROR_SUCCESS;
    }
  }

  long SetValue(const std::string& name, const RegValue& value) override {
    return RegSetValueExA(key_.get(), name.c_str(), 0, static_cast<DWORD>(value.type),
                          value.data.empty() ? nullptr : value.data.data(),
                          static_cast<DWORD>(value.data.size()));
  }

  long DeleteValue(const std::string& name) override {
    return RegDeleteValueA(key_.get(), name.c_str());
  }

 private:
  UniqueKey key_;
};

}  // namespace

long Win32Registry::OpenKey(RootKey root, const std::string& path, bool create,
                            std::unique_ptr<RegistryKey>* key) {
  key->reset();
  UniqueKey opened;
  const LONG status =
      create ? RegCreateKeyExA(RootHandle(root), path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                               KEY_ALL_ACCESS, nullptr, opened.put(), nullptr)
             : RegOpenKeyExA(RootHandle(root), path.c_str(), 0, KEY_ALL_ACCESS, opened.put());
  if (status == ERROR_SUCCESS) *key = std::make_unique<Win32Key>(std::move(opened));
  return status;
}

}  // namespace velocane::win32
