#include "deskplan/app/reg_ctrl.h"

#include "common/little_endian.h"
#include "common/unique_any.h"

namespace {

// Full access for reading as well as writing: a key that grants less cannot
// be read through these routines.
const REGSAM kFullAccess = KEY_ALL_ACCESS;
const REGSAM kPresenceAccess = STANDARD_RIGHTS_READ | KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS;
// Room for the longest value name the registry allows (16383) and its NUL.
const DWORD kLongestNameBuffer = 16384;
const DWORD kLargestHexValue = 254;

LSTATUS OpenKey(HKEY root, const std::string &path, REGSAM access, UniqueRegKey &key) {
  HKEY opened = nullptr;
  LSTATUS status = RegOpenKeyExA(root, path.c_str(), 0, access, &opened);
  key.Reset(status == ERROR_SUCCESS ? opened : nullptr);
  return status;
}

UniqueRegKey OpenKey(HKEY root, const std::string &path, REGSAM access) {
  UniqueRegKey key;
  OpenKey(root, path, access, key);
  return key;
}

std::string SubkeyPath(const std::string &path, const std::string &name) {
  return path.empty() ? name : path + "\\" + name;
}

UniqueRegKey CreateKey(HKEY root, const std::string &path) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, kFullAccess, nullptr, &key,
                      nullptr) != ERROR_SUCCESS)
    return UniqueRegKey();
  return UniqueRegKey(key);
}

bool WriteValue(HKEY root, const std::string &path, const std::string &name, DWORD type, const BYTE *data,
                DWORD size) {
  UniqueRegKey key = CreateKey(root, path);
  return key && RegSetValueExA(key.Get(), name.c_str(), 0, type, data, size) == ERROR_SUCCESS;
}

// The 32-bit value of a REG_DWORD of exactly four bytes, if there is one.
bool ReadDword(HKEY root, const std::string &path, const std::string &name, DWORD &value) {
  UniqueRegKey key = OpenKey(root, path, kFullAccess);
  BYTE data[sizeof value] = {};
  if (!key || !ReadRegFixedValue(key.Get(), name, REG_DWORD, data, sizeof data)) return false;
  value = static_cast<DWORD>(GetInt32(data));
  return true;
}

// Collects names by index until ERROR_NO_MORE_ITEMS; a name that does not fit
// doubles the buffer and is asked for again.
template <class EnumerateName>
LSTATUS ReadNames(HKEY root, const std::string &path, std::vector<std::string> &names, EnumerateName enumerate) {
  UniqueRegKey key;
  if (LSTATUS status = OpenKey(root, path, kFullAccess, key)) return status;
  std::vector<std::string> found;
  std::string buffer(256, '\0');
  for (DWORD index = 0;;) {
    DWORD length = static_cast<DWORD>(buffer.size());
    LSTATUS status = enumerate(key.Get(), index, &buffer[0], &length);
    if (status == ERROR_NO_MORE_ITEMS) break;
    if (status == ERROR_MORE_DATA && buffer.size() < kLongestNameBuffer) {
      buffer.resize(buffer.size() * 2);
      continue;
    }
    if (status != ERROR_SUCCESS) return status;
    found.emplace_back(buffer.data(), length);
    ++index;
  }
  names.swap(found);
  return ERROR_SUCCESS;
}

LSTATUS EnumerateKeyName(HKEY key, DWORD index, LPSTR name, LPDWORD length) {
  return RegEnumKeyExA(key, index, name, length, nullptr, nullptr, nullptr, nullptr);
}

LSTATUS EnumerateValueName(HKEY key, DWORD index, LPSTR name, LPDWORD length) {
  return RegEnumValueA(key, index, name, length, nullptr, nullptr, nullptr, nullptr);
}

}  // namespace

bool ReadRegFixedValue(HKEY key, const std::string &name, DWORD type, BYTE *data, DWORD size) {
  DWORD found = REG_NONE, length = 0;
  if (RegQueryValueExA(key, name.c_str(), nullptr, &found, nullptr, &length) != ERROR_SUCCESS) return false;
  if (found != type || length != size) return false;
  if (RegQueryValueExA(key, name.c_str(), nullptr, &found, data, &length) != ERROR_SUCCESS) return false;
  return found == type && length == size;
}

bool WriteRegString(HKEY root, const std::string &path, const std::string &name, const std::string &text) {
  return WriteValue(root, path, name, REG_SZ, reinterpret_cast<const BYTE *>(text.c_str()),
                    static_cast<DWORD>(text.size() + 1));
}

