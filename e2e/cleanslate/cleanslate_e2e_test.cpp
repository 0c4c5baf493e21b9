// Cleanslate.exe end to end under Wine, each case in a Wine session of its
// own (own_session.sh): the keys it resets are prepared with reg.exe, a
// stand-in shell named "explorer.exe" runs, the boxes are read and answered
// through the helper, and Wine's registry is read back.
#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "../protocol/caption_escape.h"
#include "child_process.h"
#include "screenshot.h"
#include "wine_registry.h"
#include "wine_session.h"

namespace e2e {
namespace {

const char kAppearance[] = "HKEY_CURRENT_USER\\Control Panel\\Appearance";
const char kBags[] = "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\Shell\\Bags";
const char kBagMru[] = "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\Shell\\BagMRU";
const char kDesktopBag[] = "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\Shell\\Bags\\1\\Desktop";
// A key outside the user's hive that a link in the first tree leads to.
const char kLinkTarget[] = "HKEY_LOCAL_MACHINE\\Software\\CleanslateE2E\\Target";
const char kLinkTargetNative[] = "\\REGISTRY\\MACHINE\\Software\\CleanslateE2E\\Target";
const char kLinkKey[] = "Software\\Microsoft\\Windows\\Shell\\Bags\\2\\Outside";

const int kIdOk = 1;
const int kIdYes = 6;
const int kIdNo = 7;

const char kConfirmation[] =
    "Cleanslate 1.2.0.0 - Réinitialisation du bureau\r\n"
    "Compatible Windows XP-Vista-7 x86-x64\r\n"
    "\r\n"
    "Cet utilitaire permet de réinitialiser complètement le bureau\r\n"
    "et ses options. Les icônes du bureau ne sont pas supprimées,\r\n"
    "mais elles seront replacées à gauche de l'écran.\r\n"
    "\r\n"
    "Veuillez fermer les applications et enregister votre travail.\r\n"
    "La session en cours va être automatiquement fermée.\r\n"
    "\r\n"
    "Voulez-vous réinitialiser le bureau avec ses options par défaut ?";
const char kSuccess[] =
    "Le bureau a été réinitialisé avec succès !\r\n\r\n"
    "Déplacez une icône et appuyez sur la touche F5\r\n"
    "Appuyez sur Ok pour fermer ensuite la session.";
const char kFailurePrefix[] = "La réinitialisation a échoué avec le status :\r\n";

std::string Helper() { return Win64Program("cleanslate_helper.exe"); }

ProgramResult RunReg(const std::vector<std::string>& args) {
  std::vector<std::string> command = {WineLoaderFor("reg"), "reg"};
  command.insert(command.end(), args.begin(), args.end());
  return RunProgram(command, std::chrono::seconds(60));
}

bool AddKey(const std::string& key) { return RunReg({"add", key, "/f"}).exitCode == 0; }

// The text of the "Cleanslate" box once one shows (and differs from `not`).
bool WaitForBox(std::string& text, const std::string& notThis = "",
                std::chrono::milliseconds timeout = std::chrono::seconds(40)) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (std::chrono::steady_clock::now() < deadline) {
    ProgramResult reply = RunWin64(Helper(), {"box", "Cleanslate"}, std::chrono::seconds(20));
    std::string line = reply.output.substr(0, reply.output.find_first_of("\r\n"));
    // A box being made or taken down has no text yet.
    if (reply.exitCode == 0 && line.compare(0, 4, "box ") == 0 && UnescapeCaption(line.substr(4), text) &&
        !text.empty() && text != notThis)
      return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
  }
  return false;
}

bool Answer(int button) { return RunWin64(Helper(), {"answer", "Cleanslate", std::to_string(button)}).exitCode == 0; }

std::string ValueText(const RegKey& key, const std::string& name, bool& found) {
  const RegValue* value = key.Find(name);
  found = value != nullptr;
  return value ? value->data : "";
}

RegKey ReadKey(const std::string& path) {
  std::vector<RegKey> keys;
  std::string error;
  if (!ExportRegistryTree(path, keys, error) || keys.empty()) return RegKey{};
  return keys.front();
}

class CleanslateTest : public WineTest {
 protected:
  void SetUp() override {
    WineTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    ASSERT_EQ(0, access(Win64Program("Cleanslate.exe").c_str(), R_OK)) << "Cleanslate.exe is not built";
    ASSERT_EQ(0, access(Helper().c_str(), R_OK)) << "cleanslate_helper.exe is not built";
    StartStandInShell();
  }

  void TearDown() override {
    if (cleanslate_) cleanslate_->Kill();
    if (shell_) shell_->Kill();
    if (witness_) witness_->Kill();
  }

