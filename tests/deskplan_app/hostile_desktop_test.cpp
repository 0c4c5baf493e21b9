// The whole program against a desktop that misbehaves: what the user is told
// when a restore's shell ends during the moves, or when the view's items go
// away during a save, from the command line and from the tray.
#include <gtest/gtest.h>

#include <commctrl.h>

#include "tray_world.h"

namespace {

using HostileDesktop = TrayWorld;

// Ends the shell's process once its view has moved `moves` icons.
void EndShellAfterMoves(const winsim::ShellDesktop &desktop, int moves) {
  auto done = std::make_shared<int>(0);
  DWORD shell = desktop.processId;
  winsim::SetListViewObserver(desktop.listView, [done, shell, moves](UINT message, WPARAM, LPARAM) {
    if (message == LVM_SETITEMPOSITION && ++*done == moves) winsim::EndProcess(shell);
  });
}

std::vector<winsim::DesktopIcon> Icons(int count) {
  std::vector<winsim::DesktopIcon> icons;
  for (int i = 0; i < count; ++i) icons.push_back({"Ic\xF4ne " + std::to_string(i), i, i});
  return icons;
}

TEST_F(HostileDesktop, AutoloadWhoseShellEndsDuringTheMovesEndsWithTheErrorBoxAndCodeOne) {
  auto desktop = Desktop(Icons(5));
  for (int i = 0; i < 5; ++i) StoreIcon("Ic\xF4ne " + std::to_string(i), 100 + i, 200);
  EndShellAfterMoves(desktop, 2);
  EXPECT_EQ(Run("/AUTOLOAD"), 1);
  ASSERT_EQ(winsim::MessageBoxes().size(), 1u);
  const auto box = winsim::MessageBoxes()[0];
  EXPECT_EQ(box.caption, "Erreur d'application");
  EXPECT_NE(box.text.find(".\r\nErreur syst\xE8me.  Code : 1400.\r\nHandle de fen\xEAtre non valide.\r\n"),
            std::string::npos)
      << box.text;
  EXPECT_EQ(StoredNames().size(), 5u);
  EXPECT_TRUE(NothingHeld());
}

TEST_F(HostileDesktop, QuietAutosaveWhileTheViewEmptiesKeepsTheOldLayoutAndEndsWithCodeOneSilently) {
  auto desktop = Desktop(Icons(5));
  StoreIcon("Ancien", 1, 1);
  auto answered = std::make_shared<int>(0);
  HWND view = desktop.listView;
  winsim::SetListViewObserver(view, [answered, view](UINT message, WPARAM, LPARAM) {
    if (message == LVM_GETITEMA && ++*answered == 2) winsim::SetListViewIcons(view, {});
  });
  EXPECT_EQ(Run("/NOPROMPT /AUTOSAVE"), 1);
  EXPECT_TRUE(winsim::MessageBoxes().empty());
  EXPECT_EQ(StoredNames(), std::vector<std::string>{"Ancien"});
  EXPECT_TRUE(NothingHeld());
}

TEST_F(HostileDesktop, MenuRestoreWhoseShellEndsDuringTheMovesShowsTheBoxAndTheTrayGoesOn) {
  auto desktop = Desktop(Icons(5));
  for (int i = 0; i < 5; ++i) StoreIcon("Ic\xF4ne " + std::to_string(i), 100 + i, 200);
  winsim::SetRegistryDword(HKEY_CURRENT_USER, kOptionsPath, "D\xE9marrage", 0);
  EndShellAfterMoves(desktop, 3);
  EXPECT_EQ(RunThenQuit({Choose(CMD_RESTORE)}), 0) << "the tray went on to the quit command";
  ASSERT_EQ(winsim::MessageBoxes().size(), 1u);
  EXPECT_EQ(winsim::MessageBoxes()[0].caption, "Erreur d'application");
  EXPECT_EQ(StoredNames().size(), 5u);
  EXPECT_TRUE(NothingHeld());
}

}  // namespace
