#include <gtest/gtest.h>

#include <commctrl.h>

#include "common/os_error.h"
#include "deskplan/layout/layout_command.h"
#include "layout_world.h"

namespace {

using LegacyCommand = LayoutWorld;
using Points = std::vector<std::pair<int, int>>;

DWORD StoredDword(const std::string &name) {
  auto value = winsim::ReadRegistryValue(HKEY_CURRENT_USER, kLayoutPath, name);
  if (!value || value->type != REG_DWORD || value->data.size() != 4) {
    ADD_FAILURE() << "no PackedIconPosition named " << name;
    return 0;
  }
  return value->data[0] | (value->data[1] << 8) | (value->data[2] << 16) | (static_cast<DWORD>(value->data[3]) << 24);
}

TEST_F(LegacyCommand, SaveStoresPackedPositionsByPlainCaption) {
  LegacyDesktop({{"Corbeille", 10, 20}, {"Notes", 1, 1}, {"", 5, 5}, {"NOTES", -2, 300}});
  RunLayoutCommand(kSaveLayout);
  // Equal captions share one value, the last one's; an empty caption is skipped.
  EXPECT_EQ(StoredNames(), (std::vector<std::string>{"Corbeille", "Notes"}));
  EXPECT_EQ(StoredDword("Corbeille"), 0x0014000Au);
  EXPECT_EQ(StoredDword("Notes"), 0x012CFFFEu);
  EXPECT_TRUE(winsim::MessageBoxes().empty());
  EXPECT_TRUE(NothingHeld());
  EXPECT_TRUE(winsim::StrayAccesses().empty());
}

TEST_F(LegacyCommand, SaveOverAnExistingLayoutAsksAndReplacesIt) {
  LegacyDesktop({{"A", 1, 2}});
  winsim::SetRegistryDword(HKEY_CURRENT_USER, kLayoutPath, "Old", 7);
  winsim::AnswerMessageBoxes({IDNO});
  RunLayoutCommand(kSaveLayout);
  EXPECT_EQ(StoredNames(), std::vector<std::string>{"Old"});
  winsim::AnswerMessageBoxes({IDYES});
  RunLayoutCommand(kSaveLayout);
  EXPECT_EQ(StoredNames(), std::vector<std::string>{"A"});
  EXPECT_EQ(winsim::MessageBoxes().size(), 2u);
}

TEST_F(LegacyCommand, RestoreMovesEveryIconWithAStoredCaptionOnce) {
  auto desktop = LegacyDesktop({{"T", 0, 0}, {"X", 9, 9}, {"t", 0, 0}, {"Minus", 4, 4}});
  winsim::SetRegistryDword(HKEY_CURRENT_USER, kLayoutPath, "T", 0x0014000A);
  winsim::SetRegistryDword(HKEY_CURRENT_USER, kLayoutPath, "Minus", 0xFFFFFFFF);  // -1: no position
  RunLayoutCommand(kRestoreLayout);
  EXPECT_EQ(Positions(desktop.listView), (Points{{10, 20}, {9, 9}, {10, 20}, {4, 4}}));
  EXPECT_EQ(winsim::LockWindowUpdateCalls().size(), 2u) << "one pass";
  EXPECT_TRUE(NothingHeld());
}

TEST_F(LegacyCommand, RestoreWithoutALayoutTouchesNothing) {
  auto desktop = LegacyDesktop({{"T", 3, 3}}, LVS_ICON | LVS_AUTOARRANGE);
  RunLayoutCommand(kRestoreLayout);
  EXPECT_TRUE(winsim::MessageBoxes().empty());
  EXPECT_TRUE(winsim::LockWindowUpdateCalls().empty());
  EXPECT_EQ(winsim::WindowStyle(desktop.listView) & LVS_AUTOARRANGE, LVS_AUTOARRANGE);
  EXPECT_TRUE(NothingHeld());
}

TEST_F(LegacyCommand, AreaThatCannotBeCreatedIsReportedEvenForOtherModes) {
  LegacyDesktop({{"T", 3, 3}});
  winsim::FailNext("CreateFileMappingA", ERROR_ACCESS_DENIED);
  RunLayoutCommand(2);
  ASSERT_EQ(winsim::MessageBoxes().size(), 1u);
  EXPECT_EQ(winsim::MessageBoxes()[0].text, "Acc\xE8s refus\xE9");
  EXPECT_EQ(winsim::MessageBoxes()[0].type, static_cast<UINT>(MB_ICONWARNING));
  EXPECT_TRUE(NothingHeld());
}

// An NT-family system (kernel32 exports VirtualAllocEx) running the program
// in legacy mode, with one icon and one stored position.
winsim::ShellDesktop NtDesktopInLegacyMode(const winsim::OsVersion &reported) {
  AppOptions.legacyMode = true;
  winsim::SetOsVersion(reported);
  winsim::ShellDesktopSetup setup;
  setup.icons = {{"T", 3, 3}};
  winsim::SetRegistryDword(HKEY_CURRENT_USER, kLayoutPath, "T", 0x00050005);
  return winsim::BuildShellDesktop(setup);
}

bool NothingSentToTheListView() {
  for (auto &call : winsim::CallsTo("SendMessageA"))
    if (call.detail.find("SysListView32") != std::string::npos) return false;
  return true;
}

TEST_F(LegacyCommand, ACompatibilityModeOnAnNtSystemDoesNotHandTheShellTheArea) {
  // A "Windows 98 / Me" compatibility mode: the 9x platform is reported, yet
  // kernel32 is NT's and mapped views are private to each process.
  auto desktop = NtDesktopInLegacyMode(winsim::Windows98());
  winsim::AnswerMessageBoxes({IDYES});
  RunLayoutCommand(kSaveLayout);
  RunLayoutCommand(kRestoreLayout);
  ASSERT_EQ(winsim::MessageBoxes().size(), 2u) << "no overwrite question either";
  for (auto &box : winsim::MessageBoxes()) {
    EXPECT_EQ(box.text, "Cette fonction n'est pas prise en charge sur ce syst\xE8me");
    EXPECT_EQ(box.type, static_cast<UINT>(MB_ICONWARNING));
  }
  EXPECT_TRUE(NothingSentToTheListView());
  EXPECT_EQ(StoredNames(), std::vector<std::string>{"T"});
  EXPECT_EQ(StoredDword("T"), 0x00050005u);
  EXPECT_EQ(Positions(desktop.listView), (Points{{3, 3}}));
  EXPECT_TRUE(winsim::StrayAccesses().empty());
  EXPECT_TRUE(NothingHeld());
}

TEST_F(LegacyCommand, ShellEndingDuringTheSaveKeepsTheOldLayoutAndIsReported) {
  // Found by the fault sweep: unanswered queries once looked like icons
  // without captions, and a partial layout replaced the old one.
  auto desktop = LegacyDesktop({{"A", 1, 1}, {"B", 2, 2}, {"C", 3, 3}});
  winsim::SetRegistryDword(HKEY_CURRENT_USER, kLayoutPath, "Old", 7);
  AppOptions.quiet = true;
  int answered = 0;
  winsim::SetListViewObserver(desktop.listView, [&](UINT message, WPARAM, LPARAM) {
    if (message == LVM_GETITEMA && ++answered == 2) winsim::EndProcess(desktop.processId);
  });
  try {
    RunLayoutCommand(kSaveLayout);
    ADD_FAILURE() << "the save passed for done";
  } catch (const OsError &error) {
    EXPECT_EQ(error.Code(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
  }
  EXPECT_EQ(StoredNames(), std::vector<std::string>{"Old"});
  EXPECT_TRUE(NothingHeld());
}

TEST_F(LegacyCommand, OnAnNtSystemTheShellIsNeverHandedTheArea) {
  // "/NOVERSION" on a later system: the shell would write into its own memory.
  auto desktop = NtDesktopInLegacyMode(winsim::WindowsXP());
  for (LayoutMode mode : {kSaveLayout, kRestoreLayout}) {
    RunLayoutCommand(mode);
    EXPECT_EQ(winsim::CountCalls("CreateFileMappingA"), mode + 1u);
  }
  ASSERT_EQ(winsim::MessageBoxes().size(), 2u) << "no overwrite question either";
  EXPECT_EQ(winsim::MessageBoxes()[0].text, "Cette fonction n'est pas prise en charge sur ce syst\xE8me");
  EXPECT_EQ(winsim::MessageBoxes()[0].type, static_cast<UINT>(MB_ICONWARNING));
  EXPECT_EQ(Positions(desktop.listView), (Points{{3, 3}}));
  EXPECT_EQ(StoredDword("T"), 0x00050005u);
  EXPECT_TRUE(winsim::StrayAccesses().empty());
  EXPECT_TRUE(NothingHeld());

  AppOptions.quiet = true;
  RunLayoutCommand(kSaveLayout);
  EXPECT_EQ(winsim::MessageBoxes().size(), 2u);
}

}  // namespace
