// The sweep over the export: "/EXPORT" with its confirmation, quiet in legacy
// mode, and after a save on the same command line. Besides the common
// promises: a run that reports success (exit code 0, and the confirmation
// when one is shown) leaves a file that is exactly the export of what the
// registry holds; a run that ends with exit code 1 either put in place an
// incomplete export, every line of it one of the whole export's, and said so
// unless quiet, or failed: no confirmation, and no file but the earlier
// export of the day, whole. No temporary file holds part of an export.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>

#include "fault_sweep.h"
#include "winsim/files.h"
#include "winsim/shell_folders.h"

namespace {

const char kProductPath[] = "Software\\Ostrafen\\Deskplan";
const char kExportPath[] = "C:\\Users\\Marie\\Documents\\Deskplan_4.2.0.0_2026_12_07.reg";
const char kConfirmation[] = "Sauvegarde effectu\xE9" "e dans :\r\n";
const char kEarlierExport[] = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Ostrafen\\Deskplan]\r\n";

class ExportSweep : public FaultSweep {
 protected:
  // Every run gets a drive C: of its own, on 7 December 2026.
  void SetUp() override {
    FaultSweep::SetUp();
    RemoveDrive();
    std::string pattern = (std::filesystem::temp_directory_path() / "deskplan-sweep-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    drive_ = pattern;
    std::filesystem::create_directories(drive_ + "/Users/Marie/Documents");
    winsim::MapDrive('C', drive_);
    winsim::SetDocumentsFolder("C:\\Users\\Marie\\Documents");
    winsim::SetLocalTime(SYSTEMTIME{2026, 12, 1, 7, 9, 30, 0, 0});
  }
  void TearDown() override { RemoveDrive(); }

  void RemoveDrive() {
    std::error_code ignored;
    if (!drive_.empty()) std::filesystem::remove_all(drive_, ignored);
    drive_.clear();
  }

  // Where the export goes: the documents folder, or the root of the drive
  // when the shell could not name that folder.
  static std::string TargetPath() {
    auto names = winsim::CallsTo("GetTempFileNameA");
    return names.empty() ? std::string(kExportPath)
                         : names.front().detail + "Deskplan_4.2.0.0_2026_12_07.reg";
  }

  // The bytes of the export file; nothing when there is none.
  static std::optional<std::string> ExportFile(const std::string &path = TargetPath()) {
    std::ifstream file(winsim::HostPath(path), std::ios::binary);
    if (!file) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  }

  // Files on the drive with part of an export in them, but the target.
  std::string PartialFilesLeft() const {
    std::string left;
    const std::string target = winsim::HostPath(TargetPath());
    for (auto &entry : std::filesystem::recursive_directory_iterator(drive_))
      if (entry.is_regular_file() && entry.path().string() != target && entry.file_size() > 0 &&
          entry.path().string() != winsim::HostPath(kExportPath))
        left += entry.path().filename().string() + " ";
    return left;
  }

  static void PlaceEarlierExport() {
    std::ofstream file(winsim::HostPath(kExportPath), std::ios::binary);
    file << kEarlierExport;
  }

  static bool ConfirmationShown() {
    for (const auto &box : winsim::MessageBoxes())
      if (box.text == kConfirmation + TargetPath()) return true;
    return false;
  }
  static bool IncompleteNoticeShown() {
    const std::string start = "Sauvegarde incompl\xE8te dans :\r\n" + TargetPath() + "\r\n\r\n";
    for (const auto &box : winsim::MessageBoxes())
      if (box.text.compare(0, start.size(), start) == 0 && box.type == (MB_OK | MB_ICONWARNING)) return true;
    return false;
  }

  // Whether every line of `file` is a line of `whole`, in the same order.
  static bool LinesOf(const std::string &file, const std::string &whole) {
    std::string::size_type at = 0, from = 0;
    while (from < file.size()) {
      std::string::size_type end = file.find("\r\n", from);
      if (end == std::string::npos) return false;
      const std::string line = file.substr(from, end + 2 - from);
      while (at < whole.size() && whole.compare(at, line.size(), line) != 0) {
        at = whole.find("\r\n", at);
        if (at == std::string::npos) return false;
        at += 2;
      }
      if (at >= whole.size()) return false;
      at += line.size();
      from = end + 2;
    }
    return true;
  }

  // The export of the registry as it is now, rendered apart from the
  // program: the value lines of the mode's layout form (a legacy 0 is the
  // place of an icon at the top left corner), the others left out.
  static std::string ExpectedExport(bool legacy) {
    std::string text = legacy ? "REGEDIT4\r\n" : "Windows Registry Editor Version 5.00\r\n";
    text += "\r\n[HKEY_CURRENT_USER\\Software\\Ostrafen\\Deskplan]\r\n\"Version\"=\"4.2.0.0\"\r\n";
    for (const auto &layout : winsim::RegistrySubkeyNames(HKEY_CURRENT_USER, kProductPath)) {
      if (layout == "Options") continue;
      const std::string path = std::string(kProductPath) + "\\" + layout;
      text += "\r\n[HKEY_CURRENT_USER\\" + path + "]\r\n";
      for (const auto &name : winsim::RegistryValueNames(HKEY_CURRENT_USER, path)) {
        auto value = winsim::ReadRegistryValue(HKEY_CURRENT_USER, path, name);
        char digits[40] = {};
        const auto &d = value->data;
        if (!legacy && value->type == REG_BINARY && d.size() == 8) {
          std::snprintf(digits, sizeof digits, "%02x,%02x,%02x,%02x,%02x,%02x,%02x,%02x", d[0], d[1], d[2], d[3],
                        d[4], d[5], d[6], d[7]);
          text += "\"" + name + "\"=hex:" + digits + "\r\n";
        } else if (legacy && value->type == REG_DWORD && d.size() == 4) {
          unsigned packed = d[0] | d[1] << 8 | d[2] << 16 | static_cast<unsigned>(d[3]) << 24;
          std::snprintf(digits, sizeof digits, "%08X", packed);
          text += "\"" + name + "\"=dword:" + digits + "\r\n";
        }
      }
    }
    return text + "\r\n";
  }

  // The file and whether the confirmation was shown: equal to the fault-free
  // run's when the export was done.
  static std::string Effect(const winsim::ShellDesktop &) {
    auto file = ExportFile();
    return (file ? *file : std::string("(no file)")) + (ConfirmationShown() ? "|confirmed" : "|unconfirmed");
  }

  // The export's own promises; `earlier` is the file that was there before.
  std::function<std::string(int)> ExportVerdict(bool legacy, std::optional<std::string> earlier, bool confirms) {
    return [this, legacy, earlier, confirms](int exitCode) -> std::string {
      auto file = ExportFile();
      const std::string partial = PartialFilesLeft();
      if (!partial.empty()) return "part of an export left in " + partial;
      if (exitCode == 0) {
        if (!file) return "success reported without a file";
        if (*file != ExpectedExport(legacy)) return "success reported for a file that is not the whole export";
        if (!confirms && ConfirmationShown()) return "confirmation shown in quiet mode";
        if (IncompleteNoticeShown()) return "a whole export said to be incomplete";
        return "";
      }
      if (ConfirmationShown()) return "confirmation shown for an export that did not succeed";
      if (IncompleteNoticeShown() || (file && (!earlier || *file != *earlier))) {
        // An incomplete export, put in place.
        if (!file || !LinesOf(*file, ExpectedExport(legacy))) return "incomplete export with lines of its own";
        if (confirms && !IncompleteNoticeShown()) return "incomplete export not said to be";
        if (!confirms && IncompleteNoticeShown()) return "incomplete notice shown in quiet mode";
        return "";
      }
      if (earlier && file != earlier) return "a failed export did not leave the earlier one whole";
      return "";
    };
  }

  winsim::ShellDesktop StoreLayouts() {
    auto desktop = Desktop({{"Corbeille", 10, 20}, {"Notes", 30, 40}, {"Jeux", 50, 60}});
    StoreIcon("Corbeille", 300, 400);
    StoreIcon("Notes", -5, 6);
    StoreIcon("Poste de travail", 20, 30);
    winsim::SetRegistryValue(HKEY_CURRENT_USER, kLayoutPath, "Court", REG_BINARY, {1, 2, 3});
    StoreIcon("Corbeille", 1, 2, "Software\\Ostrafen\\Deskplan\\1280x1024");
    StoreIcon("Ic\xF4ne", 3, 4, "Software\\Ostrafen\\Deskplan\\1280x1024");
    winsim::SetRegistryDword(HKEY_CURRENT_USER, "Software\\Ostrafen\\Deskplan\\Options", "Automatique", 1);
    return desktop;
  }

  void ExpectNoFindings(const SweepReport &report) {
    EXPECT_GT(report.injectedCalls, 0);
    for (const auto &finding : report.findings) ADD_FAILURE() << finding;
  }

  std::string drive_;
};

TEST_F(ExportSweep, ExportWithItsConfirmation) {
  ExpectNoFindings(Sweep({"/EXPORT",
                          [&] {
                            auto desktop = StoreLayouts();
                            PlaceEarlierExport();
                            return desktop;
                          },
                          [&] { return Run("/EXPORT"); }, Effect, true,
                          ExportVerdict(false, std::string(kEarlierExport), true)}));
}

TEST_F(ExportSweep, ExportWhoseFileCannotBeRemoved) {
  ExpectNoFindings(Sweep({"/EXPORT, file not removable",
                          [&] {
                            auto desktop = StoreLayouts();
                            PlaceEarlierExport();
                            winsim::FailAlways("DeleteFileA", ERROR_SHARING_VIOLATION);
                            return desktop;
                          },
                          [&] { return Run("/NOPROMPT /EXPORT"); }, Effect, true,
                          ExportVerdict(false, std::string(kEarlierExport), false)}));
}

// On the Windows 9x family, without the replacing move: the earlier export
// steps aside while the new one takes its place.
TEST_F(ExportSweep, QuietExportInLegacyMode) {
  ExpectNoFindings(Sweep({"/NOVERSION /NOPROMPT /EXPORT",
                          [&] {
                            winsim::SetOsVersion(winsim::Windows98SE());
                            PlaceEarlierExport();
                            auto desktop = Desktop({{"Corbeille", 10, 20}});
                            const std::string layout = std::string(kProductPath) + "\\800x600";
                            winsim::SetRegistryDword(HKEY_CURRENT_USER, layout, "Corbeille", 0x00140010);
                            winsim::SetRegistryDword(HKEY_CURRENT_USER, layout, "En haut", 0);
                            winsim::SetRegistryDword(HKEY_CURRENT_USER, layout, "Notes", 0xFFFF0001);
                            StoreIcon("Binaire", 1, 2, "Software\\Ostrafen\\Deskplan\\800x600");
                            return desktop;
                          },
                          [&] { return Run("/NOVERSION /NOPROMPT /EXPORT"); }, Effect, true,
                          ExportVerdict(true, std::string(kEarlierExport), false)}));
}

TEST_F(ExportSweep, SaveThenExportOnOneCommandLine) {
  ExpectNoFindings(Sweep({"/NOPROMPT /AUTOSAVE /EXPORT", [&] { return StoreLayouts(); },
                          [&] { return Run("/NOPROMPT /AUTOSAVE /EXPORT"); }, Effect, false,
                          ExportVerdict(false, std::nullopt, false)}));
}

}  // namespace
