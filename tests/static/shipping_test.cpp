// What a user installs: the version resources and manifests of the shipped
// programs, the installer's tables and the portable zip (built by
// scripts/package into the dist folder).
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sys/stat.h>

#include "msi_tables.h"
#include "pe_image.h"
#include "pe_resources.h"

namespace statics {
namespace {

const char kVersionTable[] = "040C04E4";  // French (France), Windows-1252
const char* const kSupportedOs[] = {
    "{e2011457-1546-43c5-a5fe-008deee3d3f0}",  // Vista
    "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",  // 7
    "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",  // 8
    "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",  // 8.1
    "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",  // 10 and 11
};

bool Required() {
  const char* all = std::getenv("DESKPLAN_REQUIRE_ALL_TESTS");
  const char* ci = std::getenv("CI");
  return (all != nullptr && std::string(all) == "1") || (ci != nullptr && std::string(ci) == "true");
}

bool Exists(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0;
}

long FileSize(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 ? static_cast<long>(info.st_size) : -1;
}

std::string ReadAll(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

#define REQUIRE_FILE(path, hint)                          \
  do {                                                    \
    if (!Exists(path)) {                                  \
      const std::string message = (path) + " is missing: " + (hint); \
      if (Required()) FAIL() << message;                  \
      GTEST_SKIP() << message;                            \
    }                                                     \
  } while (false)

struct Expected {
  const char* file;
  const char* version;
  const char* description;
  const char* internalName;
};

const Expected kPrograms[] = {
    {"Deskplan.exe", "4.2.0.0", "Deskplan - position des ic\xc3\xb4nes du bureau", "Deskplan"},
    {"Cleanslate.exe", "1.2.0.0", "Cleanslate - r\xc3\xa9initialisation du bureau", "Cleanslate"},
};

class VersionResource : public ::testing::TestWithParam<Expected> {};

TEST_P(VersionResource, NamesTheMakerVersionAndFileInFrench) {
  const Expected& expected = GetParam();
  const std::string path = std::string(DESKPLAN_WIN32_BIN) + "/" + expected.file;
  REQUIRE_FILE(path, "build the win32 preset first (scripts/build)");
  const VersionInfo info = ParseVersionInfo(FindResource(ReadAll(path), 16));
  ASSERT_TRUE(info.valid) << "no readable RT_VERSION resource in " << path;
  EXPECT_EQ(VersionText(info.fileVersionMs, info.fileVersionLs), expected.version);
  EXPECT_EQ(VersionText(info.productVersionMs, info.productVersionLs), expected.version);
  EXPECT_EQ(info.translation, 0x04E4040Cu) << "French (0x040C), code page 1252";
  ASSERT_EQ(info.strings.count(kVersionTable), 1u);
  const auto& strings = info.strings.at(kVersionTable);
  auto field = [&](const char* key) { return strings.count(key) ? strings.at(key) : std::string("<absent>"); };
  EXPECT_EQ(field("CompanyName"), "Ostrafen");
  EXPECT_EQ(field("FileDescription"), expected.description);
  EXPECT_EQ(field("FileVersion"), expected.version);
  EXPECT_EQ(field("ProductVersion"), expected.version);
  EXPECT_EQ(field("ProductName"), expected.internalName);
  EXPECT_EQ(field("InternalName"), expected.internalName);
  EXPECT_EQ(field("OriginalFilename"), expected.file);
  EXPECT_EQ(field("LegalCopyright"), "Copyright \xc2\xa9 2026 Ostrafen. Tous droits r\xc3\xa9serv\xc3\xa9s.");
}

TEST_P(VersionResource, ManifestDeclaresTheSystemsFromVistaToWindows11) {
  const std::string path = std::string(DESKPLAN_WIN32_BIN) + "/" + GetParam().file;
  REQUIRE_FILE(path, "build the win32 preset first (scripts/build)");
  PeImage image;
  image.bytes = ReadAll(path);
  const std::string manifest = EmbeddedManifest(image);
  ASSERT_FALSE(manifest.empty());
  EXPECT_NE(manifest.find("urn:schemas-microsoft-com:compatibility.v1"), std::string::npos);
  for (const char* id : kSupportedOs) {
    EXPECT_NE(manifest.find(std::string("<supportedOS Id=\"") + id + "\"/>"), std::string::npos) << id;
  }
  EXPECT_NE(manifest.find(std::string("version=\"") + GetParam().version + "\""), std::string::npos)
      << "the assembly's version is the program's";
}

INSTANTIATE_TEST_SUITE_P(Win32, VersionResource, ::testing::ValuesIn(kPrograms),
                         [](const ::testing::TestParamInfo<Expected>& info) {
                           return std::string(info.param.internalName);
                         });

TEST(DeskplanManifest, RunsAsInvokerWithCommonControls6AndDpiAwareness) {
  const std::string path = std::string(DESKPLAN_WIN32_BIN) + "/Deskplan.exe";
  REQUIRE_FILE(path, "build the win32 preset first (scripts/build)");
  PeImage image;
  image.bytes = ReadAll(path);
  const std::string manifest = EmbeddedManifest(image);
  EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);
  EXPECT_EQ(manifest.find("requireAdministrator"), std::string::npos);
  EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""), std::string::npos);
  EXPECT_NE(manifest.find("publicKeyToken=\"6595b64144ccf1df\""), std::string::npos);
  // System-aware before Windows 8.1, per-monitor from then on.
  EXPECT_NE(manifest.find("<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">true/pm</dpiAware>"),
            std::string::npos);
  EXPECT_NE(manifest.find("<dpiAwareness xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">"
                          "PerMonitorV2, PerMonitor</dpiAwareness>"),
            std::string::npos);
}

// --- the installer and the zip -------------------------------------------

class Package : public ::testing::Test {
 protected:
  void SetUp() override {
    REQUIRE_FILE(msi_, "run scripts/package");
    REQUIRE_FILE(std::string(DESKPLAN_WIN32_BIN) + "/Deskplan.exe", "build the win32 preset first (scripts/build)");
  }
  std::vector<MsiRow> Table(const std::string& name) {
    bool ok = false;
    const std::string text = CommandOutput(std::string(MSIINFO) + " export '" + msi_ + "' " + name, &ok);
    EXPECT_TRUE(ok) << "msiinfo export " << name;
    return ParseMsiTable(text);
  }
  static const MsiRow* Find(const std::vector<MsiRow>& rows, const std::string& column, const std::string& value) {
    for (const MsiRow& row : rows) {
      if (row.count(column) && row.at(column) == value) return &row;
    }
    return nullptr;
  }
  const std::string dist_ = DESKPLAN_DIST_DIR;
  const std::string msi_ = dist_ + "/Deskplan-4.2.0.0.msi";
};

TEST_F(Package, InstallerHoldsTheThreeFilesInProgramFilesOstrafenDeskplan) {
  const std::vector<MsiRow> files = Table("File");
  ASSERT_EQ(files.size(), 3u);
  const std::string bin = DESKPLAN_WIN32_BIN;
  const std::pair<const char*, std::string> expected[] = {{"Deskplan.exe", bin + "/Deskplan.exe"},
                                                          {"Cleanslate.exe", bin + "/Cleanslate.exe"},
                                                          {"Deskplan.chm", dist_ + "/Deskplan.chm"}};
  const std::vector<MsiRow> components = Table("Component");
  for (const auto& [name, source] : expected) {
    const MsiRow* file = Find(files, "FileName", name);
    ASSERT_NE(file, nullptr) << name;
    EXPECT_EQ(std::stol(file->at("FileSize")), FileSize(source)) << name << " is the file that was built";
    const MsiRow* component = Find(components, "Component", file->at("Component_"));
    ASSERT_NE(component, nullptr);
    EXPECT_EQ(component->at("Directory_"), "INSTALLDIR") << name;
  }
  const std::vector<MsiRow> directories = Table("Directory");
  const MsiRow* install = Find(directories, "Directory", "INSTALLDIR");
  ASSERT_NE(install, nullptr);
  EXPECT_EQ(install->at("DefaultDir"), "Deskplan");
  const MsiRow* maker = Find(directories, "Directory", install->at("Directory_Parent"));
  ASSERT_NE(maker, nullptr);
  EXPECT_EQ(maker->at("DefaultDir"), "Ostrafen");
  EXPECT_EQ(maker->at("Directory_Parent"), "ProgramFilesFolder");
}

TEST_F(Package, InstallerNamesProductVersionAndMakerForTheProgramsList) {
  std::map<std::string, std::string> properties;
  for (const MsiRow& row : Table("Property")) properties[row.at("Property")] = row.at("Value");
  EXPECT_EQ(properties["ProductName"], "Deskplan");
  EXPECT_EQ(properties["ProductVersion"], "4.2.0.0");
  EXPECT_EQ(properties["Manufacturer"], "Ostrafen");
  EXPECT_EQ(properties["ProductLanguage"], "1036");
  EXPECT_EQ(properties["ALLUSERS"], "1") << "installed for every user of the machine";
  EXPECT_EQ(properties["ARPPRODUCTICON"], "DeskplanIcon");
  EXPECT_FALSE(properties["UpgradeCode"].empty());
  const std::map<std::string, std::string> summary =
      ParseMsiSummary(CommandOutput(std::string(MSIINFO) + " suminfo '" + msi_ + "'"));
  EXPECT_EQ(summary.count("Author") ? summary.at("Author") : "", "Ostrafen");
  EXPECT_EQ(summary.count("Template") ? summary.at("Template").substr(0, 6) : "", "Intel;") << "a 32-bit package";
}

TEST_F(Package, ShortcutsOpenTheProgramsInTheirFolderAndLogOnOneIsOptional) {
  const std::vector<MsiRow> shortcuts = Table("Shortcut");
  ASSERT_EQ(shortcuts.size(), 4u);
  for (const char* name : {"Deskplan", "Aide de Deskplan", "Cleanslate"}) {
    bool found = false;
    for (const MsiRow& row : shortcuts) {
      if (row.at("Name") == name && row.at("Directory_") == "ProgramMenuDir") {
        found = true;
        // The help command opens Deskplan.chm by its bare name, from the current folder.
        EXPECT_EQ(row.at("WkDir"), "INSTALLDIR") << name;
      }
    }
    EXPECT_TRUE(found) << name;
  }
  const MsiRow* logOn = Find(shortcuts, "Directory_", "StartupFolder");
  ASSERT_NE(logOn, nullptr);
  EXPECT_EQ(logOn->at("Target"), "[INSTALLDIR]Deskplan.exe");
  const std::vector<MsiRow> features = Table("Feature");
  const MsiRow* optional = Find(features, "Feature", "Demarrage");
  ASSERT_NE(optional, nullptr);
  EXPECT_GT(std::stoi(optional->at("Level")), 1) << "not installed by default";
  const std::vector<MsiRow> conditions = Table("Condition");
  ASSERT_EQ(conditions.size(), 1u);
  EXPECT_EQ(conditions[0].at("Feature_"), "Demarrage");
  EXPECT_EQ(conditions[0].at("Level"), "1");
  EXPECT_EQ(conditions[0].at("Condition"), "DEMARRAGE");
}

TEST_F(Package, InstallerLeavesTheUsersRegistryAlone) {
  // Root 1 is HKEY_CURRENT_USER, -1 the user's or the machine's by ALLUSERS:
  // what the installer writes there it would also remove again.
  for (const MsiRow& row : Table("Registry")) {
    EXPECT_EQ(row.at("Root"), "2") << row.at("Key") << " is outside HKEY_LOCAL_MACHINE";
    EXPECT_EQ(row.at("Key").find("Software\\Ostrafen\\Deskplan\\"), std::string::npos) << row.at("Key");
  }
  EXPECT_EQ(CommandOutput(std::string(MSIINFO) + " tables '" + msi_ + "'").find("RemoveRegistry"), std::string::npos);
}

TEST_F(Package, PortableZipHoldsTheProgramsTheHelpAndAWindowsReadme) {
  const std::string zip = dist_ + "/Deskplan-4.2.0.0.zip";
  REQUIRE_FILE(zip, "run scripts/package");
  EXPECT_EQ(CommandOutput("unzip -Z1 '" + zip + "'"), "Deskplan.exe\nCleanslate.exe\nDeskplan.chm\nLISEZMOI.txt\n");
  EXPECT_EQ(CommandOutput("unzip -p '" + zip + "' Deskplan.exe"), ReadAll(std::string(DESKPLAN_WIN32_BIN) + "/Deskplan.exe"));
  const std::string readme = CommandOutput("unzip -p '" + zip + "' LISEZMOI.txt");
  ASSERT_FALSE(readme.empty());
  EXPECT_NE(readme.find("m\xe9morise la disposition des ic\xf4nes"), std::string::npos) << "Windows-1252 text";
  EXPECT_EQ(readme.find('\xc3'), std::string::npos) << "no UTF-8 sequence";
  for (std::size_t at = readme.find('\n'); at != std::string::npos; at = readme.find('\n', at + 1)) {
    ASSERT_TRUE(at > 0 && readme[at - 1] == '\r') << "line feed without carriage return at byte " << at;
  }
  EXPECT_EQ(readme.substr(readme.size() - 2), "\r\n");
}

TEST_F(Package, HelpIsACompiledHtmlHelpFile) {
  const std::string chm = ReadAll(dist_ + "/Deskplan.chm");
  ASSERT_GE(chm.size(), 4u);
  EXPECT_EQ(chm.substr(0, 4), "ITSF");
  for (const char* page : {"/html/index.htm", "/html/menu.htm", "/html/options.htm", "/html/ligne_de_commande.htm",
                           "/html/export.htm", "/html/dispositions.htm", "/html/cleanslate.htm",
                           "/html/depannage.htm", "/Deskplan.hhc", "/Deskplan.hhk"}) {
    EXPECT_NE(chm.find(page), std::string::npos) << page;
  }
}

// --- the readers themselves ----------------------------------------------

TEST(MsiinfoParsingTest, ReadsColumnsRowsAndSummaryFields) {
  const std::vector<MsiRow> rows = ParseMsiTable(
      "File\tComponent_\tFileName\tFileSize\n"
      "s72\ts72\tl255\ti4\n"
      "File\tFile\n"
      "DeskplanExe\tDeskplanProgram\tDeskplan.exe\t229376\n"
      "Empty\t\t\t\n");
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].at("FileName"), "Deskplan.exe");
  EXPECT_EQ(rows[0].at("FileSize"), "229376");
  EXPECT_EQ(rows[1].at("Component_"), "");
  EXPECT_TRUE(ParseMsiTable("Property\tValue\n").empty());
  const auto summary = ParseMsiSummary("Title: Installation Database\nAuthor: Ostrafen\nTemplate: Intel;1033\n");
  EXPECT_EQ(summary.at("Author"), "Ostrafen");
  EXPECT_EQ(summary.at("Template"), "Intel;1033");
}

