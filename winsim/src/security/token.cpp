// The program's process token: opening it, its user, groups and privileges,
// enabling privileges, and privilege names.
#include <cstring>
#include <mutex>

#include "core/component.h"
#include "core/handles.h"
#include "core/trace.h"
#include "security/security_state.h"

using namespace winsim::detail;

namespace {

struct TokenObject : KernelObject {
  DWORD access = 0;
};

HANDLE const kCurrentProcess = reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-1));

// The token behind a handle when it was opened with every right in `needed`.
std::shared_ptr<TokenObject> TokenFor(HANDLE handle, DWORD needed) {
  auto token = HandleObject<TokenObject>(handle);
  if (!token) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  if ((token->access & needed) != needed) {
    SetLastError(ERROR_ACCESS_DENIED);
    return nullptr;
  }
  return token;
}

// SID_AND_ATTRIBUTES records first, the SIDs they point at behind them.
std::vector<BYTE> SidRecords(size_t headerSize, const std::vector<std::pair<SidBytes, DWORD>> &entries) {
  size_t total = headerSize + entries.size() * sizeof(SID_AND_ATTRIBUTES);
  for (auto &entry : entries) total += entry.first.size();
  return std::vector<BYTE>(total);
}

void FillSidRecords(BYTE *buffer, size_t headerSize, const std::vector<std::pair<SidBytes, DWORD>> &entries) {
  auto *records = reinterpret_cast<SID_AND_ATTRIBUTES *>(buffer + headerSize);
  BYTE *sids = buffer + headerSize + entries.size() * sizeof(SID_AND_ATTRIBUTES);
  for (size_t i = 0; i < entries.size(); ++i) {
    std::memcpy(sids, entries[i].first.data(), entries[i].first.size());
    records[i].Sid = sids;
    records[i].Attributes = entries[i].second;
    sids += entries[i].first.size();
  }
}

}  // namespace

BOOL WINAPI OpenProcessToken(HANDLE process, DWORD desiredAccess, PHANDLE token) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  Record("OpenProcessToken", std::to_string(desiredAccess));
  if (unsigned fault = InjectedFault("OpenProcessToken")) {
    SetLastError(fault);
    return FALSE;
  }
  if (!token) {
    SetLastError(ERROR_NOACCESS);
    return FALSE;
  }
  if (process != kCurrentProcess) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (DWORD refusal = Security().tokenRefusal) {
    SetLastError(refusal);
    return FALSE;
  }
  auto object = std::make_shared<TokenObject>();
  object->access = desiredAccess;
  *token = NewHandle(object);
  return TRUE;
}

BOOL WINAPI GetTokenInformation(HANDLE token, TOKEN_INFORMATION_CLASS infoClass, LPVOID info, DWORD length,
                                PDWORD returnLength) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  Record("GetTokenInformation", std::to_string(infoClass));
  if (unsigned fault = InjectedFault("GetTokenInformation")) {
    SetLastError(fault);
    return FALSE;
  }
  if (!TokenFor(token, TOKEN_QUERY)) return FALSE;
  if (!returnLength) {
    SetLastError(ERROR_NOACCESS);
    return FALSE;
  }
  auto &state = Security();
  std::vector<BYTE> data;
  size_t header = 0;
  std::vector<std::pair<SidBytes, DWORD>> sids;
  switch (infoClass) {
    case TokenUser:
      sids.push_back({state.tokenUser, 0});
      break;
    case TokenOwner:
      header = sizeof(PSID);
      sids.push_back({state.tokenUser, 0});
      break;
    case TokenGroups:
      header = offsetof(TOKEN_GROUPS, Groups);
      for (auto &group : state.tokenGroups) sids.push_back({group.sid, group.attributes});
      break;
    case TokenPrivileges: {
      data.resize(sizeof(DWORD) + state.privileges.size() * sizeof(LUID_AND_ATTRIBUTES));
      DWORD count = static_cast<DWORD>(state.privileges.size());
      std::memcpy(data.data(), &count, sizeof count);
      for (size_t i = 0; i < state.privileges.size(); ++i) {
        LUID_AND_ATTRIBUTES entry{state.privileges[i].luid, state.privileges[i].attributes};
        std::memcpy(data.data() + sizeof(DWORD) + i * sizeof entry, &entry, sizeof entry);
      }
      break;
    }
    default:
      SetLastError(ERROR_INVALID_PARAMETER);
      return FALSE;
  }
  if (data.empty()) data = SidRecords(header, sids);
  *returnLength = static_cast<DWORD>(data.size());
  if (!info || length < data.size()) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  auto *out = static_cast<BYTE *>(info);
  if (infoClass == TokenPrivileges) {
    std::memcpy(out, data.data(), data.size());
    return TRUE;
  }
  FillSidRecords(out, header, sids);
  if (infoClass == TokenGroups) {
    DWORD count = static_cast<DWORD>(sids.size());
    std::memcpy(out, &count, sizeof count);
  }
  if (infoClass == TokenOwner) {
    // TOKEN_OWNER is the one pointer; the SID follows the record area.
    PSID owner = reinterpret_cast<SID_AND_ATTRIBUTES *>(out + header)->Sid;
    std::memcpy(out, &owner, sizeof owner);
  }
  return TRUE;
}

