// The error the C++ standard library raises for a misuse it detects itself: a
// string or vector asked to grow past its limit, a position past the end of a
// string, a string built from a null pointer.
//
// The library's own raising routines (std::__throw_length_error and its kin)
// build std::length_error, std::out_of_range and the other standard error
// classes. Their text lives in the library's second, reference-counted string
// implementation, and linking them statically brings that whole
// implementation into a program: about 55 KB of the shipped Deskplan.exe,
// almost a third of it. common/library_error.cpp defines those routines for
// our programs: they raise a LibraryError carrying the same text instead, and
// the allocation failures (std::bad_alloc, std::bad_array_new_length) and the
// dynamic-type errors (std::bad_cast, std::bad_typeid, std::bad_exception)
// unchanged. The programs catch these errors as std::exception only, never by
// their standard class, so they handle them exactly as before.
#pragma once

#include <cstddef>
#include <exception>

class LibraryError : public std::exception {
 public:
  // Keeps the first kCapacity - 1 bytes of the text.
  explicit LibraryError(const char *text) noexcept;
  const char *what() const noexcept override { return text_; }

  static constexpr std::size_t kCapacity = 256;

 private:
  char text_[kCapacity];
};

