// The export end to end: Deskplan.exe /EXPORT writes the stored layouts into
// the session's documents folder, Wine's reg.exe imports the file into an
// emptied registry, and the layouts are back, value for value.
#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/stat.h>

#include <cstdio>
#include <ctime>
#include <fstream>
#include <iterator>

#include "deskplan_harness.h"

namespace e2e {
namespace {

const char kSeparator[] = "\xA0____\xA0";

// "Deskplan_4.2.0.0_yyyy_mm_dd.reg" of the local date now.
std::string ExportNameToday() {
  const std::time_t now = std::time(nullptr);
  std::tm local = {};
  localtime_r(&now, &local);
  char name[64];
  std::snprintf(name, sizeof name, "Deskplan_4.2.0.0_%04d_%02d_%02d.reg", local.tm_year + 1900, local.tm_mon + 1,
                local.tm_mday);
  return name;
}

// The Linux folder behind the session user's documents folder.
std::string DocumentsFolder() {
  const std::string users = std::string(std::getenv("WINEPREFIX")) + "/drive_c/users";
  std::string found;
  if (DIR* dir = opendir(users.c_str())) {
    while (dirent* entry = readdir(dir)) {
      const std::string name = entry->d_name;
      if (name == "." || name == ".." || name == "Public") continue;
      found = users + "/" + name + "/Documents";
    }
    closedir(dir);
  }
  return found;
}

bool ReadFileBytes(const std::string& path, std::string& bytes) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return false;
  bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  return true;
}

// The file /EXPORT wrote today (a run close to midnight may carry either date).
bool ExportedFile(const std::string& nameBefore, std::string& path, std::string& bytes) {
  for (const std::string& name : {nameBefore, ExportNameToday()}) {
    path = DocumentsFolder() + "/" + name;
    if (ReadFileBytes(path, bytes)) return true;
  }
  return false;
}

ProgramResult ImportRegFile(const std::string& linuxPath) {
  return RunProgram({WineLoaderFor("reg"), "reg", "import", WindowsPath(linuxPath)}, std::chrono::seconds(60));
}

std::string Hex8(const std::string& data) {
  static const char digits[] = "0123456789abcdef";
  std::string text;
  for (unsigned char c : data) {
    if (!text.empty()) text += ",";
    text += digits[c >> 4];
    text += digits[c & 0x0F];
  }
  return text;
}

void ExpectSameValues(const RegKey& actual, const RegKey& expected) {
  ASSERT_EQ(actual.values.size(), expected.values.size()) << expected.path;
  for (const RegValue& value : expected.values) {
    const RegValue* found = actual.Find(value.name);
    ASSERT_NE(found, nullptr) << Windows1252ToUtf8(value.name);
    EXPECT_EQ(found->type, value.type) << Windows1252ToUtf8(value.name);
    EXPECT_EQ(found->data, value.data) << Windows1252ToUtf8(value.name);
  }
}

class DeskplanExportTest : public DeskplanTest {
 protected:
  void TearDown() override {
    if (!exported_.empty()) std::remove(exported_.c_str());
  }
  std::string exported_;
};

TEST_F(DeskplanExportTest, ExportedLayoutsComeBackThroughRegImportAndAutoloadPutsEveryIconBack) {
  TestShell shell;
  std::string error;
  ASSERT_TRUE(shell.Start(ShellStart::WithFixture("desktop_export.txt"), error)) << error;
  const std::string layoutName = SessionLayoutName(shell);
  const std::vector<ShellItem> saved = shell.Items();
  ASSERT_EQ(saved.size(), 9u);
  ASSERT_EQ(RunDeskplan({"/AUTOSAVE"}).result.exitCode, 0);
  const RegKey layout = ReadKey(LayoutKey(layoutName));
  ASSERT_EQ(layout.values.size(), saved.size());

  const std::string nameBefore = ExportNameToday();
  const DeskplanRun run = RunDeskplan({"/NOPROMPT", "/EXPORT"});
  ASSERT_FALSE(run.result.timedOut);
  EXPECT_EQ(run.result.exitCode, 0);
  std::string bytes;
  ASSERT_TRUE(ExportedFile(nameBefore, exported_, bytes)) << "no " << nameBefore << " in " << DocumentsFolder();
  std::ofstream(ArtifactsDir() + "/deskplan_export.reg", std::ios::binary) << bytes;

  // Every icon's line, in the order Wine enumerates the values; the names
  // written with the registry editor's escapes, the text in Windows-1252.
  std::string expected =
      "Windows Registry Editor Version 5.00\r\n\r\n"
      "[HKEY_CURRENT_USER\\Software\\Ostrafen\\Deskplan]\r\n"
      "\"Version\"=\"4.2.0.0\"\r\n\r\n"
      "[HKEY_CURRENT_USER\\Software\\Ostrafen\\Deskplan\\" +
      layoutName + "]\r\n";
  for (const RegValue& value : layout.values) expected += RegFileQuoted(value.name) + "=hex:" + Hex8(value.data) + "\r\n";
  expected += "\r\n";
  EXPECT_EQ(bytes, expected);
  // Written out by hand for the captions that need care.
  const ShellItem& quotes = saved[5];
  ASSERT_EQ(quotes.caption, "\"Guillemets\" \\ et \\\\");
  char line[160];
  std::snprintf(line, sizeof line,
                "\r\n\"\\\"Guillemets\\\" \\\\ et \\\\\\\\\"=hex:%02x,%02x,00,00,%02x,%02x,00,00\r\n",
                quotes.x & 0xFF, (quotes.x >> 8) & 0xFF, quotes.y & 0xFF, (quotes.y >> 8) & 0xFF);
  EXPECT_NE(bytes.find(line), std::string::npos) << line;
  EXPECT_NE(bytes.find(std::string("\r\n\"Notes") + kSeparator + "(1)\"=hex:"), std::string::npos);
  EXPECT_NE(bytes.find("\r\n\"C:\\\\Donn\xE9" "es\\\\\"=hex:"), std::string::npos);
  EXPECT_NE(bytes.find("\r\n\"\xC9t\xE9 \xE0\xA0la plage\"=hex:"), std::string::npos);

  ASSERT_TRUE(DeleteRegKey(kProductKey));
  ASSERT_FALSE(RegKeyExists(kProductKey));
  const ProgramResult import = ImportRegFile(exported_);
  ASSERT_FALSE(import.timedOut);
  EXPECT_EQ(import.exitCode, 0) << import.output;
  const RegValue* version = ReadKey(kProductKey).Find("Version");
  ASSERT_NE(version, nullptr);
  EXPECT_EQ(version->data, "4.2.0.0");
  ExpectSameValues(ReadKey(LayoutKey(layoutName)), layout);

  ScrambleIcons(shell);
  ASSERT_EQ(RunDeskplan({"/AUTOLOAD"}).result.exitCode, 0);
  ExpectSamePositions(shell.Items(), saved);
  EXPECT_EQ(shell.Quit(), 0);
}

TEST_F(DeskplanExportTest, Windows98WritesRegedit4WithEveryPackedPositionZeroIncluded) {
  const std::string layoutKey = LayoutKey("800x600");
  // (20, 30), the top left corner (0, 0), (-20, -10), and a caption with a
  // quote, a backslash, é and a no-break space.
  ASSERT_TRUE(AddRegValue(layoutKey, "Corbeille", "REG_DWORD", "0x001E0014"));
  ASSERT_TRUE(AddRegValue(layoutKey, "Coin", "REG_DWORD", "0"));
  ASSERT_TRUE(AddRegValue(layoutKey, "Dossier \"A\\B\" \xE9\xA0", "REG_DWORD", "0xFFF6FFEC"));
  ASSERT_TRUE(AddRegValue(kProductKey, "Version", "REG_SZ", "4.2.0.0"));
  const RegKey stored = ReadKey(layoutKey);
  ASSERT_EQ(stored.values.size(), 3u);

  const std::string nameBefore = ExportNameToday();
  {
    WineVersionFor win98("Deskplan.exe", "win98");
    ASSERT_TRUE(win98.Applied());
    const DeskplanRun run = RunDeskplan({"/NOPROMPT", "/EXPORT"});
    ASSERT_FALSE(run.result.timedOut);
    EXPECT_EQ(run.result.exitCode, 0);
  }
  std::string bytes;
  ASSERT_TRUE(ExportedFile(nameBefore, exported_, bytes)) << "no " << nameBefore << " in " << DocumentsFolder();
  std::ofstream(ArtifactsDir() + "/deskplan_export_win98.reg", std::ios::binary) << bytes;
  std::string expected =
      "REGEDIT4\r\n\r\n"
      "[HKEY_CURRENT_USER\\Software\\Ostrafen\\Deskplan]\r\n"
      "\"Version\"=\"4.2.0.0\"\r\n\r\n"
      "[HKEY_CURRENT_USER\\Software\\Ostrafen\\Deskplan\\800x600]\r\n";
  for (const RegValue& value : stored.values) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%08X", static_cast<unsigned>(Int32At(value.data, 0)));
    expected += RegFileQuoted(value.name) + "=dword:" + digits + "\r\n";
  }
  expected += "\r\n";
  EXPECT_EQ(bytes, expected);
  EXPECT_NE(bytes.find("\r\n\"Coin\"=dword:00000000\r\n"), std::string::npos);
  EXPECT_NE(bytes.find("\r\n\"Dossier \\\"A\\\\B\\\" \xE9\xA0\"=dword:FFF6FFEC\r\n"), std::string::npos);

