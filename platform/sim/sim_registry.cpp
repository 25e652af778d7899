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

class SimRegistry::OpenedKey final : public RegistryKey {
 public:
  OpenedKey(SimRegistry& registry, RootKey root, Key& key)
      : registry_(registry), root_(root), key_(key) {
    ++registry_.open_keys_;
  }
  ~OpenedKey() override { --registry_.open_keys_; }
  OpenedKey(const OpenedKey&) = delete;
  OpenedKey& operator=(const OpenedKey&) = delete;

  long QueryValue(const std::string& name, RegValue* value) override {
    auto it = key_.values.find(Fold(name));
    if (it == key_.values.end()) return regstatus::kFileNotFound;
    *value = it->second;
    return regstatus::kSuccess;
  }

  long SetValue(const std::string& name, const RegValue& value) override {
    const std::string folded = Fold(name);
    if (auto status = TakeFailure(registry_.failing_writes_, folded, root_)) return *status;
    key_.names[folded] = name;
    key_.values[folded] = value;
    registry_.writes_.push_back(Write{root_, key_.path, name, value});
    return regstatus::kSuccess;
  }

  long DeleteValue(const std::string& name) override {
    const std::string folded = Fold(name);
    if (auto status = TakeFailure(registry_.failing_deletes_, folded, root_)) return *status;
    if (key_.values.erase(folded) == 0) return regstatus::kFileNotFound;
    key_.names.erase(folded);
    return regstatus::kSuccess;
  }

 private:
  SimRegistry& registry_;
  RootKey root_;
  Key& key_;
};

long SimRegistry::OpenKey(RootKey root, const std::string& path, bool create,
                          std::unique_ptr<RegistryKey>* key) {
  key->reset();
  const std::string folded = Fold(path);
  if (denied_.contains({root, folded})) return regstatus::kAccessDenied;
  auto it = keys_.find({root, folded});
  if (it == keys_.end()) {
    if (!create) return regstatus::kFileNotFound;
    it = keys_.emplace(std::make_pair(root, folded), Key{path, {}, {}}).first;
  }
  *key = std::make_unique<OpenedKey>(*this, root, it->second);
  return regstatus::kSuccess;
}

void SimRegistry::DenyAccess(RootKey root, const std::string& path) {
  denied_[{root, Fold(path)}] = true;
}

std::optional<long> SimRegistry::TakeFailure(std::vector<Failing>& rules, const std::string& folded,
                                             RootKey root) {
  for (Failing& rule : rules) {
    if (rule.remaining <= 0 || rule.folded_name != folded) continue;
    if (rule.root && *rule.root != root) continue;
    --rule.remaining;
    return rule.status;
  }
  return std::nullopt;
}

void SimRegistry::FailWrites(const std::string& name, int count, long status,
                             std::optional<RootKey> root) {
  failing_writes_.push_back(Failing{Fold(name), root, count, status});
}

int SimRegistry::PendingWriteFailures() const {
  int pending = 0;
  for (const Failing& rule : failing_writes_) pending += std::max(rule.remaining, 0);
  return pending;
}

void SimRegistry::FailDeletes(const std::string& name, int count, long status) {
  failing_deletes_.push_back(Failing{Fold(name), std::nullopt, count, status});
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
