#include <gtest/gtest.h>

#include "program_world.h"

namespace {

using Switches = ProgramWorld;
using Points = std::vector<std::pair<int, int>>;

TEST_F(Switches, AutosaveInAnyCaseSavesAndEndsWithoutTheTray) {
  for (const char *arguments : {"/AUTOSAVE", "/autosave", "\"/AutoSave\""}) {
    SetUp();
    Desktop({{"Corbeille", 10, 20}});
    EXPECT_EQ(Run(arguments), 0) << arguments;
    EXPECT_EQ(StoredNames(), std::vector<std::string>{"Corbeille"}) << arguments;
    EXPECT_EQ(winsim::CountCalls("CreateWindowExA"), 0u) << arguments;
    EXPECT_TRUE(NothingHeld());
  }
}

TEST_F(Switches, AutoloadRestoresAndEnds) {
  auto desktop = Desktop({{"Corbeille", 10, 20}});
  StoreIcon("Corbeille", 300, 400);
  EXPECT_EQ(Run("/AUTOLOAD"), 0);
  EXPECT_EQ(Positions(desktop.listView), (Points{{300, 400}}));
  EXPECT_EQ(winsim::CountCalls("CreateWindowExA"), 0u);
}

TEST_F(Switches, NopromptBeforeAutosaveReplacesWithoutAsking) {
  Desktop({{"Corbeille", 10, 20}});
  StoreIcon("Ancien", 1, 1);
  Run("/NOPROMPT /AUTOSAVE");
  EXPECT_TRUE(winsim::MessageBoxes().empty());
  EXPECT_EQ(StoredNames(), std::vector<std::string>{"Corbeille"});
}

TEST_F(Switches, NopromptAfterAutosaveComesTooLate) {
  Desktop({{"Corbeille", 10, 20}});
  StoreIcon("Ancien", 1, 1);
  winsim::AnswerMessageBoxes({IDNO});
  EXPECT_EQ(Run("/AUTOSAVE /NOPROMPT"), 0);
  EXPECT_EQ(winsim::MessageBoxes().size(), 1u);
  EXPECT_EQ(StoredNames(), std::vector<std::string>{"Ancien"});
}

TEST_F(Switches, SwitchesActInOrderAndTwiceWhenGivenTwice) {
  Desktop({{"Corbeille", 10, 20}});
  EXPECT_EQ(Run("/NOPROMPT /AUTOSAVE /AUTOLOAD /AUTOSAVE"), 0);
  // save (reads the values it replaces: none, then one), restore (two passes,
  // each under the drawing lock), save
  EXPECT_EQ(winsim::CallSequence({"RegEnumValueA", "LockWindowUpdate"}),
            (std::vector<std::string>{"RegEnumValueA", "LockWindowUpdate", "LockWindowUpdate", "LockWindowUpdate",
                                      "LockWindowUpdate", "RegEnumValueA", "RegEnumValueA"}));
  EXPECT_TRUE(winsim::MessageBoxes().empty());
}

TEST_F(Switches, UnknownArgumentsAreIgnoredAndTheTrayStarts) {
  Desktop({{"Corbeille", 10, 20}});
  StoreIcon("Ancien", 1, 1);
  winsim::SetIdleScript({winsim::CloseProgramWindow("Deskplan")});
  EXPECT_EQ(Run("/AUTOSAVEX AUTOSAVE /NOVERSION"), 0);
  EXPECT_EQ(winsim::CountCalls("CreateWindowExA"), 1u);
  EXPECT_EQ(StoredNames(), std::vector<std::string>{"Ancien"});
}

TEST_F(Switches, NopromptAloneStartsAQuietTray) {
  auto desktop = Desktop({{"Corbeille", 10, 20}}, LVS_ICON | LVS_AUTOARRANGE);
  StoreIcon("Corbeille", 300, 400, "Software\\Ostrafen\\Deskplan\\800x600");
  winsim::SetIdleScript({StartUpSettles(), winsim::ChangeDisplayMode(800, 600), DisplayChangeSettles(),
                         winsim::CloseProgramWindow("Deskplan")});
  EXPECT_EQ(Run("/NOPROMPT"), 0);
  EXPECT_TRUE(winsim::MessageBoxes().empty()) << "the auto-arrange notice stays silent";
  EXPECT_EQ(Positions(desktop.listView), (Points{{300, 400}}));
}

TEST_F(Switches, NoversionFirstChoosesTheSharedAreaMethod) {
  Desktop({{"Corbeille", 10, 20}});
  winsim::SetOsVersion(winsim::WindowsNT4());
  EXPECT_EQ(Run("/NOVERSION /NOPROMPT /AUTOSAVE"), 0);
  EXPECT_EQ(winsim::CountCalls("CreateFileMappingA"), 1u);
  EXPECT_EQ(winsim::CountCalls("OpenProcess"), 0u);
  EXPECT_FALSE(winsim::RegistryKeyExists(HKEY_CURRENT_USER, kLayoutPath)) << "NT never hands the shell the area";
}

}  // namespace
