// Deskplan run with "/EXPORT" in a machine whose drive C: is a scratch folder
// of the test, on 7 December 2026, and readers of the file it leaves.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "deskplan/app/export_registry_file.h"
#include <shlobj.h>

#include "program_world.h"
#include "winsim/files.h"
#include "winsim/shell_folders.h"

const char kProductPath[] = "Software\\Ostrafen\\Deskplan";
const char kExportName[] = "Deskplan_4.2.0.0_2026_12_07.reg";
const char kExportPath[] = "C:\\Users\\Marie\\Documents\\Deskplan_4.2.0.0_2026_12_07.reg";

class ExportWorld : public ProgramWorld {
 protected:
  void SetUp() override {
    ProgramWorld::SetUp();
    TearDown();  // a test that starts over
    std::string pattern = (std::filesystem::temp_directory_path() / "deskplan-export-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    drive_ = pattern;
    std::filesystem::create_directories(drive_ + "/Users/Marie/Documents");
    winsim::MapDrive('C', drive_);
    winsim::SetDocumentsFolder("C:\\Users\\Marie\\Documents");
    winsim::SetLocalTime(SYSTEMTIME{2026, 12, 1, 7, 9, 30, 0, 0});
  }
  void TearDown() override {
    std::error_code ignored;
    if (!drive_.empty()) std::filesystem::remove_all(drive_, ignored);
    drive_.clear();
  }

  static std::vector<BYTE> Bytes(std::initializer_list<int> bytes) {
    std::vector<BYTE> data;
    for (int b : bytes) data.push_back(static_cast<BYTE>(b));
    return data;
  }
  static void StoreBinary(const std::string &layout, const std::string &name, std::initializer_list<int> bytes) {
    winsim::SetRegistryValue(HKEY_CURRENT_USER, std::string(kProductPath) + "\\" + layout, name, REG_BINARY,
                             Bytes(bytes));
  }
  static void StoreDword(const std::string &layout, const std::string &name, DWORD value) {
    winsim::SetRegistryDword(HKEY_CURRENT_USER, std::string(kProductPath) + "\\" + layout, name, value);
  }

  static bool Exists(const std::string &windowsPath) {
    return std::filesystem::exists(winsim::HostPath(windowsPath));
  }
  // The bytes of the file at a Windows path ("" when there is none).
  static std::string FileBytes(const std::string &windowsPath = kExportPath) {
    std::ifstream file(winsim::HostPath(windowsPath), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  }
  // Files in the folder that drive C: stands for, by path below it.
  std::vector<std::string> FilesOnDrive() const {
    std::vector<std::string> files;
    for (auto &entry : std::filesystem::recursive_directory_iterator(drive_))
      if (entry.is_regular_file()) files.push_back(entry.path().string().substr(drive_.size()));
    return files;
  }

  static bool ExportLeftNothingHeld() {
    return NothingHeld() && winsim::OpenFileCount() == 0 && winsim::LiveIdLists() == 0 &&
           winsim::ShellAllocatorReferences() == 0 && winsim::BadShellFrees() == 0;
  }

  std::string drive_;
};

// The file of an empty product key, line by line.
const std::string kEmptyExport =
    "Windows Registry Editor Version 5.00\r\n"
    "\r\n"
    "[HKEY_CURRENT_USER\\Software\\Ostrafen\\Deskplan]\r\n"
    "\"Version\"=\"4.2.0.0\"\r\n"
    "\r\n";
