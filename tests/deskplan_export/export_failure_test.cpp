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

TEST_F(ExportFailure, AFileThatCannotBeRemovedIsLeftEmpty) {
  StoreBinary("1024x768", "Corbeille", {1, 0, 0, 0, 2, 0, 0, 0});
  for (int failing = 0; failing < 7; ++failing) {
    SetUp();
    StoreBinary("1024x768", "Corbeille", {1, 0, 0, 0, 2, 0, 0, 0});
    winsim::FailNext("WriteFile", ERROR_DISK_FULL, failing);
    winsim::FailNext("DeleteFileA", ERROR_SHARING_VIOLATION);
    EXPECT_EQ(Run("/EXPORT"), 1) << "line " << failing;
    // Whatever was written is gone: the registry editor would refuse the file.
    EXPECT_TRUE(Exists(kExportPath)) << "line " << failing;
    EXPECT_EQ(FileBytes(), "") << "line " << failing;
    EXPECT_EQ(winsim::CallSequence({"SetEndOfFile", "CloseHandle", "DeleteFileA"}),
              (std::vector<std::string>{"SetEndOfFile", "CloseHandle", "DeleteFileA"}));
    EXPECT_TRUE(ExportLeftNothingHeld()) << "line " << failing;
  }
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

// A file that left out what could not be read would pass for the whole
// store: the export fails instead, with no file and exit code 1.
TEST_F(ExportFailure, LayoutsThatCannotBeReadFailTheExportAndLeaveNoFile) {
  struct Case {
    const char *function;
    int skip;
  };
  // The product key's presence (the last key opened before the file is
  // created), the layout list, a layout's value list, one value's type, one
  // value's data.
  StoreBinary("1024x768", "Corbeille", {1, 0, 0, 0, 2, 0, 0, 0});
  ASSERT_EQ(Run("/NOPROMPT /EXPORT"), 0);
  int presence = -1;
  for (const std::string &call : winsim::CallSequence({"RegOpenKeyExA", "CreateFileA"})) {
    if (call == "CreateFileA") break;
    ++presence;
  }
  ASSERT_GE(presence, 0);
  for (Case fault : {Case{"RegOpenKeyExA", presence}, Case{"RegEnumKeyExA", 0}, Case{"RegEnumValueA", 1},
                     Case{"RegQueryValueExA", 0}, Case{"RegQueryValueExA", 3}}) {
    SetUp();
    StoreBinary("1024x768", "Corbeille", {1, 0, 0, 0, 2, 0, 0, 0});
    StoreBinary("1024x768", "Poste de travail", {3, 0, 0, 0, 4, 0, 0, 0});
    winsim::FailNext(fault.function, ERROR_ACCESS_DENIED, fault.skip);
    EXPECT_EQ(Run("/EXPORT"), 1) << fault.function << " #" << fault.skip;
    EXPECT_TRUE(winsim::MessageBoxes().empty()) << fault.function << " #" << fault.skip;
    EXPECT_TRUE(FilesOnDrive().empty()) << fault.function << " #" << fault.skip;
    EXPECT_TRUE(ExportLeftNothingHeld()) << fault.function << " #" << fault.skip;
  }

  // A layout key that grants less than full access cannot be read whole either.
  SetUp();
  StoreBinary("1024x768", "Corbeille", {1, 0, 0, 0, 2, 0, 0, 0});
  winsim::DenyRegistryAccess(HKEY_CURRENT_USER, std::string(kProductPath) + "\\1024x768", KEY_SET_VALUE);
  EXPECT_EQ(Run("/NOPROMPT /EXPORT"), 1);
  EXPECT_TRUE(FilesOnDrive().empty());
}

TEST_F(ExportFailure, AValueGoneSinceTheListWasMadeIsLeftOutAndTheExportSucceeds) {
  StoreBinary("1024x768", "Corbeille", {1, 0, 0, 0, 2, 0, 0, 0});
  StoreBinary("1024x768", "Poste de travail", {3, 0, 0, 0, 4, 0, 0, 0});
  winsim::FailNext("RegQueryValueExA", ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(Run("/NOPROMPT /EXPORT"), 0);
  EXPECT_EQ(FileBytes(), std::string(kEmptyExport, 0, kEmptyExport.size() - 2) +
                             "\r\n[HKEY_CURRENT_USER\\Software\\Ostrafen\\Deskplan\\1024x768]\r\n"
                             "\"Poste de travail\"=hex:03,00,00,00,04,00,00,00\r\n\r\n");
}

TEST_F(ExportFailure, WithoutTheShellsAllocatorNoFolderIsAskedForAndNothingLeaks) {
  StoreBinary("1024x768", "Corbeille", {1, 0, 0, 0, 2, 0, 0, 0});
  winsim::FailNext("SHGetMalloc", 0x8007000E);
  EXPECT_EQ(Run("/NOPROMPT /EXPORT"), 0);
  EXPECT_EQ(winsim::CountCalls("SHGetSpecialFolderLocation"), 0u);
  // The folder is then unknown: the root of the current drive, as when the
  // shell cannot name it.
  EXPECT_TRUE(Exists("C:\\" + std::string(kExportName)));
  EXPECT_TRUE(ExportLeftNothingHeld());
}

}  // namespace
