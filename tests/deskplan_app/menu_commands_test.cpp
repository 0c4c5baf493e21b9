// What each menu command does: saves and restores, option toggles and their
// registry values, help, web site, About box, quit.
#include <gtest/gtest.h>

#include "tray_world.h"

namespace {

using MenuCommands = TrayWorld;
using Points = std::vector<std::pair<int, int>>;

TEST_F(MenuCommands, SaveStoresTheCurrentPositionsAfterTheOverwriteQuestion) {
  Desktop({{"Corbeille", 10, 20}, {"Poste de travail", 30, 40}});
  StoreIcon("Corbeille", 1, 1);
  winsim::AnswerMessageBoxes({IDYES});
  RunThenQuit({Choose(CMD_SAVE)});
  EXPECT_EQ(Stored("Corbeille").x, 10);
  EXPECT_EQ(Stored("Poste de travail").y, 40);
  ASSERT_EQ(winsim::MessageBoxes().size(), 1u) << "the overwrite question";
  EXPECT_EQ(winsim::MessageBoxes()[0].type & MB_TYPEMASK, static_cast<UINT>(MB_YESNO));
  EXPECT_TRUE(NothingHeld());
}

TEST_F(MenuCommands, RestorePutsTheIconsBack) {
  auto desktop = Desktop({{"Corbeille", 10, 20}});
  StoreIcon("Corbeille", 300, 400);
  RunThenQuit({Choose(CMD_RESTORE)});
  EXPECT_EQ(Positions(desktop.listView), (Points{{300, 400}}));
}

TEST_F(MenuCommands, StartupToggleIsStoredAtOnceAndTwiceGivesTheFirstValueBack) {
  Desktop({});
  DWORD afterFirst = 0;
  RunThenQuit({Choose(CMD_STARTUP), [&] { afterFirst = OptionValue("D\xE9marrage"); }, Choose(CMD_STARTUP),
               OpenAndDismiss()});
  EXPECT_EQ(afterFirst, 1u);
  EXPECT_EQ(OptionValue("D\xE9marrage"), 0u);
  EXPECT_EQ(ItemText(CMD_STARTUP), "Restauration au d\xE9marrage\t[non active]");
}

TEST_F(MenuCommands, StartupOptionTakesEffectAtTheNextStart) {
  auto desktop = Desktop({{"Corbeille", 10, 20}});
  RunThenQuit({Choose(CMD_STARTUP)});
  StoreIcon("Corbeille", 300, 400);
  RunTrayUntilClosed();
  EXPECT_EQ(Positions(desktop.listView), (Points{{300, 400}}));
}

TEST_F(MenuCommands, AutomaticOffStopsTheRestoreAfterADisplayChange) {
  auto desktop = Desktop({{"Corbeille", 10, 20}});
  StoreIcon("Corbeille", 500, 600, "Software\\Ostrafen\\Deskplan\\800x600");
  DWORD stored = 7;
  RunThenQuit({Choose(CMD_AUTOMATIC), [&] { stored = OptionValue("Automatique"); },
               winsim::ChangeDisplayMode(800, 600), DisplayChangeSettles()});
  EXPECT_EQ(stored, 0u);
  EXPECT_EQ(Positions(desktop.listView), (Points{{10, 20}}));
}

TEST_F(MenuCommands, AutomaticBackOnRestoresAfterADisplayChange) {
  auto desktop = Desktop({{"Corbeille", 10, 20}});
  StoreIcon("Corbeille", 500, 600, "Software\\Ostrafen\\Deskplan\\800x600");
  RunThenQuit({Choose(CMD_AUTOMATIC), Choose(CMD_AUTOMATIC), winsim::ChangeDisplayMode(800, 600),
               DisplayChangeSettles()});
  EXPECT_EQ(OptionValue("Automatique"), 1u);
  EXPECT_EQ(Positions(desktop.listView), (Points{{500, 600}}));
}

TEST_F(MenuCommands, FailedOptionWriteKeepsTheToggleForTheRun) {
  Desktop({});
  RunThenQuit({[] { winsim::FailAlways("RegSetValueExA", ERROR_ACCESS_DENIED); }, Choose(CMD_STARTUP),
               OpenAndDismiss()});
  EXPECT_FALSE(OptionStored("D\xE9marrage"));
  EXPECT_EQ(ItemText(CMD_STARTUP), "Restauration au d\xE9marrage\t[active]");
  EXPECT_TRUE(winsim::MessageBoxes().empty()) << "silently";
}

TEST_F(MenuCommands, HelpOpensTheFileInTheProgramsFolderWhateverTheCurrentDirectory) {
  Desktop({});
  winsim::SetCurrentDirectory("C:\\WINDOWS\\system32");
  HWND window = nullptr;
  RunThenQuit({[&] { window = winsim::FindProgramWindow("Deskplan"); }, Choose(CMD_HELP)});
  auto calls = winsim::ShellExecuteCalls();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].window, window);
  EXPECT_EQ(calls[0].operation, "open");
  EXPECT_EQ(calls[0].file, "C:\\Program Files\\Deskplan\\Deskplan.chm");
  EXPECT_EQ(calls[0].parameters, "");
  EXPECT_EQ(calls[0].directory, "");
  EXPECT_EQ(calls[0].showCommand, SW_SHOWNORMAL);
}

