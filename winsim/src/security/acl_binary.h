// Reading and writing binary ACLs and self-relative security descriptors.
#pragma once

#include <optional>
#include <vector>

#include "security/security_state.h"

namespace winsim::detail {

struct AceEntry {
  BYTE type = ACCESS_ALLOWED_ACE_TYPE;
  BYTE flags = 0;
  DWORD mask = 0;
  SidBytes sid;  // empty for object ACEs whose SID is not read
  std::vector<BYTE> raw;
};

// Whether the ACL is well formed, by the checks of Windows:
// revision, a DWORD-aligned size, every ACE aligned and inside the list.
bool WellFormedAcl(const void *acl);
// The entries of a well-formed ACL.
std::vector<AceEntry> ReadAcl(const void *acl);
std::vector<BYTE> WriteAcl(const std::vector<AceEntry> &entries);
AceEntry MakeAce(BYTE type, BYTE flags, DWORD mask, const SidBytes &sid);

struct DescriptorParts {
  SECURITY_DESCRIPTOR_CONTROL control = 0;
  std::optional<SidBytes> owner;
  std::optional<SidBytes> group;
  bool daclPresent = false;
  std::optional<std::vector<BYTE>> dacl;  // nullopt with daclPresent: a NULL DACL
  bool saclPresent = false;
  std::optional<std::vector<BYTE>> sacl;
};

// A self-relative descriptor in a LocalAlloc block.
PSECURITY_DESCRIPTOR NewSelfRelativeDescriptor(const DescriptorParts &parts);

}  // namespace winsim::detail
