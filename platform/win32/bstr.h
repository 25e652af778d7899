#pragma once
// A BSTR that this side owns, freed when it goes.
#include <utility>

#include "platform/win32/windows_clean.h"
// After windows.h, which it needs.
#include <oleauto.h>

namespace velocane::win32 {

class Bstr {
 public:
  Bstr() = default;
  explicit Bstr(BSTR adopted) : value_(adopted) {}
  ~Bstr() { SysFreeString(value_); }
  Bstr(Bstr&& other) noexcept : value_(std::exchange(other.value_, nullptr)) {}
  Bstr& operator=(Bstr&& other) noexcept {
    if (this != &other) SysFreeString(std::exchange(value_, std::exchange(other.value_, nullptr)));
    return *this;
  }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  BSTR get() const { return value_; }
  BSTR* put() {
    SysFreeString(std::exchange(value_, nullptr));
    return &value_;
  }

 private:
  BSTR value_ = nullptr;
};

}  // namespace velocane::win32
