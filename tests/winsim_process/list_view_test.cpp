#include <gtest/gtest.h>

#include <cstring>

#include "winsim/desktop.h"
#include "winsim/machine.h"
#include "winsim/windows.h"

namespace {

using winsim::DesktopIcon;
using winsim::ProcessKind;

class ShellListView : public ::testing::Test {
 protected:
  void SetUp() override { winsim::Reset(); }

  void Build(ProcessKind kind, std::vector<DesktopIcon> icons) {
    winsim::ShellDesktopSetup setup;
    setup.shellKind = kind;
    setup.icons = std::move(icons);
    desktop = winsim::BuildShellDesktop(setup);
    block = winsim::AllocateInProcess(desktop.processId, 8192);
  }

  // An item record as a process of `pointerSize` lays it out, in the shell's memory.
  void PutRecord(std::size_t pointerSize, int index, std::uint64_t text, int textMax) {
    unsigned char record[64] = {};
    record[0] = 1;  // LVIF_TEXT
    std::memcpy(record + 4, &index, 4);
    std::memcpy(record + (pointerSize == 8 ? 24 : 20), &text, pointerSize);
    std::memcpy(record + (pointerSize == 8 ? 32 : 24), &textMax, 4);
    winsim::WriteProcessBytes(desktop.processId, block, record, sizeof record);
  }

  std::string TextAt(std::uint64_t address) {
    char text[300] = {};
    winsim::ReadProcessBytes(desktop.processId, address, text, sizeof text - 1);
    return text;
  }

  LRESULT Send(UINT message, WPARAM wParam, std::uint64_t lParam) {
    return SendMessageA(desktop.listView, message, wParam, static_cast<LPARAM>(lParam));
  }

  winsim::ShellDesktop desktop;
  std::uint64_t block = 0;
};

TEST_F(ShellListView, ReadsRecordsInItsOwnProcessLayout) {
  for (auto kind : {ProcessKind::Native32, ProcessKind::Wow64, ProcessKind::Native64}) {
    Build(kind, {{"Corbeille", 10, 20}, {"Poste de travail", 30, 40}});
    std::size_t pointer = kind == ProcessKind::Native64 ? 8 : 4;
    EXPECT_EQ(2, Send(LVM_GETITEMCOUNT, 0, 0));
    PutRecord(pointer, 1, block + 4096, 4096);
    EXPECT_EQ(TRUE, Send(LVM_GETITEMA, 0, block));
    EXPECT_EQ("Poste de travail", TextAt(block + 4096));
    winsim::Reset();
  }
}

TEST_F(ShellListView, ARecordOfTheWrongWidthIsMisread) {
  Build(ProcessKind::Native32, {{"Corbeille", 10, 20}});
  PutRecord(8, 0, block + 4096, 4096);  // a 64-bit record sent to a 32-bit shell
  Send(LVM_GETITEMA, 0, block);
  EXPECT_EQ("", TextAt(block + 4096));
  EXPECT_FALSE(winsim::StrayAccesses().empty());

  winsim::Reset();
  Build(ProcessKind::Native64, {{"Corbeille", 10, 20}});
  PutRecord(4, 0, block + 4096, 4096);  // a 32-bit record sent to a 64-bit shell
  Send(LVM_GETITEMA, 0, block);
  EXPECT_EQ("", TextAt(block + 4096));
}

TEST_F(ShellListView, TextIsCutToTheCapacityItIsGiven) {
  Build(ProcessKind::Native64, {{std::string(300, 'a'), 0, 0}});
  PutRecord(8, 0, block + 4096, 260);
  ASSERT_EQ(TRUE, Send(LVM_GETITEMA, 0, block));
  EXPECT_EQ(std::string(259, 'a'), TextAt(block + 4096));
}

TEST_F(ShellListView, FailingItemsAndBadAddressesAnswerFalse) {
  Build(ProcessKind::Native64, {{"Corbeille", 1, 2, true, true}});
  PutRecord(8, 0, block + 4096, 4096);
  EXPECT_EQ(FALSE, Send(LVM_GETITEMA, 0, block));
  EXPECT_EQ(FALSE, Send(LVM_GETITEMPOSITION, 0, block));
  PutRecord(8, 5, block + 4096, 4096);
  EXPECT_EQ(FALSE, Send(LVM_GETITEMA, 0, block));
  EXPECT_TRUE(winsim::StrayAccesses().empty());
  EXPECT_EQ(FALSE, Send(LVM_GETITEMA, 0, 0x12340000));
  ASSERT_EQ(1u, winsim::StrayAccesses().size());
  EXPECT_EQ(0x12340000u, winsim::StrayAccesses()[0].address);
}

TEST_F(ShellListView, PositionsAreReadAndMoved) {
  Build(ProcessKind::Wow64, {{"Corbeille", -5, 70000}});
  ASSERT_EQ(TRUE, Send(LVM_GETITEMPOSITION, 0, block));
  std::int32_t point[2] = {};
  winsim::ReadProcessBytes(desktop.processId, block, point, sizeof point);
  EXPECT_EQ(-5, point[0]);
  EXPECT_EQ(70000, point[1]);

  // Words are signed 16-bit coordinates.
  EXPECT_EQ(TRUE, Send(LVM_SETITEMPOSITION, 0, MAKELPARAM(0xFFF6, 300)));
  EXPECT_EQ(-10, winsim::ListViewIcons(desktop.listView)[0].x);
  EXPECT_EQ(300, winsim::ListViewIcons(desktop.listView)[0].y);

  std::int32_t target[2] = {123456, -7};
  winsim::WriteProcessBytes(desktop.processId, block, target, sizeof target);
  EXPECT_EQ(TRUE, Send(LVM_SETITEMPOSITION32, 0, block));
  EXPECT_EQ(123456, winsim::ListViewIcons(desktop.listView)[0].x);
  EXPECT_EQ(-7, winsim::ListViewIcons(desktop.listView)[0].y);
  EXPECT_EQ(FALSE, Send(LVM_SETITEMPOSITION, 3, 0));
}

TEST_F(ShellListView, ShellDesktopTreesMatchTheTwoHosts) {
  winsim::ShellDesktopSetup setup;
  setup.host = winsim::DesktopHost::WorkerW;
  auto desktop = winsim::BuildShellDesktop(setup);
  EXPECT_EQ(nullptr, FindWindowExA(desktop.progman, nullptr, "SHELLDLL_DefView", nullptr));
  EXPECT_EQ(desktop.shellView, FindWindowExA(desktop.workerW, nullptr, "SHELLDLL_DefView", nullptr));
  EXPECT_EQ(desktop.listView, FindWindowExA(desktop.shellView, nullptr, "SysListView32", nullptr));
  DWORD owner = 0;
  GetWindowThreadProcessId(desktop.listView, &owner);
  EXPECT_EQ(desktop.processId, owner);
}

}  // namespace
