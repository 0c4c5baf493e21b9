// The C++ library's own errors, raised by our replacements of its raising
// routines: what the programs' handlers (catch std::exception) see.
#include "common/library_error.h"

#include <gtest/gtest.h>

#include <memory>
#include <new>
#include <string>
#include <vector>

namespace {

// Runs action, which must raise; answers the text of what a std::exception
// handler caught and whether it was a LibraryError.
template <typename Action>
std::string CaughtText(Action action, bool &wasLibraryError) {
  try {
    action();
  } catch (const std::exception &error) {
    wasLibraryError = dynamic_cast<const LibraryError *>(&error) != nullptr;
    return error.what();
  }
  ADD_FAILURE() << "nothing was raised";
  return "";
}

TEST(LibraryErrors, PositionPastTheEndKeepsTheLibrarysFormattedText) {
  bool library = false;
  EXPECT_EQ(CaughtText([] { (void)std::vector<int>(3).at(7); }, library),
            "vector::_M_range_check: __n (which is 7) >= this->size() (which is 3)");
  EXPECT_TRUE(library);
  // "%s" and "%zu" together, in a string type the library has no ready-made copy of.
  EXPECT_EQ(CaughtText([] { (void)std::u16string(u"abc").substr(5); }, library),
            "basic_string::substr: __pos (which is 5) > this->size() (which is 3)");
  EXPECT_TRUE(library);
  EXPECT_EQ(CaughtText([] { std::u16string(u"abcd").insert(9, u"x"); }, library),
            "basic_string::replace: __pos (which is 9) > this->size() (which is 4)");
}

TEST(LibraryErrors, GrowingPastTheLimitIsALengthErrorWithItsText) {
  bool library = false;
  EXPECT_EQ(CaughtText(
                [] {
                  std::vector<char> bytes;
                  bytes.reserve(bytes.max_size() + 1);
                },
                library),
            "vector::reserve");
  EXPECT_TRUE(library);
  EXPECT_EQ(CaughtText(
                [] {
                  std::u16string text;
                  text.resize(text.max_size() + 1);
                },
                library),
            "basic_string::_M_replace_aux");
  EXPECT_TRUE(library);
}

TEST(LibraryErrors, AStringFromANullPointerIsALogicError) {
  bool library = false;
  EXPECT_EQ(CaughtText(
                [] {
                  const char16_t *volatile none = nullptr;
                  std::u16string text(none);
                },
                library),
            "basic_string: construction from null is not valid");
  EXPECT_TRUE(library);
}

TEST(LibraryErrors, AllocationFailuresStayStandard) {
  // Requests the allocator refuses before asking for memory: too many bytes
  // to count, and more than any object may hold.
  std::allocator<int> allocator;
  EXPECT_THROW((void)allocator.allocate(static_cast<std::size_t>(-1) / 2), std::bad_array_new_length);
  EXPECT_THROW((void)allocator.allocate(static_cast<std::size_t>(-1) / 4 - 1), std::bad_alloc);
}

TEST(LibraryErrors, TextIsCutToTheCapacityAndNullIsEmpty) {
  const std::string longText(LibraryError::kCapacity + 40, 'x');
  LibraryError error(longText.c_str());
  EXPECT_EQ(std::string(error.what()), longText.substr(0, LibraryError::kCapacity - 1));
  EXPECT_STREQ(LibraryError(nullptr).what(), "");
  EXPECT_STREQ(LibraryError("vector::reserve").what(), "vector::reserve");
}

}  // namespace
