// Reading Wine's real registry from the tests, through Wine's own reg.exe:
// "reg query" for presence, "reg export" (a UTF-16 .reg file) for contents.
// Names and string data come back as the Windows-1252 bytes that the A
// functions see.
#pragma once

#include <string>
#include <vector>

namespace e2e {

struct RegValue {
  std::string name;  // empty for the default value
  int type = 0;      // REG_SZ = 1, REG_EXPAND_SZ = 2, REG_BINARY = 3, REG_DWORD = 4, REG_MULTI_SZ = 7 ...
  std::string data;  // text without its terminator for REG_SZ; raw bytes otherwise (strings as Windows-1252)
};

struct RegKey {
  std::string path;  // "HKEY_CURRENT_USER\Software\..."
  std::vector<RegValue> values;
  const RegValue* Find(const std::string& name) const;
};

// "HKEY_CURRENT_USER\Software\Ostrafen" and the like.
bool RegKeyExists(const std::string& key);
// The key and all its subkeys, in the export's order; false when the key
// does not exist or the export cannot be read.
bool ExportRegistryTree(const std::string& key, std::vector<RegKey>& keys, std::string& error);
// Adds a value with "reg add" (type "REG_SZ", "REG_DWORD"...), for arranging tests.
bool AddRegValue(const std::string& key, const std::string& name, const std::string& type, const std::string& data);

// Parses a .reg export (UTF-16LE with a byte order mark, or plain text).
bool ParseRegExport(const std::string& fileBytes, std::vector<RegKey>& keys, std::string& error);
std::string Utf16ToWindows1252(const std::u16string& text);
std::string Windows1252ToUtf8(const std::string& text);

}  // namespace e2e
