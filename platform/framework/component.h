#pragma once
// Component ownership: a component created with an owner is freed by that
// owner; when one is removed, the owner tells its other components so that
// nobody keeps a reference to it.
#include <string>
#include <vector>

namespace velocane {

class TApplication;

enum class TOperation { opInsert, opRemove };

class TComponent {
 public:
  explicit TComponent(TComponent* owner, std::string name = {});
  virtual ~TComponent();
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  TComponent* Owner() const { return owner_; }
  const std::string& Name() const { return name_; }
  int ComponentCount() const { return static_cast<int>(components_.size()); }
  TComponent* Components(int index) const { return components_.at(index); }
  TComponent* FindComponent(const std::string& name) const;

  // The application this component lives in, found through its owners.
  virtual TApplication* Application() const;

  // Runs once all the owner's components exist and carry their settings, so
  // that settings which depend on one another can take effect.
  virtual void Loaded() {}
  // Loaded for every component this one owns, in the order they were made.
  void LoadComponents();

 protected:
  // Another component of the same owner (or one this component refers to
  // through FreeNotification) was inserted or is being removed.
  virtual void Notification(TComponent* component, TOperation operation);

 public:
  // Asks to be told (Notification with opRemove) when `other` is freed.
  void FreeNotification(TComponent* other);

 private:
  void RemoveComponent(TComponent* component);
  void RemoveFreeNotification(TComponent* other);

  TComponent* owner_;
  std::string name_;
  // Owned: each entry is freed in the destructor (newest first). An entry
  // removes itself from this list when it is freed earlier.
  std::vector<TComponent*> components_;
  std::vector<TComponent*> free_notifies_;
};

}  // namespace velocane
