#include "common/enciphered_string.h"

#include <gtest/gtest.h>

#include <cstring>

#include "cleanslate/enciphered_constants.h"
#include "deskplan/app/enciphered_constants.h"

namespace {

TEST(DecipherString, EmptyRecordGivesEmptyText) {
  const unsigned char record[4] = {0, 0x11, 0x22, 0x33};
  EXPECT_EQ(DecipherString(record, 3), "");
}

TEST(DecipherString, XorsEveryCharacterWithTheKey) {
  // "Ab" is 0x41 0x62; XOR 0x3B gives 0x7A 0x59.
  const unsigned char record[3] = {2, 0x7A, 0x59};
  EXPECT_EQ(DecipherString(record, 2), "Ab");
}

TEST(DecipherString, LengthComesFromTheRecordNotTheCapacity) {
  const unsigned char record[6] = {2, 0x7A, 0x59, 0x00, 0x00, 0x00};
  EXPECT_EQ(DecipherString(record, 5), "Ab");
}

TEST(DecipherString, NeverReadsPastTheCapacity) {
  const unsigned char record[3] = {200, 0x7A, 0x59};
  EXPECT_EQ(DecipherString(record, 2), "Ab");
}

TEST(DecipherString, FullRecordOfCapacityFifteen) {
  auto text = DecipherString(WebSiteAddress);
  EXPECT_EQ(text.size(), 15u);
  EXPECT_EQ(text, "www.ostrafen.fr");
}

TEST(DecipherString, StoredRecordIsEncipheredAndUnchangedByDeciphering) {
  static constexpr auto record = Encipher<7>("WorkerW");
  unsigned char before[8];
  std::memcpy(before, record.bytes, sizeof before);
  EXPECT_EQ(record.bytes[0], 7);
  EXPECT_EQ(record.bytes[1], 'W' ^ 0x3B);
  EXPECT_EQ(DecipherString(record), DecipherString(record));
  EXPECT_EQ(std::memcmp(before, record.bytes, sizeof before), 0);
}

TEST(DecipherString, NonAsciiBytesSurvive) {
  static constexpr auto record = Encipher<3>("d\xE9j");
  EXPECT_EQ(DecipherString(record), std::string("d\xE9j"));
}

TEST(EncipheredConstants, EveryValueFillsItsCapacity) {
  // Encipher refuses at compile time a value whose length differs from its
  // capacity; here the values themselves are checked against their roles.
  EXPECT_EQ(DecipherString(DesktopHostClassConstant), "WorkerW");
  EXPECT_EQ(DecipherString(KeptPrivilege1), "SeBackupPrivilege");
  EXPECT_EQ(DecipherString(KeptPrivilege2), "SeRestorePrivilege");
  EXPECT_EQ(DecipherString(ClearedValuesKey), "Control Panel\\Appearance");
  EXPECT_EQ(DecipherString(ClearedValue1), "Current");
  EXPECT_EQ(DecipherString(ClearedValue2), "NewCurrent");
  EXPECT_EQ(DecipherString(DeletedTree1), "Software\\Microsoft\\Windows\\Shell\\Bags");
  EXPECT_EQ(DecipherString(DeletedTree2), "Software\\Microsoft\\Windows\\Shell\\BagMRU");
  EXPECT_EQ(DecipherString(DwordKey), "Software\\Microsoft\\Windows\\Shell\\Bags\\1\\Desktop");
  EXPECT_EQ(DecipherString(DwordValueName), "FFlags");
  EXPECT_EQ(DecipherString(ShellProcessName), "explorer.exe");
}

}  // namespace
