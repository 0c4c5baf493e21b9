// Writing, reading and deleting values.
#include <cstring>
#include <mutex>

#include "core/component.h"
#include "core/trace.h"
#include "registry/registry_handles.h"

using namespace winsim::detail;

namespace {
const size_t kLongestValueName = 16383;
std::string NameOf(LPCSTR valueName) { return valueName ? valueName : ""; }
}  // namespace

LSTATUS WINAPI RegSetValueExA(HKEY key, LPCSTR valueName, DWORD, DWORD type, const BYTE *data, DWORD size) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  Record("RegSetValueExA", DescribeTarget(key, nullptr) + "|" + NameOf(valueName) + "|" + std::to_string(type));
  if (unsigned fault = InjectedFault("RegSetValueExA")) return static_cast<LSTATUS>(fault);
  auto target = ResolveHandle(key, KEY_SET_VALUE);
  if (target.status != ERROR_SUCCESS) return target.status;
  if (!data && size) return ERROR_NOACCESS;
  if (NameOf(valueName).size() > kLongestValueName) return ERROR_INVALID_PARAMETER;
  SetValue(*target.key, NameOf(valueName), type, data, size);
  return ERROR_SUCCESS;
}

// Null data asks for the size alone; a buffer too small gets ERROR_MORE_DATA
// with the size needed. A null or empty name is the key's default value.
LSTATUS WINAPI RegQueryValueExA(HKEY key, LPCSTR valueName, LPDWORD reserved, LPDWORD type, LPBYTE data,
                                LPDWORD size) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  Record("RegQueryValueExA", DescribeTarget(key, nullptr) + "|" + NameOf(valueName));
  if (unsigned fault = InjectedFault("RegQueryValueExA")) return static_cast<LSTATUS>(fault);
  if (reserved || (data && !size)) return ERROR_INVALID_PARAMETER;
  auto target = ResolveHandle(key, KEY_QUERY_VALUE);
  if (target.status != ERROR_SUCCESS) return target.status;
  const RegValue *value = FindValue(*target.key, NameOf(valueName));
  if (!value) return ERROR_FILE_NOT_FOUND;
  if (type) *type = value->type;
  DWORD needed = static_cast<DWORD>(value->data.size());
  LSTATUS status = ERROR_SUCCESS;
  if (data) {
    if (*size < needed)
      status = ERROR_MORE_DATA;
    else if (needed)
      std::memcpy(data, value->data.data(), needed);
  }
  if (size) *size = needed;
  return status;
}

LSTATUS WINAPI RegDeleteValueA(HKEY key, LPCSTR valueName) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  Record("RegDeleteValueA", DescribeTarget(key, nullptr) + "|" + NameOf(valueName));
  if (unsigned fault = InjectedFault("RegDeleteValueA")) return static_cast<LSTATUS>(fault);
  auto target = ResolveHandle(key, KEY_SET_VALUE);
  if (target.status != ERROR_SUCCESS) return target.status;
  return RemoveValue(*target.key, NameOf(valueName)) ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
}
