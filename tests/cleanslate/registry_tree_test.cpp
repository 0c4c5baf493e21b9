// Deleting key trees: deepest first, the access repair before each descent,
// failures and their later siblings, both views, and the walk's limits.
#include "cleanslate/registry_tree.h"

#include "reset_world.h"
#include "cleanslate/privileges.h"
#include "winsim/registry_rewrites.h"
#include "winsim/security.h"

namespace {

class RegistryTreeTest : public ResetWorld {
 protected:
  void SetUp() override {
    ResetWorld::SetUp();
    StartRegistryRun();
  }

  static LONG DeleteTree(const std::string &path, RegistryView view = kDefaultRegistryView) {
    return DeleteRegTree(view, HKEY_CURRENT_USER, path);
  }

  // "repair <path>" for each access repair (its first named-object call)
  // and "list <path>" for each key opened to list its subkeys, in order.
  static std::vector<std::string> RepairsAndListings() {
    std::vector<std::string> steps;
    for (auto &call : winsim::Trace()) {
      std::string detail = call.detail.substr(0, call.detail.find('|'));
      std::string path = detail.substr(detail.find('\\') + 1);
      if (call.function == "GetSecurityInfo") {
        // Each repair reads the list twice; the first read starts it.
        if (steps.empty() || steps.back() != "repair " + path) steps.push_back("repair " + path);
      } else if (call.function == "RegOpenKeyExA") {
        std::string mask = call.detail.substr(call.detail.rfind('|') + 1);
        if (mask == "0x8" || mask == "0x108") steps.push_back("list " + path);
      }
    }
    return steps;
  }

