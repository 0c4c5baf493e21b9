#include "security/os_info.h"

#include <gtest/gtest.h>

#include "winsim/machine.h"
#include "winsim/system_info.h"
#include "winsim/trace.h"

namespace {

class OsIdentification : public ::testing::Test {
 protected:
  void SetUp() override { winsim::Reset(); }
};

TEST_F(OsIdentification, Windows98SecondEdition) {
  winsim::SetOsVersion(winsim::Windows98SE());
  TOS os = IdentifyOs();
  EXPECT_TRUE(os.win9x);
  EXPECT_FALSE(os.winNT);
  EXPECT_EQ(osWin98Se, os.version);
  EXPECT_EQ(osWin98Se, os.win9xVersion);
  EXPECT_EQ(osNone, os.winNTVersion);
  EXPECT_EQ(2222u, os.build);
  EXPECT_EQ("Windows 98 SE", os.description);
  EXPECT_EQ("148", winsim::CallsTo("GetVersionExA").at(0).detail);
}

TEST_F(OsIdentification, NineXLadder) {
  struct Case {
    DWORD major, minor, build;
    OsVersion expected;
  } cases[] = {{3, 95, 0, osNone},        {4, 0, 950, osWin95},   {4, 0, 1111, osWin95Osr2},
               {4, 10, 1998, osWin98},    {4, 10, 2222, osWin98Se}, {4, 10, 3000, osWinMe},
               {4, 90, 3000, osWinMe},    {4, 91, 0, osWin9xNew}, {5, 0, 0, osWin9xNew}};
  for (auto &c : cases) {
    auto v = winsim::Windows95();
    v.major = c.major;
    v.minor = c.minor;
    v.build = (c.major << 24) | (c.minor << 16) | c.build;
    winsim::SetOsVersion(v);
    EXPECT_EQ(c.expected, IdentifyOs().version) << c.major << "." << c.minor << "." << c.build;
  }
}

TEST_F(OsIdentification, XpServicePack2) {
  auto v = winsim::WindowsXP();
  v.csdVersion = "Service Pack 2";
  v.servicePackMajor = 2;
  winsim::SetOsVersion(v);
  winsim::SetSystemMetric(SM_MEDIACENTER, 0);
  TOS os = IdentifyOs();
  EXPECT_EQ(osWinXp, os.version);
  EXPECT_EQ(osWinXp, os.winNTVersion);
  EXPECT_EQ(2u, os.servicePackNo);
  EXPECT_EQ("Windows XP Service Pack 2", os.description);
  EXPECT_EQ("284", winsim::CallsTo("GetVersionExW").at(0).detail);
}

TEST_F(OsIdentification, Server2003R2OnAmd64) {
  auto v = winsim::WindowsXP();
  v.minor = 2;
  v.build = 3790;
  v.productType = VER_NT_SERVER;
  v.csdVersion = "Service Pack 2";
  v.servicePackMajor = 2;
  winsim::SetOsVersion(v);
  winsim::SetSystemMetric(SM_SERVERR2, 1);
  winsim::SetProcessorArchitecture(PROCESSOR_ARCHITECTURE_AMD64);
  TOS os = IdentifyOs();
  EXPECT_EQ(osWin2003, os.version);
  EXPECT_TRUE(os.x64);
  EXPECT_EQ("Windows 2003 R2 x64 Service Pack 2", os.description);
}

TEST_F(OsIdentification, XpProfessionalX64IsXp) {
  auto v = winsim::WindowsXP();
  v.minor = 2;
  v.productType = VER_NT_WORKSTATION;
  winsim::SetOsVersion(v);
  winsim::SetProcessorArchitecture(PROCESSOR_ARCHITECTURE_AMD64);
  TOS os = IdentifyOs();
  EXPECT_EQ(osWinXp, os.version);
  EXPECT_EQ("Windows XP x64 Service Pack 3", os.description);
}

TEST_F(OsIdentification, Windows7NeverSaysMediaCenter) {
  winsim::SetOsVersion(winsim::Windows7());
  for (int metric : {SM_MEDIACENTER, SM_TABLETPC, SM_STARTER}) winsim::SetSystemMetric(metric, 1);
  TOS os = IdentifyOs();
  EXPECT_EQ(osWinNtNew, os.version);
  EXPECT_EQ("Windows NT New Tablet PC Starter Service Pack 1", os.description);
}

TEST_F(OsIdentification, XpMediaCenterSaysSo) {
  winsim::SetOsVersion(winsim::WindowsXP());
  winsim::SetSystemMetric(SM_MEDIACENTER, 1);
  EXPECT_EQ("Windows XP Media Center Service Pack 3", IdentifyOs().description);
}

TEST_F(OsIdentification, ServicePackFromTheTextWhenOnlyThePlainCallWorks) {
  auto v = winsim::WindowsNT4();
  v.acceptsExtendedInfo = false;
  v.csdVersion = "Service Pack 12a";
  v.servicePackMajor = 0;
  winsim::SetOsVersion(v);
  TOS os = IdentifyOs();
  EXPECT_EQ(osWinNt4, os.version);
  EXPECT_EQ(12u, os.servicePackNo);
  EXPECT_EQ("Service Pack 12a", os.servicePack);
  auto calls = winsim::CallsTo("GetVersionExW");
  ASSERT_EQ(2u, calls.size());
  EXPECT_EQ("276", calls[1].detail);
}

TEST_F(OsIdentification, NoGetNativeSystemInfoMeansNotX64) {
  winsim::SetOsVersion(winsim::Windows2000());
  winsim::SetProcessorArchitecture(PROCESSOR_ARCHITECTURE_AMD64);
  winsim::RemoveExport("kernel32.dll", "GetNativeSystemInfo");
  TOS os = IdentifyOs();
  EXPECT_FALSE(os.x64);
  EXPECT_EQ("Windows 2000 Service Pack 4", os.description);
}

TEST_F(OsIdentification, OsInfoIsComputedOnce) {
  winsim::SetOsVersion(winsim::WindowsXP());
  TOS first = OsInfo();
  winsim::SetOsVersion(winsim::Windows98());
  EXPECT_EQ(first.description, OsInfo().description);
  EXPECT_TRUE(OsInfo().winNT);
}

}  // namespace
