// The registry as the program sees it: values read, written and deleted, and
// a snapshot that puts them back after a test.
#include <cstring>
#include <stdexcept>
#include <utility>

#include "platform/win32/handles.h"
#include "tools/driver/driver.h"

namespace velocane::driver {

namespace {

std::optional<std::pair<DWORD, std::vector<BYTE>>> Query(HKEY root, const std::wstring& path,
                                                         const std::wstring& name) {
  win32::UniqueKey key;
  if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  DWORD type = 0;
  DWORD size = 0;
  if (RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  std::vector<BYTE> data(size);
  if (RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, data.data(), &size) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  data.resize(size);
  return std::make_pair(type, data);
}

bool Set(HKEY root, const std::wstring& path, const std::wstring& name, DWORD type,
         const void* data, DWORD size) {
  win32::UniqueKey key;
  if (RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(),
                      nullptr) != ERROR_SUCCESS) {
    return false;
  }
  return RegSetValueExW(key.get(), name.c_str(), 0, type, static_cast<const BYTE*>(data), size) ==
         ERROR_SUCCESS;
}

void SetOrThrow(HKEY root, const std::wstring& path, const std::wstring& name, DWORD type,
                const void* data, DWORD size) {
  if (!Set(root, path, name, type, data, size)) throw std::runtime_error("cannot write a value");
}

}  // namespace

std::optional<DWORD> ReadDWord(HKEY root, const std::wstring& path, const std::wstring& name) {
  auto value = Query(root, path, name);
  if (!value || value->first != REG_DWORD || value->second.size() != sizeof(DWORD)) {
    return std::nullopt;
  }
  DWORD result = 0;
  memcpy(&result, value->second.data(), sizeof result);
  return result;
}

std::optional<std::wstring> ReadString(HKEY root, const std::wstring& path,
                                       const std::wstring& name) {
  auto value = Query(root, path, name);
  if (!value || value->first != REG_SZ) return std::nullopt;
  std::wstring text(reinterpret_cast<const wchar_t*>(value->second.data()),
                    value->second.size() / sizeof(wchar_t));
  return text.substr(0, text.find(L'\0'));
}

void WriteDWord(HKEY root, const std::wstring& path, const std::wstring& name, DWORD value) {
  SetOrThrow(root, path, name, REG_DWORD, &value, sizeof value);
}

void WriteString(HKEY root, const std::wstring& path, const std::wstring& name,
                 const std::wstring& value) {
  SetOrThrow(root, path, name, REG_SZ, value.c_str(),
             static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

void DeleteValue(HKEY root, const std::wstring& path, const std::wstring& name) {
  win32::UniqueKey key;
  if (RegOpenKeyExW(root, path.c_str(), 0, KEY_ALL_ACCESS, key.put()) != ERROR_SUCCESS) return;
  RegDeleteValueW(key.get(), name.c_str());
}

RegistrySnapshot::RegistrySnapshot(std::vector<Place> places) {
  for (Place& place : places) {
    Saved saved;
    saved.place = place;
    if (auto value = Query(place.root, place.path, place.name)) {
      saved.present = true;
      saved.type = value->first;
      saved.data = value->second;
    }
    saved_.push_back(std::move(saved));
  }
}

RegistrySnapshot::~RegistrySnapshot() {
  for (const Saved& saved : saved_) {
    if (saved.present) {
      Set(saved.place.root, saved.place.path, saved.place.name, saved.type, saved.data.data(),
          static_cast<DWORD>(saved.data.size()));
    } else {
      DeleteValue(saved.place.root, saved.place.path, saved.place.name);
    }
  }
}

std::vector<RegistrySnapshot::Place> InternetSettingsPlaces(
    std::vector<RegistrySnapshot::Place> extra) {
  std::vector<RegistrySnapshot::Place> places = {
      {HKEY_CURRENT_USER, kSettings, L"MaxConnectionsPerServer"},
      {HKEY_CURRENT_USER, kSettings, L"MaxConnectionsPer1_0Server"},
      {HKEY_CURRENT_CONFIG, kSettings, L"MaxConnectionsPerServer"},
      {HKEY_CURRENT_CONFIG, kSettings, L"MaxConnectionsPer1_0Server"},
      {HKEY_CURRENT_CONFIG, kSettings, L"ConnectionType"},
  };
  places.insert(places.end(), extra.begin(), extra.end());
  return places;
}

}  // namespace velocane::driver