  static std::vector<std::string> DeletedPaths() {
    std::vector<std::string> paths;
    for (auto &call : winsim::Trace())
      if (call.function == "RegDeleteKeyA" || call.function == "RegDeleteKeyExA") {
        std::string detail = call.detail.substr(0, call.detail.find('|'));
        paths.push_back(detail.substr(detail.find('\\') + 1));
      }
    return paths;
  }
};

TEST_F(RegistryTreeTest, DeepestKeysGoFirstAndEachKeyIsRepairedBeforeItIsListed) {
  winsim::CreateRegistryKey(HKEY_CURRENT_USER, "Software\\Bags\\1\\Desktop");
  winsim::CreateRegistryKey(HKEY_CURRENT_USER, "Software\\Bags\\2");
  winsim::SetRegistryDword(HKEY_CURRENT_USER, "Software\\Bags\\1", "Mode", 4);
  EXPECT_EQ(ERROR_SUCCESS, DeleteTree("Software\\Bags"));
  EXPECT_FALSE(KeyExists("Software\\Bags"));
  EXPECT_EQ((std::vector<std::string>{"Software\\Bags\\1\\Desktop", "Software\\Bags\\1", "Software\\Bags\\2",
                                      "Software\\Bags"}),
            DeletedPaths());
  EXPECT_EQ((std::vector<std::string>{"repair Software\\Bags", "list Software\\Bags", "repair Software\\Bags\\1",
                                      "list Software\\Bags\\1", "repair Software\\Bags\\1\\Desktop",
                                      "list Software\\Bags\\1\\Desktop", "repair Software\\Bags\\2",
                                      "list Software\\Bags\\2"}),
            RepairsAndListings());
  EXPECT_EQ(0, LastDeleteResult);
}

TEST_F(RegistryTreeTest, View2NamesThe64BitViewInEveryOpenAndDelete) {
  winsim::CreateRegistryKey(HKEY_CURRENT_USER, "Software\\Bags\\1\\Desktop");
  EXPECT_EQ(ERROR_SUCCESS, DeleteTree("Software\\Bags", k64BitRegistryView));
  EXPECT_EQ(0u, winsim::CountCalls("RegDeleteKeyA"));
  EXPECT_EQ(3u, winsim::CountCalls("RegDeleteKeyExA"));
  for (auto &detail : Details("RegDeleteKeyExA")) EXPECT_NE(std::string::npos, detail.find("|0x100")) << detail;
  ASSERT_FALSE(Details("RegOpenKeyExA").empty());
  for (auto &detail : Details("RegOpenKeyExA")) {
    unsigned long mask = std::stoul(detail.substr(detail.rfind('|') + 1), nullptr, 16);
    EXPECT_TRUE(mask & KEY_WOW64_64KEY) << detail;
  }
}

TEST_F(RegistryTreeTest, AfterAFailedDeletionLaterSiblingsAreOnlyDeletedUntilOneSucceeds) {
  winsim::CreateRegistryKey(HKEY_CURRENT_USER, "Software\\Bags\\A");
  winsim::CreateRegistryKey(HKEY_CURRENT_USER, "Software\\Bags\\B\\Inner");
  winsim::CreateRegistryKey(HKEY_CURRENT_USER, "Software\\Bags\\C\\Inner");
  winsim::CreateRegistryKey(HKEY_CURRENT_USER, "Software\\Bags\\D\\Inner");
  winsim::FailNext("RegDeleteKeyA", ERROR_ACCESS_DENIED);  // A refuses
  EXPECT_EQ(ERROR_ACCESS_DENIED, DeleteTree("Software\\Bags"));
  // B, listed while the failure stands, is neither repaired nor descended
  // into, so it keeps its subkey; C comes after B failed too. Nothing
  // succeeded again, so D is tried the same way.
  EXPECT_TRUE(KeyExists("Software\\Bags\\A"));
  EXPECT_TRUE(KeyExists("Software\\Bags\\B\\Inner"));
  EXPECT_TRUE(KeyExists("Software\\Bags\\D\\Inner"));
  EXPECT_EQ((std::vector<std::string>{"repair Software\\Bags", "list Software\\Bags", "repair Software\\Bags\\A",
                                      "list Software\\Bags\\A"}),
            RepairsAndListings());
  EXPECT_EQ(ERROR_ACCESS_DENIED, LastDeleteResult);
}

TEST_F(RegistryTreeTest, AFirstSuccessAfterAFailureBringsBackRepairAndDescent) {
  winsim::CreateRegistryKey(HKEY_CURRENT_USER, "Software\\Bags\\A");
  winsim::CreateRegistryKey(HKEY_CURRENT_USER, "Software\\Bags\\B");
  winsim::CreateRegistryKey(HKEY_CURRENT_USER, "Software\\Bags\\C\\Inner");
  winsim::FailNext("RegDeleteKeyA", ERROR_ACCESS_DENIED);  // A refuses; B, a leaf, goes
  EXPECT_EQ(ERROR_ACCESS_DENIED, DeleteTree("Software\\Bags"));
  EXPECT_TRUE(KeyExists("Software\\Bags\\A"));
  EXPECT_FALSE(KeyExists("Software\\Bags\\B"));
  EXPECT_FALSE(KeyExists("Software\\Bags\\C"));
  auto steps = RepairsAndListings();
  EXPECT_EQ(steps.end(), std::find(steps.begin(), steps.end(), "repair Software\\Bags\\B"));
  EXPECT_NE(steps.end(), std::find(steps.begin(), steps.end(), "repair Software\\Bags\\C"));
  // The top key's own deletion decides: it still has A.
  EXPECT_EQ(ERROR_ACCESS_DENIED, LastDeleteResult);
}

TEST_F(RegistryTreeTest, AMissingTreeGivesFileNotFound) {
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, DeleteTree("Software\\Bags"));
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, LastDeleteResult);
}