  // The keys the reset works on: the two values, both trees a few levels
  // deep, and the folder flags value to be replaced.
  void PrepareKeys(bool withFirstTree) {
    ASSERT_TRUE(AddRegValue(kAppearance, "Current", "REG_SZ", "Windows Standard"));
    ASSERT_TRUE(AddRegValue(kAppearance, "NewCurrent", "REG_SZ", "Bleu"));
    if (withFirstTree) {
      ASSERT_TRUE(AddRegValue(kDesktopBag, "FFlags", "REG_DWORD", "1"));
      ASSERT_TRUE(AddRegValue(std::string(kBags) + "\\1\\Shell\\{5C4F28B5}", "Mode", "REG_DWORD", "4"));
      ASSERT_TRUE(AddRegValue(std::string(kBags) + "\\2\\Shell\\{5C4F28B5}\\Deep", "Vid", "REG_SZ", "x"));
      ASSERT_TRUE(AddKey(std::string(kBags) + "\\AllFolders\\Shell"));
    }
    ASSERT_TRUE(AddRegValue(std::string(kBagMru) + "\\0\\1\\2", "NodeSlot", "REG_DWORD", "7"));
    ASSERT_TRUE(AddRegValue(kBagMru, "MRUListEx", "REG_BINARY", "00000000ffffffff"));
  }

  // A link in the first tree to a key outside the user's hive; false when
  // this Wine cannot make one.
  bool PrepareLink() {
    EXPECT_TRUE(AddRegValue(kLinkTarget, "Keep", "REG_SZ", "intact"));
    ProgramResult made = RunWin64(Helper(), {"link", kLinkKey, kLinkTargetNative});
    std::printf("link helper: exit %d, %s\n", made.exitCode, made.output.c_str());
    return made.exitCode == 0;
  }

  // The helper copied as "explorer.exe" into a folder of this test.
  void StartStandInShell() {
    char folder[] = "/tmp/cleanslate-shell.XXXXXX";
    ASSERT_NE(nullptr, mkdtemp(folder));
    shellPath_ = std::string(folder) + "/explorer.exe";
    std::ifstream from(Helper(), std::ios::binary);
    std::ofstream to(shellPath_, std::ios::binary);
    to << from.rdbuf();
    to.close();
    // Started by the helper, which reports its Windows exit code.
    shell_ = std::make_unique<ChildProcess>(WineCommand(Helper(), {"run", WindowsPath(shellPath_), "wait"}));
    shell_->CloseInput();
    std::string line;
    ASSERT_TRUE(shell_->ReadLine(line, std::chrono::seconds(30)));
    ASSERT_EQ(0u, line.find("started ")) << line;
  }

  // The stand-in shell's exit code, or -1 while it runs (up to the limit).
  int ShellExitCode(std::chrono::milliseconds timeout) {
    std::string line;
    if (!shell_->ReadLine(line, timeout)) return -1;
    unsigned long code = 0;
    return std::sscanf(line.c_str(), "exit %lu", &code) == 1 ? static_cast<int>(code) : -2;
  }

  void StartWitness() {
    witness_ = std::make_unique<ChildProcess>(WineCommand(Helper(), {"window"}));
    witness_->CloseInput();
    std::string line;
    ASSERT_TRUE(witness_->ReadLine(line, std::chrono::seconds(30)));
    ASSERT_EQ("ready", line);
  }

  void StartCleanslate() {
    cleanslate_ = std::make_unique<ChildProcess>(WineCommand(Win64Program("Cleanslate.exe"), {}));
    cleanslate_->CloseInput();
  }

  // Reads the confirmation, keeps its screenshot and answers it.
  void Confirm(int button, const std::string& screenshot) {
    std::string text;
    ASSERT_TRUE(WaitForBox(text)) << "no confirmation box";
    EXPECT_EQ(std::string(kConfirmation), text);
    EXPECT_NE("", TakeScreenshot(screenshot));
    ASSERT_TRUE(Answer(button));
  }

