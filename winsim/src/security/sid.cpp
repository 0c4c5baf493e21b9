// SIDs: building, checking, comparing and their text form.
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <set>

#include <sddl.h>

#include "core/component.h"
#include "core/trace.h"
#include "security/security_state.h"
#include "winsim/security.h"

namespace winsim::detail {
namespace {

const BYTE *Bytes(const void *sid) { return static_cast<const BYTE *>(sid); }

// The blocks AllocateAndInitializeSid handed out and FreeSid has not taken back.
struct AllocatedSids {
  std::set<const void *> live;
};

SidBytes MakeSid(const BYTE authority[6], const std::vector<DWORD> &subs) {
  SidBytes sid(8 + 4 * subs.size());
  sid[0] = SID_REVISION;
  sid[1] = static_cast<BYTE>(subs.size());
  std::memcpy(&sid[2], authority, 6);
  for (size_t i = 0; i < subs.size(); ++i) std::memcpy(&sid[8 + 4 * i], &subs[i], 4);
  return sid;
}

}  // namespace

bool ValidSidAt(const void *sid) {
  return sid && Bytes(sid)[0] == SID_REVISION && Bytes(sid)[1] <= SID_MAX_SUB_AUTHORITIES;
}

SidBytes SidAt(const void *sid) {
  if (!ValidSidAt(sid)) return {};
  return SidBytes(Bytes(sid), Bytes(sid) + 8 + 4 * Bytes(sid)[1]);
}

std::optional<SidBytes> ParseSidText(const std::string &text) {
  if (text.size() < 5 || (text[0] != 'S' && text[0] != 's') || text.compare(1, 3, "-1-") != 0) return std::nullopt;
  std::vector<std::uint64_t> numbers;
  size_t pos = 4;
  while (true) {
    size_t end = pos;
    std::uint64_t value = 0;
    while (end < text.size() && text[end] >= '0' && text[end] <= '9') {
      value = value * 10 + static_cast<std::uint64_t>(text[end] - '0');
      if (value > 0xFFFFFFFFFFFFull) return std::nullopt;
      ++end;
    }
    if (end == pos) return std::nullopt;
    numbers.push_back(value);
    if (end == text.size()) break;
    if (text[end] != '-') return std::nullopt;
    pos = end + 1;
  }
  if (numbers.size() - 1 > SID_MAX_SUB_AUTHORITIES) return std::nullopt;
  BYTE authority[6];
  for (int i = 0; i < 6; ++i) authority[i] = static_cast<BYTE>(numbers[0] >> (8 * (5 - i)));
  std::vector<DWORD> subs;
  for (size_t i = 1; i < numbers.size(); ++i) {
    if (numbers[i] > 0xFFFFFFFFu) return std::nullopt;
    subs.push_back(static_cast<DWORD>(numbers[i]));
  }
  return MakeSid(authority, subs);
}

std::string SidToText(const SidBytes &sid) {
  if (sid.size() < 8) return std::string();
  std::uint64_t authority = 0;
  for (int i = 0; i < 6; ++i) authority = (authority << 8) | sid[2 + i];
  std::string text = "S-1-" + std::to_string(authority);
  for (size_t i = 0; i < sid[1]; ++i) {
    DWORD sub = 0;
    std::memcpy(&sub, &sid[8 + 4 * i], 4);
    text += "-" + std::to_string(sub);
  }
  return text;
}

}  // namespace winsim::detail

using namespace winsim::detail;

BOOL WINAPI AllocateAndInitializeSid(PSID_IDENTIFIER_AUTHORITY authority, BYTE count, DWORD s0, DWORD s1, DWORD s2,
                                     DWORD s3, DWORD s4, DWORD s5, DWORD s6, DWORD s7, PSID *sid) {
  Record("AllocateAndInitializeSid", std::to_string(count));
  if (!authority || !sid || count > 8) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  DWORD all[8] = {s0, s1, s2, s3, s4, s5, s6, s7};
  SidBytes bytes = MakeSid(authority->Value, std::vector<DWORD>(all, all + count));
  // Freed with FreeSid, which is not LocalFree: a block of its own.
  void *memory = std::malloc(bytes.size());
  std::memcpy(memory, bytes.data(), bytes.size());
  {
    std::lock_guard<std::recursive_mutex> lock(MachineLock());
    Component<AllocatedSids>().live.insert(memory);
  }
  *sid = memory;
  return TRUE;
}

