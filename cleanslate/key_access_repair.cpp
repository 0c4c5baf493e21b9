#include "cleanslate/key_access_repair.h"

#include "security/account.h"
#include "security/acl.h"
#include "security/security_object.h"

void RepairKeyAccess(HKEY opened) {
  IPtr<ISecurityObject> key = RegistryKeySecurity(opened);
  // Inheritance from the parent back on.
  key->SetDaclProtected(false);
  IPtr<IAccount> owner = CurrentUserAccount();
  key->SetOwner(owner.get());
  // The user is had before the list is touched: a list emptied for a rule
  // that cannot then be made would lock the key instead of repairing it.
  IPtr<IAccount> user = CurrentUserAccount();
  // The list emptied, then (the same list object, while the first reference
  // is held) given the user's one inheritable full-access rule.
  IPtr<IAcl> emptied = key->Dacl();
  IPtr<IAcl> granted;
  if (user->IsValid() && user->Sid()) {
    emptied->Clear();
    granted = key->Dacl();
    granted->SetFileAccess(user.get(), true);
  }
  // The last release of the changed list writes it to the key.
  user.reset();
  granted.reset();
  emptied.reset();
  owner.reset();
  key.reset();
}