class LegacyHelp : public MenuCommands {
 protected:
  void SetUp() override {
    MenuCommands::SetUp();
    winsim::SetOsVersion(winsim::Windows98SE());
    winsim::ShellDesktopSetup setup;
    setup.shellKind = winsim::ProcessKind::Native32;
    winsim::BuildShellDesktop(setup);
    winsim::SetProgramPath("C:\\PROGRA~1\\DESKPLAN\\DESKPLAN.EXE");
  }
  std::string HelpOpened() {
    RunThenQuit({Choose(CMD_HELP)});
    auto calls = winsim::ShellExecuteCalls();
    return calls.size() == 1 ? calls[0].file : "(" + std::to_string(calls.size()) + " calls)";
  }
};

TEST_F(LegacyHelp, OpensTheOldHelpFileWhenItIsBesideTheProgram) {
  winsim::AddExistingFile("C:\\Progra~1\\Deskplan\\Deskplan.hlp");
  EXPECT_EQ(HelpOpened(), "C:\\PROGRA~1\\DESKPLAN\\Deskplan.hlp");
}

TEST_F(LegacyHelp, OpensTheShippedHelpFileOtherwise) {
  winsim::SetCurrentDirectory("C:\\WINDOWS");
  winsim::AddExistingFile("C:\\WINDOWS\\Deskplan.hlp");  // not the program's
  EXPECT_EQ(HelpOpened(), "C:\\PROGRA~1\\DESKPLAN\\Deskplan.chm");
}

TEST_F(MenuCommands, WebSiteOpensTheSecureAddress) {
  Desktop({});
  RunThenQuit({Choose(CMD_WEBSITE)});
  auto calls = winsim::ShellExecuteCalls();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].operation, "open");
  EXPECT_EQ(calls[0].file, "https://www.ostrafen.fr");
  EXPECT_EQ(calls[0].showCommand, SW_SHOWNORMAL);
}

TEST_F(MenuCommands, AboutBoxShowsEvenInQuietMode) {
  Desktop({});
  RunThenQuit({Choose(CMD_ABOUT)}, "/NOPROMPT");
  ASSERT_EQ(winsim::MessageBoxes().size(), 1u);
  auto box = winsim::MessageBoxes()[0];
  EXPECT_EQ(box.owner, nullptr);
  EXPECT_EQ(box.caption, "Deskplan");
  EXPECT_EQ(box.type, static_cast<UINT>(MB_OK | MB_ICONINFORMATION));
  EXPECT_EQ(box.text.rfind("Deskplan 4.2.0.0\r\n", 0), 0u) << box.text;
  EXPECT_GT(box.text.size(), std::string("Deskplan 4.2.0.0\r\n").size()) << "an author line follows";
}

TEST_F(MenuCommands, UnknownCommandsDoNothing) {
  Desktop({{"Corbeille", 10, 20}});
  winsim::SetIdleScript({winsim::PostMenuCommand("Deskplan", 70), winsim::PostMenuCommand("Deskplan", 0),
                         winsim::PostMenuCommand("Deskplan", CMD_QUIT)});
  EXPECT_EQ(Run(), 0);
  EXPECT_TRUE(winsim::MessageBoxes().empty());
  EXPECT_TRUE(winsim::ShellExecuteCalls().empty());
  EXPECT_FALSE(winsim::RegistryKeyExists(HKEY_CURRENT_USER, kOptionsPath));
}

TEST_F(MenuCommands, QuitEndsTheProgramWithCodeZero) {
  Desktop({});
  winsim::SetIdleScript({Choose(CMD_QUIT)});
  EXPECT_EQ(Run(), 0);
  EXPECT_TRUE(winsim::ProgramWindows().empty());
  EXPECT_TRUE(winsim::NotificationIcons().empty());
  EXPECT_EQ(winsim::RemainingIdleActions(), 0u);
}

}  // namespace
