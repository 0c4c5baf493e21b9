// An export that cannot be written: no message, exit code 1, and no file
// that looks like a whole export.
#include <gtest/gtest.h>

#include "export_world.h"

namespace {

using ExportFailure = ExportWorld;

TEST_F(ExportFailure, AFileThatCannotBeCreatedEndsWithCodeOneAndNoMessage) {
  winsim::FailNext("CreateFileA", ERROR_ACCESS_DENIED);
  EXPECT_EQ(Run("/EXPORT"), 1);
  EXPECT_TRUE(winsim::MessageBoxes().empty());
  EXPECT_TRUE(FilesOnDrive().empty());
  EXPECT_TRUE(ExportLeftNothingHeld());

  // A documents folder that is not there on the disk.
  SetUp();
  winsim::SetDocumentsFolder("C:\\Users\\Paul\\Documents");
  EXPECT_EQ(Run("/EXPORT"), 1);
  EXPECT_TRUE(winsim::MessageBoxes().empty());
  EXPECT_EQ(winsim::CountCalls("CreateFileA"), 1u);
  EXPECT_TRUE(FilesOnDrive().empty());
}

TEST_F(ExportFailure, AFailedWriteRemovesWhatWasWrittenWhicheverLineItWas) {
  StoreBinary("1024x768", "Corbeille", {1, 0, 0, 0, 2, 0, 0, 0});
  StoreBinary("1024x768", "Poste de travail", {3, 0, 0, 0, 4, 0, 0, 0});
  const int lines = 9;
  for (int failing = 0; failing < lines; ++failing) {
    SetUp();
    StoreBinary("1024x768", "Corbeille", {1, 0, 0, 0, 2, 0, 0, 0});
    StoreBinary("1024x768", "Poste de travail", {3, 0, 0, 0, 4, 0, 0, 0});
    winsim::FailNext("WriteFile", ERROR_DISK_FULL, failing);
    EXPECT_EQ(Run("/EXPORT"), 1) << "line " << failing;
    EXPECT_EQ(winsim::CountCalls("WriteFile"), static_cast<size_t>(failing + 1)) << "ends at once";
    EXPECT_TRUE(winsim::MessageBoxes().empty()) << "line " << failing;
    EXPECT_TRUE(FilesOnDrive().empty()) << "line " << failing;
    // The handle goes first: an open file cannot be deleted.
    EXPECT_EQ(winsim::CallSequence({"CloseHandle", "DeleteFileA"}),
              (std::vector<std::string>{"CloseHandle", "DeleteFileA"}));
    EXPECT_TRUE(ExportLeftNothingHeld()) << "line " << failing;
  }
  // And with no failure the same export has exactly that many lines.
  SetUp();
  StoreBinary("1024x768", "Corbeille", {1, 0, 0, 0, 2, 0, 0, 0});
  StoreBinary("1024x768", "Poste de travail", {3, 0, 0, 0, 4, 0, 0, 0});
  EXPECT_EQ(Run("/EXPORT"), 0);
  EXPECT_EQ(winsim::CountCalls("WriteFile"), static_cast<size_t>(lines));
  EXPECT_EQ(winsim::CountCalls("DeleteFileA"), 0u);
}

TEST_F(ExportFailure, AnEarlierExportOfTheDayIsNotLeftLookingLikeThisOne) {
  StoreBinary("1024x768", "Corbeille", {1, 0, 0, 0, 2, 0, 0, 0});
  ASSERT_EQ(Run("/NOPROMPT /EXPORT"), 0);
  ASSERT_TRUE(Exists(kExportPath));
  winsim::FailNext("WriteFile", ERROR_DISK_FULL, 3);
  EXPECT_EQ(Run("/NOPROMPT /EXPORT"), 1);
  EXPECT_FALSE(Exists(kExportPath));
}

TEST_F(ExportFailure, LaterSwitchesStillRunAndTheCodeStaysOne) {
  Desktop({{"Corbeille", 10, 20}});
  winsim::FailNext("CreateFileA", ERROR_ACCESS_DENIED);
  EXPECT_EQ(Run("/NOPROMPT /EXPORT /AUTOSAVE /EXPORT"), 1);
  EXPECT_EQ(StoredNames(), std::vector<std::string>{"Corbeille"});
  EXPECT_TRUE(Exists(kExportPath)) << "the second export succeeded";
  EXPECT_EQ(winsim::CountCalls("CreateWindowExA"), 0u);
}

TEST_F(ExportFailure, UnreadableLayoutsAreLeftOutAndTheExportGoesOn) {
  StoreBinary("1024x768", "Corbeille", {1, 0, 0, 0, 2, 0, 0, 0});
  StoreBinary("1024x768", "Poste de travail", {3, 0, 0, 0, 4, 0, 0, 0});
  // The value list of the layout cannot be read.
  winsim::FailNext("RegEnumValueA", ERROR_ACCESS_DENIED);
  EXPECT_EQ(Run("/NOPROMPT /EXPORT"), 0);
  EXPECT_EQ(FileBytes(), std::string(kEmptyExport, 0, kEmptyExport.size() - 2) +
                             "\r\n[HKEY_CURRENT_USER\\Software\\Ostrafen\\Deskplan\\1024x768]\r\n\r\n");

  // One value cannot be read: only that one is left out.
  SetUp();
  StoreBinary("1024x768", "Corbeille", {1, 0, 0, 0, 2, 0, 0, 0});
  StoreBinary("1024x768", "Poste de travail", {3, 0, 0, 0, 4, 0, 0, 0});
  winsim::FailNext("RegQueryValueExA", ERROR_ACCESS_DENIED);
  EXPECT_EQ(Run("/NOPROMPT /EXPORT"), 0);
  EXPECT_EQ(FileBytes(), std::string(kEmptyExport, 0, kEmptyExport.size() - 2) +
                             "\r\n[HKEY_CURRENT_USER\\Software\\Ostrafen\\Deskplan\\1024x768]\r\n"
                             "\"Poste de travail\"=hex:03,00,00,00,04,00,00,00\r\n\r\n");

  // The layouts cannot be listed: no section.
  SetUp();
  StoreBinary("1024x768", "Corbeille", {1, 0, 0, 0, 2, 0, 0, 0});
  winsim::FailNext("RegEnumKeyExA", ERROR_ACCESS_DENIED);
  EXPECT_EQ(Run("/NOPROMPT /EXPORT"), 0);
  EXPECT_EQ(FileBytes(), kEmptyExport);
}

}  // namespace
