// The batched passes against the item-by-item method they replace: the same
// registry output on the same desktops, and a bounded number of round trips
// into the shell and of name comparisons.
#include <gtest/gtest.h>

#include <utility>

#include "deskplan/layout/layout_command.h"
#include "deskplan/view/item_buffers.h"
#include "layout_world.h"
#include "winsim/trace.h"

namespace {

using winsim::DesktopIcon;
using winsim::ProcessKind;

struct StoredValue {
  std::string name;
  DWORD type;
  std::vector<BYTE> data;
  bool operator==(const StoredValue &other) const {
    return name == other.name && type == other.type && data == other.data;
  }
};

std::ostream &operator<<(std::ostream &out, const StoredValue &value) {
  return out << "'" << value.name << "' (" << value.name.size() << " bytes)";
}

bool SameName(const std::string &a, const std::string &b) {
  return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()), b.data(),
                        static_cast<int>(b.size())) == CSTR_EQUAL;
}

// What the item-by-item method stored: every readable icon in index order,
// its caption cut to 4095 bytes, named by comparing with every name taken
// before, its position or all ones.
std::vector<StoredValue> ItemByItemOutput(const std::vector<DesktopIcon> &icons) {
  std::vector<StoredValue> values;
  std::vector<std::string> taken;
  for (auto &icon : icons) {
    if (icon.itemQueryFails) continue;
    std::string name = icon.caption.substr(0, 4095);
    for (int k = 1;; ++k) {
      bool clash = false;
      for (auto &used : taken) clash = clash || SameName(used, name);
      if (!clash) break;
      name += "\xA0____\xA0(" + std::to_string(k) + ")";
    }
    taken.push_back(name);
    IconPosition position;
    if (!icon.positionQueryFails) position = IconPosition{icon.x, icon.y};
    auto bytes = position.ToBytes();
    values.push_back({name, REG_BINARY, {bytes.begin(), bytes.end()}});
  }
  return values;
}

// Captions that collide in every way the naming knows, across batch edges.
std::vector<DesktopIcon> CrowdedDesktop(int count) {
  const std::vector<std::string> captions = {"Notes", "NOTES", "\xE9t\xE9", "\xC9T\xC9", "", "T\xA0____\xA0(1)",
                                             "T",     "t",     "Caf\xE9\xA0noir", "\x9C" "uvre", "\x8C" "UVRE"};
  std::vector<DesktopIcon> icons;
  for (int i = 0; i < count; ++i) {
    DesktopIcon icon;
    icon.caption = i % 3 == 0 ? "Document " + std::to_string(i) : captions[static_cast<std::size_t>(i) % captions.size()];
    icon.x = 75 * (i % 40) - 3;
    icon.y = 80 * (i / 40) + 70000 * (i % 7 == 0);
    icon.itemQueryFails = i % 17 == 5;
    icon.positionQueryFails = i % 13 == 4;
    icons.push_back(icon);
  }
  icons.push_back({std::string(5000, 'y'), 1, 2});
  icons.push_back({std::string(4095, 'Y'), 3, 4});
  return icons;
}

class BatchedPasses : public LayoutWorld {
 protected:
  std::vector<StoredValue> StoredValues() {
    std::vector<StoredValue> values;
    for (auto &name : StoredNames()) {
      auto value = winsim::ReadRegistryValue(HKEY_CURRENT_USER, kLayoutPath, name);
      values.push_back({name, value->type, value->data});
    }
    return values;
  }
};

TEST_F(BatchedPasses, StoreWhatTheItemByItemMethodStoredForEveryShellKind) {
  for (auto shell : {ProcessKind::Native64, ProcessKind::Wow64}) {
    for (int count : {0, 1, 63, 64, 65, 300}) {
      SetUp();
      AppOptions.quiet = true;
      auto icons = CrowdedDesktop(count);
      EXPECT_TRUE(LoadRemoteMemoryFunctions());
      winsim::ShellDesktopSetup setup;
      setup.shellKind = shell;
      setup.icons = icons;
      winsim::BuildShellDesktop(setup);
      RunLayoutCommand(kSaveLayout);
      EXPECT_EQ(ItemByItemOutput(icons), StoredValues()) << count << " icons";
      EXPECT_TRUE(winsim::StrayAccesses().empty());
      EXPECT_TRUE(NothingHeld());
    }
  }
}

TEST_F(BatchedPasses, RestorePutsBackEverythingTheSaveStored) {
  auto icons = CrowdedDesktop(200);
  auto desktop = ModernDesktop(icons);
  AppOptions.quiet = true;
  RunLayoutCommand(kSaveLayout);
  auto scrambled = icons;
  for (auto &icon : scrambled) {
    icon.x += 11;
    icon.y -= 7;
    icon.positionQueryFails = false;
  }
  winsim::SetListViewIcons(desktop.listView, scrambled);
  RunLayoutCommand(kRestoreLayout);
  auto after = winsim::ListViewIcons(desktop.listView);
  for (std::size_t i = 0; i < icons.size(); ++i) {
    // Unreadable icons and unknown positions keep their place; coordinates
    // travel in 16 bits.
    bool moves = !icons[i].itemQueryFails && !icons[i].positionQueryFails;
    EXPECT_EQ(after[i].x, moves ? static_cast<short>(icons[i].x) : scrambled[i].x) << i;
    EXPECT_EQ(after[i].y, moves ? static_cast<short>(icons[i].y) : scrambled[i].y) << i;
  }
}