  std::unique_ptr<ChildProcess> shell_;
  std::unique_ptr<ChildProcess> witness_;
  std::unique_ptr<ChildProcess> cleanslate_;
  std::string shellPath_;
};

TEST_F(CleanslateTest, YesResetsTheDesktopEndsTheShellAndLogsOff) {
  PrepareKeys(true);
  const bool linked = PrepareLink();
  StartWitness();
  StartCleanslate();
  Confirm(kIdYes, "cleanslate_confirmation");

  std::string text;
  ASSERT_TRUE(WaitForBox(text, kConfirmation)) << "no box after the confirmation";
  EXPECT_EQ(std::string(kSuccess), text);
  EXPECT_NE("", TakeScreenshot("cleanslate_success"));

  // While the success box shows, the reset is done and the shell ended.
  bool found = false;
  RegKey appearance = ReadKey(kAppearance);
  EXPECT_EQ("", ValueText(appearance, "Current", found));
  EXPECT_TRUE(found);
  EXPECT_EQ("", ValueText(appearance, "NewCurrent", found));
  EXPECT_TRUE(found);
  RegKey desktop = ReadKey(kDesktopBag);
  const RegValue* flags = desktop.Find("FFlags");
  ASSERT_NE(nullptr, flags);
  EXPECT_EQ(4, flags->type);
  EXPECT_EQ(std::string("\x24\x02\x20\x00", 4), flags->data);
  EXPECT_TRUE(desktop.values.size() == 1) << "the first tree was recreated with old values";
  EXPECT_FALSE(RegKeyExists(std::string(kBags) + "\\2"));
  EXPECT_FALSE(RegKeyExists(std::string(kBags) + "\\AllFolders"));
  EXPECT_FALSE(RegKeyExists(kBagMru));
  if (linked) {
    RegKey target = ReadKey(kLinkTarget);
    ASSERT_NE(nullptr, target.Find("Keep")) << "the link's target was touched";
    EXPECT_EQ("intact", target.Find("Keep")->data);
  }
  EXPECT_EQ(4, ShellExitCode(std::chrono::seconds(10))) << "the stand-in shell did not end with code 4";

  // The log-off comes only once the success box is answered.
  EXPECT_EQ(-1, witness_->Wait(std::chrono::milliseconds(0))) << "the witness ended before the log-off";
  ASSERT_TRUE(Answer(kIdOk));
  const int code = cleanslate_->Wait(std::chrono::seconds(30));
  EXPECT_NE(-1, code) << "Cleanslate did not end";
  std::printf("Cleanslate's exit code after the log-off: %d\n", code);
  // The log-off ends every program of the session that has a window.
  EXPECT_NE(-1, witness_->Wait(std::chrono::seconds(20))) << "no log-off: the witness window still runs";
}

TEST_F(CleanslateTest, NoLeavesEverythingAsItWas) {
  PrepareKeys(true);
  StartCleanslate();
  Confirm(kIdNo, "cleanslate_no");
  EXPECT_EQ(0, cleanslate_->Wait(std::chrono::seconds(30)));
  bool found = false;
  EXPECT_EQ("Windows Standard", ValueText(ReadKey(kAppearance), "Current", found));
  EXPECT_TRUE(RegKeyExists(std::string(kBags) + "\\2\\Shell\\{5C4F28B5}\\Deep"));
  EXPECT_TRUE(RegKeyExists(std::string(kBagMru) + "\\0\\1\\2"));
  RegKey desktop = ReadKey(kDesktopBag);
  ASSERT_NE(nullptr, desktop.Find("FFlags"));
  EXPECT_EQ(std::string("\x01\x00\x00\x00", 4), desktop.Find("FFlags")->data);
  EXPECT_EQ(-1, ShellExitCode(std::chrono::milliseconds(500))) << "the stand-in shell was ended";
}

TEST_F(CleanslateTest, AMissingFirstTreeShowsTheFailureAndStops) {
  PrepareKeys(false);
  StartCleanslate();
  Confirm(kIdYes, "cleanslate_missing_tree_confirmation");
  std::string text;
  ASSERT_TRUE(WaitForBox(text, kConfirmation));
  EXPECT_NE("", TakeScreenshot("cleanslate_missing_tree"));
  ASSERT_EQ(0u, text.find(kFailurePrefix)) << text;
  const std::string systemText = text.substr(std::string(kFailurePrefix).size());
  std::printf("system text for error 2: %s\n", Windows1252ToUtf8(systemText).c_str());
  EXPECT_FALSE(systemText.empty());
  EXPECT_NE('.', systemText.back());
  ASSERT_TRUE(Answer(kIdOk));
  EXPECT_EQ(0, cleanslate_->Wait(std::chrono::seconds(30)));

  // The values were cleared before the trees; nothing after the first tree ran.
  bool found = false;
  EXPECT_EQ("", ValueText(ReadKey(kAppearance), "Current", found));
  EXPECT_TRUE(RegKeyExists(std::string(kBagMru) + "\\0\\1\\2"));
  EXPECT_FALSE(RegKeyExists(kDesktopBag));
  EXPECT_EQ(-1, ShellExitCode(std::chrono::milliseconds(500))) << "the stand-in shell was ended";
}

}  // namespace
}  // namespace e2e
