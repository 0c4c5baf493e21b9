// Where the export goes: the documents folder as the shell gives it, the
// local date in the name, and the confirmation that names the place.
#include <gtest/gtest.h>

#include "export_world.h"

namespace {

using ExportPlace = ExportWorld;

std::string Confirmation(const std::string &path) { return std::string("Sauvegarde effectu\xE9") + "e dans :\r\n" + path; }

TEST_F(ExportPlace, TheDocumentsFolderComesFromTheShellWhichGetsItsListBack) {
  Run("/EXPORT");
  EXPECT_EQ(winsim::CallSequence({"SHGetSpecialFolderLocation", "SHGetPathFromIDListA", "IMalloc::Free",
                                  "CreateFileA"}),
            (std::vector<std::string>{"SHGetSpecialFolderLocation", "SHGetPathFromIDListA", "IMalloc::Free",
                                      "CreateFileA"}));
  EXPECT_EQ(winsim::CallsTo("SHGetSpecialFolderLocation")[0].detail, std::to_string(CSIDL_PERSONAL));
  EXPECT_EQ(FilesOnDrive(), std::vector<std::string>{std::string("/Users/Marie/Documents/") + kExportName});
  EXPECT_TRUE(ExportLeftNothingHeld());
}

TEST_F(ExportPlace, TheNameCarriesTheLocalDate) {
  winsim::SetLocalTime(SYSTEMTIME{2027, 1, 2, 5, 0, 0, 1, 0});
  Run("/EXPORT");
  EXPECT_EQ(FileBytes("C:\\Users\\Marie\\Documents\\Deskplan_4.2.0.0_2027_01_05.reg"), kEmptyExport);
  EXPECT_EQ(winsim::MessageBoxes().at(0).text,
            Confirmation("C:\\Users\\Marie\\Documents\\Deskplan_4.2.0.0_2027_01_05.reg"));
}

TEST_F(ExportPlace, TrailingBackslashesOfTheFolderLeaveExactlyOne) {
  // As Wine gives it, and with more than one.
  for (const char *folder : {"C:\\Users\\Marie\\Documents\\", "C:\\Users\\Marie\\Documents\\\\\\"}) {
    SetUp();
    winsim::SetDocumentsFolder(folder);
    EXPECT_EQ(Run("/EXPORT"), 0) << folder;
    EXPECT_EQ(winsim::MessageBoxes().at(0).text, Confirmation(kExportPath)) << folder;
    EXPECT_EQ(FileBytes(), kEmptyExport) << folder;
  }
}

TEST_F(ExportPlace, ADriveRootAsDocumentsFolder) {
  const std::string driveD = drive_ + "/Users/Marie/D";
  std::filesystem::create_directories(driveD);
  winsim::MapDrive('D', driveD);
  winsim::SetDocumentsFolder("D:\\");
  EXPECT_EQ(Run("/EXPORT"), 0);
  EXPECT_EQ(winsim::MessageBoxes().at(0).text, Confirmation(std::string("D:\\") + kExportName));
  EXPECT_EQ(FilesOnDrive(), std::vector<std::string>{std::string("/Users/Marie/D/") + kExportName});
}

TEST_F(ExportPlace, WithoutADocumentsFolderTheFileGoesToTheRootOfTheCurrentDrive) {
  for (int way = 0; way < 2; ++way) {
    SetUp();
    if (way == 0) winsim::FailNext("SHGetSpecialFolderLocation", static_cast<unsigned>(E_FAIL));
    if (way == 1) winsim::SetDocumentsFolder("");  // a folder with no file-system path
    EXPECT_EQ(Run("/EXPORT"), 0) << way;
    EXPECT_EQ(winsim::CallsTo("GetTempFileNameA").at(0).detail, "\\") << "written beside its place, " << way;
    EXPECT_EQ(winsim::MessageBoxes().at(0).text, Confirmation(std::string("\\") + kExportName)) << way;
    EXPECT_EQ(FilesOnDrive(), std::vector<std::string>{std::string("/") + kExportName}) << way;
    EXPECT_TRUE(ExportLeftNothingHeld()) << way;
  }
}

TEST_F(ExportPlace, ASecondExportTheSameDayReplacesTheFirst) {
  StoreBinary("1024x768", "Corbeille", {1, 0, 0, 0, 2, 0, 0, 0});
  Run("/EXPORT");
  ASSERT_NE(FileBytes(), kEmptyExport);
  winsim::DeleteRegistryKey(HKEY_CURRENT_USER, std::string(kProductPath) + "\\1024x768");
  EXPECT_EQ(Run("/EXPORT"), 0);
  EXPECT_EQ(FileBytes(), kEmptyExport);
  EXPECT_EQ(FilesOnDrive().size(), 1u);
}

TEST_F(ExportPlace, QuietModeShowsNoConfirmationOnceSet) {
  EXPECT_EQ(Run("/NOPROMPT /EXPORT"), 0);
  EXPECT_TRUE(winsim::MessageBoxes().empty());
  EXPECT_EQ(FileBytes(), kEmptyExport);

  SetUp();
  EXPECT_EQ(Run("/EXPORT /NOPROMPT"), 0);
  EXPECT_EQ(winsim::MessageBoxes().size(), 1u) << "quiet only for what comes after it";
}

}  // namespace
