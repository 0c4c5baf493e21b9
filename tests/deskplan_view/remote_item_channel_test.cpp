#include <gtest/gtest.h>

#include "deskplan/app/os_error.h"
#include "deskplan/view/remote_item_channel.h"
#include "view_world.h"
#include "winsim/trace.h"

namespace {

using winsim::ProcessKind;

class RemoteChannel : public ::testing::Test {
 protected:
  void SetUp() override {
    FreshMachine();
    ASSERT_TRUE(LoadRemoteMemoryFunctions());
  }

  std::vector<ReadIcon> ReadAll(HWND view) {
    std::vector<ReadIcon> icons;
    RemoteItemChannel channel(view);
    if (!channel.IsOpen()) return icons;
    for (int index = 0, count = ReadItemCount(view); index < count; ++index) {
      std::string caption;
      if (!channel.ReadItemCaption(index, caption)) continue;
      POINT at = channel.ReadItemPosition(index);
      icons.push_back({caption, at.x, at.y});
    }
    return icons;
  }
};

TEST_F(RemoteChannel, ReadsEveryIconOfA64BitOrWow64Shell) {
  for (auto kind : {ProcessKind::Native64, ProcessKind::Wow64}) {
    FreshMachine();
    LoadRemoteMemoryFunctions();
    auto desktop = Desktop({{"Corbeille", 10, 20}, {"Poste de travail", -30, 400}, {"Café\xA0noir", 5, 6}}, kind);
    std::vector<ReadIcon> expected = {{"Corbeille", 10, 20}, {"Poste de travail", -30, 400}, {"Café\xA0noir", 5, 6}};
    EXPECT_EQ(expected, ReadAll(desktop.listView));
    EXPECT_TRUE(winsim::StrayAccesses().empty());
    EXPECT_TRUE(NothingHeld());
  }
}

TEST_F(RemoteChannel, EachItemCopiesTheWholeBufferInOnceAndOutTwice) {
  auto desktop = Desktop({{"Corbeille", 1, 2}});
  ReadAll(desktop.listView);
  EXPECT_EQ((std::vector<std::string>{"OpenProcess", "VirtualAlloc", "VirtualAllocEx", "WriteProcessMemory",
                                      "ReadProcessMemory", "ReadProcessMemory", "VirtualFreeEx", "VirtualFree",
                                      "CloseHandle"}),
            winsim::CallSequence({"OpenProcess", "VirtualAlloc", "VirtualAllocEx", "WriteProcessMemory",
                                  "ReadProcessMemory", "VirtualFreeEx", "VirtualFree", "CloseHandle"}));
  for (auto &copy : winsim::CallsTo("ReadProcessMemory")) EXPECT_EQ("2000", copy.detail.substr(copy.detail.find('|') + 1));
  EXPECT_EQ(std::to_string(desktop.processId) + "|438", winsim::CallsTo("OpenProcess")[0].detail);
}

TEST_F(RemoteChannel, CaptionsOf4095CharactersAreReadWhole) {
  std::string longest(4095, 'x');
  auto desktop = Desktop({{longest, 0, 0}, {std::string(5000, 'y'), 0, 0}});
  auto icons = ReadAll(desktop.listView);
  ASSERT_EQ(2u, icons.size());
  EXPECT_EQ(longest, icons[0].caption);
  EXPECT_EQ(std::string(4095, 'y'), icons[1].caption);
}

TEST_F(RemoteChannel, UnreadableItemsAreSkippedAndUnknownPositionsAreMinusOne) {
  winsim::DesktopIcon hidden{"Caché", 1, 1};
  hidden.itemQueryFails = true;
  winsim::DesktopIcon lost{"Perdu", 9, 9};
  lost.positionQueryFails = true;
  auto desktop = Desktop({{"Avant", 1, 2}, hidden, lost, {"Après", 3, 4}});
  EXPECT_EQ((std::vector<ReadIcon>{{"Avant", 1, 2}, {"Perdu", -1, -1}, {"Après", 3, 4}}), ReadAll(desktop.listView));
}

TEST_F(RemoteChannel, MovesKeepTheLow16BitsOfEachCoordinate) {
  auto desktop = Desktop({{"Corbeille", 0, 0}, {"Documents", 0, 0}});
  {
    RemoteItemChannel channel(desktop.listView);
    ASSERT_TRUE(channel.IsOpen());
    channel.SetItemPosition(0, 70000, -40000);
    channel.SetItemPosition(1, -1, 32767);
  }
  auto icons = winsim::ListViewIcons(desktop.listView);
  EXPECT_EQ(70000 - 65536, icons[0].x);
  EXPECT_EQ(-40000 + 65536, icons[0].y);
  EXPECT_EQ(-1, icons[1].x);
  EXPECT_EQ(32767, icons[1].y);
  EXPECT_EQ(0u, winsim::CountCalls("WriteProcessMemory"));
  EXPECT_TRUE(NothingHeld());
}

TEST_F(RemoteChannel, ARefusedShellProcessVisitsNothing) {
  auto desktop = Desktop({{"Corbeille", 1, 2}});
  winsim::RefuseOpenProcess(desktop.processId);
  EXPECT_TRUE(ReadAll(desktop.listView).empty());
  EXPECT_EQ(0u, winsim::CountCalls("VirtualAlloc") + winsim::CountCalls("VirtualAllocEx"));
  EXPECT_EQ(0u, winsim::CountCalls("LVM_GETITEMA"));
  EXPECT_TRUE(NothingHeld());
}

TEST_F(RemoteChannel, EitherBufferMissingVisitsNothingAndReleasesTheRest) {
  for (const char *missing : {"VirtualAlloc", "VirtualAllocEx"}) {
    FreshMachine();
    LoadRemoteMemoryFunctions();
    auto desktop = Desktop({{"Corbeille", 1, 2}});
    winsim::FailNext(missing, ERROR_NOT_ENOUGH_MEMORY);
    EXPECT_TRUE(ReadAll(desktop.listView).empty()) << missing;
    EXPECT_EQ(0u, winsim::CountCalls("LVM_GETITEMA")) << missing;
    EXPECT_TRUE(NothingHeld()) << missing;
  }
}

TEST_F(RemoteChannel, AFailedCopyRaisesTheCodeAndTextAndReleasesEverything) {
  for (const char *copy : {"WriteProcessMemory", "ReadProcessMemory"}) {
    FreshMachine();
    LoadRemoteMemoryFunctions();
    auto desktop = Desktop({{"Un", 1, 2}, {"Deux", 3, 4}, {"Trois", 5, 6}});
    winsim::FailNext(copy, ERROR_PARTIAL_COPY, 1);  // the second copy of the pass fails
    try {
      ReadAll(desktop.listView);
      ADD_FAILURE() << copy << " failed silently";
    } catch (const OsError &error) {
      EXPECT_EQ(static_cast<DWORD>(ERROR_PARTIAL_COPY), error.Code());
      EXPECT_STREQ(
          "Erreur système.  Code : 299.\r\nSeule une partie d'une requête ReadProcessMemory ou WriteProcessMemory a "
          "été effectuée",
          error.what());
    }
    EXPECT_TRUE(NothingHeld()) << copy;
  }
}

}  // namespace
