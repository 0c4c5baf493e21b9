#include <gtest/gtest.h>

#include <functional>

#include <commctrl.h>

#include "common/os_error.h"

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

// The save's OsError code, or 0 when it raised none.
DWORD SaveFailure() {
  try {
    RunLayoutCommand(kSaveLayout);
  } catch (const OsError &error) {
    return error.Code();
  }
  return 0;
}

std::vector<winsim::DesktopIcon> ManyIcons(int count) {
  std::vector<winsim::DesktopIcon> icons;
  for (int i = 0; i < count; ++i) icons.push_back({"Ic" + std::to_string(i), i, i});
  return icons;
}

TEST_F(SaveCommand, AWalkThatCannotStartIsReportedAndStoresNothing) {
  struct Case {
    const char *what;
    std::function<void(const winsim::ShellDesktop &)> arrange;
    DWORD code;
  };
  const Case cases[] = {
      {"shell refused", [](auto &desktop) { winsim::RefuseOpenProcess(desktop.processId); }, ERROR_ACCESS_DENIED},
      {"shell ended after its view was found",
       [](auto &desktop) { winsim::RefuseOpenProcess(desktop.processId, ERROR_INVALID_PARAMETER); },
       ERROR_INVALID_PARAMETER},
      {"no remote buffer", [](auto &) { winsim::FailNext("VirtualAllocEx", ERROR_NOT_ENOUGH_MEMORY); },
       ERROR_NOT_ENOUGH_MEMORY},
      {"no local buffer", [](auto &) { winsim::FailNext("VirtualAlloc", ERROR_NOT_ENOUGH_MEMORY); },
       ERROR_NOT_ENOUGH_MEMORY},
  };
  for (const Case &test : cases) {
    SCOPED_TRACE(test.what);
    SetUp();
    auto desktop = ModernDesktop({{"A", 1, 2}});
    StoreIcon("Old", 5, 5);
    AppOptions.quiet = true;
    test.arrange(desktop);
    EXPECT_EQ(SaveFailure(), test.code);
    EXPECT_EQ(StoredNames(), std::vector<std::string>{"Old"});
    EXPECT_TRUE(NothingHeld());
  }
}

TEST_F(SaveCommand, MemoryCopyFailingMidPassKeepsTheOldLayoutWholeAndIsReported) {
  ModernDesktop(ManyIcons(100));
  StoreIcon("Old1", 5, 5);
  StoreIcon("Old2", 6, 6);
  AppOptions.quiet = true;
  winsim::FailNext("ReadProcessMemory", ERROR_PARTIAL_COPY, 1);  // the second batch
  EXPECT_EQ(SaveFailure(), static_cast<DWORD>(ERROR_PARTIAL_COPY));
  EXPECT_EQ(StoredNames(), (std::vector<std::string>{"Old1", "Old2"}));
  EXPECT_TRUE(NothingHeld());
}

TEST_F(SaveCommand, ShellEndingAfterAnyItemKeepsTheOldLayoutWholeAndIsReported) {
  // The shell ends after the k-th message its view answered: in the first
  // batch, at a batch's edge, in the last batch, after the very last message.
  for (int ending : {1, 2, 63, 128, 129, 140, 2 * 70 - 1, 2 * 70}) {
    SCOPED_TRACE(ending);
    SetUp();
    auto desktop = ModernDesktop(ManyIcons(70));
    StoreIcon("Old", 5, 5);
    int answered = 0;
    winsim::SetListViewObserver(desktop.listView, [&](UINT message, WPARAM, LPARAM) {
      if (message != LVM_GETITEMA && message != LVM_GETITEMPOSITION) return;
      if (++answered == ending) winsim::EndProcess(desktop.processId);
    });
    DWORD code = SaveFailure();
    EXPECT_TRUE(code == ERROR_PARTIAL_COPY || code == ERROR_INVALID_WINDOW_HANDLE) << code;
    EXPECT_EQ(StoredNames(), std::vector<std::string>{"Old"});
    EXPECT_TRUE(NothingHeld());
  }
}

