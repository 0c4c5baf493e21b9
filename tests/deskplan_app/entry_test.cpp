#include <gtest/gtest.h>

#include "common/os_error.h"
#include "program_world.h"

namespace {

using Entry = ProgramWorld;
using Points = std::vector<std::pair<int, int>>;

TEST_F(Entry, FirstTrayStartStoresTheLayoutWithoutAskingThenRunsUntilClosed) {
  Desktop({{"Corbeille", 10, 20}});
  EXPECT_EQ(RunTrayUntilClosed(), 0);
  EXPECT_EQ(StoredNames(), std::vector<std::string>{"Corbeille"});
  EXPECT_TRUE(winsim::MessageBoxes().empty());
  auto version = winsim::ReadRegistryValue(HKEY_CURRENT_USER, "Software\\Ostrafen\\Deskplan", "Version");
  ASSERT_TRUE(version);
  EXPECT_EQ(version->type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(std::string(version->data.begin(), version->data.end()), std::string("4.2.0.0", 8));
  EXPECT_TRUE(winsim::ProgramWindows().empty()) << "the hidden window went with the close";
  EXPECT_FALSE(winsim::RegistryKeyExists(HKEY_CURRENT_USER, kOptionsPath)) << "no option is written at start-up";
  EXPECT_TRUE(NothingHeld());
}

TEST_F(Entry, HiddenWindowIsCreatedAsTheSecondStartWillLookForIt) {
  Desktop({});
  HWND seen = nullptr;
  RunTrayUntilClosed({[&] { seen = winsim::FindProgramWindow("Deskplan"); }});
  ASSERT_NE(seen, nullptr);
  auto create = winsim::CallsTo("CreateWindowExA");
  ASSERT_EQ(create.size(), 1u);
  auto shows = winsim::CallsTo("ShowWindow");
  ASSERT_FALSE(shows.empty());
  EXPECT_EQ(shows[0].detail, "Deskplan " + std::to_string(SW_HIDE));
}

TEST_F(Entry, LaterStartAtAKnownSizeLeavesTheStoredLayout) {
  Desktop({{"Corbeille", 10, 20}});
  StoreIcon("Ancien", 1, 1);
  RunTrayUntilClosed();
  EXPECT_EQ(StoredNames(), std::vector<std::string>{"Ancien"});
  EXPECT_TRUE(winsim::MessageBoxes().empty());
}

TEST_F(Entry, RestoreAtStartupPutsIconsBack) {
  auto desktop = Desktop({{"Corbeille", 10, 20}});
  StoreIcon("Corbeille", 300, 400);
  winsim::SetRegistryDword(HKEY_CURRENT_USER, kOptionsPath, "D\xE9marrage", 1);
  RunTrayUntilClosed();
  EXPECT_EQ(Positions(desktop.listView), (Points{{300, 400}}));
}

TEST_F(Entry, OptionsOfTheWrongTypeKeepTheirInitialValues) {
  auto desktop = Desktop({{"Corbeille", 10, 20}});
  StoreIcon("Corbeille", 300, 400);
  winsim::SetRegistryString(HKEY_CURRENT_USER, kOptionsPath, "D\xE9marrage", "1");
  winsim::SetRegistryDword(HKEY_CURRENT_USER, kOptionsPath, "Automatique", 0);
  RunTrayUntilClosed({winsim::ChangeDisplayMode(1024, 768), DisplayChangeSettles()});
  EXPECT_EQ(Positions(desktop.listView), (Points{{10, 20}})) << "neither start-up nor display change restored";
}

TEST_F(Entry, DisplayChangeRestoresTheNewSizesLayout) {
  auto desktop = Desktop({{"Corbeille", 10, 20}});
  StoreIcon("Corbeille", 300, 400, "Software\\Ostrafen\\Deskplan\\1280x1024");
  RunTrayUntilClosed({winsim::ChangeDisplayMode(1280, 1024), DisplayChangeSettles()});
  EXPECT_EQ(Positions(desktop.listView), (Points{{300, 400}}));
}

TEST_F(Entry, SecondStartShowsTheNoticeAndActsOnNoSwitch) {
  Desktop({{"Corbeille", 10, 20}});
  winsim::AddForeignWindow({"Deskplan", "Deskplan", nullptr, 4242, 0, {}, 0});
  EXPECT_EQ(Run("/NOPROMPT /AUTOSAVE"), 0);
  ASSERT_EQ(winsim::MessageBoxes().size(), 1u);
  auto box = winsim::MessageBoxes()[0];
  EXPECT_EQ(box.text,
            "Deskplan est d\xE9j\xE0 actif dans la barre des t\xE2" "ches (systray).\r\n"
            "Cliquez sur son ic\xF4ne pour ouvrir le menu des options.");
  EXPECT_EQ(box.caption, "Deskplan");
  EXPECT_EQ(box.type, static_cast<UINT>(MB_ICONINFORMATION));
  EXPECT_FALSE(winsim::RegistryKeyExists(HKEY_CURRENT_USER, kLayoutPath));
  EXPECT_TRUE(winsim::ProgramWindows().empty());
}

TEST_F(Entry, WithoutCrossProcessMemoryFunctionsTheProgramEndsSilently) {
  Desktop({{"Corbeille", 10, 20}});
  winsim::RemoveExport("kernel32.dll", "VirtualFreeEx");
  EXPECT_EQ(Run("/AUTOSAVE"), 0);
  EXPECT_FALSE(winsim::RegistryKeyExists(HKEY_CURRENT_USER, "Software\\Ostrafen\\Deskplan"));
  EXPECT_TRUE(winsim::MessageBoxes().empty());
}

TEST_F(Entry, LegacySystemsNeedNoCrossProcessFunctions) {
  winsim::SetOsVersion(winsim::Windows98SE());
  winsim::RemoveExport("kernel32.dll", "VirtualAllocEx");
  winsim::ShellDesktopSetup setup;
  setup.shellKind = winsim::ProcessKind::Native32;
  setup.icons = {{"Corbeille", 10, 20}};
  winsim::BuildShellDesktop(setup);
  EXPECT_EQ(Run("/AUTOSAVE"), 0);
  auto value = winsim::ReadRegistryValue(HKEY_CURRENT_USER, kLayoutPath, "Corbeille");
  ASSERT_TRUE(value);
  EXPECT_EQ(value->type, static_cast<DWORD>(REG_DWORD));
}

TEST_F(Entry, RestoreThatBreaksOffOnTheCommandLineEndsWithTheErrorBoxAndCodeOne) {
  Desktop({{"Corbeille", 10, 20}});
  StoreIcon("Corbeille", 300, 400);
  winsim::SetProgramPath("C:\\Outils\\Deskplan.exe");
  winsim::FailAlways("ReadProcessMemory", ERROR_PARTIAL_COPY);
  EXPECT_EQ(Run("/AUTOLOAD"), 1);
  ASSERT_EQ(winsim::MessageBoxes().size(), 1u);
  auto box = winsim::MessageBoxes()[0];
  EXPECT_EQ(box.caption, "Erreur d'application");
  EXPECT_EQ(box.type, static_cast<UINT>(MB_TASKMODAL | MB_ICONERROR));
  const std::string head = "Exception OsError dans le module Deskplan.exe dans ";
  ASSERT_EQ(box.text.compare(0, head.size(), head), 0) << box.text;
  std::string address = box.text.substr(head.size(), 2 * sizeof(void *));
  EXPECT_EQ(address.find_first_not_of("0123456789ABCDEF"), std::string::npos) << address;
  EXPECT_NE(address, std::string(2 * sizeof(void *), '0'));
  EXPECT_EQ(box.text.substr(head.size() + address.size()),
            ".\r\nErreur syst\xE8me.  Code : 299.\r\nSeule une partie d'une requ\xEAte ReadProcessMemory ou "
            "WriteProcessMemory a \xE9t\xE9 effectu\xE9" "e.\r\n");
  EXPECT_TRUE(NothingHeld());
}

// The start-up restore runs from the tray's loop once the desktop is ready:
// like a restore after a display change, it is reported and the tray stays.
TEST_F(Entry, RestoreThatBreaksOffAtStartupIsReportedAndTheTrayStays) {
  Desktop({{"Corbeille", 10, 20}});
  StoreIcon("Corbeille", 300, 400);
  winsim::SetRegistryDword(HKEY_CURRENT_USER, kOptionsPath, "D\xE9marrage", 1);
  winsim::FailAlways("WriteProcessMemory", ERROR_ACCESS_DENIED);
  EXPECT_EQ(RunTrayUntilClosed(), 0);
  ASSERT_EQ(winsim::MessageBoxes().size(), 1u);
  EXPECT_EQ(winsim::MessageBoxes()[0].caption, "Erreur d'application");
  EXPECT_TRUE(NothingHeld());
}

TEST_F(Entry, SaveThatBreaksOffOnTheCommandLineShowsTheErrorBoxUnlessQuietAndTheNextSwitchesRun) {
  // The shell ends in the middle of the walk: the old layout stays, the run
  // does not pass for a save, and the export after it still runs. Quiet, no
  // box waits for an answer.
  for (const char *arguments : {"/NOPROMPT /AUTOSAVE /PROTECTED", "/AUTOSAVE /PROTECTED"}) {
    SetUp();
    auto desktop = Desktop({{"Corbeille", 10, 20}, {"Notes", 30, 40}}, LVS_ICON | LVS_EDITLABELS);
    StoreIcon("Ancien", 300, 400);
    winsim::AnswerMessageBoxes({IDYES});
    winsim::SetListViewObserver(desktop.listView, [&](UINT message, WPARAM, LPARAM) {
      if (message == LVM_GETITEMA) winsim::EndProcess(desktop.processId);
    });
    EXPECT_EQ(Run(arguments), 1) << arguments;
    EXPECT_EQ(StoredNames(), std::vector<std::string>{"Ancien"}) << arguments;
    EXPECT_TRUE(winsim::ReadRegistryValue(HKEY_CURRENT_USER, kOptionsPath, "Protection")) << "the next switch ran";
    EXPECT_TRUE(NothingHeld());
    if (std::string(arguments).find("/NOPROMPT") != std::string::npos) {
      EXPECT_TRUE(winsim::MessageBoxes().empty());
      continue;
    }
    ASSERT_EQ(winsim::MessageBoxes().size(), 3u) << "question, error box, protection notice";
    auto box = winsim::MessageBoxes()[1];
    EXPECT_EQ(box.caption, "Erreur d'application");
    EXPECT_EQ(box.type, static_cast<UINT>(MB_TASKMODAL | MB_ICONERROR));
    EXPECT_NE(box.text.find(".\r\nErreur syst\xE8me.  Code : "), std::string::npos) << box.text;
  }
}

TEST_F(Entry, SaveOfAShellThatCannotBeOpenedOnTheCommandLineIsReported) {
  auto desktop = Desktop({{"Corbeille", 10, 20}});
  winsim::RefuseOpenProcess(desktop.processId);
  EXPECT_EQ(Run("/AUTOSAVE"), 1);
  ASSERT_EQ(winsim::MessageBoxes().size(), 1u);
  EXPECT_NE(winsim::MessageBoxes()[0].text.find("Code : 5.\r\nAcc\xE8s refus\xE9.\r\n"), std::string::npos)
      << winsim::MessageBoxes()[0].text;
  EXPECT_FALSE(winsim::RegistryKeyExists(HKEY_CURRENT_USER, kLayoutPath));
  EXPECT_TRUE(NothingHeld());
}

TEST_F(Entry, FirstLayoutThatCannotBeTakenAtATrayStartIsReportedAndTheTrayGoesOn) {
  auto desktop = Desktop({{"Corbeille", 10, 20}});
  winsim::RefuseOpenProcess(desktop.processId);
  EXPECT_EQ(RunTrayUntilClosed(), 0);
  ASSERT_EQ(winsim::MessageBoxes().size(), 1u);
  EXPECT_EQ(winsim::MessageBoxes()[0].caption, "Erreur d'application");
  ASSERT_FALSE(winsim::CallsTo("Shell_NotifyIconA").empty());
  EXPECT_EQ(winsim::CallsTo("Shell_NotifyIconA")[0].detail, "NIM_ADD") << "the tray went on";
  EXPECT_FALSE(winsim::RegistryKeyExists(HKEY_CURRENT_USER, kLayoutPath));
  EXPECT_TRUE(NothingHeld());
}

TEST_F(Entry, ALayoutThatCannotBeOpenedAtATrayStartIsNotTakenAgain) {
  // Found by the fault sweep: any failure to open the key once counted as
  // "no layout yet", and the start replaced the user's layout.
  Desktop({{"Corbeille", 10, 20}});
  StoreIcon("Corbeille", 300, 400);
  winsim::DenyRegistryAccess(HKEY_CURRENT_USER, kLayoutPath, KEY_QUERY_VALUE);
  EXPECT_EQ(RunTrayUntilClosed(), 0);
  EXPECT_EQ(Stored("Corbeille").x, 300);
  EXPECT_EQ(StoredNames(), std::vector<std::string>{"Corbeille"});
  EXPECT_TRUE(winsim::MessageBoxes().empty()) << "no save was tried";
  EXPECT_TRUE(NothingHeld());
}

TEST_F(Entry, ErrorWithoutACodeSaysACallFailed) {
  winsim::SetProgramPath("C:\\Deskplan.exe");
  std::string text = ApplicationErrorText(OsError(0, reinterpret_cast<const void *>(0x4010A0)));
  EXPECT_EQ(text, "Exception OsError dans le module Deskplan.exe dans " +
                      std::string(2 * sizeof(void *) - 6, '0') +
                      "4010A0.\r\nUn appel \xE0 une fonction du syst\xE8me d'exploitation a \xE9"
                      "chou\xE9.\r\n");
}

}  // namespace
