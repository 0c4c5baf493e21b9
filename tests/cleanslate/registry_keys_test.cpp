// Opening and deleting single keys: the masks and functions of each view, and
// RegDeleteKeyExA looked up until found, then kept.
#include "cleanslate/registry_keys.h"

#include "common/unique_any.h"
#include "reset_world.h"

namespace {

class RegistryKeysTest : public ResetWorld {
 protected:
  void SetUp() override {
    ResetWorld::SetUp();
    ForgetRegDeleteKeyEx();
  }
};

TEST_F(RegistryKeysTest, OpenAddsTheViewFlagInView2Only) {
  winsim::CreateRegistryKey(HKEY_CURRENT_USER, "Software\\Bags");
  HKEY first = nullptr, second = nullptr;
  EXPECT_EQ(ERROR_SUCCESS, OpenRegKey(kDefaultRegistryView, HKEY_CURRENT_USER, "Software\\Bags", 0,
                                      KEY_ENUMERATE_SUB_KEYS, &first));
  UniqueRegKey one(first);
  EXPECT_EQ(ERROR_SUCCESS, OpenRegKey(k64BitRegistryView, HKEY_CURRENT_USER, "Software\\Bags", 0,
                                      KEY_ENUMERATE_SUB_KEYS, &second));
  UniqueRegKey two(second);
  EXPECT_EQ((std::vector<std::string>{"HKEY_CURRENT_USER\\Software\\Bags|0x8", "HKEY_CURRENT_USER\\Software\\Bags|0x108"}),
            Details("RegOpenKeyExA"));
  HKEY missing = nullptr;
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, OpenRegKey(kDefaultRegistryView, HKEY_CURRENT_USER, "Software\\None", 0,
                                             KEY_ENUMERATE_SUB_KEYS, &missing));
}

TEST_F(RegistryKeysTest, View1DeletesWithRegDeleteKeyAndView2WithRegDeleteKeyExIn64BitView) {
  winsim::CreateRegistryKey(HKEY_CURRENT_USER, "Software\\A");
  winsim::CreateRegistryKey(HKEY_CURRENT_USER, "Software\\B");
  EXPECT_EQ(ERROR_SUCCESS, DeleteRegKey(kDefaultRegistryView, HKEY_CURRENT_USER, "Software\\A"));
  EXPECT_EQ(ERROR_SUCCESS, DeleteRegKey(k64BitRegistryView, HKEY_CURRENT_USER, "Software\\B"));
  EXPECT_EQ((std::vector<std::string>{"HKEY_CURRENT_USER\\Software\\A"}), Details("RegDeleteKeyA"));
  EXPECT_EQ((std::vector<std::string>{"HKEY_CURRENT_USER\\Software\\B|0x100"}), Details("RegDeleteKeyExA"));
  EXPECT_FALSE(KeyExists("Software\\A"));
  EXPECT_FALSE(KeyExists("Software\\B"));
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, DeleteRegKey(k64BitRegistryView, HKEY_CURRENT_USER, "Software\\B"));
}

TEST_F(RegistryKeysTest, MissingRegDeleteKeyExGives127AndIsLookedUpAgainUntilFoundThenKept) {
  winsim::CreateRegistryKey(HKEY_CURRENT_USER, "Software\\A");
  winsim::RemoveExport("advapi32.dll", "RegDeleteKeyExA");
  EXPECT_EQ(ERROR_PROC_NOT_FOUND, DeleteRegKey(k64BitRegistryView, HKEY_CURRENT_USER, "Software\\A"));
  EXPECT_EQ(ERROR_PROC_NOT_FOUND, DeleteRegKey(k64BitRegistryView, HKEY_CURRENT_USER, "Software\\A"));
  EXPECT_TRUE(KeyExists("Software\\A"));
  EXPECT_EQ(2u, winsim::CountCalls("GetProcAddress"));

  // The same run on a system that has it: found once, then kept.
  winsim::Reset();
  winsim::CreateRegistryKey(HKEY_CURRENT_USER, "Software\\A\\B");
  EXPECT_EQ(ERROR_SUCCESS, DeleteRegKey(k64BitRegistryView, HKEY_CURRENT_USER, "Software\\A\\B"));
  EXPECT_EQ(ERROR_SUCCESS, DeleteRegKey(k64BitRegistryView, HKEY_CURRENT_USER, "Software\\A"));
  EXPECT_EQ(1u, winsim::CountCalls("GetProcAddress"));
  EXPECT_EQ(1u, winsim::CountCalls("GetModuleHandleA"));
}

TEST_F(RegistryKeysTest, AKeyWithSubkeysIsRefused) {
  winsim::CreateRegistryKey(HKEY_CURRENT_USER, "Software\\A\\B");
  EXPECT_EQ(ERROR_ACCESS_DENIED, DeleteRegKey(kDefaultRegistryView, HKEY_CURRENT_USER, "Software\\A"));
  EXPECT_TRUE(KeyExists("Software\\A\\B"));
}

}  // namespace
