#pragma once
// An object the whole process shares, made by its first user and freed with
// its last: each user keeps the shared_ptr that Acquire hands it, and only
// the users keep the object alive. What the object holds (a hidden window, a
// collection in another process) goes when the last of them lets go.
#include <memory>

namespace velocane {

template <class T>
class TProcessWide {
 public:
  // The living object, or the one `make` returns when there is none.
  template <class Make>
  static std::shared_ptr<T> Acquire(Make&& make) {
    if (std::shared_ptr<T> living = Slot().lock()) return living;
    std::shared_ptr<T> made = make();
    Slot() = made;
    return made;
  }
  // The living object, without keeping it; null while nobody holds one, and
  // while the last user's release is freeing it.
  static T* Current() { return Slot().lock().get(); }

 private:
  static std::weak_ptr<T>& Slot() {
    static std::weak_ptr<T> slot;
    return slot;
  }
};

}  // namespace velocane
