// Test-facing control of the machine's security: the account database, the
// program's token (user, groups, privileges), the security of registry keys,
// and the share-level access lists of the Windows 9x family. SIDs are given
// and answered in their "S-1-..." text form. None of these calls is traced.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <windows.h>

namespace winsim {

// The binary SID of a text ("S-1-5-32-544"); throws on malformed text.
std::vector<BYTE> SidBytesOf(const std::string &text);
std::string SidTextOf(const void *sid);
// SIDs from AllocateAndInitializeSid not yet given back with FreeSid.
int LiveAllocatedSids();

// The program's user (S-1-5-21-1004336348-1177238915-682003330-1000, named
// "Utilisateur" on computer "POSTE-01", unless changed).
std::string ProgramUserSid();
// Adds an account (or replaces the one with that SID).
void AddAccount(const std::string &name, const std::string &domain, const std::string &sid, SID_NAME_USE use);
// Makes the token's user this account (added to the database as a user).
void SetProgramUser(const std::string &name, const std::string &sid);

struct PrivilegeState {
  std::string name;
  DWORD attributes = 0;
};
// The token's privileges in order (an elevated administrator's by default).
void SetTokenPrivileges(const std::vector<PrivilegeState> &privileges);
std::vector<PrivilegeState> TokenPrivilegeStates();
// OpenProcessToken fails with this code (0 lifts it).
void RefuseOpenProcessToken(DWORD error);

struct SecurityAce {
  BYTE type = ACCESS_ALLOWED_ACE_TYPE;
  BYTE flags = 0;
  DWORD mask = 0;
  std::string sid;
  bool operator==(const SecurityAce &o) const {
    return type == o.type && flags == o.flags && mask == o.mask && sid == o.sid;
  }
};

struct KeySecurityState {
  std::string owner;
  std::string group;
  bool nullDacl = false;
  // The effective list: the key's own entries, then those it inherits.
  std::vector<SecurityAce> dacl;
  bool daclProtected = false;
};

// Gives the key (created when missing) its own owner and DACL entries;
// unprotected keys still inherit from their parent.
void SetKeySecurity(HKEY root, const std::string &path, const std::string &owner, const std::vector<SecurityAce> &ownAces,
                    bool daclProtected);
// Throws when the key does not exist.
KeySecurityState KeySecurityOf(HKEY root, const std::string &path);

using ShareAccessList = std::vector<std::pair<std::string, WORD>>;
void SetShareAccess(const std::string &resource, const ShareAccessList &entries);
std::optional<ShareAccessList> ShareAccessOf(const std::string &resource);

}  // namespace winsim
