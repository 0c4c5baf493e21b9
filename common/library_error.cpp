#include "common/library_error.h"

#include <cstdarg>
#include <new>
#include <string>
#include <typeinfo>

namespace {

// Appends text to buffer[length...] within capacity (room kept for the zero).
void Append(char *buffer, std::size_t capacity, std::size_t &length, const char *text) {
  for (; *text && length + 1 < capacity; ++text) buffer[length++] = *text;
}

// The library's message for an out-of-range position: its format with "%s"
// replaced by a text argument, "%zu" by a std::size_t one and "%%" by "%", cut
// to fit the buffer with its terminating zero. Its formats use nothing else.
void FormatLibraryMessage(char *buffer, std::size_t capacity, const char *format, std::va_list arguments) {
  if (capacity == 0) return;
  std::size_t length = 0;
  for (const char *at = format; *at && length + 1 < capacity; ++at) {
    if (at[0] == '%' && at[1] == 's') {
      const char *text = va_arg(arguments, const char *);
      Append(buffer, capacity, length, text ? text : "");
      ++at;
    } else if (at[0] == '%' && at[1] == 'z' && at[2] == 'u') {
      std::size_t value = va_arg(arguments, std::size_t);
      char digits[24];
      std::size_t count = 0;
      do {
        digits[count++] = static_cast<char>('0' + value % 10);
        value /= 10;
      } while (value != 0);
      while (count > 0 && length + 1 < capacity) buffer[length++] = digits[--count];
      at += 2;
    } else if (at[0] == '%' && at[1] == '%') {
      buffer[length++] = '%';
      ++at;
    } else {
      buffer[length++] = *at;
    }
  }
  buffer[length] = '\0';
}

}  // namespace

LibraryError::LibraryError(const char *text) noexcept : text_() {
  std::size_t length = 0;
  Append(text_, kCapacity, length, text ? text : "");
}

// The library's raising routines, as declared by its headers (see the header).
void std::__throw_bad_exception() { throw std::bad_exception(); }
void std::__throw_bad_alloc() { throw std::bad_alloc(); }
void std::__throw_bad_array_new_length() { throw std::bad_array_new_length(); }
void std::__throw_bad_cast() { throw std::bad_cast(); }
void std::__throw_bad_typeid() { throw std::bad_typeid(); }
void std::__throw_logic_error(const char *text) { throw LibraryError(text); }
void std::__throw_domain_error(const char *text) { throw LibraryError(text); }
void std::__throw_invalid_argument(const char *text) { throw LibraryError(text); }
void std::__throw_length_error(const char *text) { throw LibraryError(text); }
void std::__throw_out_of_range(const char *text) { throw LibraryError(text); }
void std::__throw_runtime_error(const char *text) { throw LibraryError(text); }
void std::__throw_range_error(const char *text) { throw LibraryError(text); }
void std::__throw_overflow_error(const char *text) { throw LibraryError(text); }
void std::__throw_underflow_error(const char *text) { throw LibraryError(text); }

void std::__throw_out_of_range_fmt(const char *format, ...) {
  char text[LibraryError::kCapacity];
  std::va_list arguments;
  va_start(arguments, format);
  FormatLibraryMessage(text, sizeof text, format, arguments);
  va_end(arguments);
  throw LibraryError(text);
}
