#pragma once
// The COM runtime of the user-interface thread.
#include <cstdint>

namespace velocane {

// A COM status code: negative for a failure.
using HResult = std::int32_t;

class Com {
 public:
  virtual ~Com() = default;
  // CoInitialize: a single-threaded apartment for the calling thread. Returns the HRESULT.
  virtual HResult Initialize() = 0;
  virtual void Uninitialize() = 0;
};

}  // namespace velocane
