#include "deskplan/layout/used_names.h"

#include <windows.h>

namespace {
// No-break space, four underscores, no-break space (Windows-1252).
const char kDuplicateSeparator[] = "\xA0____\xA0";
}  // namespace

bool UsedNames::Contains(const std::string &name) const {
  for (const auto &used : names_) {
    if (CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, used.data(), static_cast<int>(used.size()), name.data(),
                       static_cast<int>(name.size())) == CSTR_EQUAL)
      return true;
  }
  return false;
}

std::string UniqueValueName(const std::string &caption, const UsedNames &usedNames) {
  std::string name = caption;
  for (int k = 1; usedNames.Contains(name); ++k) name += kDuplicateSeparator + ("(" + std::to_string(k) + ")");
  return name;
}
