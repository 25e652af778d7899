#include "platform/win32/win32_registry.h"

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

HKEY ToHkey(KeyHandle key) { return reinterpret_cast<HKEY>(key.value); }

}  // namespace

long Win32Registry::OpenKey(RootKey root, const std::string& path, bool create, KeyHandle* key) {
  HKEY opened = nullptr;
  LONG status =
      create ? RegCreateKeyExA(RootHandle(root), path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                               KEY_ALL_ACCESS, nullptr, &opened, nullptr)
             : RegOpenKeyExA(RootHandle(root), path.c_str(), 0, KEY_ALL_ACCESS, &opened);
  key->value = status == ERROR_SUCCESS ? reinterpret_cast<std::uintptr_t>(opened) : 0;
  return status;
}

long Win32Registry::QueryValue(KeyHandle key, const std::string& name, RegValue* value) {
  // The size can change between the two calls; ask again while it grows.
  for (;;) {
    DWORD type = 0;
    DWORD size = 0;
    LONG status = RegQueryValueExA(ToHkey(key), name.c_str(), nullptr, &type, nullptr, &size);
    if (status != ERROR_SUCCESS) return status;
    value->data.assign(size, 0);
    DWORD got = size;
    status = RegQueryValueExA(ToHkey(key), name.c_str(), nullptr, &type,
                              size == 0 ? nullptr : value->data.data(), &got);
    if (status == ERROR_MORE_DATA) continue;
    if (status != ERROR_SUCCESS) return status;
    value->data.resize(got);
    value->type = static_cast<ValueType>(type);
    return ERROR_SUCCESS;
  }
}

long Win32Registry::SetValue(KeyHandle key, const std::string& name, const RegValue& value) {
  return RegSetValueExA(ToHkey(key), name.c_str(), 0, static_cast<DWORD>(value.type),
                        value.data.empty() ? nullptr : value.data.data(),
                        static_cast<DWORD>(value.data.size()));
}

long Win32Registry::DeleteValue(KeyHandle key, const std::string& name) {
  return RegDeleteValueA(ToHkey(key), name.c_str());
}

void Win32Registry::CloseKey(KeyHandle key) {
  if (key) RegCloseKey(ToHkey(key));
}

}  // namespace velocane::win32
