// The security descriptor of one securable object (a registry key, above all)
// named by a wide string or given by handle: owner, group, DACL, SACL and the
// two protection bits. Failures are recorded in the object, never raised.
#pragma once

#include <windows.h>
#include <aclapi.h>

#include <cstdint>
#include <string>

#include "security/account.h"
#include "security/acl.h"
#include "security/basic.h"
#include "security/text_helpers.h"

class ISecurityObject : public virtual IBasic {
 public:
  static constexpr GUID kIid = IID_ISecurityObject;

  virtual SE_OBJECT_TYPE ObjectType() = 0;
  virtual WideString ObjectName() = 0;
  virtual HANDLE ObjectHandle() = 0;
  virtual IPtr<IAccount> Owner() = 0;
  virtual void SetOwner(IAccount *account) = 0;
  virtual IPtr<IAccount> Group() = 0;
  virtual void SetGroup(IAccount *account) = 0;
  virtual IPtr<IAcl> Dacl() = 0;
  virtual void SetDacl(IAcl *acl) = 0;
  virtual IPtr<IAcl> Sacl() = 0;
  virtual void SetSacl(IAcl *acl) = 0;
  virtual bool DaclProtected() = 0;
  virtual void SetDaclProtected(bool protect) = 0;
  virtual bool SaclProtected() = 0;
  virtual void SetSaclProtected(bool protect) = 0;

 protected:
  ~ISecurityObject() = default;
};

class TISecurityObject : public TIBasic, public virtual ISecurityObject {
 public:
  // A valid object (when handle, name and type designate one, else an invalid
  // one with error 87 or 120).
  TISecurityObject(HANDLE handle, const WideString &name, SE_OBJECT_TYPE type);
  // An invalid placeholder.
  TISecurityObject(std::uint32_t errorNo, const std::string &errorText);

  SE_OBJECT_TYPE ObjectType() override;
  WideString ObjectName() override;
  HANDLE ObjectHandle() override;
  IPtr<IAccount> Owner() override;
  void SetOwner(IAccount *account) override;
  IPtr<IAccount> Group() override;
  void SetGroup(IAccount *account) override;
  IPtr<IAcl> Dacl() override;
  void SetDacl(IAcl *acl) override;
  IPtr<IAcl> Sacl() override;
  void SetSacl(IAcl *acl) override;
  bool DaclProtected() override;
  void SetDaclProtected(bool protect) override;
  bool SaclProtected() override;
  void SetSaclProtected(bool protect) override;

  // For the ACL objects: which cache slot they hold, and leaving it.
  bool IsCachedDacl(const TIAcl *acl) const { return acl && cachedDacl_ == acl; }
  bool IsCachedSacl(const TIAcl *acl) const { return acl && cachedSacl_ == acl; }
  void ForgetAcl(const TIAcl *acl);

 protected:
  IBasic *MainInterface() override;
  void *FindInterface(REFIID iid) override;

 private:
  enum class Protection { Unchanged, Protect, Unprotect };
  struct ReadResult;

  bool ReadSecurity(SECURITY_INFORMATION what, ReadResult &result);
  bool WriteSecurity(SECURITY_INFORMATION what, PSID owner, PSID group, const ACL *dacl, const ACL *sacl,
                     Protection daclProtection, Protection saclProtection);
  bool NtOnly();
  IPtr<IAccount> ReadAccount(SECURITY_INFORMATION what);
  void WriteAccount(SECURITY_INFORMATION what, IAccount *account);
  IPtr<IAcl> ReadAcl(bool system);
  void WriteAcl(bool system, IAcl *acl);
  bool ReadProtection(bool system);
  IPtr<IAcl> ReadShareAccess();
  void WriteShareAccess(TIAcl *acl);

  SE_OBJECT_TYPE type_ = SE_UNKNOWN_OBJECT_TYPE;
  WideString name_;
  HANDLE handle_ = nullptr;
  TIAcl *cachedDacl_ = nullptr;
  TIAcl *cachedSacl_ = nullptr;
};

// The security object of a registry key named root first ("HKEY_LOCAL_MACHINE\Software\X",
// "hklm\Software", "CURRENT_USER\..."), in the form the named-object functions expect.
IPtr<ISecurityObject> RegistryKeySecurity(const WideString &path);
// The security object of an open registry key: the system is asked through
// the handle (which must stay open while the object is used), so that it is
// that key whatever its name leads to meanwhile. NT family only.
IPtr<ISecurityObject> RegistryKeySecurity(HKEY key);
// The name RegistryKeySecurity hands to the system for a path.
WideString CanonicalRegistryKeyName(const WideString &path);