PVOID WINAPI FreeSid(PSID sid) {
  {
    std::lock_guard<std::recursive_mutex> lock(MachineLock());
    Component<AllocatedSids>().live.erase(sid);
  }
  std::free(sid);
  return nullptr;
}

namespace winsim {

int LiveAllocatedSids() {
  std::lock_guard<std::recursive_mutex> lock(detail::MachineLock());
  return static_cast<int>(detail::Component<detail::AllocatedSids>().live.size());
}

}  // namespace winsim

BOOL WINAPI InitializeSid(PSID sid, PSID_IDENTIFIER_AUTHORITY authority, BYTE count) {
  if (!sid || !authority || count > SID_MAX_SUB_AUTHORITIES) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  auto *bytes = static_cast<BYTE *>(sid);
  bytes[0] = SID_REVISION;
  bytes[1] = count;
  std::memcpy(bytes + 2, authority->Value, 6);
  return TRUE;
}

DWORD WINAPI GetSidLengthRequired(UCHAR count) { return 8 + 4u * count; }

DWORD WINAPI GetLengthSid(PSID sid) { return sid ? 8 + 4u * static_cast<BYTE *>(sid)[1] : 0; }

BOOL WINAPI IsValidSid(PSID sid) {
  if (ValidSidAt(sid)) return TRUE;
  SetLastError(ERROR_INVALID_SID);
  return FALSE;
}

BOOL WINAPI EqualSid(PSID sid1, PSID sid2) {
  SetLastError(ERROR_SUCCESS);
  if (!ValidSidAt(sid1) || !ValidSidAt(sid2)) {
    SetLastError(ERROR_INVALID_SID);
    return FALSE;
  }
  return SidAt(sid1) == SidAt(sid2);
}

BOOL WINAPI CopySid(DWORD length, PSID destination, PSID source) {
  DWORD needed = GetLengthSid(source);
  if (!ValidSidAt(source)) {
    SetLastError(ERROR_INVALID_SID);
    return FALSE;
  }
  if (length < needed) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  std::memcpy(destination, source, needed);
  return TRUE;
}

PSID_IDENTIFIER_AUTHORITY WINAPI GetSidIdentifierAuthority(PSID sid) {
  return reinterpret_cast<PSID_IDENTIFIER_AUTHORITY>(static_cast<BYTE *>(sid) + 2);
}

PUCHAR WINAPI GetSidSubAuthorityCount(PSID sid) { return static_cast<BYTE *>(sid) + 1; }

PDWORD WINAPI GetSidSubAuthority(PSID sid, DWORD index) {
  return reinterpret_cast<PDWORD>(static_cast<BYTE *>(sid) + 8 + 4 * index);
}

BOOL WINAPI ConvertSidToStringSidA(PSID sid, LPSTR *text) {
  if (!ValidSidAt(sid) || !text) {
    SetLastError(ERROR_INVALID_SID);
    return FALSE;
  }
  std::string result = SidToText(SidAt(sid));
  auto *memory = static_cast<char *>(LocalAlloc(LPTR, result.size() + 1));
  std::memcpy(memory, result.c_str(), result.size() + 1);
  *text = memory;
  return TRUE;
}

BOOL WINAPI ConvertStringSidToSidA(LPCSTR text, PSID *sid) {
  auto parsed = ParseSidText(text ? text : "");
  if (!parsed || !sid) {
    SetLastError(ERROR_INVALID_SID);
    return FALSE;
  }
  void *memory = LocalAlloc(LPTR, parsed->size());
  std::memcpy(memory, parsed->data(), parsed->size());
  *sid = memory;
  return TRUE;
}
