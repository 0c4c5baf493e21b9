#include <gtest/gtest.h>

#include "deskplan/app/program_state.h"
#include "winsim/machine.h"
#include "winsim/trace.h"
#include "winsim/ui.h"

namespace {

class Notice : public ::testing::Test {
 protected:
  void SetUp() override {
    winsim::Reset();
    ResetProgramState();
  }
};

TEST_F(Notice, ShowsAnOwnerlessBoxCaptionedDeskplan) {
  ShowNotice("Déjà actif.", MB_ICONINFORMATION, false);
  ASSERT_EQ(1u, winsim::MessageBoxes().size());
  EXPECT_EQ(nullptr, winsim::MessageBoxes()[0].owner);
  EXPECT_EQ("Déjà actif.", winsim::MessageBoxes()[0].text);
  EXPECT_EQ("Deskplan", winsim::MessageBoxes()[0].caption);
  EXPECT_EQ(static_cast<UINT>(MB_ICONINFORMATION), winsim::MessageBoxes()[0].type);
  EXPECT_EQ(0u, winsim::CountCalls("ExitProcess"));
}

TEST_F(Notice, EndsTheProgramAfterTheBoxEvenWhenQuiet) {
  EXPECT_EQ(0, winsim::RunProgram([] {
              ShowNotice("Fin.", MB_ICONWARNING, true);
              return 7;
            }));
  EXPECT_EQ((std::vector<std::string>{"MessageBoxA", "ExitProcess"}), winsim::CallSequence({"MessageBoxA", "ExitProcess"}));

  winsim::Reset();
  AppOptions.quiet = true;
  EXPECT_EQ(0, winsim::RunProgram([] {
              ShowNotice("Fin.", MB_ICONWARNING, true);
              return 7;
            }));
  EXPECT_TRUE(winsim::MessageBoxes().empty());
}

TEST_F(Notice, NoTextShowsNothing) {
  ShowNotice(nullptr, MB_ICONWARNING, false);
  ShowNotice("", MB_ICONWARNING, false);
  EXPECT_TRUE(winsim::MessageBoxes().empty());
}

}  // namespace
