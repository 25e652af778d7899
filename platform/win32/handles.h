#pragma once
// Owning wrappers for the system's handles: one small move-only template with
// a traits type per kind, a scoped SelectObject, a window DC that is released
// to its window, and a COM pointer. None converts to the raw value on its own:
// get() reads it, put() hands out its slot to a call that writes a new one.
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
