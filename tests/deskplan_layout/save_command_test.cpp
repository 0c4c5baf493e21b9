#include <gtest/gtest.h>

#include "deskplan/layout/layout_command.h"
#include "layout_world.h"

namespace {

using SaveCommand = LayoutWorld;

TEST_F(SaveCommand, StoresEveryIconAsAnEightByteBinaryValue) {
  ModernDesktop({{"Corbeille", 10, 20}, {"Poste de travail", -30, 400}, {"Caf\xE9\xA0noir", 70000, 5}});
  RunLayoutCommand(kSaveLayout);
  EXPECT_EQ(StoredNames(), (std::vector<std::string>{"Corbeille", "Poste de travail", "Caf\xE9\xA0noir"}));
  EXPECT_EQ(Stored("Corbeille").x, 10);
  EXPECT_EQ(Stored("Corbeille").y, 20);
  EXPECT_EQ(Stored("Poste de travail").x, -30);
  EXPECT_EQ(Stored("Caf\xE9\xA0noir").x, 70000);
  EXPECT_TRUE(winsim::MessageBoxes().empty()) << "a first save asks nothing";
  EXPECT_TRUE(NothingHeld());
}

TEST_F(SaveCommand, EqualCaptionsGetAccumulatedSuffixes) {
  ModernDesktop({{"T", 1, 1}, {"t", 2, 2}, {"T", 3, 3}, {"", 4, 4}, {"", 5, 5}});
  RunLayoutCommand(kSaveLayout);
  EXPECT_EQ(StoredNames(), (std::vector<std::string>{"T", "t" + kSeparator + "(1)",
                                                     "T" + kSeparator + "(1)" + kSeparator + "(2)", "",
                                                     kSeparator + "(1)"}));
  EXPECT_EQ(Stored("T" + kSeparator + "(1)" + kSeparator + "(2)").x, 3);
  EXPECT_EQ(Stored("").y, 4);
}

TEST_F(SaveCommand, UnreadableIconIsLeftOutAndUnknownPositionStoredAsAllOnes) {
  winsim::DesktopIcon hidden{"Cach\xE9", 1, 1};
  hidden.itemQueryFails = true;
  winsim::DesktopIcon lost{"Perdu", 7, 7};
  lost.positionQueryFails = true;
  ModernDesktop({hidden, lost, {"Cach\xE9", 9, 9}});
  RunLayoutCommand(kSaveLayout);
  // The unreadable icon takes no name, so the later one is stored unsuffixed.
  EXPECT_EQ(StoredNames(), (std::vector<std::string>{"Perdu", "Cach\xE9"}));
  auto value = winsim::ReadRegistryValue(HKEY_CURRENT_USER, kLayoutPath, "Perdu");
  EXPECT_EQ(value->data, std::vector<BYTE>(8, 0xFF));
}

TEST_F(SaveCommand, ReplacingAnExistingLayoutAsksWithTheLayoutName) {
  ModernDesktop({{"A", 1, 2}});
  StoreIcon("Old", 5, 5);
  winsim::AnswerMessageBoxes({IDYES});
  RunLayoutCommand(kSaveLayout);
  ASSERT_EQ(winsim::MessageBoxes().size(), 1u);
  auto box = winsim::MessageBoxes()[0];
  EXPECT_EQ(box.text,
            "Un enregistrement du bureau [1024x768] existe d\xE9j\xE0.\n\r"
            "Voulez-vous le supprimer et le remplacer par celui-ci ?");
  EXPECT_EQ(box.caption, "Deskplan");
  EXPECT_EQ(box.type, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
  EXPECT_EQ(box.owner, nullptr);
  EXPECT_EQ(StoredNames(), std::vector<std::string>{"A"}) << "Yes replaces the whole layout";
}

TEST_F(SaveCommand, AnsweringNoKeepsTheOldLayout) {
  ModernDesktop({{"A", 1, 2}});
  StoreIcon("Old", 5, 5);
  winsim::AnswerMessageBoxes({IDNO});
  RunLayoutCommand(kSaveLayout);
  EXPECT_EQ(StoredNames(), std::vector<std::string>{"Old"});
  EXPECT_EQ(winsim::CountCalls("OpenProcess"), 0u);
}

TEST_F(SaveCommand, QuietModeReplacesWithoutAsking) {
  ModernDesktop({{"A", 1, 2}});
  StoreIcon("Old", 5, 5);
  AppOptions.quiet = true;
  RunLayoutCommand(kSaveLayout);
  EXPECT_TRUE(winsim::MessageBoxes().empty());
  EXPECT_EQ(StoredNames(), std::vector<std::string>{"A"});
}

TEST_F(SaveCommand, ShellThatCannotBeOpenedLeavesTheLayoutUntouched) {
  auto desktop = ModernDesktop({{"A", 1, 2}});
  StoreIcon("Old", 5, 5);
  AppOptions.quiet = true;
  winsim::RefuseOpenProcess(desktop.processId);
  RunLayoutCommand(kSaveLayout);
  EXPECT_EQ(StoredNames(), std::vector<std::string>{"Old"});
  EXPECT_TRUE(NothingHeld());
}

TEST_F(SaveCommand, MemoryCopyFailingMidPassKeepsTheOldLayoutWhole) {
  std::vector<winsim::DesktopIcon> icons;
  for (int i = 0; i < 100; ++i) icons.push_back({"Ic" + std::to_string(i), i, i});
  ModernDesktop(icons);
  StoreIcon("Old1", 5, 5);
  StoreIcon("Old2", 6, 6);
  AppOptions.quiet = true;
  winsim::FailNext("ReadProcessMemory", ERROR_PARTIAL_COPY, 1);  // the second batch
  RunLayoutCommand(kSaveLayout);
  EXPECT_EQ(StoredNames(), (std::vector<std::string>{"Old1", "Old2"}));
  EXPECT_TRUE(winsim::MessageBoxes().empty()) << "a failed save says nothing";
  EXPECT_TRUE(NothingHeld());
}

TEST_F(SaveCommand, RemoteBufferMissingStoresNothing) {
  ModernDesktop({{"A", 1, 2}});
  winsim::FailNext("VirtualAllocEx", ERROR_NOT_ENOUGH_MEMORY);
  RunLayoutCommand(kSaveLayout);
  EXPECT_FALSE(winsim::RegistryKeyExists(HKEY_CURRENT_USER, kLayoutPath));
  EXPECT_TRUE(NothingHeld());
}

TEST_F(SaveCommand, KeyThatCannotBeCreatedStoresNothing) {
  ModernDesktop({{"A", 1, 2}});
  winsim::FailNext("RegCreateKeyExA", ERROR_ACCESS_DENIED);
  RunLayoutCommand(kSaveLayout);
  EXPECT_FALSE(winsim::RegistryKeyExists(HKEY_CURRENT_USER, kLayoutPath));
  EXPECT_TRUE(NothingHeld());
}

TEST_F(SaveCommand, WithoutADesktopListViewNothingHappens) {
  EXPECT_TRUE(LoadRemoteMemoryFunctions());
  DesktopListView = reinterpret_cast<HWND>(0x1234);
  RunLayoutCommand(kSaveLayout);
  EXPECT_EQ(DesktopListView, nullptr);
  EXPECT_FALSE(winsim::RegistryKeyExists(HKEY_CURRENT_USER, kLayoutPath));
  EXPECT_TRUE(winsim::MessageBoxes().empty());
}

TEST_F(SaveCommand, OtherModesOnlyFindTheView) {
  auto desktop = ModernDesktop({{"A", 1, 2}});
  StoreIcon("Old", 5, 5);
  RunLayoutCommand(2);
  EXPECT_EQ(DesktopListView, desktop.listView);
  EXPECT_EQ(winsim::CountCalls("OpenProcess"), 0u);
  EXPECT_EQ(StoredNames(), std::vector<std::string>{"Old"});
}

TEST_F(SaveCommand, EachDisplaySizeHasItsOwnLayout) {
  ModernDesktop({{"A", 1, 2}});
  RunLayoutCommand(kSaveLayout);
  winsim::SetScreen(1280, 1024);
  RunLayoutCommand(kSaveLayout);
  EXPECT_EQ(winsim::RegistrySubkeyNames(HKEY_CURRENT_USER, "Software\\Ostrafen\\Deskplan"),
            (std::vector<std::string>{"1024x768", "1280x1024"}));
  EXPECT_TRUE(winsim::MessageBoxes().empty());
}

}  // namespace
