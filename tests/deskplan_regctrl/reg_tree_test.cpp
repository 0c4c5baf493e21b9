#include "regctrl_test_support.h"

namespace {

using RegTree = RegCtrlTest;

std::vector<std::string> DeletedKeys() {
  std::vector<std::string> keys;
  for (auto &call : winsim::CallsTo("RegDeleteKeyA")) keys.push_back(call.detail);
  return keys;
}

TEST_F(RegTree, MissingKeyCountsAsDeleted) {
  EXPECT_TRUE(DeleteRegKeyTree(HKEY_CURRENT_USER, "Software\\Ostrafen\\Deskplan\\800x600"));
  EXPECT_EQ(0u, winsim::CountCalls("RegDeleteKeyA"));
}

TEST_F(RegTree, NestedSubkeysGoDeepestFirstFromTheLastToTheFirst) {
  const std::string top = "Software\\Top";
  for (const char *path : {"\\A\\X", "\\A\\Y", "\\B"}) winsim::CreateRegistryKey(HKEY_CURRENT_USER, top + path);
  winsim::SetRegistryDword(HKEY_CURRENT_USER, top + "\\A", "v", 1);
  ASSERT_TRUE(DeleteRegKeyTree(HKEY_CURRENT_USER, top));
  EXPECT_FALSE(winsim::RegistryKeyExists(HKEY_CURRENT_USER, top));
  EXPECT_TRUE(winsim::RegistryKeyExists(HKEY_CURRENT_USER, "Software"));
  const std::string root = "HKEY_CURRENT_USER\\" + top;
  EXPECT_EQ((std::vector<std::string>{root + "\\B", root + "\\A\\Y", root + "\\A\\X", root + "\\A", root}),
            DeletedKeys());
}

TEST_F(RegTree, AnUndeletableSubkeyKeepsItsParentAndTheResultIsFalse) {
  const std::string top = "Software\\Top";
  for (const char *path : {"\\A", "\\B", "\\C"}) winsim::CreateRegistryKey(HKEY_CURRENT_USER, top + path);
  winsim::DenyRegistryAccess(HKEY_CURRENT_USER, top + "\\B", DELETE);
  EXPECT_FALSE(DeleteRegKeyTree(HKEY_CURRENT_USER, top));
  EXPECT_EQ((std::vector<std::string>{"B"}), winsim::RegistrySubkeyNames(HKEY_CURRENT_USER, top));
}

TEST_F(RegTree, ResultIsThatOfTheLastDeletionAlone) {
  const std::string top = "Software\\Top";
  winsim::CreateRegistryKey(HKEY_CURRENT_USER, top + "\\Only");
  winsim::FailNext("RegDeleteKeyA", ERROR_ACCESS_DENIED);
  // The subkey stays, so the key's own deletion is refused as well.
  EXPECT_FALSE(DeleteRegKeyTree(HKEY_CURRENT_USER, top));
  winsim::FailNext("RegDeleteKeyA", ERROR_ACCESS_DENIED, 1);
  EXPECT_FALSE(DeleteRegKeyTree(HKEY_CURRENT_USER, top));
  EXPECT_EQ((std::vector<std::string>{}), winsim::RegistrySubkeyNames(HKEY_CURRENT_USER, top));
  EXPECT_TRUE(DeleteRegKeyTree(HKEY_CURRENT_USER, top));
  EXPECT_FALSE(winsim::RegistryKeyExists(HKEY_CURRENT_USER, top));
}

}  // namespace
