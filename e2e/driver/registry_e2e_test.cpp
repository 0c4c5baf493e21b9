// Reading Wine's real registry through reg.exe, as later end-to-end tests
// check what the programs wrote.
#include <gtest/gtest.h>

#include "wine_registry.h"
#include "wine_session.h"

namespace e2e {
namespace {

class WineRegistryTest : public WineTest {};

TEST_F(WineRegistryTest, ExportsWhatWasWrittenWithFrenchNames) {
  const std::string key = "HKEY_CURRENT_USER\\Software\\DeskplanHarness\\R\xE9glages";
  ASSERT_TRUE(AddRegValue(key, "Caf\xE9\xA0noir", "REG_DWORD", "300"));
  ASSERT_TRUE(AddRegValue(key, "Titre", "REG_SZ", "\xC9t\xE9 \x80"));
  ASSERT_TRUE(AddRegValue(key + "\\Sous-cl\xE9", "Vide", "REG_SZ", ""));

  EXPECT_TRUE(RegKeyExists(key));
  std::vector<RegKey> keys;
  std::string error;
  ASSERT_TRUE(ExportRegistryTree(key, keys, error)) << error;
  ASSERT_EQ(keys.size(), 2u);
  EXPECT_EQ(keys[0].path, key);
  const RegValue* dword = keys[0].Find("Caf\xE9\xA0noir");
  ASSERT_NE(dword, nullptr);
  EXPECT_EQ(dword->type, 4);
  EXPECT_EQ(dword->data, std::string("\x2C\x01\x00\x00", 4));
  const RegValue* text = keys[0].Find("Titre");
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text->type, 1);
  EXPECT_EQ(text->data, "\xC9t\xE9 \x80");
  EXPECT_EQ(keys[1].path, key + "\\Sous-cl\xE9");
}

TEST_F(WineRegistryTest, AnswersForMissingKeys) {
  EXPECT_FALSE(RegKeyExists("HKEY_CURRENT_USER\\Software\\DeskplanHarness\\Absent"));
  std::vector<RegKey> keys;
  std::string error;
  EXPECT_FALSE(ExportRegistryTree("HKEY_CURRENT_USER\\Software\\DeskplanHarness\\Absent", keys, error));
}

}  // namespace
}  // namespace e2e
