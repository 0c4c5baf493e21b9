#include "deskplan/app/export_registry_file.h"

#include <string>
#include <vector>

#include <windows.h>
#include <shlobj.h>

#include "deskplan/app/export_file_writer.h"
#include "deskplan/app/export_text.h"
#include "deskplan/app/program_state.h"
#include "deskplan/app/reg_ctrl.h"
#include "deskplan/app/show_notice.h"
#include "deskplan/app/special_folder_path.h"
#include "deskplan/layout/layout_name.h"

namespace {

const char kOptionsSubkey[] = "Options";
const char kProductKeyLine[] = "[HKEY_CURRENT_USER\\Software\\Ostrafen\\Deskplan";
const std::string::size_type kPositionDigits = 16;

std::string ExportFilePath() {
  SYSTEMTIME today = {};
  GetLocalTime(&today);
  return StripTrailingBackslashes(GetSpecialFolderPath(CSIDL_PERSONAL)) + "\\" + ExportFileName(today);
}

// The line of one layout value, or the empty text when the value does not
// have the form of this mode's layouts or its name cannot stand in a line.
std::string ValueLine(const std::string &keyPath, const std::string &name) {
  if (!FitsOnOneLine(name)) return std::string();
  if (!AppOptions.legacyMode) {
    const std::string digits = ReadRegBinaryHex(HKEY_CURRENT_USER, keyPath, name, "");
    return digits.size() == kPositionDigits ? HexValueLine(name, digits) : std::string();
  }
  const int32_t packed = ReadRegInteger(HKEY_CURRENT_USER, keyPath, name, 0);
  // 0 is the packed place of an icon at the top left corner. A value of
  // another type answers the default as well: asking again with another
  // default tells the two apart.
  if (packed == 0 && ReadRegInteger(HKEY_CURRENT_USER, keyPath, name, 1) != 0) return std::string();
  return DwordValueLine(name, packed);
}

bool WriteLayoutSection(ExportFileWriter &file, const std::string &layoutName) {
  if (!file.WriteLine("") || !file.WriteLine(std::string(kProductKeyLine) + "\\" + layoutName + "]")) return false;
  const std::string keyPath = LayoutKeyPath(layoutName);
  std::vector<std::string> valueNames;
  ReadRegValueNames(HKEY_CURRENT_USER, keyPath, valueNames);
  for (const std::string &name : valueNames) {
    const std::string line = ValueLine(keyPath, name);
    if (!line.empty() && !file.WriteLine(line)) return false;
  }
  return true;
}

bool WriteExport(ExportFileWriter &file) {
  if (!file.WriteLine(AppOptions.legacyMode ? "REGEDIT4" : "Windows Registry Editor Version 5.00") ||
      !file.WriteLine("") || !file.WriteLine(std::string(kProductKeyLine) + "]") ||
      !file.WriteLine("\"Version\"=\"4.2.0.0\""))
    return false;
  std::vector<std::string> layoutNames;
  ReadRegKeyNames(HKEY_CURRENT_USER, ProductKeyPath, layoutNames);
  for (const std::string &name : layoutNames) {
    // A layout whose name cannot stand in a key line is left out whole.
    if (name == kOptionsSubkey || !FitsOnOneLine(name)) continue;
    if (!WriteLayoutSection(file, name)) return false;
  }
  return file.WriteLine("") && file.Finish();
}

}  // namespace

bool ExportRegistryFile() {
  if (!RegKeyPresent(HKEY_CURRENT_USER, ProductKeyPath)) return true;
  const std::string path = ExportFilePath();
  ExportFileWriter file;
  if (!file.Create(path) || !WriteExport(file)) return false;
  ShowNotice(("Sauvegarde effectuée dans :\r\n" + path).c_str(), MB_OK, false);
  return true;
}
