#pragma once
// Window message numbers and flags, with the values the system gives them, so
// the simulation and the real backend speak the same numbers.
#include <cstdint>

namespace velocane {

namespace wm {
constexpr std::uint32_t kNull = 0x0000;
constexpr std::uint32_t kDestroy = 0x0002;
constexpr std::uint32_t kSize = 0x0005;
constexpr std::uint32_t kClose = 0x0010;
constexpr std::uint32_t kQueryEndSession = 0x0011;
constexpr std::uint32_t kQuit = 0x0012;
constexpr std::uint32_t kShowWindow = 0x0018;
constexpr std::uint32_t kEndSession = 0x0016;
constexpr std::uint32_t kWindowPosChanged = 0x0047;
constexpr std::uint32_t kContextMenu = 0x007B;
constexpr std::uint32_t kNcDestroy = 0x0082;
constexpr std::uint32_t kSysCommand = 0x0112;
constexpr std::uint32_t kTimer = 0x0113;
constexpr std::uint32_t kMouseMove = 0x0200;
constexpr std::uint32_t kLButtonDown = 0x0201;
constexpr std::uint32_t kLButtonUp = 0x0202;
constexpr std::uint32_t kLButtonDblClk = 0x0203;
constexpr std::uint32_t kRButtonDown = 0x0204;
constexpr std::uint32_t kRButtonUp = 0x0205;
constexpr std::uint32_t kRButtonDblClk = 0x0206;
constexpr std::uint32_t kMButtonDown = 0x0207;
constexpr std::uint32_t kMButtonUp = 0x0208;
constexpr std::uint32_t kMButtonDblClk = 0x0209;
constexpr std::uint32_t kUser = 0x0400;
constexpr std::uint32_t kApp = 0x8000;
}  // namespace wm

// WM_SIZE kinds.
namespace sizekind {
constexpr std::uintptr_t kRestored = 0;
constexpr std::uintptr_t kMinimized = 1;
}  // namespace sizekind

// WM_SHOWWINDOW reasons (lParam).
constexpr std::intptr_t kSwParentClosing = 1;

// WM_SYSCOMMAND commands.
namespace sc {
constexpr std::uintptr_t kMinimize = 0xF020;
constexpr std::uintptr_t kMaximize = 0xF030;
constexpr std::uintptr_t kClose = 0xF060;
constexpr std::uintptr_t kRestore = 0xF120;
}  // namespace sc

// Virtual keys; the letters and digits are their own characters ('A', '7').
namespace vk {
constexpr int kTab = 0x09;
constexpr int kReturn = 0x0D;
constexpr int kShift = 0x10;
constexpr int kControl = 0x11;
constexpr int kMenu = 0x12;  // Alt
constexpr int kEscape = 0x1B;
constexpr int kSpace = 0x20;
constexpr int kLeft = 0x25;
constexpr int kUp = 0x26;
constexpr int kRight = 0x27;
constexpr int kDown = 0x28;
}  // namespace vk

namespace mb {
constexpr unsigned kOk = 0x0;
constexpr unsigned kYesNo = 0x4;
constexpr unsigned kIconError = 0x10;
constexpr unsigned kIconQuestion = 0x20;
constexpr unsigned kIconWarning = 0x30;
constexpr unsigned kIconInformation = 0x40;
}  // namespace mb

// Message box results.
namespace idbutton {
constexpr int kOk = 1;
constexpr int kCancel = 2;
constexpr int kYes = 6;
constexpr int kNo = 7;
}  // namespace idbutton

}  // namespace velocane
