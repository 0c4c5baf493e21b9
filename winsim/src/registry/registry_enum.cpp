// Enumerating subkeys and values, and the key's counts and longest lengths.
#include <algorithm>
#include <cstring>
#include <mutex>

#include "core/component.h"
#include "core/trace.h"
#include "registry/registry_handles.h"
#include "registry/registry_security.h"

using namespace winsim::detail;

namespace {

// Name buffers count characters: in, the room including the terminator; out,
// the length without it. A name that does not fit leaves the count as it was.
bool CopyName(const std::string &name, LPSTR buffer, LPDWORD length) {
  if (name.size() >= *length) return false;
  std::memcpy(buffer, name.data(), name.size());
  buffer[name.size()] = '\0';
  *length = static_cast<DWORD>(name.size());
  return true;
}

// A key's class is always empty here.
void EmptyClass(LPSTR keyClass, LPDWORD classLength) {
  if (!classLength) return;
  if (keyClass && *classLength) keyClass[0] = '\0';
  *classLength = 0;
}

}  // namespace

LSTATUS WINAPI RegEnumKeyExA(HKEY key, DWORD index, LPSTR name, LPDWORD nameLength, LPDWORD reserved, LPSTR keyClass,
                             LPDWORD classLength, PFILETIME lastWrite) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  Record("RegEnumKeyExA", DescribeTarget(key, nullptr) + "|" + std::to_string(index));
  if (unsigned fault = InjectedFault("RegEnumKeyExA")) return static_cast<LSTATUS>(fault);
  if (!name || !nameLength || reserved) return ERROR_INVALID_PARAMETER;
  auto target = ResolveHandle(key, KEY_ENUMERATE_SUB_KEYS);
  if (target.status != ERROR_SUCCESS) return target.status;
  const auto &subkeys = target.key->subkeys;
  if (index >= subkeys.size()) return ERROR_NO_MORE_ITEMS;
  if (!CopyName(subkeys[index]->name, name, nameLength)) return ERROR_MORE_DATA;
  EmptyClass(keyClass, classLength);
  if (lastWrite) *lastWrite = FILETIME{0, 0};
  return ERROR_SUCCESS;
}

// Values come in creation order, as Windows gives them.
LSTATUS WINAPI RegEnumValueA(HKEY key, DWORD index, LPSTR name, LPDWORD nameLength, LPDWORD reserved, LPDWORD type,
                             LPBYTE data, LPDWORD size) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  Record("RegEnumValueA", DescribeTarget(key, nullptr) + "|" + std::to_string(index));
  if (unsigned fault = InjectedFault("RegEnumValueA")) return static_cast<LSTATUS>(fault);
  if (!name || !nameLength || reserved || (data && !size)) return ERROR_INVALID_PARAMETER;
  auto target = ResolveHandle(key, KEY_QUERY_VALUE);
  if (target.status != ERROR_SUCCESS) return target.status;
  const auto &values = target.key->values;
  if (index >= values.size()) return ERROR_NO_MORE_ITEMS;
  const RegValue &value = values[index];
  LSTATUS status = CopyName(value.name, name, nameLength) ? ERROR_SUCCESS : ERROR_MORE_DATA;
  if (type) *type = value.type;
  DWORD needed = static_cast<DWORD>(value.data.size());
  if (data) {
    if (*size < needed)
      status = ERROR_MORE_DATA;
    else if (needed)
      std::memcpy(data, value.data.data(), needed);
  }
  if (size) *size = needed;
  return status;
}

LSTATUS WINAPI RegQueryInfoKeyA(HKEY key, LPSTR keyClass, LPDWORD classLength, LPDWORD reserved, LPDWORD subKeys,
                                LPDWORD maxSubKeyLength, LPDWORD maxClassLength, LPDWORD values,
                                LPDWORD maxValueNameLength, LPDWORD maxValueLength, LPDWORD securityDescriptorSize,
                                PFILETIME lastWrite) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  Record("RegQueryInfoKeyA", DescribeTarget(key, nullptr));
  if (unsigned fault = InjectedFault("RegQueryInfoKeyA")) return static_cast<LSTATUS>(fault);
  if (reserved) return ERROR_INVALID_PARAMETER;
  auto target = ResolveHandle(key, KEY_QUERY_VALUE);
  if (target.status != ERROR_SUCCESS) return target.status;
  const RegKey &found = *target.key;
  size_t longestSubkey = 0, longestName = 0, largestData = 0;
  for (auto &subkey : found.subkeys) longestSubkey = std::max(longestSubkey, subkey->name.size());
  for (auto &value : found.values) {
    longestName = std::max(longestName, value.name.size());
    largestData = std::max(largestData, value.data.size());
  }
  EmptyClass(keyClass, classLength);
  if (subKeys) *subKeys = static_cast<DWORD>(found.subkeys.size());
  if (maxSubKeyLength) *maxSubKeyLength = static_cast<DWORD>(longestSubkey);
  if (maxClassLength) *maxClassLength = 0;
  if (values) *values = static_cast<DWORD>(found.values.size());
  if (maxValueNameLength) *maxValueNameLength = static_cast<DWORD>(longestName);
  if (maxValueLength) *maxValueLength = static_cast<DWORD>(largestData);
  if (securityDescriptorSize) *securityDescriptorSize = DescriptorSize(found);
  if (lastWrite) *lastWrite = FILETIME{0, 0};
  return ERROR_SUCCESS;
}