// A VS_VERSIONINFO block built by hand: the walker must find the fixed
// versions, a string table and the translation, and refuse a bad signature.
std::string Utf16(const std::string& ascii) {
  std::string out;
  for (char c : ascii) out += std::string{c, '\0'};
  return out + std::string(2, '\0');
}
std::string Pad4(std::string bytes) {
  while (bytes.size() % 4) bytes += '\0';
  return bytes;
}
std::string Le16(unsigned v) { return std::string{static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)}; }
std::string Le32(unsigned v) { return Le16(v & 0xFFFF) + Le16(v >> 16); }
std::string NodeBytes(const std::string& key, const std::string& value, unsigned valueLength, unsigned type,
                      const std::string& children) {
  std::string head = Pad4(Le16(0) + Le16(valueLength) + Le16(type) + Utf16(key));
  std::string body = Pad4(head + value) + children;
  return Le16(static_cast<unsigned>(body.size())) + body.substr(2);
}

TEST(VersionParsingTest, ReadsFixedVersionsStringsAndTranslation) {
  std::string fixed = Le32(0xFEEF04BD) + Le32(0x10000) + Le32(0x00040002) + Le32(0x00000000) + Le32(0x00040002) +
                      Le32(0x00000001) + std::string(28, '\0');
  std::string entry = NodeBytes("CompanyName", Utf16("Ostrafen"), 9, 1, "");
  std::string table = NodeBytes("040C04E4", "", 0, 1, Pad4(entry));
  std::string stringInfo = NodeBytes("StringFileInfo", "", 0, 1, Pad4(table));
  std::string translation = NodeBytes("Translation", Le32(0x04E4040C), 4, 0, "");
  std::string varInfo = NodeBytes("VarFileInfo", "", 0, 1, Pad4(translation));
  std::string block = NodeBytes("VS_VERSION_INFO", fixed, 52, 0, Pad4(stringInfo) + Pad4(varInfo));
  const VersionInfo info = ParseVersionInfo(block);
  ASSERT_TRUE(info.valid);
  EXPECT_EQ(VersionText(info.fileVersionMs, info.fileVersionLs), "4.2.0.0");
  EXPECT_EQ(VersionText(info.productVersionMs, info.productVersionLs), "4.2.0.1");
  EXPECT_EQ(info.strings.at("040C04E4").at("CompanyName"), "Ostrafen");
  EXPECT_EQ(info.translation, 0x04E4040Cu);
  block[40 + 0] = 0;  // break the fixed-info signature
  EXPECT_FALSE(ParseVersionInfo(block).valid);
  EXPECT_FALSE(ParseVersionInfo("").valid);
  EXPECT_EQ(FindResource("not a PE image", 16), "");
}

}  // namespace
}  // namespace statics
