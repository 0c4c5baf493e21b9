#include "common/version_gate.h"

#include <gtest/gtest.h>

#include "winsim/machine.h"

namespace {

class VersionGate : public ::testing::Test {
 protected:
  void SetUp() override { winsim::Reset(); }
  static bool Legacy(const winsim::OsVersion &os, bool deskplanCopy = true) {
    winsim::SetOsVersion(os);
    return deskplanCopy ? deskplan::IsLegacyWindows() : cleanslate::IsLegacyWindows();
  }
};

TEST_F(VersionGate, NineXFamilyIsLegacy) {
  EXPECT_TRUE(Legacy(winsim::Windows95()));
  EXPECT_TRUE(Legacy(winsim::Windows98()));
  EXPECT_TRUE(Legacy(winsim::WindowsMe()));
  EXPECT_TRUE(Legacy(winsim::Windows98SE(), false));
}

TEST_F(VersionGate, NtFourAndOlderAreLegacy) {
  EXPECT_TRUE(Legacy(winsim::WindowsNT351()));
  EXPECT_TRUE(Legacy(winsim::WindowsNT4()));
  EXPECT_TRUE(Legacy(winsim::WindowsNT4(), false));
}

TEST_F(VersionGate, NtFiveAndLaterAreNotLegacy) {
  for (auto os : {winsim::Windows2000(), winsim::WindowsXP(), winsim::WindowsVista(), winsim::Windows7(),
                  winsim::Windows10()}) {
    EXPECT_FALSE(Legacy(os)) << os.major << "." << os.minor;
    EXPECT_FALSE(Legacy(os, false)) << os.major << "." << os.minor;
  }
}

TEST_F(VersionGate, AsksWithThePlainStructureSize) {
  Legacy(winsim::WindowsXP());
  auto calls = winsim::CallsTo("GetVersionExA");
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].detail, "148");
}

TEST_F(VersionGate, UnknownPlatformIsNotLegacy) {
  auto os = winsim::Windows95();
  os.platformId = VER_PLATFORM_WIN32s;
  os.major = 3;
  EXPECT_FALSE(Legacy(os));
}

TEST_F(VersionGate, NoVersionSwitchFirstForcesLegacyInAnyCase) {
  for (const char *line : {"Deskplan.exe /NOVERSION", "Deskplan.exe /noversion", "\"C:\\x y\\Deskplan.exe\" /NoVersion",
                           "Deskplan.exe \"/NOVERSION\" /AUTOSAVE"}) {
    winsim::Reset();
    winsim::SetCommandLine(line);
    EXPECT_TRUE(Legacy(winsim::Windows7())) << line;
    EXPECT_EQ(winsim::CountCalls("GetVersionExA"), 0u) << "the switch answers without asking the system";
  }
}

TEST_F(VersionGate, NoVersionSwitchCountsOnlyAsFirstArgument) {
  winsim::SetCommandLine("Deskplan.exe /AUTOSAVE /NOVERSION");
  EXPECT_FALSE(Legacy(winsim::Windows7()));
  winsim::SetCommandLine("Deskplan.exe /NOVERSIONS");
  EXPECT_FALSE(Legacy(winsim::Windows7()));
}

TEST_F(VersionGate, CleanslateIgnoresNoVersion) {
  winsim::SetCommandLine("Cleanslate.exe /NOVERSION");
  EXPECT_FALSE(Legacy(winsim::Windows7(), false));
}

}  // namespace
