#include "platform/sim/sim_registry.h"

#include <algorithm>
#include <cctype>

namespace velocane::sim {

std::string SimRegistry::Fold(const std::string& text) {
  std::string folded = text;
  std::transform(folded.begin(), folded.end(), folded.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return folded;
}

long SimRegistry::OpenKey(RootKey root, const std::string& path, bool create, KeyHandle* key) {
  *key = KeyHandle{};
  const std::string folded = Fold(path);
  if (denied_.contains({root, folded})) return regstatus::kAccessDenied;
  auto it = keys_.find({root, folded});
  if (it == keys_.end()) {
    if (!create) return regstatus::kFileNotFound;
    it = keys_.emplace(std::make_pair(root, folded), Key{path, {}, {}}).first;
  }
  key->value = next_handle_++;
  handles_[key->value] = OpenKeyState{root, folded};
  return regstatus::kSuccess;
}

SimRegistry::Key* SimRegistry::Lookup(KeyHandle key) {
  auto handle = handles_.find(key.value);
  if (handle == handles_.end()) return nullptr;
  auto it = keys_.find({handle->second.root, handle->second.folded_path});
  return it == keys_.end() ? nullptr : &it->second;
}

long SimRegistry::QueryValue(KeyHandle key, const std::string& name, RegValue* value) {
  Key* k = Lookup(key);
  if (k == nullptr) return regstatus::kInvalidHandle;
  auto it = k->values.find(Fold(name));
  if (it == k->values.end()) return regstatus::kFileNotFound;
  *value = it->second;
  return regstatus::kSuccess;
}

long SimRegistry::SetValue(KeyHandle key, const std::string& name, const RegValue& value) {
  Key* k = Lookup(key);
  if (k == nullptr) return regstatus::kInvalidHandle;
  auto failing = failing_writes_.find(Fold(name));
  if (failing != failing_writes_.end() && failing->second.first > 0) {
    --failing->second.first;
    return failing->second.second;
  }
  const std::string folded = Fold(name);
  k->names[folded] = name;
  k->values[folded] = value;
  const OpenKeyState& state = handles_.at(key.value);
  writes_.push_back(Write{state.root, k->path, name, value});
  return regstatus::kSuccess;
}

long SimRegistry::DeleteValue(KeyHandle key, const std::string& name) {
  Key* k = Lookup(key);
  if (k == nullptr) return regstatus::kInvalidHandle;
  const std::string folded = Fold(name);
  if (k->values.erase(folded) == 0) return regstatus::kFileNotFound;
  k->names.erase(folded);
  return regstatus::kSuccess;
}

void SimRegistry::CloseKey(KeyHandle key) { handles_.erase(key.value); }

void SimRegistry::DenyAccess(RootKey root, const std::string& path) {
  denied_[{root, Fold(path)}] = true;
}

void SimRegistry::FailWrites(const std::string& name, int count, long status) {
  failing_writes_[Fold(name)] = {count, status};
}

bool SimRegistry::KeyExists(RootKey root, const std::string& path) const {
  return keys_.contains({root, Fold(path)});
}

const RegValue* SimRegistry::Find(RootKey root, const std::string& path,
                                  const std::string& name) const {
  auto key = keys_.find({root, Fold(path)});
  if (key == keys_.end()) return nullptr;
  auto it = key->second.values.find(Fold(name));
  return it == key->second.values.end() ? nullptr : &it->second;
}

void SimRegistry::Put(RootKey root, const std::string& path, const std::string& name,
                      const RegValue& value) {
  auto it = keys_.find({root, Fold(path)});
  if (it == keys_.end())
    it = keys_.emplace(std::make_pair(root, Fold(path)), Key{path, {}, {}}).first;
  it->second.names[Fold(name)] = name;
  it->second.values[Fold(name)] = value;
}

RegValue DWordValue(std::uint32_t value) {
  RegValue v{ValueType::DWord, {}};
  for (int i = 0; i < 4; ++i) v.data.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
  return v;
}

RegValue StringValue(const std::string& text) {
  RegValue v{ValueType::String, std::vector<std::uint8_t>(text.begin(), text.end())};
  v.data.push_back(0);
  return v;
}

}  // namespace velocane::sim