TEST_F(SaveCommand, AKeyThatCannotBeWrittenKeepsTheOldLayoutWhole) {
  struct Case {
    const char *function;
    int skip;
  };
  // Creating or opening the key, reading the old values, deleting the second
  // old value, writing the third new one.
  const Case cases[] = {{"RegCreateKeyExA", 0}, {"RegEnumValueA", 1}, {"RegDeleteValueA", 1}, {"RegSetValueExA", 2}};
  for (const Case &test : cases) {
    SCOPED_TRACE(test.function);
    SetUp();
    ModernDesktop({{"A", 1, 2}, {"B", 3, 4}, {"C", 5, 6}});
    StoreIcon("Old1", 5, 5);
    StoreIcon("B", 7, 7);
    AppOptions.quiet = true;
    winsim::FailNext(test.function, ERROR_ACCESS_DENIED, test.skip);
    EXPECT_EQ(SaveFailure(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(StoredNames(), (std::vector<std::string>{"Old1", "B"}));
    EXPECT_EQ(Stored("B").x, 7);
    EXPECT_TRUE(NothingHeld());
  }
}

// Saving the same desktop again writes the values over the old ones; any other
// change of names or order rewrites the key, so that the values always come
// in the desktop's order and with its spelling.
TEST_F(SaveCommand, ResavingWritesInPlaceOnlyWhenTheOldNamesLeadTheNew) {
  struct Case {
    const char *title;
    std::vector<std::string> captions;
    size_t deletes;
  };
  const Case cases[] = {{"same desktop", {"A", "B"}, 0},
                        {"one icon more, at the end", {"A", "B", "C"}, 0},
                        {"one icon fewer", {"A"}, 2},
                        {"order changed", {"B", "A"}, 2},
                        {"spelling changed", {"a", "B"}, 2}};
  for (const Case &test : cases) {
    SCOPED_TRACE(test.title);
    SetUp();
    std::vector<winsim::DesktopIcon> icons;
    for (const auto &caption : test.captions) icons.push_back({caption, 40, static_cast<int>(icons.size())});
    ModernDesktop(icons);
    StoreIcon("A", 1, 1);
    StoreIcon("B", 2, 2);
    AppOptions.quiet = true;
    RunLayoutCommand(kSaveLayout);
    EXPECT_EQ(StoredNames(), test.captions);
    for (size_t i = 0; i < test.captions.size(); ++i) {
      EXPECT_EQ(Stored(test.captions[i]).x, 40);
      EXPECT_EQ(Stored(test.captions[i]).y, static_cast<int>(i));
    }
    EXPECT_EQ(winsim::CountCalls("RegDeleteValueA"), test.deletes);
    EXPECT_TRUE(NothingHeld());
  }
}

TEST_F(SaveCommand, AnInPlaceRewriteThatFailsPutsTheOldValuesBack) {
  ModernDesktop({{"A", 10, 10}, {"B", 20, 20}, {"C", 30, 30}});
  StoreIcon("A", 1, 1);
  StoreIcon("B", 2, 2);
  AppOptions.quiet = true;
  winsim::FailNext("RegSetValueExA", ERROR_ACCESS_DENIED, 2);  // "A" and "B" written over, "C" refused
  EXPECT_EQ(SaveFailure(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_EQ(StoredNames(), (std::vector<std::string>{"A", "B"}));
  EXPECT_EQ(Stored("A").x, 1);
  EXPECT_EQ(Stored("B").x, 2);
  EXPECT_TRUE(NothingHeld());
}

TEST_F(SaveCommand, AFirstLayoutThatCannotBeWrittenLeavesNoKey) {
  // Writing the second value, or (found by the fault sweep) reading the new
  // key's values, fails: no empty key is left behind.
  for (auto fault : {std::make_pair("RegSetValueExA", 1), std::make_pair("RegEnumValueA", 0)}) {
    SCOPED_TRACE(fault.first);
    SetUp();
    ModernDesktop({{"A", 1, 2}, {"B", 3, 4}});
    winsim::FailNext(fault.first, ERROR_ACCESS_DENIED, fault.second);
    EXPECT_EQ(SaveFailure(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_FALSE(winsim::RegistryKeyExists(HKEY_CURRENT_USER, kLayoutPath));
    EXPECT_TRUE(NothingHeld());
  }
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
