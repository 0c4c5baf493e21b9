// The process-wide cache of accounts whose name and SID are both known, so
// that later lookups of either return the same object. Nothing leaves it.
#pragma once

#include <windows.h>

#include <string>

#include "security/account.h"

namespace AccountCache {

IPtr<IAccount> FindBySid(PSID sid);
// Exact, case-sensitive name.
IPtr<IAccount> FindByName(const std::string &name);
void Insert(IAccount *account);
int Size();

}  // namespace AccountCache
