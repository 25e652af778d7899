#include "components/RegInstance.h"

#include <cstring>
#include <string>

#include "platform/framework/application.h"
#include "platform/process.h"

namespace velocane {

namespace {

// Copies at most 255 characters and the terminator, as the system's text calls do.
void CopyText(char (&buffer)[256], const std::string& text) {
  const std::size_t length = std::min(text.size(), sizeof buffer - 1);
  std::memcpy(buffer, text.data(), length);
  buffer[length] = 0;
}

}  // namespace

TPrevInstState& PrevInstState() {
  static TPrevInstState state;
  return state;
}

TPrevInst::TPrevInst(TComponent* owner, std::string name) : TComponent(owner, std::move(name)) {}

bool TPrevInst::CheckPrevInst() {
  TApplication* app = Application();
  Windowing& windowing = app->Platform().windowing;
  TPrevInstState& state = PrevInstState();
  state.InstanceCount = 0;
  state.OtherInstanceWindow = WindowHandle{};
  const WindowHandle own = app->Handle();
  CopyText(state.OwnTitle, windowing.GetWindowText(own));
  CopyText(state.OwnClassName, windowing.GetClassName(own));

  windowing.EnumTopLevelWindows([&](WindowHandle window) {
    const std::string class_name = windowing.GetClassName(window);
    if (class_name.empty() || class_name != state.OwnClassName) return true;
    const std::string title = windowing.GetWindowText(window);
    if (title.empty() || title != state.OwnTitle) return true;
    ++state.InstanceCount;
    if (window != own) state.OtherInstanceWindow = window;
    return true;
  });

  if (state.InstanceCount <= AllowedInst) return false;
  // With no other copy to bring forward (AllowedInst 0 and a lone copy) there
  // is nothing to activate: the copy only ends.
  if (const WindowHandle other = state.OtherInstanceWindow) {
    const WindowHandle popup = windowing.GetLastActivePopup(other);
    windowing.BringWindowToTop(other);
    if (windowing.IsIconic(popup)) {
      windowing.ShowWindow(popup, showcmd::kRestore);
    } else {
      windowing.SetForegroundWindow(popup);
    }
  }
  app->Terminate();
  return true;
}

}  // namespace velocane