TEST_F(BatchedPasses, SaveSendsTwoMessagesPerIconAndTwoCopiesPerBatch) {
  const int n = 1000;
  std::vector<DesktopIcon> icons;
  for (int i = 0; i < n; ++i) icons.push_back({"Ic\xF4ne " + std::to_string(i), i, i});
  ModernDesktop(icons);
  RunLayoutCommand(kSaveLayout);
  ASSERT_EQ(StoredNames().size(), static_cast<std::size_t>(n));
  const std::size_t batches = (n + kItemBatchSize - 1) / kItemBatchSize;
  EXPECT_LE(winsim::CountCalls("SendMessageA"), 2u * n + 2);
  EXPECT_LE(winsim::CountCalls("WriteProcessMemory") + winsim::CountCalls("ReadProcessMemory"), 2 * batches);
  // Naming distinct captions: a few sort keys per icon, no pairwise comparison.
  EXPECT_LE(winsim::CountCalls("LCMapStringA") + winsim::CountCalls("CompareStringA"), 3u * n);
}

TEST_F(BatchedPasses, ARestorePassSendsAtMostTwoMessagesPerIcon) {
  const int n = 1000;
  std::vector<DesktopIcon> icons;
  for (int i = 0; i < n; ++i) {
    icons.push_back({"Ic\xF4ne " + std::to_string(i), 0, 0});
    StoreIcon(icons.back().caption, i, i);
  }
  ModernDesktop(icons);
  RunLayoutCommand(kRestoreLayout);
  // Two passes, each: the count, a caption request and a move per icon, the
  // redraw switched off and on.
  EXPECT_LE(winsim::CountCalls("SendMessageA"), 2 * (2u * n + 4));
  EXPECT_LE(winsim::CountCalls("WriteProcessMemory") + winsim::CountCalls("ReadProcessMemory"),
            2 * 2 * ((n + kItemBatchSize - 1) / kItemBatchSize));
  EXPECT_LE(winsim::CountCalls("LCMapStringA") + winsim::CountCalls("CompareStringA"), 2 * 3u * n);
}

}  // namespace

namespace {

// The second pass moves the same icons again without asking for their
// captions: one caption and two moves per icon in all.
TEST_F(BatchedPasses, ARestoreAsksForEachCaptionOnceWhileTheViewKeepsItsCount) {
  const int n = 1000;
  std::vector<DesktopIcon> icons;
  for (int i = 0; i < n; ++i) {
    icons.push_back({"Ic\xF4ne " + std::to_string(i), 0, 0});
    StoreIcon(icons.back().caption, i, 2 * i);
  }
  auto desktop = ModernDesktop(icons);
  RunLayoutCommand(kRestoreLayout);
  EXPECT_LE(winsim::CountCalls("SendMessageA"), 3u * n + 8);
  auto after = winsim::ListViewIcons(desktop.listView);
  for (int i = 0; i < n; ++i) EXPECT_EQ(std::make_pair(after[i].x, after[i].y), std::make_pair(i, 2 * i)) << i;
}

// An icon added as the first pass starts shifts every index: the second pass
// sees another count and asks again, so each icon still gets its own place.
TEST_F(BatchedPasses, TheSecondRestorePassReadsTheCaptionsAgainWhenTheCountChanged) {
  StoreIcon("A", 100, 110);
  StoreIcon("B", 200, 210);
  StoreIcon("C", 300, 310);
  auto desktop = ModernDesktop({{"A", 0, 0}, {"B", 0, 0}, {"C", 0, 0}});
  int counts = 0;
  winsim::SetListViewObserver(desktop.listView, [&](UINT message, WPARAM, LPARAM) {
    if (message == LVM_GETITEMCOUNT && ++counts == 1)
      winsim::SetListViewIcons(desktop.listView, {{"Nouveau", 5, 5}, {"A", 0, 0}, {"B", 0, 0}, {"C", 0, 0}});
  });
  RunLayoutCommand(kRestoreLayout);
  auto after = winsim::ListViewIcons(desktop.listView);
  ASSERT_EQ(after.size(), 4u);
  EXPECT_EQ(std::make_pair(after[0].x, after[0].y), std::make_pair(5, 5));
  EXPECT_EQ(std::make_pair(after[1].x, after[1].y), std::make_pair(100, 110));
  EXPECT_EQ(std::make_pair(after[2].x, after[2].y), std::make_pair(200, 210));
  EXPECT_EQ(std::make_pair(after[3].x, after[3].y), std::make_pair(300, 310));
}

}  // namespace
