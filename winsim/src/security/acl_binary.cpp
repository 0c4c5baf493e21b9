// Binary ACLs and descriptors, and the ACL and descriptor functions of advapi32.
#include "security/acl_binary.h"

#include <cstring>

#include "core/trace.h"

namespace winsim::detail {
namespace {

WORD Word(const BYTE *p) { return static_cast<WORD>(p[0] | (p[1] << 8)); }
DWORD Dword(const BYTE *p) {
  DWORD value;
  std::memcpy(&value, p, 4);
  return value;
}

bool IsObjectAce(BYTE type) { return type >= ACCESS_ALLOWED_OBJECT_ACE_TYPE && type <= SYSTEM_ALARM_OBJECT_ACE_TYPE; }

}  // namespace

bool WellFormedAcl(const void *acl) {
  if (!acl) return false;
  auto *bytes = static_cast<const BYTE *>(acl);
  WORD size = Word(bytes + 2);
  if (bytes[0] < ACL_REVISION || bytes[0] > ACL_REVISION_DS || size < sizeof(ACL) || size % 4 != 0) return false;
  size_t offset = sizeof(ACL);
  for (WORD i = 0; i < Word(bytes + 4); ++i) {
    if (offset + sizeof(ACE_HEADER) > size) return false;
    WORD aceSize = Word(bytes + offset + 2);
    if (aceSize < sizeof(ACE_HEADER) || aceSize % 4 != 0 || offset + aceSize > size) return false;
    offset += aceSize;
  }
  return true;
}

std::vector<AceEntry> ReadAcl(const void *acl) {
  std::vector<AceEntry> entries;
  auto *bytes = static_cast<const BYTE *>(acl);
  size_t offset = sizeof(ACL);
  for (WORD i = 0; i < Word(bytes + 4); ++i) {
    const BYTE *ace = bytes + offset;
    WORD aceSize = Word(ace + 2);
    AceEntry entry;
    entry.type = ace[0];
    entry.flags = ace[1];
    entry.raw.assign(ace, ace + aceSize);
    if (aceSize >= 8) entry.mask = Dword(ace + 4);
    size_t sidAt = IsObjectAce(entry.type) ? 44 : 8;
    if (aceSize >= sidAt + 8 && ace[sidAt] == SID_REVISION && sidAt + 8 + 4u * ace[sidAt + 1] <= aceSize)
      entry.sid = SidAt(ace + sidAt);
    entries.push_back(entry);
    offset += aceSize;
  }
  return entries;
}

AceEntry MakeAce(BYTE type, BYTE flags, DWORD mask, const SidBytes &sid) {
  AceEntry entry{type, flags, mask, sid, {}};
  entry.raw.resize(8 + sid.size());
  entry.raw[0] = type;
  entry.raw[1] = flags;
  WORD size = static_cast<WORD>(entry.raw.size());
  std::memcpy(&entry.raw[2], &size, 2);
  std::memcpy(&entry.raw[4], &mask, 4);
  std::memcpy(&entry.raw[8], sid.data(), sid.size());
  return entry;
}

std::vector<BYTE> WriteAcl(const std::vector<AceEntry> &entries) {
  std::vector<BYTE> acl(sizeof(ACL));
  for (auto &entry : entries) {
    std::vector<BYTE> raw = entry.raw;
    raw[1] = entry.flags;
    std::memcpy(&raw[4], &entry.mask, 4);
    acl.insert(acl.end(), raw.begin(), raw.end());
  }
  acl[0] = ACL_REVISION;
  WORD size = static_cast<WORD>(acl.size()), count = static_cast<WORD>(entries.size());
  std::memcpy(&acl[2], &size, 2);
  std::memcpy(&acl[4], &count, 2);
  return acl;
}

PSECURITY_DESCRIPTOR NewSelfRelativeDescriptor(const DescriptorParts &parts) {
  std::vector<BYTE> bytes(20);
  DWORD offsets[4] = {0, 0, 0, 0};  // owner, group, SACL, DACL
  auto append = [&](const std::vector<BYTE> &part, int slot) {
    offsets[slot] = static_cast<DWORD>(bytes.size());
    bytes.insert(bytes.end(), part.begin(), part.end());
  };
  SECURITY_DESCRIPTOR_CONTROL control = parts.control | SE_SELF_RELATIVE;
  if (parts.saclPresent) {
    control |= SE_SACL_PRESENT;
    if (parts.sacl) append(*parts.sacl, 2);
  }
  if (parts.daclPresent) {
    control |= SE_DACL_PRESENT;
    if (parts.dacl) append(*parts.dacl, 3);
  }
  if (parts.owner) append(*parts.owner, 0);
  if (parts.group) append(*parts.group, 1);
  bytes[0] = SECURITY_DESCRIPTOR_REVISION;
  std::memcpy(&bytes[2], &control, 2);
  std::memcpy(&bytes[4], offsets, sizeof offsets);
  void *memory = LocalAlloc(LPTR, bytes.size());
  std::memcpy(memory, bytes.data(), bytes.size());
  return memory;
}

}  // namespace winsim::detail