BOOL WINAPI AdjustTokenPrivileges(HANDLE token, BOOL disableAll, PTOKEN_PRIVILEGES newState, DWORD bufferLength,
                                  PTOKEN_PRIVILEGES previousState, PDWORD returnLength) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  Record("AdjustTokenPrivileges", newState ? std::to_string(newState->PrivilegeCount) : "all");
  if (unsigned fault = InjectedFault("AdjustTokenPrivileges")) {
    SetLastError(fault);
    return FALSE;
  }
  if (!TokenFor(token, TOKEN_ADJUST_PRIVILEGES)) return FALSE;
  if (!disableAll && !newState) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  auto &privileges = Security().privileges;
  std::vector<LUID_AND_ATTRIBUTES> previous;
  bool allAssigned = true;
  auto apply = [&](TokenPrivilegeEntry &entry, DWORD enable) {
    DWORD before = entry.attributes;
    entry.attributes = (entry.attributes & ~SE_PRIVILEGE_ENABLED) | enable;
    if (before != entry.attributes) previous.push_back({entry.luid, static_cast<DWORD>(before & SE_PRIVILEGE_ENABLED)});
  };
  if (disableAll) {
    for (auto &entry : privileges) apply(entry, 0);
  } else {
    for (DWORD i = 0; i < newState->PrivilegeCount; ++i) {
      const LUID_AND_ATTRIBUTES &wanted = newState->Privileges[i];
      bool held = false;
      for (auto &entry : privileges)
        if (entry.luid.LowPart == wanted.Luid.LowPart && entry.luid.HighPart == wanted.Luid.HighPart) {
          apply(entry, wanted.Attributes & SE_PRIVILEGE_ENABLED);
          held = true;
        }
      allAssigned = allAssigned && held;
    }
  }
  if (previousState) {
    DWORD needed = static_cast<DWORD>(sizeof(DWORD) + previous.size() * sizeof(LUID_AND_ATTRIBUTES));
    if (returnLength) *returnLength = needed;
    if (bufferLength < needed) {
      SetLastError(ERROR_INSUFFICIENT_BUFFER);
      return FALSE;
    }
    previousState->PrivilegeCount = static_cast<DWORD>(previous.size());
    for (size_t i = 0; i < previous.size(); ++i) previousState->Privileges[i] = previous[i];
  }
  SetLastError(allAssigned ? ERROR_SUCCESS : ERROR_NOT_ALL_ASSIGNED);
  return TRUE;
}

BOOL WINAPI LookupPrivilegeValueA(LPCSTR, LPCSTR name, PLUID luid) {
  Record("LookupPrivilegeValueA", name ? name : "");
  auto found = PrivilegeLuid(name ? name : "");
  if (!found) {
    SetLastError(ERROR_NO_SUCH_PRIVILEGE);
    return FALSE;
  }
  *luid = *found;
  return TRUE;
}

BOOL WINAPI LookupPrivilegeNameA(LPCSTR, PLUID luid, LPSTR name, LPDWORD length) {
  std::string found = luid ? PrivilegeName(*luid) : std::string();
  if (found.empty()) {
    SetLastError(ERROR_NO_SUCH_PRIVILEGE);
    return FALSE;
  }
  if (!length || !name || *length <= found.size()) {
    if (length) *length = static_cast<DWORD>(found.size() + 1);
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  std::memcpy(name, found.c_str(), found.size() + 1);
  *length = static_cast<DWORD>(found.size());
  return TRUE;
}
