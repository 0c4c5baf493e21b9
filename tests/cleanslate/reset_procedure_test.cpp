// The whole program, from the confirmation to the log-off: what it changes,
// what it tells, and where it stops.
#include "cleanslate/reset_procedure.h"

#include "reset_world.h"
#include "winsim/security.h"

namespace {

const char kAppearance[] = "Control Panel\\Appearance";
const char kBags[] = "Software\\Microsoft\\Windows\\Shell\\Bags";
const char kBagMru[] = "Software\\Microsoft\\Windows\\Shell\\BagMRU";
const char kDesktopBag[] = "Software\\Microsoft\\Windows\\Shell\\Bags\\1\\Desktop";
const char kFailure[] = "La r\xE9initialisation a \xE9" "chou\xE9 avec le status :\r\n";
const char kSuccess[] =
    "Le bureau a \xE9t\xE9 r\xE9initialis\xE9 avec succ\xE8s !\r\n\r\nD\xE9placez une ic\xF4ne et appuyez sur la touche "
    "F5\r\nAppuyez sur Ok pour fermer ensuite la session.";
const char kShellNotEnded[] = "Explorer n'a pas pu \xEAtre ferm\xE9. Red\xE9marrez la session.";

class ResetProcedureTest : public ResetWorld {
 protected:
  void SetUp() override {
    ResetWorld::SetUp();
    winsim::SetRegistryString(HKEY_CURRENT_USER, kAppearance, "Current", "Windows Standard");
    winsim::SetRegistryString(HKEY_CURRENT_USER, kAppearance, "NewCurrent", "Bleu");
    winsim::SetRegistryDword(HKEY_CURRENT_USER, kDesktopBag, "FFlags", 1);
    winsim::CreateRegistryKey(HKEY_CURRENT_USER, std::string(kBags) + "\\2\\Shell\\{5C4F28B5}");
    winsim::CreateRegistryKey(HKEY_CURRENT_USER, std::string(kBagMru) + "\\0\\1");
    shell_ = winsim::AddProcess("explorer.exe", winsim::ProcessKind::Native64);
  }

  int Run(std::vector<int> answers) {
    winsim::AnswerMessageBoxes(answers);
    return winsim::RunProgram([] { return RunCleanslate(); });
  }

  static std::vector<std::string> BoxTexts() {
    std::vector<std::string> texts;
    for (auto &box : winsim::MessageBoxes()) texts.push_back(box.text);
    return texts;
  }

  static std::string Value(const std::string &path, const std::string &name) {
    auto value = winsim::ReadRegistryValue(HKEY_CURRENT_USER, path, name);
    return value ? std::string(value->data.begin(), value->data.end()) : "<none>";
  }

  void ExpectNothingAfterTheFailure() {
    EXPECT_FALSE(winsim::ProcessExitCode(shell_).has_value()) << "the shell was ended";
    EXPECT_TRUE(winsim::ExitWindowsCalls().empty()) << "the session was ended";
    EXPECT_TRUE(winsim::ShellChangeNotifications().empty());
  }