using namespace winsim::detail;

namespace {

// Offsets of a self-relative descriptor, or the pointers of an absolute one.
void *DescriptorPart(PSECURITY_DESCRIPTOR descriptor, int slot) {
  auto *bytes = static_cast<BYTE *>(descriptor);
  SECURITY_DESCRIPTOR_CONTROL control;
  std::memcpy(&control, bytes + 2, 2);
  if (control & SE_SELF_RELATIVE) {
    DWORD offset;
    std::memcpy(&offset, bytes + 4 + 4 * slot, 4);
    return offset ? bytes + offset : nullptr;
  }
  auto *absolute = static_cast<SECURITY_DESCRIPTOR *>(descriptor);
  void *parts[4] = {absolute->Owner, absolute->Group, absolute->Sacl, absolute->Dacl};
  return parts[slot];
}

bool CheckDescriptor(PSECURITY_DESCRIPTOR descriptor) {
  if (descriptor && static_cast<BYTE *>(descriptor)[0] == SECURITY_DESCRIPTOR_REVISION) return true;
  SetLastError(ERROR_INVALID_SECURITY_DESCR);
  return false;
}

SECURITY_DESCRIPTOR_CONTROL ControlOf(PSECURITY_DESCRIPTOR descriptor) {
  SECURITY_DESCRIPTOR_CONTROL control;
  std::memcpy(&control, static_cast<BYTE *>(descriptor) + 2, 2);
  return control;
}

BOOL AddAce(PACL acl, DWORD revision, BYTE type, DWORD flags, DWORD mask, PSID sid) {
  if (!WellFormedAcl(acl) || revision < ACL_REVISION || revision > ACL_REVISION_DS) {
    SetLastError(ERROR_INVALID_ACL);
    return FALSE;
  }
  if (!ValidSidAt(sid)) {
    SetLastError(ERROR_INVALID_SID);
    return FALSE;
  }
  auto entries = ReadAcl(acl);
  entries.push_back(MakeAce(type, static_cast<BYTE>(flags), mask, SidAt(sid)));
  std::vector<BYTE> bytes = WriteAcl(entries);
  if (bytes.size() > acl->AclSize) {
    SetLastError(ERROR_ALLOTTED_SPACE_EXCEEDED);
    return FALSE;
  }
  WORD size = acl->AclSize;
  std::memcpy(acl, bytes.data(), bytes.size());
  acl->AclSize = size;
  return TRUE;
}

}  // namespace

