#pragma once
#include "platform/win32/windows_clean.h"
#include "platform/windowing.h"

namespace velocane::win32 {

class Win32Windowing : public Windowing {
 public:
  // Made on the user-interface thread, whose message loops it guards.
  Win32Windowing();
  ~Win32Windowing() override;
  Win32Windowing(const Win32Windowing&) = delete;
  Win32Windowing& operator=(const Win32Windowing&) = delete;

  CreateWindowResult CreateHiddenWindow(const std::string& class_name, const std::string& title,
                                        bool message_only, WindowProc proc) override;
  void DestroyWindow(WindowHandle window) override;
  void SetWindowText(WindowHandle window, const std::string& text) override;
  std::intptr_t SendMessage(WindowHandle window, std::uint32_t msg, std::uintptr_t wparam,
                            std::intptr_t lparam) override;
  bool PostMessage(WindowHandle window, std::uint32_t msg, std::uintptr_t wparam,
                   std::intptr_t lparam) override;
  SysResult SetTimer(WindowHandle window, std::uintptr_t id, unsigned milliseconds) override;
  bool KillTimer(WindowHandle window, std::uintptr_t id) override;
  void EnumTopLevelWindows(const std::function<bool(WindowHandle)>& visit) override;
  std::string GetWindowText(WindowHandle window) override;
  std::string GetClassName(WindowHandle window) override;
  bool IsWindowVisible(WindowHandle window) override;
  WindowHandle GetLastActivePopup(WindowHandle window) override;
  bool BringWindowToTop(WindowHandle window) override;
  bool IsIconic(WindowHandle window) override;
  bool ShowWindow(WindowHandle window, int show_command) override;
  bool SetForegroundWindow(WindowHandle window) override;
  int MessageBox(WindowHandle owner, const std::string& text, const std::string& caption,
                 unsigned flags) override;
  void PostQuitMessage(int exit_code) override;
  int RunMessageLoop() override;
  bool ProcessPendingMessages() override;
  bool RunModalLoop(WindowHandle dialog, const std::function<bool()>& done) override;
  void SetErrorHandler(std::function<void(std::exception_ptr)> handler) override;
  std::uint32_t RegisterWindowMessage(const std::string& name) override;
  bool AllowMessageFromLowerRights(WindowHandle window, std::uint32_t msg) override;
  SubclassHandle Subclass(WindowHandle window, WindowProc hook) override;
  void RemoveSubclass(WindowHandle window, SubclassHandle subclass) override;
  bool GetCursorPos(Point* at) override;
  unsigned GetDoubleClickTime() override;
  bool IsKeyDown(int virtual_key) override;
  int TrackPopupMenu(WindowHandle owner, const std::vector<MenuItem>& items, Point at) override;
  void SetKeyPreview(KeyPreview preview) override { key_preview_ = std::move(preview); }
  WindowHandle FocusedWindow() override;

 private:
  // The preview's verdict on a message the loop took from the queue.
  bool Previewed(const MSG& msg);

  KeyPreview key_preview_;
  HHOOK forged_message_hook_ = nullptr;
};

}  // namespace velocane::win32
