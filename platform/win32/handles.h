#pragma once
// Owning wrappers for the system's handles: one small move-only template with
// a traits type per kind, a started process, a scoped SelectObject, a window
// DC that is released to its window, COM for a thread, and a COM pointer.
// None converts to the raw value on its own: get() reads it, put() hands out
// its slot to a call that writes a new one.
#include <cstddef>
#include <utility>

#include "platform/win32/windows_clean.h"

namespace velocane::win32 {

template <class Traits>
class UniqueHandle {
 public:
  using pointer = typename Traits::Type;

  UniqueHandle() = default;
  explicit UniqueHandle(pointer value) : value_(value) {}
  ~UniqueHandle() { reset(); }
  UniqueHandle(UniqueHandle&& other) noexcept : value_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;

  pointer get() const { return value_; }
  explicit operator bool() const { return value_ != Traits::Invalid(); }
  // Frees what is held and hands out the empty slot, for a call that writes a handle.
  pointer* put() {
    reset();
    return &value_;
  }
  void reset(pointer value = Traits::Invalid()) {
    const pointer old = std::exchange(value_, value);
    if (old != Traits::Invalid()) Traits::Close(old);
  }
  [[nodiscard]] pointer release() { return std::exchange(value_, Traits::Invalid()); }

 private:
  pointer value_ = Traits::Invalid();
};

template <class T>
struct GdiObjectTraits {
  using Type = T;
  static constexpr Type Invalid() { return nullptr; }
  static void Close(Type object) { ::DeleteObject(object); }
};

struct MemoryDcTraits {
  using Type = HDC;
  static constexpr Type Invalid() { return nullptr; }
  static void Close(Type dc) { ::DeleteDC(dc); }
};

struct KeyTraits {
  using Type = HKEY;
  static constexpr Type Invalid() { return nullptr; }
  static void Close(Type key) { ::RegCloseKey(key); }
};

struct WindowTraits {
  using Type = HWND;
  static constexpr Type Invalid() { return nullptr; }
  static void Close(Type window) { ::DestroyWindow(window); }
};

struct IconTraits {
  using Type = HICON;
  static constexpr Type Invalid() { return nullptr; }
  static void Close(Type icon) { ::DestroyIcon(icon); }
};

struct MenuTraits {
  using Type = HMENU;
  static constexpr Type Invalid() { return nullptr; }
  static void Close(Type menu) { ::DestroyMenu(menu); }
};

// Processes, threads, pipes and the other kernel objects whose "none" is null.
struct KernelHandleTraits {
  using Type = HANDLE;
  static constexpr Type Invalid() { return nullptr; }
  static void Close(Type handle) { ::CloseHandle(handle); }
};

// Files and snapshots, whose "none" is INVALID_HANDLE_VALUE.
struct FileHandleTraits {
  using Type = HANDLE;
  static Type Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(Type handle) { ::CloseHandle(handle); }
};

// A FindFirstFile search.
struct FindTraits {
  using Type = HANDLE;
  static Type Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(Type find) { ::FindClose(find); }
};

// The service manager and its services.
struct ServiceTraits {
  using Type = SC_HANDLE;
  static constexpr Type Invalid() { return nullptr; }
  static void Close(Type service) { ::CloseServiceHandle(service); }
};

struct ModuleTraits {
  using Type = HMODULE;
  static constexpr Type Invalid() { return nullptr; }
  static void Close(Type module) { ::FreeLibrary(module); }
};

struct WinEventHookTraits {
  using Type = HWINEVENTHOOK;
  static constexpr Type Invalid() { return nullptr; }
  static void Close(Type hook) { ::UnhookWinEvent(hook); }
};

using UniqueBrush = UniqueHandle<GdiObjectTraits<HBRUSH>>;
using UniquePen = UniqueHandle<GdiObjectTraits<HPEN>>;
using UniqueFont = UniqueHandle<GdiObjectTraits<HFONT>>;
using UniqueBitmap = UniqueHandle<GdiObjectTraits<HBITMAP>>;
using UniqueRegion = UniqueHandle<GdiObjectTraits<HRGN>>;
using UniqueMemoryDc = UniqueHandle<MemoryDcTraits>;
using UniqueKey = UniqueHandle<KeyTraits>;
using UniqueWindow = UniqueHandle<WindowTraits>;
using UniqueIcon = UniqueHandle<IconTraits>;
using UniqueMenu = UniqueHandle<MenuTraits>;
using UniqueKernelHandle = UniqueHandle<KernelHandleTraits>;
using UniqueFile = UniqueHandle<FileHandleTraits>;
using UniqueFind = UniqueHandle<FindTraits>;
using UniqueService = UniqueHandle<ServiceTraits>;
using UniqueModule = UniqueHandle<ModuleTraits>;
using UniqueWinEventHook = UniqueHandle<WinEventHookTraits>;

// A started process: the two handles CreateProcess gave, closed when it goes.
class StartedProcess {
 public:
  StartedProcess() = default;
  // Takes over both handles of `info`.
  explicit StartedProcess(const PROCESS_INFORMATION& info)
      : process_(info.hProcess), thread_(info.hThread), id_(info.dwProcessId) {}
  HANDLE process() const { return process_.get(); }
  DWORD id() const { return id_; }
  explicit operator bool() const { return static_cast<bool>(process_); }