  DWORD shell_ = 0;
};

TEST_F(ResetProcedureTest, YesResetsEverythingEndsTheShellAndLogsOffAfterTheSuccessBox) {
  EXPECT_EQ(0, Run({IDYES, IDOK}));
  EXPECT_EQ(std::string(1, '\0'), Value(kAppearance, "Current"));
  EXPECT_EQ(std::string(1, '\0'), Value(kAppearance, "NewCurrent"));
  EXPECT_FALSE(KeyExists(std::string(kBags) + "\\2"));
  EXPECT_FALSE(KeyExists(kBagMru));
  EXPECT_EQ(std::string("\x24\x02\x20\x00", 4), Value(kDesktopBag, "FFlags"));
  EXPECT_EQ((std::vector<std::string>{"FFlags"}), winsim::RegistryValueNames(HKEY_CURRENT_USER, kDesktopBag));
  EXPECT_EQ(4u, winsim::ProcessExitCode(shell_).value_or(0));

  auto boxes = winsim::MessageBoxes();
  ASSERT_EQ(2u, boxes.size());
  EXPECT_EQ(0x24u, boxes[0].type);
  EXPECT_EQ(kSuccess, boxes[1].text);
  EXPECT_EQ(0x40u, boxes[1].type);
  EXPECT_EQ((std::vector<std::string>{"MessageBoxA", "TerminateProcess", "MessageBoxA", "SHChangeNotify",
                                      "ExitWindowsEx"}),
            winsim::CallSequence({"MessageBoxA", "TerminateProcess", "SHChangeNotify", "ExitWindowsEx"}));
  auto notifications = winsim::ShellChangeNotifications();
  ASSERT_EQ(1u, notifications.size());
  EXPECT_EQ(0x08000000, notifications[0].eventId);
  EXPECT_EQ(0u, notifications[0].flags);
  EXPECT_EQ(nullptr, notifications[0].item1);
  auto exits = winsim::ExitWindowsCalls();
  ASSERT_EQ(1u, exits.size());
  EXPECT_EQ(0u, exits[0].flags);
  EXPECT_EQ(0u, exits[0].reason);
}

TEST_F(ResetProcedureTest, NoChangesNothingAndAdjustsNoPrivilege) {
  EXPECT_EQ(0, Run({IDNO}));
  EXPECT_EQ(1u, winsim::MessageBoxes().size());
  EXPECT_EQ("Windows Standard", Value(kAppearance, "Current").substr(0, 16));
  EXPECT_TRUE(KeyExists(std::string(kBags) + "\\2\\Shell\\{5C4F28B5}"));
  EXPECT_EQ(0u, winsim::CountCalls("OpenProcessToken"));
  EXPECT_EQ(0u, winsim::CountCalls("AdjustTokenPrivileges"));
  EXPECT_EQ(0u, winsim::CountCalls("RegCreateKeyExA"));
  ExpectNothingAfterTheFailure();
}

TEST_F(ResetProcedureTest, TooOldASystemIsRefusedAfterTheConfirmation) {
  for (auto version : {winsim::WindowsNT4(), winsim::Windows98()}) {
    winsim::SetOsVersion(version);
    EXPECT_EQ(0, Run({IDYES}));
    auto boxes = winsim::MessageBoxes();
    ASSERT_EQ(2u, boxes.size());
    EXPECT_EQ("Le logiciel n'est pas compatible avec ce syst\xE8me d'exploitation.", boxes[1].text);
    EXPECT_EQ(0x40u, boxes[1].type);
    EXPECT_EQ(0u, winsim::CountCalls("RegCreateKeyExA"));
    EXPECT_EQ(0u, winsim::CountCalls("OpenProcessToken"));
    ExpectNothingAfterTheFailure();
    TearDown();
    SetUp();
  }
}

TEST_F(ResetProcedureTest, A32BitBuildUnderWow64NamesThe64BitViewEverywhere) {
  winsim::SetProgramProcessKind(winsim::ProcessKind::Wow64);
  EXPECT_EQ(0, Run({IDYES, IDOK}));
  EXPECT_FALSE(KeyExists(kBagMru));
  // Every key on the way of a write is asked whether it is a link; the three
  // written keys are also opened to write.
  auto creates = Details("RegCreateKeyExA");
  size_t written = 0;
  for (auto &detail : creates) {
    unsigned long mask = std::stoul(detail.substr(detail.rfind('|') + 1), nullptr, 16);
    EXPECT_TRUE(mask == 0x101 || mask == 0x20107) << detail;
    written += mask == 0x20107;
  }
  EXPECT_EQ(3u, written);
  for (auto &detail : Details("RegOpenKeyExA")) {
    unsigned long mask = std::stoul(detail.substr(detail.rfind('|') + 1), nullptr, 16);
    EXPECT_TRUE(mask & KEY_WOW64_64KEY) << detail;
  }
  EXPECT_EQ(0u, winsim::CountCalls("RegDeleteKeyA"));
  EXPECT_LT(0u, winsim::CountCalls("RegDeleteKeyExA"));
}

TEST_F(ResetProcedureTest, A64BitProcessUsesItsOwnView) {
  EXPECT_EQ(0, Run({IDYES, IDOK}));
  for (auto &detail : Details("RegCreateKeyExA")) {
    std::string mask = detail.substr(detail.rfind('|'));
    EXPECT_TRUE(mask == "|0x1" || mask == "|0x20007") << detail;
  }
  EXPECT_EQ(0u, winsim::CountCalls("RegDeleteKeyExA"));
}

TEST_F(ResetProcedureTest, AMissingFirstTreeShowsError2AndStops) {
  winsim::DeleteRegistryKey(HKEY_CURRENT_USER, kBags);
  EXPECT_EQ(0, Run({IDYES, IDOK}));
  auto boxes = winsim::MessageBoxes();
  ASSERT_EQ(2u, boxes.size());
  EXPECT_EQ(std::string(kFailure) + "Le fichier sp\xE9" "cifi\xE9 est introuvable", boxes[1].text);
  EXPECT_EQ(0x30u, boxes[1].type);
  EXPECT_TRUE(KeyExists(std::string(kBagMru) + "\\0\\1"));
  EXPECT_FALSE(KeyExists(kDesktopBag));
  ExpectNothingAfterTheFailure();
}

TEST_F(ResetProcedureTest, AMissingSecondTreeShowsError2AfterTheFirstIsGone) {
  winsim::DeleteRegistryKey(HKEY_CURRENT_USER, kBagMru);
  EXPECT_EQ(0, Run({IDYES, IDOK}));
  auto texts = BoxTexts();
  ASSERT_EQ(2u, texts.size());
  EXPECT_EQ(0u, texts[1].find(kFailure));
  EXPECT_FALSE(KeyExists(kBags));
  EXPECT_FALSE(KeyExists(kDesktopBag));
  ExpectNothingAfterTheFailure();
}

TEST_F(ResetProcedureTest, AValueThatCannotBeClearedIsReportedAndNothingElseIsDone) {
  winsim::FailNext("RegSetValueExA", ERROR_ACCESS_DENIED);
  EXPECT_EQ(0, Run({IDYES, IDOK}));
  auto texts = BoxTexts();
  ASSERT_EQ(2u, texts.size());
  EXPECT_EQ(std::string(kFailure) + "Acc\xE8s refus\xE9", texts[1]);
  EXPECT_TRUE(KeyExists(std::string(kBags) + "\\2"));
  ExpectNothingAfterTheFailure();
}

TEST_F(ResetProcedureTest, AFolderFlagsValueThatCannotBeWrittenIsReportedAndTheShellKeepsRunning) {
  winsim::FailNext("RegSetValueExA", ERROR_ACCESS_DENIED, 2);
  EXPECT_EQ(0, Run({IDYES, IDOK}));
  auto texts = BoxTexts();
  ASSERT_EQ(2u, texts.size());
  EXPECT_EQ(std::string(kFailure) + "Acc\xE8s refus\xE9", texts[1]);
  EXPECT_FALSE(KeyExists(kBagMru));
  EXPECT_EQ("<none>", Value(kDesktopBag, "FFlags"));
  ExpectNothingAfterTheFailure();
}

TEST_F(ResetProcedureTest, WithoutAShellTheWarningIsShownAndTheSessionStays) {
  winsim::Reset();
  ResetWorld::SetUp();
  winsim::CreateRegistryKey(HKEY_CURRENT_USER, kBags);
  winsim::CreateRegistryKey(HKEY_CURRENT_USER, kBagMru);
  EXPECT_EQ(0, Run({IDYES, IDOK}));
  auto boxes = winsim::MessageBoxes();
  ASSERT_EQ(2u, boxes.size());
  EXPECT_EQ(kShellNotEnded, boxes[1].text);
  EXPECT_EQ(0x30u, boxes[1].type);
  EXPECT_EQ(std::string("\x24\x02\x20\x00", 4), Value(kDesktopBag, "FFlags"));
  EXPECT_TRUE(winsim::ExitWindowsCalls().empty());
  EXPECT_TRUE(winsim::ShellChangeNotifications().empty());
}

TEST_F(ResetProcedureTest, AShellThatCannotBeEndedGivesTheWarningAndNoLogOff) {
  DWORD second = winsim::AddProcess("Explorer.EXE", winsim::ProcessKind::Native64);
  winsim::RefuseOpenProcess(second);
  EXPECT_EQ(0, Run({IDYES, IDOK}));
  EXPECT_EQ(kShellNotEnded, BoxTexts().back());
  EXPECT_EQ(4u, winsim::ProcessExitCode(shell_).value_or(0));
  EXPECT_TRUE(winsim::ExitWindowsCalls().empty());
}

TEST_F(ResetProcedureTest, TwoShellsInDifferentCaseAreBothEndedAndSuccessIsShownOnce) {
  DWORD second = winsim::AddProcess("EXPLORER.EXE", winsim::ProcessKind::Native64);
  EXPECT_EQ(0, Run({IDYES, IDOK}));
  EXPECT_EQ(4u, winsim::ProcessExitCode(shell_).value_or(0));
  EXPECT_EQ(4u, winsim::ProcessExitCode(second).value_or(0));
  EXPECT_EQ(2u, winsim::MessageBoxes().size());
  EXPECT_EQ(1u, winsim::ExitWindowsCalls().size());
}

TEST_F(ResetProcedureTest, AnUnanswerableWow64QuestionEndsInTheErrorBoxWithCode1) {
  winsim::FailNext("IsWow64Process", ERROR_INVALID_HANDLE);
  EXPECT_EQ(1, Run({IDYES}));
  auto boxes = winsim::MessageBoxes();
  ASSERT_EQ(2u, boxes.size());
  EXPECT_EQ("Erreur d'application", boxes[1].caption);
  EXPECT_EQ(static_cast<UINT>(MB_TASKMODAL | MB_ICONERROR), boxes[1].type);
  const std::string &text = boxes[1].text;
  EXPECT_EQ(0u, text.find("Exception ResetError dans le module Cleanslate.exe dans ")) << text;
  EXPECT_EQ(".\r\nBad 64 bit process handle.\r\n", text.substr(text.size() - 31)) << text;
  EXPECT_EQ(1u, winsim::CountCalls("AdjustTokenPrivileges"));
  EXPECT_EQ(0u, winsim::CountCalls("RegCreateKeyExA"));
  ExpectNothingAfterTheFailure();
}

TEST_F(ResetProcedureTest, AppearanceKeyThatIsALinkIsNotRepaired) {
  winsim::DeleteRegistryKey(HKEY_CURRENT_USER, kAppearance);
  winsim::CreateRegistryKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Ailleurs");
  winsim::CreateRegistryLink(HKEY_CURRENT_USER, kAppearance, HKEY_LOCAL_MACHINE, "SOFTWARE\\Ailleurs");
  EXPECT_EQ(0, Run({IDYES, IDOK}));
  for (auto &detail : Details("GetSecurityInfo")) EXPECT_EQ(std::string::npos, detail.find("Appearance")) << detail;
  for (auto &detail : Details("SetSecurityInfo")) EXPECT_EQ(std::string::npos, detail.find("Appearance")) << detail;
  // Nor written through: the write fails as a refused one, and the reset stops.
  EXPECT_TRUE(winsim::RegistryValueNames(HKEY_LOCAL_MACHINE, "SOFTWARE\\Ailleurs").empty());
  EXPECT_EQ(std::string(kFailure) + "Acc\xE8s refus\xE9", BoxTexts().back());
  EXPECT_TRUE(KeyExists(std::string(kBags) + "\\2"));
  ExpectNothingAfterTheFailure();
}

TEST_F(ResetProcedureTest, AnAppearanceKeySwappedForALinkBeforeItsRepairLeavesTheMachineKeyAsItWas) {
  const std::string other = "S-1-5-21-1-2-3-500";
  const std::vector<winsim::SecurityAce> rule{{ACCESS_ALLOWED_ACE_TYPE, 3, 0x001F01FF, other}};
  winsim::SetKeySecurity(HKEY_LOCAL_MACHINE, "SOFTWARE\\Ailleurs", other, rule, true);
  SwapForALinkAtTheRepair(kAppearance, "SOFTWARE\\Ailleurs");
  EXPECT_EQ(0, Run({IDYES, IDOK}));
  auto target = winsim::KeySecurityOf(HKEY_LOCAL_MACHINE, "SOFTWARE\\Ailleurs");
  EXPECT_EQ(other, target.owner);
  EXPECT_TRUE(target.daclProtected);
  EXPECT_EQ(rule, target.dacl);
  EXPECT_TRUE(winsim::RegistryValueNames(HKEY_LOCAL_MACHINE, "SOFTWARE\\Ailleurs").empty());
  EXPECT_EQ(std::string(kFailure) + "Acc\xE8s refus\xE9", BoxTexts().back());
}

TEST_F(ResetProcedureTest, ALinkInATreeToAMachineKeyLeavesThatKeyAsItWas) {
  winsim::CreateRegistryKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Policies\\Important");
  winsim::CreateRegistryLink(HKEY_CURRENT_USER, std::string(kBags) + "\\Lien", HKEY_LOCAL_MACHINE,
                             "SOFTWARE\\Policies");
  EXPECT_EQ(0, Run({IDYES, IDOK}));
  EXPECT_EQ(kSuccess, BoxTexts().back());
  EXPECT_FALSE(KeyExists(std::string(kBags) + "\\Lien"));
  EXPECT_TRUE(winsim::RegistryKeyExists(HKEY_LOCAL_MACHINE, "SOFTWARE\\Policies\\Important"));
  for (auto &detail : Details("SetSecurityInfo")) EXPECT_EQ(std::string::npos, detail.find("Lien")) << detail;
}

}  // namespace
