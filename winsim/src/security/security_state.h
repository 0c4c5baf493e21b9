// The simulated machine's security: SIDs as byte strings, the account
// database, the program's process token and the 9x share-level access lists.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <windows.h>

namespace winsim::detail {

using SidBytes = std::vector<BYTE>;

// "S-1-5-32-544" -> binary SID; nullopt when malformed.
std::optional<SidBytes> ParseSidText(const std::string &text);
std::string SidToText(const SidBytes &sid);
// A copy of the SID a program hands in (which must be valid), or empty.
SidBytes SidAt(const void *sid);
bool ValidSidAt(const void *sid);

struct Account {
  std::string name;
  std::string domain;
  SidBytes sid;
  SID_NAME_USE use = SidTypeUser;
};

struct TokenGroup {
  SidBytes sid;
  DWORD attributes = SE_GROUP_MANDATORY | SE_GROUP_ENABLED_BY_DEFAULT | SE_GROUP_ENABLED;
};

struct TokenPrivilegeEntry {
  LUID luid;
  DWORD attributes;
};

struct ShareEntry {
  std::string name;
  WORD access;
};

struct SecurityState {
  SecurityState();
  std::vector<Account> accounts;
  std::string computerName = "POSTE-01";
  std::string userName = "Utilisateur";
  SidBytes tokenUser;
  std::vector<TokenGroup> tokenGroups;
  std::vector<TokenPrivilegeEntry> privileges;
  DWORD tokenRefusal = 0;  // OpenProcessToken fails with this code when nonzero
  std::map<std::string, std::vector<ShareEntry>> shareAccess;  // by upper-case resource name
};

SecurityState &Security();

// The privilege's LUID by its name ("SeRestorePrivilege"), or nullopt.
std::optional<LUID> PrivilegeLuid(const std::string &name);
std::string PrivilegeName(LUID luid);
bool PrivilegeEnabled(const char *name);
// The token's user or one of its enabled groups.
bool TokenHasSid(const SidBytes &sid);
// The token may name this SID as an owner (its user, or a group with SE_GROUP_OWNER).
bool TokenMayOwn(const SidBytes &sid);

}  // namespace winsim::detail
