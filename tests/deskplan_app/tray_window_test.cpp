#include <gtest/gtest.h>

#include "program_world.h"

namespace {

using TrayWindow = ProgramWorld;
using Points = std::vector<std::pair<int, int>>;

TEST_F(TrayWindow, RestoreThatBreaksOffInTheWindowIsReportedAndTheTrayGoesOn) {
  auto desktop = Desktop({{"Corbeille", 10, 20}});
  StoreIcon("Corbeille", 300, 400);
  StoreIcon("Corbeille", 500, 600, "Software\\Ostrafen\\Deskplan\\800x600");
  bool stillRunning = false;
  // The wait before the restore only reads from the shell: the first copy
  // into it is the restore's own.
  RunTrayUntilClosed({[] { winsim::FailNext("WriteProcessMemory", ERROR_PARTIAL_COPY); },
                      winsim::ChangeDisplayMode(800, 600), DisplayChangeSettles(),
                      [&] { stillRunning = winsim::FindProgramWindow("Deskplan") != nullptr; },
                      winsim::ChangeDisplayMode(800, 600), DisplayChangeSettles()});
  EXPECT_TRUE(stillRunning);
  ASSERT_EQ(winsim::MessageBoxes().size(), 1u);
  EXPECT_EQ(winsim::MessageBoxes()[0].caption, "Erreur d'application");
  EXPECT_EQ(Positions(desktop.listView), (Points{{500, 600}})) << "the next change restores again";
  EXPECT_TRUE(NothingHeld());
}

TEST_F(TrayWindow, ClosingRestoresTheProgramManagerAndQuits) {
  Desktop({});
  EXPECT_EQ(RunTrayUntilClosed(), 0);
  auto shows = winsim::CallsTo("ShowWindow");
  ASSERT_FALSE(shows.empty());
  EXPECT_EQ(shows.back().detail, "Progman " + std::to_string(SW_RESTORE));
  EXPECT_FALSE(winsim::QuitPending());
}

}  // namespace
