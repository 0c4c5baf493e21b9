#include "security/security_state.h"

#include <cstring>

#include "core/component.h"

namespace winsim::detail {
namespace {

// The privileges of Windows with their local identifiers, as LookupPrivilegeValue
// answers them on every installation.
const struct {
  const char *name;
  DWORD luid;
} kPrivileges[] = {
    {"SeCreateTokenPrivilege", 2},        {"SeAssignPrimaryTokenPrivilege", 3}, {"SeLockMemoryPrivilege", 4},
    {"SeIncreaseQuotaPrivilege", 5},      {"SeMachineAccountPrivilege", 6},     {"SeTcbPrivilege", 7},
    {"SeSecurityPrivilege", 8},           {"SeTakeOwnershipPrivilege", 9},      {"SeLoadDriverPrivilege", 10},
    {"SeSystemProfilePrivilege", 11},     {"SeSystemtimePrivilege", 12},        {"SeProfileSingleProcessPrivilege", 13},
    {"SeIncreaseBasePriorityPrivilege", 14}, {"SeCreatePagefilePrivilege", 15}, {"SeCreatePermanentPrivilege", 16},
    {"SeBackupPrivilege", 17},            {"SeRestorePrivilege", 18},           {"SeShutdownPrivilege", 19},
    {"SeDebugPrivilege", 20},             {"SeAuditPrivilege", 21},             {"SeSystemEnvironmentPrivilege", 22},
    {"SeChangeNotifyPrivilege", 23},      {"SeRemoteShutdownPrivilege", 24},    {"SeUndockPrivilege", 25},
    {"SeSyncAgentPrivilege", 26},         {"SeEnableDelegationPrivilege", 27},  {"SeManageVolumePrivilege", 28},
    {"SeImpersonatePrivilege", 29},       {"SeCreateGlobalPrivilege", 30},      {"SeTrustedCredManAccessPrivilege", 31},
    {"SeRelabelPrivilege", 32},           {"SeIncreaseWorkingSetPrivilege", 33}, {"SeTimeZonePrivilege", 34},
    {"SeCreateSymbolicLinkPrivilege", 35},
};

// The token of an administrator's elevated program: these privileges, the
// last three enabled by default.
const char *const kElevatedPrivileges[] = {
    "SeIncreaseQuotaPrivilege", "SeSecurityPrivilege",     "SeTakeOwnershipPrivilege", "SeLoadDriverPrivilege",
    "SeSystemProfilePrivilege", "SeSystemtimePrivilege",   "SeProfileSingleProcessPrivilege",
    "SeIncreaseBasePriorityPrivilege", "SeCreatePagefilePrivilege", "SeBackupPrivilege", "SeRestorePrivilege",
    "SeShutdownPrivilege",      "SeDebugPrivilege",        "SeSystemEnvironmentPrivilege", "SeRemoteShutdownPrivilege",
    "SeUndockPrivilege",        "SeManageVolumePrivilege", "SeIncreaseWorkingSetPrivilege", "SeTimeZonePrivilege",
    "SeCreateSymbolicLinkPrivilege", "SeChangeNotifyPrivilege", "SeImpersonatePrivilege", "SeCreateGlobalPrivilege",
};

SidBytes Sid(const char *text) { return *ParseSidText(text); }

bool SameLuid(LUID a, LUID b) { return a.LowPart == b.LowPart && a.HighPart == b.HighPart; }

}  // namespace

const char kMachineDomain[] = "S-1-5-21-1004336348-1177238915-682003330";

SecurityState::SecurityState() {
  std::string machine = kMachineDomain;
  accounts = {
      {"Everyone", "", Sid("S-1-1-0"), SidTypeWellKnownGroup},
      {"CREATOR OWNER", "", Sid("S-1-3-0"), SidTypeWellKnownGroup},
      {"INTERACTIVE", "NT AUTHORITY", Sid("S-1-5-4"), SidTypeWellKnownGroup},
      {"Authenticated Users", "NT AUTHORITY", Sid("S-1-5-11"), SidTypeWellKnownGroup},
      {"SYSTEM", "NT AUTHORITY", Sid("S-1-5-18"), SidTypeWellKnownGroup},
      {"LOCAL SERVICE", "NT AUTHORITY", Sid("S-1-5-19"), SidTypeWellKnownGroup},
      {"NETWORK SERVICE", "NT AUTHORITY", Sid("S-1-5-20"), SidTypeWellKnownGroup},
      {"Administrators", "BUILTIN", Sid("S-1-5-32-544"), SidTypeAlias},
      {"Users", "BUILTIN", Sid("S-1-5-32-545"), SidTypeAlias},
      {"Guests", "BUILTIN", Sid("S-1-5-32-546"), SidTypeAlias},
      {computerName, computerName, Sid(kMachineDomain), SidTypeDomain},
      {"Administrateur", computerName, Sid((machine + "-500").c_str()), SidTypeUser},
      {"Invit\xE9", computerName, Sid((machine + "-501").c_str()), SidTypeUser},
      {userName, computerName, Sid((machine + "-1000").c_str()), SidTypeUser},
  };
  tokenUser = Sid((machine + "-1000").c_str());
  for (const char *group : {"S-1-1-0", "S-1-5-4", "S-1-5-11", "S-1-5-32-545"}) tokenGroups.push_back({Sid(group)});
  tokenGroups.push_back(
      {Sid("S-1-5-32-544"), SE_GROUP_MANDATORY | SE_GROUP_ENABLED_BY_DEFAULT | SE_GROUP_ENABLED | SE_GROUP_OWNER});
  size_t count = sizeof kElevatedPrivileges / sizeof kElevatedPrivileges[0];
  for (size_t i = 0; i < count; ++i) {
    DWORD attributes = i + 3 >= count ? SE_PRIVILEGE_ENABLED_BY_DEFAULT | SE_PRIVILEGE_ENABLED : 0;
    privileges.push_back({*PrivilegeLuid(kElevatedPrivileges[i]), attributes});
  }
}

SecurityState &Security() { return Component<SecurityState>(); }

std::optional<LUID> PrivilegeLuid(const std::string &name) {
  for (auto &privilege : kPrivileges) {
    if (name.size() != std::strlen(privilege.name)) continue;
    bool same = true;
    for (size_t i = 0; i < name.size() && same; ++i) {
      char a = name[i], b = privilege.name[i];
      if (a >= 'a' && a <= 'z') a = static_cast<char>(a - 32);
      if (b >= 'a' && b <= 'z') b = static_cast<char>(b - 32);
      same = a == b;
    }
    if (same) return LUID{privilege.luid, 0};
  }
  return std::nullopt;
}

std::string PrivilegeName(LUID luid) {
  for (auto &privilege : kPrivileges)
    if (luid.HighPart == 0 && luid.LowPart == privilege.luid) return privilege.name;
  return std::string();
}

bool PrivilegeEnabled(const char *name) {
  auto luid = PrivilegeLuid(name);
  for (auto &entry : Security().privileges)
    if (luid && SameLuid(entry.luid, *luid)) return (entry.attributes & SE_PRIVILEGE_ENABLED) != 0;
  return false;
}

bool TokenHasSid(const SidBytes &sid) {
  auto &state = Security();
  if (sid == state.tokenUser) return true;
  for (auto &group : state.tokenGroups)
    if ((group.attributes & SE_GROUP_ENABLED) && group.sid == sid) return true;
  return false;
}

bool TokenMayOwn(const SidBytes &sid) {
  auto &state = Security();
  if (sid == state.tokenUser) return true;
  for (auto &group : state.tokenGroups)
    if ((group.attributes & SE_GROUP_OWNER) && group.sid == sid) return true;
  return false;
}

}  // namespace winsim::detail
