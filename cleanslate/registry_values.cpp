#include "cleanslate/registry_values.h"

#include "cleanslate/registry_links.h"

std::size_t LastCharPos(char c, const std::string &text) {
  std::size_t found = text.rfind(c);
  return found == std::string::npos ? 0 : found + 1;
}

LONG WriteRegValue(RegistryView view, HKEY root, const std::string &valuePath, DWORD type, const void *data,
                   DWORD size) {
  std::size_t p = LastCharPos('\\', valuePath);
  if (p == 0) return ERROR_INVALID_PARAMETER;
  std::string keyPath = valuePath.substr(0, p - 1);
  std::string valueName = valuePath.substr(p);
  // The key and those on its way are created as needed, each taken as it is:
  // a link among them is never written through.
  UniqueRegKey key;
  KeyPathState found = OpenKeyPath(view, root, keyPath, KEY_WRITE, true, key);
  if (!key) return found.error != ERROR_SUCCESS ? found.error : ERROR_ACCESS_DENIED;
  return RegSetValueExA(key.Get(), valueName.c_str(), 0, type, static_cast<const BYTE *>(data), size);
}

LONG WriteRegDword(RegistryView view, HKEY root, const std::string &valuePath, DWORD value) {
  return WriteRegValue(view, root, valuePath, REG_DWORD, &value, sizeof value);
}

LONG WriteRegString(RegistryView view, HKEY root, const std::string &valuePath, const std::string &text) {
  return WriteRegValue(view, root, valuePath, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
}

bool SetRegValue(RegistryView view, HKEY root, const std::string &valuePath, DWORD type, const void *data,
                 DWORD size) {
  return WriteRegValue(view, root, valuePath, type, data, size) == ERROR_SUCCESS;
}

bool SetRegDword(RegistryView view, HKEY root, const std::string &valuePath, DWORD value) {
  return WriteRegDword(view, root, valuePath, value) == ERROR_SUCCESS;
}

bool SetRegString(RegistryView view, HKEY root, const std::string &valuePath, const std::string &text) {
  return WriteRegString(view, root, valuePath, text) == ERROR_SUCCESS;
}
