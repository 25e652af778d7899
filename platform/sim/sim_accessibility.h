#pragma once
// What a screen reader would reach: the content each window published, and
// every change announced, in order.
#include <map>
#include <vector>

#include "platform/accessibility.h"

namespace velocane::sim {

class SimAccessibility : public Accessibility {
 public:
  void Publish(WindowHandle window, AccessibleContent* content) override {
    if (content != nullptr) {
      published_[window.value] = content;
    } else {
      published_.erase(window.value);
    }
  }
  void Notify(WindowHandle window, AccEvent event, int index) override {
    events.push_back(Event{window, event, index});
  }

  // Test side: the content a client gets for the window's client area, or null.
  AccessibleContent* ContentOf(WindowHandle window) const {
    const auto found = published_.find(window.value);
    return found != published_.end() ? found->second : nullptr;
  }
  struct Event {
    WindowHandle window;
    AccEvent event;
    int index;
    friend bool operator==(const Event&, const Event&) = default;
  };
  std::vector<Event> events;

 private:
  std::map<std::uintptr_t, AccessibleContent*> published_;
};

}  // namespace velocane::sim
