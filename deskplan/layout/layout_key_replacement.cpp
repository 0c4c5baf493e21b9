#include "deskplan/layout/layout_key_replacement.h"

#include "common/os_error.h"
#include "common/unique_any.h"

namespace {

// Every value of the key, or the enumeration's error code.
LONG ReadValues(HKEY key, std::vector<LayoutValue> &values) {
  char name[16384];
  BYTE data[512];
  for (DWORD index = 0;; ++index) {
    DWORD nameLength = sizeof name;
    DWORD size = sizeof data;
    DWORD type = 0;
    LONG result = RegEnumValueA(key, index, name, &nameLength, nullptr, &type, data, &size);
    if (result == ERROR_NO_MORE_ITEMS) return ERROR_SUCCESS;
    // A layout holds small values only; a larger one is not one of ours and
    // would be lost by a rollback, so the replacement does not start.
    if (result != ERROR_SUCCESS) return result;
    values.push_back({std::string(name, nameLength), type, std::vector<BYTE>(data, data + size)});
  }
}

LONG SetValue(HKEY key, const LayoutValue &value) {
  return RegSetValueExA(key, value.name.c_str(), 0, value.type, value.data.data(),
                        static_cast<DWORD>(value.data.size()));
}

// Puts the old values back, in their order, after a failed replacement; best
// effort.
void Rollback(HKEY key, const std::vector<LayoutValue> &old, const std::vector<LayoutValue> &written) {
  for (const auto &value : written) RegDeleteValueA(key, value.name.c_str());
  for (const auto &value : old) RegDeleteValueA(key, value.name.c_str());
  for (const auto &value : old) SetValue(key, value);
}

// Whether the old values' names, in their order, are the first new ones: the
// values can then be written over in place and still be enumerated in the
// order given. Names are compared exactly, so that a new spelling replaces the
// stored one. This is the usual case of saving the same desktop again.
bool OldNamesLeadTheNew(const std::vector<LayoutValue> &old, const std::vector<LayoutValue> &values) {
  if (old.size() > values.size()) return false;
  for (std::size_t index = 0; index < old.size(); ++index)
    if (old[index].name != values[index].name) return false;
  return true;
}

[[noreturn]] void Fail(LONG code) { throw OsError(static_cast<DWORD>(code)); }

}  // namespace

void ReplaceLayoutValues(const std::string &keyPath, const std::vector<LayoutValue> &values) {
  HKEY created = nullptr;
  DWORD disposition = 0;
  LONG result = RegCreateKeyExA(HKEY_CURRENT_USER, keyPath.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &created, &disposition);
  if (result != ERROR_SUCCESS) Fail(result);
  UniqueRegKey key(created);
  std::vector<LayoutValue> old;
  std::vector<LayoutValue> written;
  auto undo = [&](LONG code) {
    Rollback(key.Get(), old, written);
    if (disposition == REG_CREATED_NEW_KEY) {
      key.Reset();
      RegDeleteKeyA(HKEY_CURRENT_USER, keyPath.c_str());
    }
    Fail(code);
  };
  result = ReadValues(key.Get(), old);
  if (result != ERROR_SUCCESS) {
    old.clear();  // nothing was changed but a key this call created
    undo(result);
  }
  // The old values go first, unless the new ones can be written over them in
  // place: either way the new values are enumerated in the order given.
  if (!OldNamesLeadTheNew(old, values)) {
    for (const auto &value : old) {
      result = RegDeleteValueA(key.Get(), value.name.c_str());
      if (result != ERROR_SUCCESS) undo(result);
    }
  }
  for (const auto &value : values) {
    written.push_back(value);
    result = SetValue(key.Get(), value);
    if (result != ERROR_SUCCESS) undo(result);
  }
}
