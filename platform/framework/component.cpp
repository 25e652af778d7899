#include "platform/framework/component.h"

#include <algorithm>

namespace velocane {

TComponent::TComponent(TComponent* owner, std::string name)
    : owner_(owner), name_(std::move(name)) {
  if (owner_ == nullptr) return;
  owner_->components_.push_back(this);
  for (TComponent* sibling : owner_->components_) {
    if (sibling != this) sibling->Notification(this, TOperation::opInsert);
  }
}

TComponent::~TComponent() {
  // Tell everyone who refers to us, then free what we own.
  std::vector<TComponent*> listeners;
  listeners.swap(free_notifies_);
  for (TComponent* listener : listeners) {
    listener->RemoveFreeNotification(this);
    listener->Notification(this, TOperation::opRemove);
  }
  while (!components_.empty()) delete components_.back();
  if (owner_ != nullptr) owner_->RemoveComponent(this);
}

void TComponent::RemoveComponent(TComponent* component) {
  std::erase(components_, component);
  for (TComponent* sibling : std::vector<TComponent*>(components_)) {
    sibling->Notification(component, TOperation::opRemove);
  }
  Notification(component, TOperation::opRemove);
}

TComponent* TComponent::FindComponent(const std::string& name) const {
  auto it = std::find_if(components_.begin(), components_.end(),
                         [&](const TComponent* c) { return c->name_ == name; });
  return it == components_.end() ? nullptr : *it;
}

void TComponent::LoadComponents() {
  for (TComponent* component : std::vector<TComponent*>(components_)) component->Loaded();
}

TApplication* TComponent::Application() const {
  return owner_ != nullptr ? owner_->Application() : nullptr;
}

void TComponent::Notification(TComponent*, TOperation) {}

void TComponent::FreeNotification(TComponent* other) {
  if (other == nullptr || other == this) return;
  if (std::find(other->free_notifies_.begin(), other->free_notifies_.end(), this) ==
      other->free_notifies_.end()) {
    other->free_notifies_.push_back(this);
    free_notifies_.push_back(other);
  }
}

void TComponent::RemoveFreeNotification(TComponent* other) { std::erase(free_notifies_, other); }

}  // namespace velocane
