#include <gtest/gtest.h>

#include "common/version_gate.h"
#include "winsim/machine.h"

namespace {

class IconRecordVersion : public ::testing::Test {
 protected:
  void SetUp() override { winsim::Reset(); }
  static bool KeepsRecord(DWORD major, DWORD minor, DWORD build, const char *commandLine = "Deskplan.exe") {
    winsim::OsVersion os = winsim::Windows10();
    os.major = major;
    os.minor = minor;
    os.build = build;
    winsim::SetOsVersion(os);
    winsim::SetCommandLine(commandLine);
    return deskplan::ShellKeepsIconPositions();
  }
};

TEST_F(IconRecordVersion, FromWindowsTenVersion1809On) {
  EXPECT_FALSE(KeepsRecord(10, 0, 17134));  // version 1803
  EXPECT_TRUE(KeepsRecord(10, 0, 17763));   // version 1809
  EXPECT_TRUE(KeepsRecord(10, 0, 19045));
  EXPECT_TRUE(KeepsRecord(10, 0, 22631));  // Windows 11 reports 10.0
  EXPECT_TRUE(KeepsRecord(11, 0, 0));
}

TEST_F(IconRecordVersion, NotBeforeWindowsTen) {
  EXPECT_FALSE(KeepsRecord(6, 1, 7601));
  EXPECT_FALSE(KeepsRecord(6, 3, 20000));  // a build number alone does not count
  winsim::SetOsVersion(winsim::Windows98SE());
  EXPECT_FALSE(deskplan::ShellKeepsIconPositions());
}

TEST_F(IconRecordVersion, NoVersionSwitchStandsForALegacySystem) {
  EXPECT_FALSE(KeepsRecord(10, 0, 19045, "Deskplan.exe /noversion"));
  EXPECT_TRUE(KeepsRecord(10, 0, 19045, "Deskplan.exe /AUTOLOAD /NOVERSION"));
}

}  // namespace
