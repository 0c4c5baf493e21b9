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
#include "common/little_endian.h"
#include "deskplan/layout/layout_name.h"

namespace {

const char kOptionsSubkey[] = "Options";
const char kProductKeyLine[] = "[HKEY_CURRENT_USER\\Software\\Ostrafen\\Deskplan";

std::string ExportFilePath() {
  SYSTEMTIME today = {};
  GetLocalTime(&today);
  return StripTrailingBackslashes(GetSpecialFolderPath(CSIDL_PERSONAL)) + "\\" + ExportFileName(today);
}

const DWORD kIconPositionSize = 8;
const DWORD kPackedPositionSize = 4;

std::string UpperHexDigits(const std::vector<BYTE> &data) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string text;
  for (BYTE byte : data) {
    text += kDigits[byte >> 4];
    text += kDigits[byte & 0x0F];
  }
  return text;
}

// The line of one layout value, or the empty text when the value does not
// have the form of this mode's layouts or its name cannot stand in a line. A
// legacy value of 0 is the packed place of an icon at the top left corner and
// is kept.
std::string ValueLine(const std::string &name, DWORD type, const std::vector<BYTE> &data) {
  if (!FitsOnOneLine(name)) return std::string();
  if (!AppOptions.legacyMode)
    return type == REG_BINARY && data.size() == kIconPositionSize ? HexValueLine(name, UpperHexDigits(data))
                                                                   : std::string();
  if (type != REG_DWORD || data.size() != kPackedPositionSize) return std::string();
  return DwordValueLine(name, GetInt32(data.data()));
}

// A layout that cannot be read whole fails the export: a file that leaves
// out what it could not read would pass for the whole store. A value gone
// since the list was made is no longer stored and is left out.
bool WriteLayoutSection(ExportFileWriter &file, const std::string &layoutName) {
  if (!file.WriteLine("") || !file.WriteLine(std::string(kProductKeyLine) + "\\" + layoutName + "]")) return false;
  const std::string keyPath = LayoutKeyPath(layoutName);
  std::vector<std::string> valueNames;
  if (ListRegValueNames(HKEY_CURRENT_USER, keyPath, valueNames) != ERROR_SUCCESS) return false;
  for (const std::string &name : valueNames) {
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
    LSTATUS status = ReadRegValueData(HKEY_CURRENT_USER, keyPath, name, type, data);
    if (status == ERROR_FILE_NOT_FOUND) continue;
    if (status != ERROR_SUCCESS) return false;
    const std::string line = ValueLine(name, type, data);
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
  if (ListRegKeyNames(HKEY_CURRENT_USER, ProductKeyPath, layoutNames) != ERROR_SUCCESS) return false;
  for (const std::string &name : layoutNames) {
    // A layout whose name cannot stand in a key line is left out whole.
    if (name == kOptionsSubkey || !FitsOnOneLine(name)) continue;
    if (!WriteLayoutSection(file, name)) return false;
  }
  return file.WriteLine("") && file.Finish();
}

}  // namespace

bool ExportRegistryFile() {
  // No product key, nothing to export; one that cannot be read is a failure.
  const LSTATUS present = OpenRegKeyStatus(HKEY_CURRENT_USER, ProductKeyPath);
  if (present == ERROR_FILE_NOT_FOUND) return true;
  if (present != ERROR_SUCCESS) return false;
  const std::string path = ExportFilePath();
  ExportFileWriter file;
  if (!file.Create(path) || !WriteExport(file)) return false;
  ShowNotice(("Sauvegarde effectuée dans :\r\n" + path).c_str(), MB_OK, false);
  return true;
}
