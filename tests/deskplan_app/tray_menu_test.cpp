// The tray menu: its fifteen positions, texts, check marks and grey item in
// each option state, rebuilt at each opening.
#include <gtest/gtest.h>

#include "tray_world.h"

namespace {

using TrayMenu = TrayWorld;
const UINT kString = MF_STRING;
const UINT kSeparator = MF_SEPARATOR;

struct Expected {
  UINT flags;
  UINT_PTR id;
  std::string text;
};

void ExpectItems(const winsim::ShownMenu &menu, const std::vector<Expected> &expected) {
  ASSERT_EQ(menu.items.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(menu.items[i].flags, expected[i].flags) << "position " << i;
    EXPECT_EQ(menu.items[i].id, expected[i].id) << "position " << i;
    EXPECT_EQ(menu.items[i].text, expected[i].text) << "position " << i;
  }
  EXPECT_EQ(menu.defaultPosition, 14) << "\"Quitter et fermer Deskplan\" is the default item";
}

std::vector<Expected> MenuFor(const std::string &size, UINT startup, UINT automatic, UINT protection,
                              const std::string &startupState, const std::string &automaticState,
                              const std::string &protectionState) {
  return {
      {kString, 69, "Enregistrer le bureau actuel\t[" + size + "]"},
      {kSeparator, 0, ""},
      {kString, 82, "Restaurer le bureau actuel\t[" + size + "]"},
      {kSeparator, 0, ""},
      {kString | startup, 83, "Restauration au d\xE9marrage\t[" + startupState + "]"},
      {kString | automatic, 84, "Restauration automatique\t[" + automaticState + "]"},
      {kSeparator, 0, ""},
      {kString | protection, 80, "Protection des noms d'ic\xF4nes\t[" + protectionState + "]"},
      {kSeparator, 0, ""},
      {kString, 73, "Aide de Deskplan"},
      {kString, 78, "Site Internet de l'auteur"},
      {kSeparator, 0, ""},
      {kString, 65, "A propos de Deskplan"},
      {kSeparator, 0, ""},
      {kString, 81, "Quitter et fermer Deskplan"},
  };
}

TEST_F(TrayMenu, FirstStartShowsTheDefaultOptions) {
  Desktop({{"Corbeille", 10, 20}});
  RunThenQuit({OpenAndDismiss()});
  ExpectItems(winsim::ShownMenus()[0],
              MenuFor("1024x768", 0, MF_CHECKED, 0, "non active", "active", "non active"));
}

TEST_F(TrayMenu, StoredOptionsShowAsCheckMarksAndStates) {
  Desktop({});
  winsim::SetRegistryDword(HKEY_CURRENT_USER, kOptionsPath, "D\xE9marrage", 1);
  winsim::SetRegistryDword(HKEY_CURRENT_USER, kOptionsPath, "Automatique", 0);
  winsim::SetRegistryDword(HKEY_CURRENT_USER, kOptionsPath, "Protection", 7);
  RunThenQuit({OpenAndDismiss()});
  ExpectItems(winsim::ShownMenus()[0],
              MenuFor("1024x768", MF_CHECKED, 0, MF_CHECKED, "active", "non active", "active"));
}

TEST_F(TrayMenu, TheLayoutNameIsTakenWhenTheMenuOpens) {
  Desktop({});
  RunThenQuit({OpenAndDismiss(), [] { winsim::SetScreen(1280, 1024); }, OpenAndDismiss()});
  EXPECT_EQ(winsim::ShownMenus()[0].items[0].text, "Enregistrer le bureau actuel\t[1024x768]");
  EXPECT_EQ(winsim::ShownMenus()[1].items[2].text, "Restaurer le bureau actuel\t[1280x1024]");
}

TEST_F(TrayMenu, TogglesShowAtTheNextOpening) {
  Desktop({});
  RunThenQuit({Choose(CMD_STARTUP), Choose(CMD_AUTOMATIC), Choose(CMD_PROTECTION), OpenAndDismiss()});
  ExpectItems(winsim::ShownMenus()[3],
              MenuFor("1024x768", MF_CHECKED, 0, MF_CHECKED, "active", "non active", "active"));
}

TEST_F(TrayMenu, LegacySystemsGreyTheProtectionItemWhichCannotBeChosen) {
  winsim::SetOsVersion(winsim::Windows98SE());
  winsim::ShellDesktopSetup setup;
  setup.shellKind = winsim::ProcessKind::Native32;
  setup.icons = {{"Corbeille", 10, 20}};
  setup.listViewStyle = LVS_ICON | LVS_EDITLABELS;
  auto desktop = winsim::BuildShellDesktop(setup);
  RunThenQuit({Choose(CMD_PROTECTION), OpenAndDismiss()});
  auto menus = winsim::ShownMenus();
  ASSERT_EQ(menus.size(), 3u);
  ExpectItems(menus[1], MenuFor("1024x768", 0, MF_CHECKED, MF_GRAYED, "non active", "active", "non active"));
  EXPECT_EQ(menus[0].chosen, 0u) << "a click on the grey item only closes the menu";
  EXPECT_NE(winsim::WindowStyle(desktop.listView) & LVS_EDITLABELS, 0);
  EXPECT_FALSE(OptionStored("Protection"));
}

}  // namespace
