// An export that cannot be written: no message, exit code 1, no file that
// looks like a whole export, and an earlier export of the day left whole. One
// that can be written but leaves out what it cannot read is put in place,
// counts as incomplete and says so.
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
  EXPECT_EQ(winsim::CountCalls("GetTempFileNameA"), 1u);
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
    EXPECT_EQ(winsim::CallSequence({"CloseHandle", "DeleteFileA", "MoveFileExA"}),
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

TEST_F(ExportFailure, AFileThatCannotBeRemovedIsLeftEmptyUnderItsTemporaryName) {
  for (int failing = 0; failing < 7; ++failing) {
    SetUp();
    StoreBinary("1024x768", "Corbeille", {1, 0, 0, 0, 2, 0, 0, 0});
    winsim::FailNext("WriteFile", ERROR_DISK_FULL, failing);
    winsim::FailNext("DeleteFileA", ERROR_SHARING_VIOLATION);
    EXPECT_EQ(Run("/EXPORT"), 1) << "line " << failing;
    // Whatever was written is gone: the registry editor would refuse the file.
    EXPECT_EQ(FilesOnDrive(), std::vector<std::string>{"/Users/Marie/Documents/Dsk1.TMP"}) << "line " << failing;
    EXPECT_EQ(FileBytes("C:\\Users\\Marie\\Documents\\Dsk1.TMP"), "") << "line " << failing;
    EXPECT_EQ(winsim::CallSequence({"SetEndOfFile", "CloseHandle", "DeleteFileA"}),
              (std::vector<std::string>{"SetEndOfFile", "CloseHandle", "DeleteFileA"}));
    EXPECT_TRUE(ExportLeftNothingHeld()) << "line " << failing;
  }
}

TEST_F(ExportFailure, AnEarlierExportOfTheDayStaysWholeWhateverStopsTheNextOne) {
  struct Case {
    const char *function;
    DWORD error;
    int skip;
  };
  for (Case fault : {Case{"WriteFile", ERROR_DISK_FULL, 0}, Case{"WriteFile", ERROR_DISK_FULL, 5},
                     Case{"MoveFileExA", ERROR_ACCESS_DENIED, 0},
                     Case{"GetTempFileNameA", ERROR_DISK_FULL, 0}, Case{"RegEnumKeyExA", ERROR_ACCESS_DENIED, 0}}) {
    SetUp();
    StoreBinary("1024x768", "Corbeille", {1, 0, 0, 0, 2, 0, 0, 0});
    ASSERT_EQ(Run("/NOPROMPT /EXPORT"), 0);
    const std::string earlier = FileBytes();
    StoreBinary("1024x768", "Poste de travail", {3, 0, 0, 0, 4, 0, 0, 0});
    winsim::FailNext(fault.function, fault.error, fault.skip);
    EXPECT_EQ(Run("/EXPORT"), 1) << fault.function << " #" << fault.skip;
    EXPECT_EQ(FileBytes(), earlier) << fault.function << " #" << fault.skip;
    EXPECT_EQ(FilesOnDrive().size(), 1u) << fault.function << " #" << fault.skip;
    EXPECT_TRUE(winsim::MessageBoxes().empty()) << fault.function << " #" << fault.skip;
    EXPECT_TRUE(ExportLeftNothingHeld()) << fault.function << " #" << fault.skip;
  }
}

// Where the system cannot replace a file by a rename, the earlier export
// steps aside first and comes back when the new one cannot take its place.
TEST_F(ExportFailure, WithoutTheReplacingMoveTheEarlierExportIsReplacedOrKept) {
  winsim::SetOsVersion(winsim::Windows98SE());
  StoreDword("800x600", "Corbeille", 0x001E0014);
  ASSERT_EQ(Run("/NOPROMPT /EXPORT"), 0) << "no earlier file: one rename";
  const std::string earlier = FileBytes();
  StoreDword("800x600", "Notes", 0x00050005);
  EXPECT_EQ(Run("/NOPROMPT /EXPORT"), 0);
  EXPECT_NE(FileBytes().find("\"Notes\"=dword:00050005"), std::string::npos);
  EXPECT_EQ(FilesOnDrive().size(), 1u);

  for (int failing : {1, 2}) {  // the earlier file's step aside, the new file's rename
    SetUp();
    winsim::SetOsVersion(winsim::Windows98SE());
    StoreDword("800x600", "Corbeille", 0x001E0014);
    ASSERT_EQ(Run("/NOPROMPT /EXPORT"), 0);
    StoreDword("800x600", "Notes", 0x00050005);
    winsim::FailNext("MoveFileA", ERROR_ACCESS_DENIED, failing);
    EXPECT_EQ(Run("/NOPROMPT /EXPORT"), 1) << failing;
    EXPECT_EQ(FileBytes(), earlier) << failing;
    EXPECT_EQ(FilesOnDrive().size(), 1u) << failing;
    EXPECT_TRUE(ExportLeftNothingHeld()) << failing;
  }
}

TEST_F(ExportFailure, LaterSwitchesStillRunAndTheCodeStaysOne) {
  Desktop({{"Corbeille", 10, 20}});
  winsim::FailNext("CreateFileA", ERROR_ACCESS_DENIED);
  EXPECT_EQ(Run("/NOPROMPT /EXPORT /AUTOSAVE /EXPORT"), 1);
  EXPECT_EQ(StoredNames(), std::vector<std::string>{"Corbeille"});
  EXPECT_TRUE(Exists(kExportPath)) << "the second export succeeded";
  EXPECT_EQ(winsim::CountCalls("CreateWindowExA"), 0u);
}

// One value or layout that cannot be read costs the user only that value
// or layout: the rest is exported, and the run says how much is missing.
TEST_F(ExportFailure, WhatCannotBeReadIsLeftOutCountedAndTheExportIsIncomplete) {
  struct Case {
    const char *function;
    int skip;
    const char *missing;
    const char *kept;
  };
  // A layout's value list, one value's type, one value's data.
  for (Case fault : {Case{"RegEnumValueA", 0, "1 disposition n'a pas pu \xEAtre lue ou \xE9" "crite et n'y figure pas.",
                          "1280x1024"},
                     Case{"RegQueryValueExA", 0, "1 valeur n'a pas pu \xEAtre lue ou \xE9" "crite et n'y figure pas.",
                          "Poste de travail"},
                     Case{"RegQueryValueExA", 3, "1 valeur n'a pas pu \xEAtre lue ou \xE9" "crite et n'y figure pas.",
                          "Corbeille"}}) {
    SetUp();
    StoreBinary("1024x768", "Corbeille", {1, 0, 0, 0, 2, 0, 0, 0});
    StoreBinary("1024x768", "Poste de travail", {3, 0, 0, 0, 4, 0, 0, 0});
    StoreBinary("1280x1024", "Notes", {5, 0, 0, 0, 6, 0, 0, 0});
    winsim::FailNext(fault.function, ERROR_ACCESS_DENIED, fault.skip);
    EXPECT_EQ(Run("/EXPORT"), 1) << fault.function << " #" << fault.skip;
    ASSERT_EQ(winsim::MessageBoxes().size(), 1u) << fault.function << " #" << fault.skip;
    EXPECT_EQ(winsim::MessageBoxes()[0].text,
              std::string("Sauvegarde incompl\xE8te dans :\r\n") + kExportPath + "\r\n\r\n" + fault.missing);
    EXPECT_NE(FileBytes().find(fault.kept), std::string::npos) << fault.function << " #" << fault.skip;
    EXPECT_TRUE(ExportLeftNothingHeld()) << fault.function << " #" << fault.skip;
  }

  // A layout key that grants less than full access, quietly: no notice, the
  // code still 1, the other layout in the file.
  SetUp();
  StoreBinary("1024x768", "Corbeille", {1, 0, 0, 0, 2, 0, 0, 0});
  StoreBinary("1280x1024", "Notes", {5, 0, 0, 0, 6, 0, 0, 0});
  winsim::DenyRegistryAccess(HKEY_CURRENT_USER, std::string(kProductPath) + "\\1024x768", KEY_SET_VALUE);
  EXPECT_EQ(Run("/NOPROMPT /EXPORT"), 1);
  EXPECT_TRUE(winsim::MessageBoxes().empty());
  EXPECT_EQ(FileBytes(), std::string(kEmptyExport, 0, kEmptyExport.size() - 2) +
                             "\r\n[HKEY_CURRENT_USER\\Software\\Ostrafen\\Deskplan\\1280x1024]\r\n"
                             "\"Notes\"=hex:05,00,00,00,06,00,00,00\r\n\r\n");
}

// A save that breaks off on a quiet command line shows nothing and does not
// hold up the switches after it: the export of the layout stored before runs.
TEST_F(ExportFailure, AQuietSaveThatBreaksOffStillLetsTheExportRun) {
  auto desktop = Desktop({{"Corbeille", 10, 20}, {"Notes", 30, 40}});
  StoreIcon("Ancien", 300, 400);
  winsim::SetListViewObserver(desktop.listView, [&](UINT message, WPARAM, LPARAM) {
    if (message == LVM_GETITEMA) winsim::EndProcess(desktop.processId);
  });
  EXPECT_EQ(Run("/NOPROMPT /AUTOSAVE /EXPORT"), 1);
  EXPECT_TRUE(winsim::MessageBoxes().empty());
  EXPECT_NE(FileBytes().find("\r\n\"Ancien\"=hex:2c,01,00,00,90,01,00,00\r\n"), std::string::npos) << FileBytes();
  EXPECT_TRUE(ExportLeftNothingHeld());
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