BOOL WINAPI InitializeAcl(PACL acl, DWORD length, DWORD revision) {
  if (!acl || length < sizeof(ACL) || length > 0xFFFF || revision < ACL_REVISION || revision > ACL_REVISION_DS) {
    SetLastError(length < sizeof(ACL) ? ERROR_INSUFFICIENT_BUFFER : ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::memset(acl, 0, sizeof(ACL));
  acl->AclRevision = static_cast<BYTE>(revision);
  acl->AclSize = static_cast<WORD>(length & ~3u);
  return TRUE;
}

BOOL WINAPI IsValidAcl(PACL acl) {
  Record("IsValidAcl");
  if (WellFormedAcl(acl)) return TRUE;
  SetLastError(ERROR_INVALID_ACL);
  return FALSE;
}

BOOL WINAPI GetAce(PACL acl, DWORD index, LPVOID *ace) {
  if (!acl || !ace || index >= acl->AceCount) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  auto *bytes = reinterpret_cast<BYTE *>(acl);
  size_t offset = sizeof(ACL);
  for (DWORD i = 0; i < index; ++i) {
    offset += Word(bytes + offset + 2);
    if (offset + sizeof(ACE_HEADER) > acl->AclSize) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return FALSE;
    }
  }
  *ace = bytes + offset;
  return TRUE;
}

BOOL WINAPI AddAccessAllowedAceEx(PACL acl, DWORD revision, DWORD flags, DWORD mask, PSID sid) {
  return AddAce(acl, revision, ACCESS_ALLOWED_ACE_TYPE, flags, mask, sid);
}

BOOL WINAPI AddAccessDeniedAceEx(PACL acl, DWORD revision, DWORD flags, DWORD mask, PSID sid) {
  return AddAce(acl, revision, ACCESS_DENIED_ACE_TYPE, flags, mask, sid);
}

BOOL WINAPI GetAclInformation(PACL acl, LPVOID info, DWORD length, ACL_INFORMATION_CLASS infoClass) {
  if (!WellFormedAcl(acl) || infoClass != AclSizeInformation || length < sizeof(ACL_SIZE_INFORMATION)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  DWORD used = sizeof(ACL);
  for (auto &entry : ReadAcl(acl)) used += static_cast<DWORD>(entry.raw.size());
  auto *size = static_cast<ACL_SIZE_INFORMATION *>(info);
  size->AceCount = acl->AceCount;
  size->AclBytesInUse = used;
  size->AclBytesFree = acl->AclSize - used;
  return TRUE;
}

BOOL WINAPI InitializeSecurityDescriptor(PSECURITY_DESCRIPTOR descriptor, DWORD revision) {
  if (!descriptor || revision != SECURITY_DESCRIPTOR_REVISION) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::memset(descriptor, 0, sizeof(SECURITY_DESCRIPTOR));
  static_cast<SECURITY_DESCRIPTOR *>(descriptor)->Revision = SECURITY_DESCRIPTOR_REVISION;
  return TRUE;
}

BOOL WINAPI GetSecurityDescriptorControl(PSECURITY_DESCRIPTOR descriptor, PSECURITY_DESCRIPTOR_CONTROL control,
                                         LPDWORD revision) {
  if (!CheckDescriptor(descriptor)) return FALSE;
  *control = ControlOf(descriptor);
  *revision = SECURITY_DESCRIPTOR_REVISION;
  return TRUE;
}

BOOL WINAPI GetSecurityDescriptorOwner(PSECURITY_DESCRIPTOR descriptor, PSID *owner, LPBOOL defaulted) {
  if (!CheckDescriptor(descriptor)) return FALSE;
  *owner = DescriptorPart(descriptor, 0);
  *defaulted = (ControlOf(descriptor) & SE_OWNER_DEFAULTED) != 0;
  return TRUE;
}

BOOL WINAPI GetSecurityDescriptorGroup(PSECURITY_DESCRIPTOR descriptor, PSID *group, LPBOOL defaulted) {
  if (!CheckDescriptor(descriptor)) return FALSE;
  *group = DescriptorPart(descriptor, 1);
  *defaulted = (ControlOf(descriptor) & SE_GROUP_DEFAULTED) != 0;
  return TRUE;
}

BOOL WINAPI GetSecurityDescriptorDacl(PSECURITY_DESCRIPTOR descriptor, LPBOOL present, PACL *dacl,
                                      LPBOOL defaulted) {
  if (!CheckDescriptor(descriptor)) return FALSE;
  *present = (ControlOf(descriptor) & SE_DACL_PRESENT) != 0;
  *dacl = *present ? static_cast<PACL>(DescriptorPart(descriptor, 3)) : nullptr;
  *defaulted = (ControlOf(descriptor) & SE_DACL_DEFAULTED) != 0;
  return TRUE;
}

BOOL WINAPI GetSecurityDescriptorSacl(PSECURITY_DESCRIPTOR descriptor, LPBOOL present, PACL *sacl,
                                      LPBOOL defaulted) {
  if (!CheckDescriptor(descriptor)) return FALSE;
  *present = (ControlOf(descriptor) & SE_SACL_PRESENT) != 0;
  *sacl = *present ? static_cast<PACL>(DescriptorPart(descriptor, 2)) : nullptr;
  *defaulted = (ControlOf(descriptor) & SE_SACL_DEFAULTED) != 0;
  return TRUE;
}
