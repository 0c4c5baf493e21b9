// The installer under Wine: a quiet "msiexec /i" puts the programs, the help
// and the shortcuts in place and lists the product; the installed 32-bit
// Deskplan saves and restores the test desktop from there; "msiexec /x"
// removes all that and leaves the user's layouts. The help opens in Wine's
// HTML help viewer.
#include <gtest/gtest.h>

#include <glob.h>
#include <sys/stat.h>

#include <fstream>
#include <iterator>
#include <thread>

#include "deskplan_harness.h"

namespace e2e {
namespace {

const char kMsiName[] = "Deskplan-4.2.0.0.msi";
const char* const kInstalledFiles[] = {"Deskplan.exe", "Cleanslate.exe", "Deskplan.chm"};
const char* const kMenuShortcuts[] = {"Deskplan/Deskplan.lnk", "Deskplan/Aide de Deskplan.lnk",
                                      "Deskplan/Cleanslate.lnk"};
const char kLogOnShortcut[] = "StartUp/Deskplan.lnk";
const char* const kUninstallKeys[] = {"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall",
                                           "HKEY_LOCAL_MACHINE\\Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall"};

std::string DistPath(const std::string& name) { return std::string(DESKPLAN_DIST_DIR) + "/" + name; }

bool IsFile(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::string ReadAll(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::vector<std::string> Glob(const std::string& pattern) {
  std::vector<std::string> found;
  glob_t matches{};
  if (glob(pattern.c_str(), 0, nullptr, &matches) == 0) {
    for (std::size_t i = 0; i < matches.gl_pathc; ++i) found.push_back(matches.gl_pathv[i]);
  }
  globfree(&matches);
  return found;
}

std::string DriveC() { return std::string(std::getenv("WINEPREFIX")) + "/drive_c"; }

// The folder the package installs into: Program Files on a 32-bit system,
// its (x86) twin on a 64-bit one.
std::string InstallFolder() {
  for (const char* programFiles : {"Program Files (x86)", "Program Files"}) {
    const std::string folder = DriveC() + "/" + programFiles + "/Ostrafen/Deskplan";
    if (IsFile(folder + "/Deskplan.exe")) return folder;
  }
  return "";
}

// A per-machine shortcut lands in the common Start menu on Windows; Wine puts
// it in the user's own. Either counts.
bool ShortcutPresent(const std::string& relative) {
  const std::string programs = "/Microsoft/Windows/Start Menu/Programs/";
  if (IsFile(DriveC() + "/ProgramData" + programs + relative)) return true;
  return !Glob(DriveC() + "/users/*/AppData/Roaming" + programs + relative).empty();
}

// The installed-programs entry of the product, or an empty key.
RegKey ProgramsListEntry() {
  for (const char* root : kUninstallKeys) {
    std::vector<RegKey> keys;
    std::string error;
    if (!ExportRegistryTree(root, keys, error)) continue;
    for (const RegKey& key : keys) {
      const RegValue* name = key.Find("DisplayName");
      if (name != nullptr && name->data == "Deskplan") return key;
    }
  }
  return RegKey{};
}

ProgramResult Msiexec(const std::vector<std::string>& args) {
  std::vector<std::string> command = {"msiexec"};
  command.insert(command.end(), args.begin(), args.end());
  return RunWin64(command[0], std::vector<std::string>(command.begin() + 1, command.end()), std::chrono::seconds(120));
}

// Whether this machine runs 32-bit code under Wine: Wine's 32-bit loader must
// be installed and must start (the kernel may refuse i386 programs).
bool Runs32BitCode(std::string& why) {
  const char* loader = "/usr/lib/wine/wine";
  if (!IsFile(loader)) {
    why = std::string(loader) + " is missing (no wine32 package)";
    return false;
  }
  const ProgramResult version = RunProgram({loader, "--version"}, std::chrono::seconds(30));
  if (version.exitCode != 0) {
    why = std::string(loader) + " --version did not run (exit code " + std::to_string(version.exitCode) + ")";
    return false;
  }
  return true;
}

// Runs an installed 32-bit program under Wine's 32-bit support, from its own
// folder (as the shortcuts start it).
ProgramResult RunInstalled32(const std::string& program, const std::vector<std::string>& args) {
  std::vector<std::string> command = {"env", "-u", "WINELOADER", "/usr/bin/wine", WindowsPath(program)};
  command.insert(command.end(), args.begin(), args.end());
  return RunProgram(command, std::chrono::seconds(120));
}

class PackageTest : public DeskplanTest {
 protected:
  void SetUp() override {
    DeskplanTest::SetUp();
    if (HasFatalFailure() || IsSkipped()) return;
    if (!IsFile(DistPath(kMsiName))) {
      const std::string hint = DistPath(kMsiName) + " is missing: run scripts/package";
      if (WineSessionRequired()) FAIL() << hint;
      GTEST_SKIP() << hint;
    }
    msi_ = WindowsPath(DistPath(kMsiName));
  }
  void TearDown() override {
    if (installed_) Msiexec({"/x", msi_, "/qn"});
  }
  void Install(const std::vector<std::string>& properties) {
    std::vector<std::string> args = {"/i", msi_, "/qn"};
    args.insert(args.end(), properties.begin(), properties.end());
    const ProgramResult install = Msiexec(args);
    ASSERT_FALSE(install.timedOut);
    ASSERT_EQ(install.exitCode, 0) << install.output;
    installed_ = true;
  }
  void Uninstall() {
    const ProgramResult remove = Msiexec({"/x", msi_, "/qn"});
    ASSERT_FALSE(remove.timedOut);
    ASSERT_EQ(remove.exitCode, 0) << remove.output;
    installed_ = false;
  }
  std::string msi_;
  bool installed_ = false;
};

TEST_F(PackageTest, QuietInstallPutsFilesShortcutsAndEntryInPlaceAndRemovalKeepsTheLayouts) {
  // The user's stored state before the package comes and goes.
  const std::string layout = LayoutKey("1280x1024");
  ASSERT_TRUE(AddRegValue(layout, "Corbeille", "REG_BINARY", "140000001e000000"));
  ASSERT_TRUE(AddRegValue(std::string(kProductKey) + "\\Options", "Automatique", "REG_DWORD", "0"));

  Install({"DEMARRAGE=1"});
  const std::string folder = InstallFolder();
  ASSERT_FALSE(folder.empty()) << "Deskplan.exe is not under Program Files\\Ostrafen\\Deskplan";
  for (const char* name : kInstalledFiles) {
    const std::string source = std::string(name) == "Deskplan.chm" ? DistPath(name)
                                                                     : std::string(DESKPLAN_WIN32_BIN) + "/" + name;
    EXPECT_EQ(ReadAll(folder + "/" + name), ReadAll(source)) << name << " is the shipped file";
  }
  for (const char* shortcut : kMenuShortcuts) EXPECT_TRUE(ShortcutPresent(shortcut)) << shortcut;
  EXPECT_TRUE(ShortcutPresent(kLogOnShortcut)) << "asked for with DEMARRAGE=1";

  const RegKey entry = ProgramsListEntry();
  ASSERT_FALSE(entry.path.empty()) << "no installed-programs entry named Deskplan";
  const RegValue* version = entry.Find("DisplayVersion");
  const RegValue* publisher = entry.Find("Publisher");
  ASSERT_NE(version, nullptr);
  ASSERT_NE(publisher, nullptr);
  EXPECT_EQ(version->data, "4.2.0.0");
  EXPECT_EQ(publisher->data, "Ostrafen");

  Uninstall();
  EXPECT_TRUE(InstallFolder().empty());
  for (const char* name : kInstalledFiles) {
    EXPECT_TRUE(Glob(DriveC() + "/Program Files*/Ostrafen/Deskplan/" + name).empty()) << name << " is left";
  }
  for (const char* shortcut : kMenuShortcuts) EXPECT_FALSE(ShortcutPresent(shortcut)) << shortcut;
  EXPECT_FALSE(ShortcutPresent(kLogOnShortcut));
  EXPECT_TRUE(ProgramsListEntry().path.empty());

  const RegKey kept = ReadKey(layout);
  const RegValue* icon = kept.Find("Corbeille");
  ASSERT_NE(icon, nullptr) << "the user's layout went with the package";
  EXPECT_EQ(icon->data, std::string("\x14\0\0\0\x1e\0\0\0", 8));
  EXPECT_TRUE(RegKeyExists(std::string(kProductKey) + "\\Options"));
}

TEST_F(PackageTest, LogOnShortcutOnlyWhenAskedFor) {
  Install({});
  for (const char* shortcut : kMenuShortcuts) EXPECT_TRUE(ShortcutPresent(shortcut)) << shortcut;
  EXPECT_FALSE(ShortcutPresent(kLogOnShortcut));
  Uninstall();
}

TEST_F(PackageTest, InstalledDeskplanSavesAndRestoresTheTestDesktopFromItsFolder) {
  std::string why;
  if (!Runs32BitCode(why)) {
    const std::string notice = "NOT RUN: this machine cannot run 32-bit code under Wine (" + why +
                               "); the installed 32-bit programs were not started";
    std::printf("\n*** %s ***\n\n", notice.c_str());
    RecordProperty("notice", notice);
    GTEST_SKIP() << notice;
  }
  Install({});
  const std::string folder = InstallFolder();
  ASSERT_FALSE(folder.empty());

  TestShell shell;
  std::string error;
  ASSERT_TRUE(shell.Start(ShellStart::WithFixture("desktop_fr.txt"), error)) << error;
  const std::string name = SessionLayoutName(shell);
  const std::vector<ShellItem> saved = shell.Items();
  ASSERT_FALSE(saved.empty());

  const ProgramResult save = RunInstalled32(folder + "/Deskplan.exe", {"/AUTOSAVE"});
  ASSERT_FALSE(save.timedOut);
  EXPECT_EQ(save.exitCode, 0);
  const RegKey layout = ReadKey(LayoutKey(name));
  ASSERT_EQ(layout.values.size(), saved.size()) << "the installed 32-bit Deskplan saved no layout " << name;

  ScrambleIcons(shell);
  const ProgramResult load = RunInstalled32(folder + "/Deskplan.exe", {"/AUTOLOAD"});
  ASSERT_FALSE(load.timedOut);
  EXPECT_EQ(load.exitCode, 0);
  ExpectSamePositions(shell.Items(), saved);
  EXPECT_FALSE(TakeScreenshot("package_installed_restored").empty());
  EXPECT_EQ(shell.Quit(), 0);

  Uninstall();
  EXPECT_EQ(ReadKey(LayoutKey(name)).values.size(), saved.size()) << "the layout stays after removal";
}

// The viewer names its window after the help's own window definition
// ("Aide de Deskplan"), so the window proves that the file was read. What it
// shows inside depends on Wine's HTML engine (see docs/wine-notes.md).
TEST_F(PackageTest, HelpOpensInWinesHtmlHelpViewer) {
  const std::string chm = DistPath("Deskplan.chm");
  ASSERT_TRUE(IsFile(chm));
  ChildProcess viewer(WineCommand("hh.exe", {WindowsPath(chm)}));
  ASSERT_TRUE(viewer.Started());
  viewer.CloseInput();
  bool shown = false;
  for (int i = 0; i < 60 && !shown; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    const ProgramResult search = RunProgram({"xdotool", "search", "--onlyvisible", "--name", "^Aide de Deskplan$"},
                                            std::chrono::seconds(10));
    shown = search.exitCode == 0 && !search.output.empty();
  }
  EXPECT_TRUE(shown) << "no visible window \"Aide de Deskplan\"";
  std::this_thread::sleep_for(std::chrono::seconds(2));
  EXPECT_FALSE(TakeScreenshot("help_viewer").empty());
  viewer.Kill();
}

}  // namespace
}  // namespace e2e