TEST_F(RegistryTreeTest, AKeyWrittenBackAtOnceDoesNotHoldTheWalkForever) {
  winsim::CreateRegistryKey(HKEY_CURRENT_USER, "Software\\Bags\\1");
  winsim::CreateRegistryKey(HKEY_CURRENT_USER, "Software\\Bags\\2");
  winsim::RecreateKeyOnDelete(HKEY_CURRENT_USER, "Software\\Bags\\1");
  EXPECT_EQ(ERROR_ACCESS_DENIED, DeleteTree("Software\\Bags"));
  EXPECT_TRUE(KeyExists("Software\\Bags\\1"));
  EXPECT_FALSE(KeyExists("Software\\Bags\\2"));
  EXPECT_EQ((std::vector<std::string>{"Software\\Bags\\1", "Software\\Bags\\2", "Software\\Bags"}), DeletedPaths());
}

TEST_F(RegistryTreeTest, PathsLongerThan255CharactersAreRepairedWhole) {
  std::string path = "Software\\Bags";
  for (int level = 0; level < 30; ++level) path += "\\Niveau" + std::to_string(100 + level);
  ASSERT_GT(path.size(), 255u);
  winsim::CreateRegistryKey(HKEY_CURRENT_USER, path);
  EXPECT_EQ(ERROR_SUCCESS, DeleteTree("Software\\Bags"));
  EXPECT_FALSE(KeyExists("Software\\Bags"));
  auto steps = RepairsAndListings();
  EXPECT_NE(steps.end(), std::find(steps.begin(), steps.end(), "repair " + path));
}

TEST_F(RegistryTreeTest, ALongSubkeyNameGrowsTheNameBuffer) {
  const std::string name(300, 'n');
  winsim::CreateRegistryKey(HKEY_CURRENT_USER, "Software\\Bags\\" + name);
  EXPECT_EQ(ERROR_SUCCESS, DeleteTree("Software\\Bags"));
  EXPECT_FALSE(KeyExists("Software\\Bags"));
  // 256 is too short: the same index is asked again with 512.
  auto enumerations = Details("RegEnumKeyExA");
  ASSERT_GE(enumerations.size(), 3u);
  EXPECT_EQ(enumerations[0], enumerations[1]);
}

TEST_F(RegistryTreeTest, OnTheWindows9xFamilyOnlyTheKeyItselfIsDeleted) {
  winsim::SetOsVersion(winsim::Windows98());
  StartRegistryRun();
  winsim::CreateRegistryKey(HKEY_CURRENT_USER, "Software\\Bags");
  EXPECT_EQ(ERROR_SUCCESS, DeleteTree("Software\\Bags"));
  EXPECT_EQ(0u, winsim::CountCalls("RegOpenKeyExA"));
  EXPECT_EQ(0u, winsim::CountCalls("GetSecurityInfo"));
}

TEST_F(RegistryTreeTest, ALinkInTheTreeIsRemovedItselfAndItsTargetLeftAlone) {
  winsim::CreateRegistryKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Cible\\Dedans");
  winsim::SetRegistryString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Cible", "Garde", "oui");
  winsim::CreateRegistryKey(HKEY_CURRENT_USER, "Software\\Bags\\1");
  winsim::CreateRegistryLink(HKEY_CURRENT_USER, "Software\\Bags\\Lien", HKEY_LOCAL_MACHINE, "SOFTWARE\\Cible");
  EXPECT_EQ(ERROR_SUCCESS, DeleteTree("Software\\Bags"));
  EXPECT_FALSE(KeyExists("Software\\Bags"));
  EXPECT_TRUE(winsim::RegistryKeyExists(HKEY_LOCAL_MACHINE, "SOFTWARE\\Cible\\Dedans"));
  EXPECT_TRUE(winsim::ReadRegistryValue(HKEY_LOCAL_MACHINE, "SOFTWARE\\Cible", "Garde").has_value());
  auto steps = RepairsAndListings();
  EXPECT_EQ(steps.end(), std::find(steps.begin(), steps.end(), "repair Software\\Bags\\Lien"));
  EXPECT_EQ(steps.end(), std::find(steps.begin(), steps.end(), "list Software\\Bags\\Lien"));
  EXPECT_EQ(1u, winsim::CountCalls("NtDeleteKey"));
}