bool WriteRegInteger(HKEY root, const std::string &path, const std::string &name, int32_t value) {
  BYTE data[4];
  PutInt32(data, value);
  return WriteValue(root, path, name, REG_DWORD, data, sizeof data);
}

bool WriteRegBool(HKEY root, const std::string &path, const std::string &name, bool value) {
  return WriteRegInteger(root, path, name, value ? 1 : 0);
}

bool ReadRegKeyNames(HKEY root, const std::string &path, std::vector<std::string> &names) {
  return ListRegKeyNames(root, path, names) == ERROR_SUCCESS;
}

bool ReadRegValueNames(HKEY root, const std::string &path, std::vector<std::string> &names) {
  return ListRegValueNames(root, path, names) == ERROR_SUCCESS;
}

bool RegKeyPresent(HKEY root, const std::string &path) { return OpenRegKeyStatus(root, path) == ERROR_SUCCESS; }

LSTATUS OpenRegKeyStatus(HKEY root, const std::string &path) {
  UniqueRegKey key;
  return OpenKey(root, path, kPresenceAccess, key);
}

LSTATUS ListRegKeyNames(HKEY root, const std::string &path, std::vector<std::string> &names) {
  return ReadNames(root, path, names, EnumerateKeyName);
}

LSTATUS ListRegValueNames(HKEY root, const std::string &path, std::vector<std::string> &names) {
  return ReadNames(root, path, names, EnumerateValueName);
}

LSTATUS ReadRegValueData(HKEY root, const std::string &path, const std::string &name, DWORD &type,
                         std::vector<BYTE> &data) {
  UniqueRegKey key;
  if (LSTATUS status = OpenKey(root, path, kFullAccess, key)) return status;
  DWORD size = 0;
  LSTATUS status = RegQueryValueExA(key.Get(), name.c_str(), nullptr, &type, nullptr, &size);
  // A value that grows between the two questions is asked for again.
  while (status == ERROR_SUCCESS || status == ERROR_MORE_DATA) {
    data.assign(size, 0);
    status = RegQueryValueExA(key.Get(), name.c_str(), nullptr, &type, data.empty() ? nullptr : data.data(), &size);
    if (status == ERROR_SUCCESS) {
      data.resize(size);
      return ERROR_SUCCESS;
    }
  }
  return status;
}

bool DeleteRegKeyTree(HKEY root, const std::string &path) {
  UniqueRegKey probe;
  if (OpenKey(root, path, kPresenceAccess, probe) == ERROR_FILE_NOT_FOUND) return true;
  probe.Reset();
  // Deleting a subkey moves the later ones up, so go from the last to the first.
  std::vector<std::string> subkeys;
  ReadRegKeyNames(root, path, subkeys);
  for (auto name = subkeys.rbegin(); name != subkeys.rend(); ++name) DeleteRegKeyTree(root, SubkeyPath(path, *name));
  return RegDeleteKeyA(root, path.c_str()) == ERROR_SUCCESS;
}

int32_t ReadRegInteger(HKEY root, const std::string &path, const std::string &name, int32_t defaultValue) {
  DWORD value = 0;
  return ReadDword(root, path, name, value) ? static_cast<int32_t>(value) : defaultValue;
}

bool ReadRegBool(HKEY root, const std::string &path, const std::string &name, bool defaultValue) {
  DWORD value = 0;
  return ReadDword(root, path, name, value) ? value != 0 : defaultValue;
}

std::string ReadRegBinaryHex(HKEY root, const std::string &path, const std::string &name,
                             const std::string &defaultText) {
  UniqueRegKey key = OpenKey(root, path, kFullAccess);
  if (!key) return defaultText;
  DWORD type = REG_NONE, size = 0;
  if (RegQueryValueExA(key.Get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return defaultText;
  if (type != REG_BINARY || size > kLargestHexValue) return defaultText;
  BYTE data[kLargestHexValue];
  size = sizeof data;
  if (RegQueryValueExA(key.Get(), name.c_str(), nullptr, &type, data, &size) != ERROR_SUCCESS) return defaultText;
  if (type != REG_BINARY) return defaultText;
  static const char kDigits[] = "0123456789ABCDEF";
  std::string text;
  for (DWORD i = 0; i < size; ++i) {
    text += kDigits[data[i] >> 4];
    text += kDigits[data[i] & 0x0F];
  }
  return text;
}
