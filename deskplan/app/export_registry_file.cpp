#include "deskplan/app/export_registry_file.h"

#include <string>
#include <vector>

#include <windows.h>
#include <shlobj.h>

#include "common/little_endian.h"
#include "common/number_text.h"
#include "deskplan/app/export_file_writer.h"
#include "deskplan/app/export_text.h"
#include "deskplan/app/program_state.h"
#include "deskplan/app/reg_ctrl.h"
#include "deskplan/app/special_folder_path.h"
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

// Whether a value has the form of this mode's layout values; the others are
// no layout values and are left out without a trace.
bool HasLayoutForm(DWORD type, const std::vector<BYTE> &data) {
  if (!AppOptions.legacyMode) return type == REG_BINARY && data.size() == kIconPositionSize;
  return type == REG_DWORD && data.size() == kPackedPositionSize;
}

// The line of a layout value. A legacy value of 0 is the packed place of an
// icon at the top left corner and is kept.
std::string ValueLine(const std::string &name, const std::vector<BYTE> &data) {
  if (!AppOptions.legacyMode) return HexValueLine(name, UpperHexDigits(data));
  return DwordValueLine(name, GetInt32(data.data()));
}

// What the export had to leave out.
struct LeftOut {
  int values = 0;   // unreadable, or named so that no line can carry the name
  int layouts = 0;  // whole layouts: their values cannot be listed, or their name cannot stand in a key line
};

// A value or layout that cannot be read is left out and counted; a value gone
// since the list was made is no longer stored and is not missed. False only
// when the file could not be written.
bool WriteLayoutSection(ExportFileWriter &file, const std::string &layoutName, LeftOut &leftOut) {
  const std::string keyPath = LayoutKeyPath(layoutName);
  std::vector<std::string> valueNames;
  if (ListRegValueNames(HKEY_CURRENT_USER, keyPath, valueNames) != ERROR_SUCCESS) {
    ++leftOut.layouts;
    return true;
  }
  if (!file.WriteLine("") || !file.WriteLine(std::string(kProductKeyLine) + "\\" + layoutName + "]")) return false;
  for (const std::string &name : valueNames) {
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
    LSTATUS status = ReadRegValueData(HKEY_CURRENT_USER, keyPath, name, type, data);
    if (status == ERROR_FILE_NOT_FOUND) continue;
    if (status != ERROR_SUCCESS) {
      ++leftOut.values;
      continue;
    }
    if (!HasLayoutForm(type, data)) continue;
    if (!FitsOnOneLine(name)) {
      ++leftOut.values;
      continue;
    }
    if (!file.WriteLine(ValueLine(name, data))) return false;
  }
  return true;
}

// False when the file could not be written or the layouts could not be
// listed at all: such a file would hold none of them.
bool WriteExport(ExportFileWriter &file, LeftOut &leftOut) {
  if (!file.WriteLine(AppOptions.legacyMode ? "REGEDIT4" : "Windows Registry Editor Version 5.00") ||
      !file.WriteLine("") || !file.WriteLine(std::string(kProductKeyLine) + "]") ||
      !file.WriteLine("\"Version\"=\"4.2.0.0\""))
    return false;
  std::vector<std::string> layoutNames;
  if (ListRegKeyNames(HKEY_CURRENT_USER, ProductKeyPath, layoutNames) != ERROR_SUCCESS) return false;
  for (const std::string &name : layoutNames) {
    if (name == kOptionsSubkey) continue;
    if (!FitsOnOneLine(name)) {
      ++leftOut.layouts;
      continue;
    }
    if (!WriteLayoutSection(file, name, leftOut)) return false;
  }
  return file.WriteLine("") && file.Finish();
}

std::string Counted(int count, const char *one, const char *many) {
  return DecimalText(count) + (count == 1 ? one : many);
}

// "Sauvegarde incomplète dans : <path>" and what is missing from it.
std::string IncompleteText(const std::string &path, const LeftOut &leftOut) {
  std::string text = "Sauvegarde incomplète dans :\r\n" + path + "\r\n";
  if (leftOut.values > 0)
    text += "\r\n" + Counted(leftOut.values,
                              " valeur n'a pas pu être lue ou écrite et n'y figure pas.",
                              " valeurs n'ont pas pu être lues ou écrites et n'y figurent pas.");
  if (leftOut.layouts > 0)
    text += "\r\n" + Counted(leftOut.layouts,
                              " disposition n'a pas pu être lue ou écrite et n'y figure pas.",
                              " dispositions n'ont pas pu être lues ou écrites et n'y figurent pas.");
  return text;
}

}  // namespace

ExportOutcome ExportRegistryFile() {
  // No product key, nothing to export; one that cannot be read is a failure.
  const LSTATUS present = OpenRegKeyStatus(HKEY_CURRENT_USER, ProductKeyPath);
  if (present == ERROR_FILE_NOT_FOUND) return kExportComplete;
  if (present != ERROR_SUCCESS) return kExportFailed;
  const std::string path = ExportFilePath();
  ExportFileWriter file;
  LeftOut leftOut;
  if (!file.Create(path) || !WriteExport(file, leftOut)) return kExportFailed;
  if (leftOut.values > 0 || leftOut.layouts > 0) {
    ShowNotice(IncompleteText(path, leftOut).c_str(), MB_OK | MB_ICONWARNING, false);
    return kExportIncomplete;
  }
  ShowNotice(("Sauvegarde effectuée dans :\r\n" + path).c_str(), MB_OK, false);
  return kExportComplete;
}
