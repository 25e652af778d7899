#include "platform/framework/registry.h"

#include <algorithm>

#include "platform/framework/exceptions.h"

namespace velocane {

namespace {

std::string Quoted(const char* text, const std::string& name) {
  return std::string(text) + " '" + name + "'";
}

}  // namespace

void TRegistry::SetRootKey(RootKey root) {
  CloseKey();
  root_ = root;
}

bool TRegistry::OpenKey(const std::string& key, bool can_create) {
  const bool absolute = !key.empty() && key.front() == '\\';
  std::string path = absolute ? key.substr(1) : key;
  if (!absolute && !path_.empty()) path = path.empty() ? path_ : path_ + "\\" + path;
  std::unique_ptr<RegistryKey> opened;
  if (backend_.OpenKey(root_, path, can_create, &opened) != regstatus::kSuccess || !opened) {
    return false;
  }
  key_ = std::move(opened);
  path_ = path;
  return true;
}

void TRegistry::CloseKey() {
  key_.reset();
  path_.clear();
}

void TRegistry::RequireKey(const std::string& name, const char* what) const {
  if (!key_) throw ERegistryException(Quoted(what, name));
}

bool TRegistry::ValueExists(const std::string& name) {
  if (!key_) return false;
  RegValue value;
  return key_->QueryValue(name, &value) == regstatus::kSuccess;
}

std::int32_t TRegistry::ReadInteger(const std::string& name) {
  RequireKey(name, "Failed to get data for");
  RegValue value;
  if (key_->QueryValue(name, &value) != regstatus::kSuccess) {
    throw ERegistryException(Quoted("Failed to get data for", name));
  }
  if (value.type != ValueType::DWord)
    throw ERegistryException(Quoted("Invalid data type for", name));
  if (value.data.size() != 4) throw EConvertError(Quoted("Invalid data size for", name));
  std::uint32_t result = 0;
  for (int i = 3; i >= 0; --i) result = result << 8 | value.data[i];
  return static_cast<std::int32_t>(result);
}

std::string TRegistry::ReadString(const std::string& name) {
  RequireKey(name, "Failed to get data for");
  RegValue value;
  const long status = key_->QueryValue(name, &value);
  if (status == regstatus::kFileNotFound) return {};
  if (status != regstatus::kSuccess)
    throw ERegistryException(Quoted("Failed to get data for", name));
  if (value.type != ValueType::String && value.type != ValueType::ExpandString) {
    throw ERegistryException(Quoted("Invalid data type for", name));
  }
  // Stored strings need not end in a terminator: read only the bytes that are there.
  auto end = std::find(value.data.begin(), value.data.end(), 0);
  return std::string(value.data.begin(), end);
}

void TRegistry::WriteInteger(const std::string& name, std::int32_t value) {
  RequireKey(name, "Failed to set data for");
  const auto bits = static_cast<std::uint32_t>(value);
  RegValue data{ValueType::DWord,
                {static_cast<std::uint8_t>(bits), static_cast<std::uint8_t>(bits >> 8),
                 static_cast<std::uint8_t>(bits >> 16), static_cast<std::uint8_t>(bits >> 24)}};
  if (key_->SetValue(name, data) != regstatus::kSuccess) {
    throw ERegistryException(Quoted("Failed to set data for", name));
  }
}

void TRegistry::WriteString(const std::string& name, const std::string& value) {
  RequireKey(name, "Failed to set data for");
  RegValue data{ValueType::String, std::vector<std::uint8_t>(value.begin(), value.end())};
  data.data.push_back(0);
  if (key_->SetValue(name, data) != regstatus::kSuccess) {
    throw ERegistryException(Quoted("Failed to set data for", name));
  }
}

bool TRegistry::DeleteValue(const std::string& name) {
  return key_ && key_->DeleteValue(name) == regstatus::kSuccess;
}

}  // namespace velocane
