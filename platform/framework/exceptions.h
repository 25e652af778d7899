#pragma once
// The framework's error kinds. Handlers catch the kind they can answer; the
// application object shows whatever escapes an event handler.
#include <cstdint>
#include <stdexcept>
#include <string>

namespace velocane {

class Exception : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A system call failed; carries the system's error code.
class EOSError : public Exception {
 public:
  EOSError(unsigned code, const std::string& text) : Exception(text), code_(code) {}
  unsigned Code() const { return code_; }

 private:
  unsigned code_;
};

class ERegistryException : public Exception {
 public:
  using Exception::Exception;
};

class EConvertError : public Exception {
 public:
  using Exception::Exception;
};

class EInvalidOperation : public Exception {
 public:
  using Exception::Exception;
};

// A picture could not be read or made.
class EReadError : public Exception {
 public:
  using Exception::Exception;
};

// An object does not offer the interface it was asked for.
class EIntfCastError : public Exception {
 public:
  using Exception::Exception;
};

// A failing HRESULT from a COM call.
class EOleSysError : public Exception {
 public:
  EOleSysError(std::int32_t hresult, const std::string& text)
      : Exception(text), hresult_(hresult) {}
  std::int32_t ErrorCode() const { return hresult_; }

 private:
  std::int32_t hresult_;
};

// A failing HRESULT for which the object supplied an error description.
class EOleException : public EOleSysError {
 public:
  EOleException(std::int32_t hresult, const std::string& description, const std::string& source)
      : EOleSysError(hresult, description), source_(source) {}
  const std::string& Source() const { return source_; }

 private:
  std::string source_;
};

}  // namespace velocane
