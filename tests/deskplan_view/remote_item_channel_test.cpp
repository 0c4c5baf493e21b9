#include <gtest/gtest.h>

#include <algorithm>

#include "common/os_error.h"
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

  std::vector<ReadIcon> ReadAll(HWND view, ItemQuery query = ItemQuery::CaptionAndPosition) {
    std::vector<ReadIcon> icons;
    RemoteItemChannel channel(view);
    if (!channel.IsOpen()) return icons;
    for (int first = 0, count = ReadItemCount(view); first < count; first += kItemBatchSize) {
      auto items = channel.ReadItems(first, count - first, query);
      EXPECT_EQ(static_cast<std::size_t>(std::min(count - first, kItemBatchSize)), items.size());
      for (auto &item : items)
        if (item.readable) icons.push_back({item.caption, item.position.x, item.position.y});
    }
    return icons;
  }

  static std::vector<winsim::DesktopIcon> Numbered(int count) {
    std::vector<winsim::DesktopIcon> icons;
    for (int i = 0; i < count; ++i) icons.push_back({"Ic\xF4ne " + std::to_string(i), i, -i});
    return icons;
  }

  static std::vector<ReadIcon> AsRead(const std::vector<winsim::DesktopIcon> &icons) {
    std::vector<ReadIcon> read;
    for (auto &icon : icons) read.push_back({icon.caption, icon.x, icon.y});
    return read;
  }

  // Size of each memory copy of the pass, in order.
  static std::vector<std::size_t> CopySizes(const char *function) {
    std::vector<std::size_t> sizes;
    for (auto &copy : winsim::CallsTo(function))
      sizes.push_back(std::stoul(copy.detail.substr(copy.detail.find('|') + 1), nullptr, 16));
    return sizes;
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

TEST_F(RemoteChannel, EachBatchCopiesItsSlotsInOnceAndOutOnce) {
  auto desktop = Desktop({{"Corbeille", 1, 2}});
  EXPECT_EQ((std::vector<ReadIcon>{{"Corbeille", 1, 2}}), ReadAll(desktop.listView));
  EXPECT_EQ(1u, winsim::CountCalls("WriteProcessMemory"));
  EXPECT_EQ(1u, winsim::CountCalls("ReadProcessMemory"));
  // No more than the batch's one slot travels either way.
  EXPECT_LE(CopySizes("WriteProcessMemory")[0], kItemSlotSize);
  EXPECT_LE(CopySizes("ReadProcessMemory")[0], kItemSlotSize);
  EXPECT_EQ(std::to_string(desktop.processId) + "|438", winsim::CallsTo("OpenProcess")[0].detail);
  EXPECT_TRUE(NothingHeld());
}

TEST_F(RemoteChannel, BatchesAtTheirBoundariesReadEveryIconOnceInOrder) {
  for (int count : {0, 1, 63, 64, 65, 129}) {
    FreshMachine();
    LoadRemoteMemoryFunctions();
    auto icons = Numbered(count);
    auto desktop = Desktop(icons);
    EXPECT_EQ(AsRead(icons), ReadAll(desktop.listView)) << count;
    std::size_t batches = static_cast<std::size_t>((count + kItemBatchSize - 1) / kItemBatchSize);
    EXPECT_EQ(batches, winsim::CountCalls("WriteProcessMemory")) << count;
    EXPECT_EQ(batches, winsim::CountCalls("ReadProcessMemory")) << count;
    EXPECT_EQ(static_cast<std::size_t>(count), winsim::CountCalls("LVM_GETITEMA")) << count;
    EXPECT_EQ(static_cast<std::size_t>(count), winsim::CountCalls("LVM_GETITEMPOSITION")) << count;
    // Only the slots of a batch travel: a last batch of one item copies one slot.
    auto written = CopySizes("WriteProcessMemory");
    auto read = CopySizes("ReadProcessMemory");
    for (std::size_t batch = 0; batch < batches; ++batch) {
      std::size_t slots = std::min<std::size_t>(kItemBatchSize, static_cast<std::size_t>(count) - batch * kItemBatchSize);
      EXPECT_LE(written[batch], slots * kItemSlotSize) << count;
      EXPECT_LE(read[batch], slots * kItemSlotSize) << count;
    }
    EXPECT_TRUE(winsim::StrayAccesses().empty()) << count;
    EXPECT_TRUE(NothingHeld()) << count;
  }
}

TEST_F(RemoteChannel, CaptionsOnlyAsksForNoPosition) {
  auto icons = Numbered(70);
  auto desktop = Desktop(icons);
  auto read = ReadAll(desktop.listView, ItemQuery::Caption);
  ASSERT_EQ(70u, read.size());
  for (std::size_t i = 0; i < read.size(); ++i) {
    EXPECT_EQ(icons[i].caption, read[i].caption);
    EXPECT_EQ(-1, read[i].x);
  }
  EXPECT_EQ(0u, winsim::CountCalls("LVM_GETITEMPOSITION"));
}

TEST_F(RemoteChannel, ItemsThatCannotBeReadInsideABatchAreSkippedAlone) {
  // Unreadable items at the first, a middle and the last slot of a full batch,
  // and in the following one; earlier captions in the same slots must not show
  // through, nor long captions through later short ones.
  auto icons = Numbered(130);
  for (int hidden : {0, 31, 63, 64, 129}) icons[static_cast<std::size_t>(hidden)].itemQueryFails = true;
  icons[65].caption = std::string(4095, 'L');
  icons[1].caption.clear();
  auto desktop = Desktop(icons);
  std::vector<ReadIcon> expected;
  for (auto &icon : icons)
    if (!icon.itemQueryFails) expected.push_back({icon.caption, icon.x, icon.y});
  EXPECT_EQ(expected, ReadAll(desktop.listView));
  EXPECT_EQ(125u, winsim::CountCalls("LVM_GETITEMPOSITION")) << "no position is asked of an unreadable item";
  // The last batch comes back only up to its last readable slot.
  EXPECT_EQ(kItemSlotSize, CopySizes("ReadProcessMemory")[2]);
}

TEST_F(RemoteChannel, AStaleSlotNeverLendsItsTextToALaterItem) {
  // A view that answers an item without writing its text: the old method read
  // an empty caption from its zeroed buffer, and so must every later batch.
  auto icons = Numbered(70);
  icons[0].caption = std::string(4095, 'L');
  auto desktop = Desktop(icons);
  RemoteItemChannel channel(desktop.listView);
  ASSERT_TRUE(channel.IsOpen());
  EXPECT_EQ(std::string(4095, 'L'), channel.ReadItems(0, kItemBatchSize, ItemQuery::Caption)[0].caption);
  for (auto &icon : icons) icon.textLeftUnwritten = true;
  winsim::SetListViewIcons(desktop.listView, icons);
  for (int first : {0, kItemBatchSize}) {
    for (auto &item : channel.ReadItems(first, 70 - first, ItemQuery::CaptionAndPosition)) {
      EXPECT_TRUE(item.readable);
      EXPECT_EQ("", item.caption);
    }
  }
}

TEST_F(RemoteChannel, CaptionsOf4095CharactersAreReadWhole) {
  std::string longest(4095, 'x');
  std::vector<winsim::DesktopIcon> icons(kItemBatchSize, {std::string(4095, 'z'), 0, 0});
  icons[0] = {longest, 0, 0};
  icons[1] = {std::string(5000, 'y'), 0, 0};
  icons.push_back({"court", 1, 1});
  auto desktop = Desktop(icons);
  auto read = ReadAll(desktop.listView);
  ASSERT_EQ(icons.size(), read.size());
  EXPECT_EQ(longest, read[0].caption);
  EXPECT_EQ(std::string(4095, 'y'), read[1].caption);
  EXPECT_EQ(std::string(4095, 'z'), read[kItemBatchSize - 1].caption) << "the last slot of a full batch";
  EXPECT_EQ("court", read[kItemBatchSize].caption);
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
    auto desktop = Desktop(Numbered(kItemBatchSize + 3));
    winsim::FailNext(copy, ERROR_PARTIAL_COPY, 1);  // the second batch's copy fails
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
