#include "registry/registry_security.h"

#include <cstring>

namespace winsim::detail {
namespace {

const REGSAM kAccessSystemSecurity = 0x01000000;

bool IsRoot(const RegKey &key) { return key.parent.expired(); }

SidBytes Sid(const char *text) { return *ParseSidText(text); }

// What a root grants when nobody changed it: the user owns the profile
// roots, the system and administrators hold everything, users read.
std::vector<AceEntry> RootAces(const RegKey &root) {
  const BYTE inherit = CONTAINER_INHERIT_ACE;
  std::vector<AceEntry> aces;
  bool profile = root.name == "HKEY_CURRENT_USER";
  if (profile) aces.push_back(MakeAce(ACCESS_ALLOWED_ACE_TYPE, inherit, KEY_ALL_ACCESS, Security().tokenUser));
  aces.push_back(MakeAce(ACCESS_ALLOWED_ACE_TYPE, inherit, KEY_ALL_ACCESS, Sid("S-1-5-18")));
  aces.push_back(MakeAce(ACCESS_ALLOWED_ACE_TYPE, inherit, KEY_ALL_ACCESS, Sid("S-1-5-32-544")));
  if (!profile) aces.push_back(MakeAce(ACCESS_ALLOWED_ACE_TYPE, inherit, KEY_READ, Sid("S-1-5-32-545")));
  return aces;
}

// What a child key inherits from an entry of its parent's DACL, if anything.
std::optional<AceEntry> InheritedFrom(const AceEntry &parentAce) {
  if (!(parentAce.flags & (CONTAINER_INHERIT_ACE | OBJECT_INHERIT_ACE))) return std::nullopt;
  AceEntry child = parentAce;
  if (parentAce.flags & CONTAINER_INHERIT_ACE) {
    child.flags = static_cast<BYTE>(parentAce.flags & ~INHERIT_ONLY_ACE);
    if (parentAce.flags & NO_PROPAGATE_INHERIT_ACE)
      child.flags = static_cast<BYTE>(child.flags & ~(CONTAINER_INHERIT_ACE | OBJECT_INHERIT_ACE | NO_PROPAGATE_INHERIT_ACE));
  } else {
    if (parentAce.flags & NO_PROPAGATE_INHERIT_ACE) return std::nullopt;
    // Meant for objects, not keys: passed on, effective nowhere here.
    child.flags = static_cast<BYTE>(parentAce.flags | INHERIT_ONLY_ACE);
  }
  child.flags |= INHERITED_ACE;
  child.raw[1] = child.flags;
  return child;
}

bool SidInToken(const SidBytes &sid) { return !sid.empty() && TokenHasSid(sid); }

}  // namespace

REGSAM MapKeyGenericRights(REGSAM rights) {
  REGSAM mapped = rights & ~(GENERIC_READ | GENERIC_WRITE | GENERIC_EXECUTE | GENERIC_ALL);
  if (rights & GENERIC_READ) mapped |= KEY_READ;
  if (rights & GENERIC_WRITE) mapped |= KEY_WRITE;
  if (rights & GENERIC_EXECUTE) mapped |= KEY_EXECUTE;
  if (rights & GENERIC_ALL) mapped |= KEY_ALL_ACCESS;
  return mapped;
}

SidBytes KeyOwner(const RegKey &key) {
  if (key.security) return key.security->owner;
  if (IsRoot(key) && key.name != "HKEY_CURRENT_USER") return Sid("S-1-5-32-544");
  return Security().tokenUser;
}

SidBytes KeyGroup(const RegKey &key) { return key.security ? key.security->group : Sid("S-1-5-18"); }

bool KeyDaclProtected(const RegKey &key) { return key.security && key.security->daclProtected; }

std::optional<std::vector<AceEntry>> EffectiveDacl(const RegKey &key) {
  if (key.security && key.security->nullDacl) return std::nullopt;
  std::vector<AceEntry> aces;
  if (key.security)
    aces = key.security->ownAces;
  else if (IsRoot(key))
    aces = RootAces(key);
  auto parent = key.parent.lock();
  if (parent && !KeyDaclProtected(key)) {
    auto inherited = EffectiveDacl(*parent);
    if (inherited)
      for (auto &ace : *inherited)
        if (auto child = InheritedFrom(ace)) aces.push_back(*child);
  }
  return aces;
}

KeySecurity &OwnSecurity(RegKey &key) {
  if (!key.security) {
    auto own = std::make_shared<KeySecurity>();
    own->owner = KeyOwner(key);
    own->group = KeyGroup(key);
    if (IsRoot(key)) own->ownAces = RootAces(key);
    key.security = own;
  }
  return *key.security;
}

REGSAM AllowedKeyRights(const RegKey &key) {
  REGSAM granted = 0, denied = 0;
  auto dacl = EffectiveDacl(key);
  if (!dacl) {
    granted = KEY_ALL_ACCESS;
  } else {
    for (auto &ace : *dacl) {
      if ((ace.flags & INHERIT_ONLY_ACE) || !SidInToken(ace.sid)) continue;
      REGSAM mask = MapKeyGenericRights(ace.mask);
      if (ace.type == ACCESS_ALLOWED_ACE_TYPE) granted |= mask & ~denied;
      if (ace.type == ACCESS_DENIED_ACE_TYPE) denied |= mask & ~granted;
    }
  }
  // An owner may always read and change the DACL.
  if (SidInToken(KeyOwner(key))) granted |= READ_CONTROL | WRITE_DAC;
  if (PrivilegeEnabled(SE_TAKE_OWNERSHIP_NAME) || PrivilegeEnabled(SE_RESTORE_NAME)) granted |= WRITE_OWNER;
  if (PrivilegeEnabled(SE_SECURITY_NAME)) granted |= kAccessSystemSecurity;
  return granted & (KEY_ALL_ACCESS | kAccessSystemSecurity);
}

REGSAM RightsForSecurity(SECURITY_INFORMATION what, bool write) {
  REGSAM rights = 0;
  if (!write && (what & (OWNER_SECURITY_INFORMATION | GROUP_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION)))
    rights |= READ_CONTROL;
  if (write && (what & (OWNER_SECURITY_INFORMATION | GROUP_SECURITY_INFORMATION))) rights |= WRITE_OWNER;
  if (write && (what & (DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION |
                        UNPROTECTED_DACL_SECURITY_INFORMATION)))
    rights |= WRITE_DAC;
  if (what & (SACL_SECURITY_INFORMATION | PROTECTED_SACL_SECURITY_INFORMATION | UNPROTECTED_SACL_SECURITY_INFORMATION))
    rights |= kAccessSystemSecurity;
  return rights;
}

PSECURITY_DESCRIPTOR KeyDescriptor(const RegKey &key, SECURITY_INFORMATION what) {
  DescriptorParts parts;
  if (what & OWNER_SECURITY_INFORMATION) parts.owner = KeyOwner(key);
  if (what & GROUP_SECURITY_INFORMATION) parts.group = KeyGroup(key);
  if (what & DACL_SECURITY_INFORMATION) {
    parts.daclPresent = true;
    if (auto dacl = EffectiveDacl(key)) parts.dacl = WriteAcl(*dacl);
    parts.control |= SE_DACL_AUTO_INHERITED;
    if (KeyDaclProtected(key)) parts.control |= SE_DACL_PROTECTED;
  }
  if (what & SACL_SECURITY_INFORMATION) {
    parts.saclPresent = true;
    parts.sacl = WriteAcl(key.security ? key.security->sacl : std::vector<AceEntry>());
    if (key.security && key.security->saclProtected) parts.control |= SE_SACL_PROTECTED;
  }
  return NewSelfRelativeDescriptor(parts);
}

DWORD DescriptorSize(const RegKey &key) {
  DWORD size = 20 + static_cast<DWORD>(KeyOwner(key).size() + KeyGroup(key).size());
  if (auto dacl = EffectiveDacl(key)) size += static_cast<DWORD>(WriteAcl(*dacl).size());
  return size;
}

DWORD WriteKeySecurity(RegKey &key, REGSAM granted, SECURITY_INFORMATION what, PSID owner, PSID group, PACL dacl,
                       PACL sacl) {
  REGSAM needed = RightsForSecurity(what, true);
  if ((needed & kAccessSystemSecurity) && !(granted & kAccessSystemSecurity)) return ERROR_PRIVILEGE_NOT_HELD;
  if ((granted & needed) != needed) return ERROR_ACCESS_DENIED;
  if ((what & OWNER_SECURITY_INFORMATION) && !ValidSidAt(owner)) return ERROR_INVALID_OWNER;
  if ((what & GROUP_SECURITY_INFORMATION) && !ValidSidAt(group)) return ERROR_INVALID_PRIMARY_GROUP;
  if ((what & OWNER_SECURITY_INFORMATION) && !TokenMayOwn(SidAt(owner)) && !PrivilegeEnabled(SE_RESTORE_NAME))
    return ERROR_INVALID_OWNER;
  if ((what & DACL_SECURITY_INFORMATION) && dacl && !WellFormedAcl(dacl)) return ERROR_INVALID_ACL;
  if ((what & SACL_SECURITY_INFORMATION) && sacl && !WellFormedAcl(sacl)) return ERROR_INVALID_ACL;
  KeySecurity &own = OwnSecurity(key);
  if (what & OWNER_SECURITY_INFORMATION) own.owner = SidAt(owner);
  if (what & GROUP_SECURITY_INFORMATION) own.group = SidAt(group);
  if (what & PROTECTED_DACL_SECURITY_INFORMATION) own.daclProtected = true;
  if (what & UNPROTECTED_DACL_SECURITY_INFORMATION) own.daclProtected = false;
  if (what & PROTECTED_SACL_SECURITY_INFORMATION) own.saclProtected = true;
  if (what & UNPROTECTED_SACL_SECURITY_INFORMATION) own.saclProtected = false;
  if (what & DACL_SECURITY_INFORMATION) {
    own.nullDacl = dacl == nullptr;
    own.ownAces.clear();
    if (dacl)
      for (auto &ace : ReadAcl(dacl)) {
        // Inherited entries come from the parent again, unless the list is
        // protected: then they stay as the key's own.
        if ((ace.flags & INHERITED_ACE) && !own.daclProtected) continue;
        ace.flags = static_cast<BYTE>(ace.flags & ~INHERITED_ACE);
        ace.raw[1] = ace.flags;
        own.ownAces.push_back(ace);
      }
  }
  if ((what & SACL_SECURITY_INFORMATION)) own.sacl = sacl ? ReadAcl(sacl) : std::vector<AceEntry>();
  return ERROR_SUCCESS;
}

}  // namespace winsim::detail
