// Constants kept out of the program image as plain text: one length byte, then
// the characters, each XOR a one-byte key. Encipher runs at compile time, so
// the sources hold the plain values and the image only their enciphered form.
#pragma once

#include <cstddef>
#include <string>

constexpr unsigned char kCipherKey = 0x3B;

template <std::size_t Capacity>
struct EncipheredString {
  static_assert(Capacity <= 255, "the length must fit its byte");
  unsigned char bytes[Capacity + 1];
};

template <std::size_t Capacity, std::size_t N>
constexpr EncipheredString<Capacity> Encipher(const char (&plain)[N]) {
  static_assert(N - 1 == Capacity, "every constant fills its record: its length must equal its capacity");
  EncipheredString<Capacity> record{};
  record.bytes[0] = static_cast<unsigned char>(Capacity);
  for (std::size_t i = 0; i < Capacity; ++i)
    record.bytes[i + 1] = static_cast<unsigned char>(static_cast<unsigned char>(plain[i]) ^ kCipherKey);
  return record;
}

// Deciphers a record whose capacity is given; the stored length decides the
// result's length, the capacity only bounds what may be read.
std::string DecipherString(const unsigned char *record, std::size_t capacity);

template <std::size_t Capacity>
std::string DecipherString(const EncipheredString<Capacity> &record) {
  return DecipherString(record.bytes, Capacity);
}