TEST_F(RegistryTreeTest, ALinkToALeafIsNotFollowedByTheDeletion) {
  // Deleting through the link would remove the target and report success,
  // while the link stayed in place.
  winsim::CreateRegistryKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Feuille");
  winsim::CreateRegistryLink(HKEY_CURRENT_USER, "Software\\Bags\\Lien", HKEY_LOCAL_MACHINE, "SOFTWARE\\Feuille");
  EXPECT_EQ(ERROR_SUCCESS, DeleteTree("Software\\Bags", k64BitRegistryView));
  EXPECT_FALSE(KeyExists("Software\\Bags"));
  EXPECT_TRUE(winsim::RegistryKeyExists(HKEY_LOCAL_MACHINE, "SOFTWARE\\Feuille"));
}

TEST_F(RegistryTreeTest, ATreeReachedThroughALinkIsNotTouched) {
  winsim::CreateRegistryKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Shell\\Bags\\1");
  winsim::CreateRegistryLink(HKEY_CURRENT_USER, "Software\\Shell", HKEY_LOCAL_MACHINE, "SOFTWARE\\Shell");
  EXPECT_EQ(ERROR_ACCESS_DENIED, DeleteTree("Software\\Shell\\Bags"));
  EXPECT_TRUE(winsim::RegistryKeyExists(HKEY_LOCAL_MACHINE, "SOFTWARE\\Shell\\Bags\\1"));
  EXPECT_TRUE(winsim::IsRegistryLink(HKEY_CURRENT_USER, "Software\\Shell"));
  EXPECT_EQ(0u, winsim::CountCalls("GetSecurityInfo"));
  EXPECT_EQ(0u, winsim::CountCalls("NtDeleteKey"));
}

TEST_F(RegistryTreeTest, AKeyThatStaysUnreadableIsNeitherRepairedByNameNorFollowed) {
  winsim::CreateRegistryKey(HKEY_CURRENT_USER, "Software\\Bags\\Ferme\\Dedans");
  winsim::DenyRegistryAccess(HKEY_CURRENT_USER, "Software\\Bags\\Ferme", KEY_QUERY_VALUE);
  EXPECT_EQ(ERROR_ACCESS_DENIED, DeleteTree("Software\\Bags"));
  EXPECT_TRUE(KeyExists("Software\\Bags\\Ferme\\Dedans"));
  auto steps = RepairsAndListings();
  EXPECT_EQ(steps.end(), std::find(steps.begin(), steps.end(), "repair Software\\Bags\\Ferme"));
}

TEST_F(RegistryTreeTest, AKeySwappedForALinkBeforeItsRepairLeavesTheLinksTargetAsItWas) {
  const std::string other = "S-1-5-21-1-2-3-500";
  const std::vector<winsim::SecurityAce> rule{{ACCESS_ALLOWED_ACE_TYPE, 3, 0x001F01FF, other}};
  winsim::SetKeySecurity(HKEY_LOCAL_MACHINE, "SOFTWARE\\Cible", other, rule, true);
  winsim::CreateRegistryKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Cible\\Dedans");
  winsim::CreateRegistryKey(HKEY_CURRENT_USER, "Software\\Bags\\1");
  EnablePrivileges();
  SwapForALinkAtTheRepair("Software\\Bags", "SOFTWARE\\Cible");
  DeleteTree("Software\\Bags");
  auto target = winsim::KeySecurityOf(HKEY_LOCAL_MACHINE, "SOFTWARE\\Cible");
  EXPECT_EQ(other, target.owner);
  EXPECT_TRUE(target.daclProtected);
  EXPECT_EQ(rule, target.dacl);
  EXPECT_TRUE(winsim::RegistryKeyExists(HKEY_LOCAL_MACHINE, "SOFTWARE\\Cible\\Dedans"));
}

}  // namespace