  ASSERT_TRUE(DeleteRegKey(kProductKey));
  const ProgramResult import = ImportRegFile(exported_);
  ASSERT_FALSE(import.timedOut);
  EXPECT_EQ(import.exitCode, 0) << import.output;
  ExpectSameValues(ReadKey(layoutKey), stored);
}

// The files of the documents folder, by name.
std::vector<std::string> DocumentsFiles() {
  std::vector<std::string> names;
  if (DIR* dir = opendir(DocumentsFolder().c_str())) {
    while (dirent* entry = readdir(dir)) {
      const std::string name = entry->d_name;
      struct stat info;
      if (stat((DocumentsFolder() + "/" + name).c_str(), &info) == 0 && S_ISREG(info.st_mode)) names.push_back(name);
    }
    closedir(dir);
  }
  return names;
}

// A second export of the day whose file cannot be written past a few hundred
// bytes (the process's file size limit, the signal it raises ignored, so
// that the write fails as on a full disk): the run ends with 1 and shows
// nothing, and the first export of the day is still there, byte for byte.
TEST_F(DeskplanExportTest, AnEarlierExportOfTheDayStaysWholeAfterAFailedOne) {
  TestShell shell;
  std::string error;
  ASSERT_TRUE(shell.Start(ShellStart::WithFixture("desktop_fr.txt"), error)) << error;
  ASSERT_EQ(RunDeskplan({"/NOPROMPT", "/AUTOSAVE"}).result.exitCode, 0);
  const std::string nameBefore = ExportNameToday();
  ASSERT_EQ(RunDeskplan({"/NOPROMPT", "/EXPORT"}).result.exitCode, 0);
  std::string earlier;
  ASSERT_TRUE(ExportedFile(nameBefore, exported_, earlier));
  ASSERT_GT(earlier.size(), 600u);
  const std::vector<std::string> filesBefore = DocumentsFiles();

  std::vector<std::string> command = {"sh", "-c", "trap '' XFSZ; exec prlimit --fsize=400 -- \"$@\"", "sh"};
  for (const std::string& part : WineCommand(ProgramPath("Deskplan.exe"), {"/EXPORT"})) command.push_back(part);
  const ProgramResult limited = RunProgram(command, std::chrono::seconds(120));
  ASSERT_FALSE(limited.timedOut);
  EXPECT_EQ(limited.exitCode, 1) << limited.output;
  EXPECT_EQ(shell.Ask("box"), "error no-box") << "a failed export shows nothing";
  std::string now;
  ASSERT_TRUE(ReadFileBytes(exported_, now)) << "the earlier export is gone";
  EXPECT_EQ(now, earlier);
  EXPECT_EQ(DocumentsFiles(), filesBefore) << "no temporary file stayed";
  EXPECT_EQ(shell.Quit(), 0);
}

}  // namespace
}  // namespace e2e
