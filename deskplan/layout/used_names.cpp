#include "deskplan/layout/used_names.h"

#include <windows.h>

#include "common/number_text.h"

namespace {

// No-break space, four underscores, no-break space (Windows-1252).
const char kDuplicateSeparator[] = "\xA0____\xA0";
const DWORD kNameComparison = NORM_IGNORECASE;

// The user locale's sort key of a name, or false when the system gives none.
bool NameSortKey(const std::string &name, std::string &key) {
  // Room for a generous key at once; asked for the exact size only when short.
  key.assign(name.size() * 8 + 64, '\0');
  int size = LCMapStringA(LOCALE_USER_DEFAULT, LCMAP_SORTKEY | kNameComparison, name.c_str(), -1, &key[0],
                          static_cast<int>(key.size()));
  if (size == 0 && GetLastError() == ERROR_INSUFFICIENT_BUFFER) {
    int needed = LCMapStringA(LOCALE_USER_DEFAULT, LCMAP_SORTKEY | kNameComparison, name.c_str(), -1, nullptr, 0);
    if (needed > 0) {
      key.assign(static_cast<std::size_t>(needed), '\0');
      size = LCMapStringA(LOCALE_USER_DEFAULT, LCMAP_SORTKEY | kNameComparison, name.c_str(), -1, &key[0], needed);
    }
  }
  if (size <= 0) return false;
  key.resize(static_cast<std::size_t>(size));
  return true;
}

bool SameName(const std::string &left, const std::string &right) {
  return CompareStringA(LOCALE_USER_DEFAULT, kNameComparison, left.data(), static_cast<int>(left.size()),
                        right.data(), static_cast<int>(right.size())) == CSTR_EQUAL;
}

}  // namespace

bool UsedNames::Contains(const std::string &name) const {
  std::string key;
  if (!keyMissing_ && NameSortKey(name, key)) return keys_.count(key) != 0;
  for (const auto &used : names_)
    if (SameName(used, name)) return true;
  return false;
}

void UsedNames::Add(const std::string &name) {
  names_.push_back(name);
  std::string key;
  if (keyMissing_ || !NameSortKey(name, key))
    keyMissing_ = true;
  else
    keys_.insert(std::move(key));
}

std::string UniqueValueName(const std::string &caption, const UsedNames &usedNames) {
  std::string name = caption;
  for (int k = 1; usedNames.Contains(name); ++k) name += kDuplicateSeparator + ("(" + DecimalText(k) + ")");
  return name;
}
