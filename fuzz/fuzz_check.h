// What the fuzz targets share: a failed property stops the run with its text,
// so libFuzzer keeps the input that broke it.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#define FUZZ_CHECK(condition)                                                         \
  do {                                                                                \
    if (!(condition)) {                                                               \
      std::fprintf(stderr, "%s:%d: property broken: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                   \
    }                                                                                 \
  } while (0)

// Reads the fuzz input piece by piece; past its end every read gives zeros.
class FuzzInput {
 public:
  FuzzInput(const std::uint8_t *data, std::size_t size) : data_(data), size_(size) {}
  bool Empty() const { return offset_ >= size_; }
  std::uint8_t Byte() { return offset_ < size_ ? data_[offset_++] : 0; }
  std::uint32_t Word32() {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) value |= static_cast<std::uint32_t>(Byte()) << (8 * i);
    return value;
  }
  // Up to `length` bytes, fewer at the end of the input.
  std::string Bytes(std::size_t length) {
    std::size_t available = offset_ < size_ ? size_ - offset_ : 0;
    if (length > available) length = available;
    std::string text(reinterpret_cast<const char *>(data_ + offset_), length);
    offset_ += length;
    return text;
  }
  std::string Rest() { return Bytes(size_); }

 private:
  const std::uint8_t *data_;
  std::size_t size_;
  std::size_t offset_ = 0;
};
