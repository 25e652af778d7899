#pragma once
// The COM runtime of the user-interface thread.
namespace velocane {

class Com {
 public:
  virtual ~Com() = default;
  // CoInitialize: a single-threaded apartment for the calling thread. Returns the HRESULT.
  virtual long Initialize() = 0;
  virtual void Uninitialize() = 0;
};

}  // namespace velocane
