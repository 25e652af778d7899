#pragma once
// Reads a fuzzer's bytes as the values a harness needs, with defaults once
// they run out, so that every input means something.
#include <cstddef>
#include <cstdint>
#include <string>

namespace velocane::fuzz {

class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool Empty() const { return at_ >= size_; }
  std::uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
  std::uint32_t U32() {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) value = value << 8 | Byte();
    return value;
  }
  std::uint64_t U64() { return static_cast<std::uint64_t>(U32()) << 32 | U32(); }
  // Up to `limit` bytes.
  std::string Bytes(std::size_t limit) {
    const std::size_t length = std::min<std::size_t>(limit, size_ - std::min(at_, size_));
    std::string text(reinterpret_cast<const char*>(data_) + std::min(at_, size_), length);
    at_ += length;
    return text;
  }
  // A text up to the next newline or the end.
  std::string Line() {
    std::string line;
    while (!Empty()) {
      const char c = static_cast<char>(Byte());
      if (c == '\n') break;
      line += c;
    }
    return line;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

}  // namespace velocane::fuzz
