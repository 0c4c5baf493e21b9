#include <gtest/gtest.h>

#include "common/os_error.h"
#include "winsim/machine.h"

namespace {

class OsErrorText : public ::testing::Test {
 protected:
  void SetUp() override { winsim::Reset(); }
};

TEST_F(OsErrorText, CarriesTheCodeAndTheSystemText) {
  OsError error(ERROR_ACCESS_DENIED);
  EXPECT_EQ(static_cast<DWORD>(ERROR_ACCESS_DENIED), error.Code());
  EXPECT_STREQ("Erreur système.  Code : 5.\r\nAccès refusé", error.what());
}

TEST_F(OsErrorText, CodeZeroHasItsOwnSentence) {
  EXPECT_STREQ("Un appel à une fonction du système d'exploitation a échoué", OsError(0).what());
}

TEST_F(OsErrorText, ACodeWithoutSystemTextKeepsTheCode) {
  winsim::RemoveSystemMessage(1234);
  EXPECT_STREQ("Erreur système.  Code : 1234.\r\n", OsError(1234).what());
}

TEST_F(OsErrorText, IsRaisedFromTheLastError) {
  SetLastError(ERROR_INVALID_HANDLE);
  try {
    RaiseLastOsError();
    FAIL();
  } catch (const OsError &error) {
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_HANDLE), error.Code());
  }
}

}  // namespace
