// The current user and the access rule the repair gives a key: full access
// for that user, inherited by subkeys.
#pragma once

#include <vector>

#include <windows.h>

// The SID of the process token's user; empty when the token cannot be read.
std::vector<BYTE> CurrentUserSid();

// An ACL of exactly one rule: ACCESS_ALLOWED, OBJECT_INHERIT_ACE |
// CONTAINER_INHERIT_ACE, 0x001F01FF, for `sid`. Its storage, DWORD-aligned;
// empty when it cannot be built.
std::vector<DWORD> UserFullAccessAcl(const std::vector<BYTE> &sid);
