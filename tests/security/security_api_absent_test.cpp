// A system whose advapi32 lacks the named-object security functions: every
// operation that needs one records error 127 instead of calling through nothing.
#include <gtest/gtest.h>

#include "security/security_object.h"
#include "winsim/machine.h"
#include "winsim/registry.h"
#include "winsim/trace.h"

TEST(SecurityApiAbsent, OperationsFailWith127) {
  winsim::Reset();
  winsim::RemoveExport("advapi32.dll", "GetNamedSecurityInfoW");
  winsim::RemoveExport("advapi32.dll", "SetNamedSecurityInfoW");
  winsim::CreateRegistryKey(HKEY_CURRENT_USER, "Software\\A");
  IPtr<ISecurityObject> object = RegistryKeySecurity(WidenText("HKCU\\Software\\A"));
  ASSERT_TRUE(object->IsValid());
  IPtr<IAcl> dacl = object->Dacl();
  EXPECT_FALSE(dacl->IsValid());
  EXPECT_EQ(static_cast<std::uint32_t>(ERROR_PROC_NOT_FOUND), dacl->LastErrorNo());
  object->SetOwner(CurrentUserAccount().get());
  EXPECT_FALSE(object->Success());
  EXPECT_EQ(static_cast<std::uint32_t>(ERROR_PROC_NOT_FOUND), object->LastErrorNo());
  // Loaded once: a later object finds the same table.
  winsim::Reset();
  IPtr<ISecurityObject> later = RegistryKeySecurity(WidenText("HKCU\\Software"));
  EXPECT_FALSE(later->DaclProtected());
  EXPECT_EQ(static_cast<std::uint32_t>(ERROR_PROC_NOT_FOUND), later->LastErrorNo());
  EXPECT_EQ(0u, winsim::CountCalls("LoadLibraryA"));
}
