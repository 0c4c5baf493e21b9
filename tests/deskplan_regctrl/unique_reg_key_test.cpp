#include <utility>

#include "common/unique_any.h"
#include "regctrl_test_support.h"

namespace {

using UniqueRegKeyTest = RegCtrlTest;

HKEY OpenSoftware() {
  HKEY key = nullptr;
  EXPECT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ, &key));
  return key;
}

TEST_F(UniqueRegKeyTest, ClosesItsKeyOnceWhenItGoes) {
  {
    UniqueRegKey key(OpenSoftware());
    EXPECT_TRUE(key);
    EXPECT_EQ(1, winsim::OpenRegistryHandleCount());
  }
  EXPECT_EQ(1u, winsim::CountCalls("RegCloseKey"));
}

TEST_F(UniqueRegKeyTest, MovingHandsOverTheKeyWithoutClosingIt) {
  UniqueRegKey first(OpenSoftware());
  HKEY raw = first.Get();
  UniqueRegKey second(std::move(first));
  EXPECT_FALSE(first);
  EXPECT_EQ(raw, second.Get());
  UniqueRegKey third;
  third = std::move(second);
  EXPECT_EQ(raw, third.Get());
  EXPECT_EQ(0u, winsim::CountCalls("RegCloseKey"));
  third = UniqueRegKey(OpenSoftware());
  EXPECT_EQ(1u, winsim::CountCalls("RegCloseKey"));
  EXPECT_EQ(1, winsim::OpenRegistryHandleCount());
}

TEST_F(UniqueRegKeyTest, ReleaseGivesUpOwnershipAndResetClosesTheOldKey) {
  UniqueRegKey key(OpenSoftware());
  HKEY raw = key.Release();
  EXPECT_FALSE(key);
  key.Reset(raw);
  key.Reset(OpenSoftware());
  EXPECT_EQ(1u, winsim::CountCalls("RegCloseKey"));
  key.Reset();
  EXPECT_EQ(0, winsim::OpenRegistryHandleCount());
}

TEST_F(UniqueRegKeyTest, PutClosesWhatWasHeldBeforeTheCallFillsIt) {
  UniqueRegKey key(OpenSoftware());
  ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ, key.Put()));
  EXPECT_EQ(1u, winsim::CountCalls("RegCloseKey"));
  EXPECT_EQ(1, winsim::OpenRegistryHandleCount());
}

TEST_F(UniqueRegKeyTest, AKernelHandleOwnerTakesBothFailureValuesForNone) {
  for (HANDLE failed : {static_cast<HANDLE>(nullptr), INVALID_HANDLE_VALUE}) {
    UniqueHandle handle(failed);
    EXPECT_FALSE(handle);
  }
  EXPECT_EQ(0u, winsim::CountCalls("CloseHandle"));
}

TEST_F(UniqueRegKeyTest, PredefinedRootsAreNeverClosed) {
  for (HKEY root : {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS}) {
    UniqueRegKey key(root);
    EXPECT_TRUE(CloseRegKey::IsPredefined(root));
  }
  EXPECT_EQ(0u, winsim::CountCalls("RegCloseKey"));
  HKEY opened = OpenSoftware();
  EXPECT_FALSE(CloseRegKey::IsPredefined(opened));
  RegCloseKey(opened);
}

}  // namespace
