// The security of registry keys: each key has an owner, a group, a DACL of its
// own entries plus what it inherits from its parent unless protected, and a
// SACL. Keys nobody gave a descriptor inherit everything and are owned by the
// program's user. Opening a key is checked against the token.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "registry/registry_state.h"
#include "security/acl_binary.h"

namespace winsim::detail {

struct KeySecurity {
  SidBytes owner;
  SidBytes group;
  bool nullDacl = false;
  std::vector<AceEntry> ownAces;  // the key's own entries, inherited ones excluded
  bool daclProtected = false;
  std::vector<AceEntry> sacl;
  bool saclProtected = false;
};

SidBytes KeyOwner(const RegKey &key);
SidBytes KeyGroup(const RegKey &key);
// Own entries first, then inherited ones (flagged INHERITED_ACE); nullopt for a NULL DACL.
std::optional<std::vector<AceEntry>> EffectiveDacl(const RegKey &key);
bool KeyDaclProtected(const RegKey &key);
// The key's descriptor made its own (a copy of the inherited state) for writing.
KeySecurity &OwnSecurity(RegKey &key);

// Every right the token gets on the key (before any test refusal).
REGSAM AllowedKeyRights(const RegKey &key);
REGSAM MapKeyGenericRights(REGSAM rights);

// The descriptor parts named by `what`, self-relative, in a LocalAlloc block.
PSECURITY_DESCRIPTOR KeyDescriptor(const RegKey &key, SECURITY_INFORMATION what);
DWORD DescriptorSize(const RegKey &key);

// Writes the parts named by `what` after checking the rights in `granted`;
// answers a Win32 error code.
DWORD WriteKeySecurity(RegKey &key, REGSAM granted, SECURITY_INFORMATION what, PSID owner, PSID group, PACL dacl,
                       PACL sacl);
// The rights `what` needs to read (write false) or write a descriptor.
REGSAM RightsForSecurity(SECURITY_INFORMATION what, bool write);

}  // namespace winsim::detail