 private:
  UniqueKernelHandle process_;
  UniqueKernelHandle thread_;
  DWORD id_ = 0;
};

// A device context of a window (GetDC), released to that window.
class WindowDc {
 public:
  explicit WindowDc(HWND window) : window_(window), dc_(::GetDC(window)) {}
  // Takes over a context that GetDC gave for this window.
  WindowDc(HWND window, HDC adopted) : window_(window), dc_(adopted) {}
  ~WindowDc() {
    if (dc_ != nullptr) ::ReleaseDC(window_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }
  // Gives up the context without releasing it; the caller hands it back with ReleaseDC.
  [[nodiscard]] HDC release() { return std::exchange(dc_, nullptr); }

 private:
  HWND window_;
  HDC dc_;
};

// BeginPaint and EndPaint of one WM_PAINT.
class PaintDc {
 public:
  explicit PaintDc(HWND window) : window_(window), dc_(::BeginPaint(window, &paint_)) {}
  ~PaintDc() { ::EndPaint(window_, &paint_); }
  PaintDc(const PaintDc&) = delete;
  PaintDc& operator=(const PaintDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

// Selects an object into a device context and puts the previous one back.
class ScopedSelect {
 public:
  ScopedSelect(HDC dc, HGDIOBJ object) : dc_(dc), old_(::SelectObject(dc, object)) {}
  ~ScopedSelect() {
    if (old_ != nullptr && old_ != HGDI_ERROR) ::SelectObject(dc_, old_);
  }
  ScopedSelect(const ScopedSelect&) = delete;
  ScopedSelect& operator=(const ScopedSelect&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// COM for the calling thread while the scope lasts.
class ComScope {
 public:
  explicit ComScope(DWORD model = COINIT_APARTMENTTHREADED)
      : hr_(::CoInitializeEx(nullptr, model)) {}
  ~ComScope() {
    if (SUCCEEDED(hr_)) ::CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

 private:
  HRESULT hr_;
};

// A counted COM interface pointer. Copies add a reference; the last one releases.
template <class T>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(std::nullptr_t) {}  // NOLINT: a null pointer reads naturally as an empty one
  ~ComPtr() { reset(); }
  ComPtr(const ComPtr& other) : p_(other.p_) {
    if (p_ != nullptr) p_->AddRef();
  }
  ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  ComPtr& operator=(const ComPtr& other) {
    ComPtr(other).swap(*this);
    return *this;
  }
  ComPtr& operator=(ComPtr&& other) noexcept {
    ComPtr(std::move(other)).swap(*this);
    return *this;
  }

  // Takes over a reference the caller already holds.
  static ComPtr Attach(T* p) {
    ComPtr result;
    result.p_ = p;
    return result;
  }
  // Adds a reference of its own.
  static ComPtr Copy(T* p) {
    if (p != nullptr) p->AddRef();
    return Attach(p);
  }

  T* get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  T** put() {
    reset();
    return &p_;
  }
  void reset() {
    if (T* old = std::exchange(p_, nullptr)) old->Release();
  }
  [[nodiscard]] T* detach() { return std::exchange(p_, nullptr); }
  void swap(ComPtr& other) noexcept { std::swap(p_, other.p_); }

  // The object's interface U, or empty when it does not offer it.
  template <class U>
  ComPtr<U> try_query() const {
    ComPtr<U> result;
    if (p_ != nullptr) query(&result);
    return result;
  }
  // QueryInterface for U; the HRESULT tells why it failed.
  template <class U>
  HRESULT query(ComPtr<U>* result) const {
    if (p_ == nullptr) return E_POINTER;
    return p_->QueryInterface(__uuidof(U), reinterpret_cast<void**>(result->put()));
  }

 private:
  T* p_ = nullptr;
};

}  // namespace velocane::win32
