#include "security/security_object.h"

#include "common/unique_any.h"
#include "security/os_info.h"
#include "security/security_api.h"

namespace {

const SE_OBJECT_TYPE kKernelObject = SE_KERNEL_OBJECT;

}  // namespace

// What ReadSecurity hands back; the descriptor is freed with the result.
struct TISecurityObject::ReadResult {
  PSID owner = nullptr;
  PSID group = nullptr;
  PACL dacl = nullptr;
  PACL sacl = nullptr;
  UniqueLocal descriptor;
};

TISecurityObject::TISecurityObject(HANDLE handle, const WideString &name, SE_OBJECT_TYPE type)
    : type_(type), name_(name), handle_(handle) {
  bool win9x = OsInfo().win9x;
  DWORD refusal = 0;
  if (type == SE_UNKNOWN_OBJECT_TYPE)
    refusal = ERROR_INVALID_PARAMETER;
  else if (win9x && type != SE_FILE_OBJECT && type != SE_PRINTER)
    refusal = ERROR_CALL_NOT_IMPLEMENTED;
  else if (handle == INVALID_HANDLE_VALUE || (name.empty() && (!handle || win9x)))
    refusal = ERROR_INVALID_PARAMETER;
  if (refusal) {
    SetValid(false);
    SetLastError(refusal, std::string());
    return;
  }
  SecurityApi(win9x);
  if (win9x && type == SE_PRINTER) name_ = WidenText("\\PRINT\\") + name_;
}

TISecurityObject::TISecurityObject(std::uint32_t errorNo, const std::string &errorText)
    : TIBasic(errorNo, errorText) {}

IBasic *TISecurityObject::MainInterface() { return static_cast<ISecurityObject *>(this); }

void *TISecurityObject::FindInterface(REFIID iid) {
  if (SameIid(iid, IID_ISecurityObject)) return static_cast<ISecurityObject *>(this);
  return TIBasic::FindInterface(iid);
}

SE_OBJECT_TYPE TISecurityObject::ObjectType() { return type_; }
WideString TISecurityObject::ObjectName() { return name_; }
HANDLE TISecurityObject::ObjectHandle() { return handle_; }

bool TISecurityObject::NtOnly() {
  if (!OsInfo().win9x) return true;
  SetLastError(ERROR_CALL_NOT_IMPLEMENTED, std::string());
  return false;
}

bool TISecurityObject::ReadSecurity(SECURITY_INFORMATION what, ReadResult &result) {
  if (type_ == kKernelObject) {
    // Kernel objects are not among the objects this layer is given.
    SetLastError(ERROR_CALL_NOT_IMPLEMENTED, std::string());
    return false;
  }
  const SecurityApiTable &api = SecurityApi(false);
  bool named = !name_.empty();
  if (named ? !api.getNamedSecurityInfo : !api.getSecurityInfo) {
    SetLastError(ERROR_PROC_NOT_FOUND, std::string());
    return false;
  }
  auto *descriptor = reinterpret_cast<PSECURITY_DESCRIPTOR *>(result.descriptor.Put());
  DWORD status = named ? api.getNamedSecurityInfo(name_.c_str(), type_, what, &result.owner, &result.group,
                                                  &result.dacl, &result.sacl, descriptor)
                       : api.getSecurityInfo(handle_, type_, what, &result.owner, &result.group, &result.dacl,
                                             &result.sacl, descriptor);
  if (status != ERROR_SUCCESS) {
    SetLastError(status, std::string());
    return false;
  }
  return true;
}

bool TISecurityObject::WriteSecurity(SECURITY_INFORMATION what, PSID owner, PSID group, const ACL *dacl,
                                     const ACL *sacl, Protection daclProtection, Protection saclProtection) {
  if (type_ == kKernelObject) {
    SetLastError(ERROR_CALL_NOT_IMPLEMENTED, std::string());
    return false;
  }
  // A protection change alone rewrites the list as it is, with the new bit.
  ReadResult currentDacl, currentSacl;
  if (daclProtection != Protection::Unchanged && !(what & DACL_SECURITY_INFORMATION)) {
    if (ReadSecurity(DACL_SECURITY_INFORMATION, currentDacl)) {
      what |= DACL_SECURITY_INFORMATION;
      dacl = currentDacl.dacl;
    } else {
      daclProtection = Protection::Unchanged;
    }
  }
  if (saclProtection != Protection::Unchanged && !(what & SACL_SECURITY_INFORMATION)) {
    if (ReadSecurity(SACL_SECURITY_INFORMATION, currentSacl)) {
      what |= SACL_SECURITY_INFORMATION;
      sacl = currentSacl.sacl;
    } else {
      saclProtection = Protection::Unchanged;
    }
  }
  if (daclProtection != Protection::Unchanged)
    what |= daclProtection == Protection::Protect ? PROTECTED_DACL_SECURITY_INFORMATION
                                                  : UNPROTECTED_DACL_SECURITY_INFORMATION;
  if (saclProtection != Protection::Unchanged)
    what |= saclProtection == Protection::Protect ? PROTECTED_SACL_SECURITY_INFORMATION
                                                  : UNPROTECTED_SACL_SECURITY_INFORMATION;
  // Nothing left to write: the read failure stays recorded.
  if (what == 0) return false;
  const SecurityApiTable &api = SecurityApi(false);
  bool named = !name_.empty();
  if (named ? !api.setNamedSecurityInfo : !api.setSecurityInfo) {
    SetLastError(ERROR_PROC_NOT_FOUND, std::string());
    return false;
  }
  auto *daclArg = const_cast<PACL>(dacl);
  auto *saclArg = const_cast<PACL>(sacl);
  DWORD status = named ? api.setNamedSecurityInfo(&name_[0], type_, what, owner, group, daclArg, saclArg)
                       : api.setSecurityInfo(handle_, type_, what, owner, group, daclArg, saclArg);
  if (status != ERROR_SUCCESS) {
    SetLastError(status, std::string());
    return false;
  }
  return true;
}

IPtr<IAccount> TISecurityObject::ReadAccount(SECURITY_INFORMATION what) {
  if (CheckValid() && NtOnly()) {
    ReadResult result;
    if (ReadSecurity(what, result)) {
      PSID sid = what == OWNER_SECURITY_INFORMATION ? result.owner : result.group;
      if (sid) return AccountBySid(sid);
      SetLastError(ERROR_INVALID_SECURITY_DESCR, std::string());
    }
  }
  return MakeObject<TIAccount>(LastErrorNo(), LastErrorStr());
}

void TISecurityObject::WriteAccount(SECURITY_INFORMATION what, IAccount *account) {
  if (!CheckValid() || !NtOnly()) return;
  PSID sid = account && account->IsValid() ? account->Sid() : nullptr;
  if (!sid) {
    SetLastError(ERROR_INVALID_PARAMETER, std::string());
    return;
  }
  bool owner = what == OWNER_SECURITY_INFORMATION;
  WriteSecurity(what, owner ? sid : nullptr, owner ? nullptr : sid, nullptr, nullptr, Protection::Unchanged,
                Protection::Unchanged);
}

IPtr<IAccount> TISecurityObject::Owner() { return ReadAccount(OWNER_SECURITY_INFORMATION); }
void TISecurityObject::SetOwner(IAccount *account) { WriteAccount(OWNER_SECURITY_INFORMATION, account); }
IPtr<IAccount> TISecurityObject::Group() { return ReadAccount(GROUP_SECURITY_INFORMATION); }
void TISecurityObject::SetGroup(IAccount *account) { WriteAccount(GROUP_SECURITY_INFORMATION, account); }

IPtr<IAcl> TISecurityObject::ReadAcl(bool system) {
  TIAcl *&cached = system ? cachedSacl_ : cachedDacl_;
  if (cached) return IPtr<IAcl>(static_cast<IAcl *>(cached));
  if (CheckValid()) {
    if (OsInfo().win9x) {
      if (!system) return ReadShareAccess();
      SetLastError(ERROR_CALL_NOT_IMPLEMENTED, std::string());
    } else {
      ReadResult result;
      if (ReadSecurity(system ? SACL_SECURITY_INFORMATION : DACL_SECURITY_INFORMATION, result)) {
        IPtr<TIAcl> acl = MakeObject<TIAcl>(static_cast<ISecurityObject *>(this), system ? result.sacl : result.dacl);
        if (acl->ReadFailed()) {
          SetLastError(acl->LastErrorNo(), acl->LastErrorStr());
          return acl;
        }
        cached = acl.get();
        return acl;
      }
    }
  }
  return MakeObject<TIAcl>(LastErrorNo(), LastErrorStr());
}

void TISecurityObject::WriteAcl(bool system, IAcl *acl) {
  if (!CheckValid()) return;
  auto *object = acl && acl->IsValid() ? dynamic_cast<TIAcl *>(acl->SelfObject()) : nullptr;
  if (!object) {
    SetLastError(ERROR_INVALID_PARAMETER, std::string());
    return;
  }
  bool win9x = OsInfo().win9x;
  if (win9x && system) {
    SetLastError(ERROR_CALL_NOT_IMPLEMENTED, std::string());
    return;
  }
  bool written = win9x ? (WriteShareAccess(object), Success())
                       : WriteSecurity(system ? SACL_SECURITY_INFORMATION : DACL_SECURITY_INFORMATION, nullptr,
                                       nullptr, system ? nullptr : object->RawAcl(), system ? object->RawAcl() : nullptr,
                                       Protection::Unchanged, Protection::Unchanged);
  TIAcl *&cached = system ? cachedSacl_ : cachedDacl_;
  if (!written || cached == object) return;
  if (cached) cached->DropOwner();
  cached = object;
  object->LinkOwner(this);
}

IPtr<IAcl> TISecurityObject::Dacl() { return ReadAcl(false); }
void TISecurityObject::SetDacl(IAcl *acl) { WriteAcl(false, acl); }
IPtr<IAcl> TISecurityObject::Sacl() { return ReadAcl(true); }
void TISecurityObject::SetSacl(IAcl *acl) { WriteAcl(true, acl); }

bool TISecurityObject::ReadProtection(bool system) {
  if (!CheckValid() || !NtOnly()) return false;
  ReadResult result;
  if (!ReadSecurity(system ? SACL_SECURITY_INFORMATION : DACL_SECURITY_INFORMATION, result)) return false;
  SECURITY_DESCRIPTOR_CONTROL control = 0;
  DWORD revision = 0;
  if (!GetSecurityDescriptorControl(result.descriptor.Get(), &control, &revision)) {
    SetLastError(GetLastError(), std::string());
    return false;
  }
  return (control & (system ? SE_SACL_PROTECTED : SE_DACL_PROTECTED)) != 0;
}

bool TISecurityObject::DaclProtected() { return ReadProtection(false); }
bool TISecurityObject::SaclProtected() { return ReadProtection(true); }

void TISecurityObject::SetDaclProtected(bool protect) {
  if (!CheckValid() || !NtOnly()) return;
  WriteSecurity(0, nullptr, nullptr, nullptr, nullptr, protect ? Protection::Protect : Protection::Unprotect,
                Protection::Unchanged);
}

void TISecurityObject::SetSaclProtected(bool protect) {
  if (!CheckValid() || !NtOnly()) return;
  WriteSecurity(0, nullptr, nullptr, nullptr, nullptr, Protection::Unchanged,
                protect ? Protection::Protect : Protection::Unprotect);
}

void TISecurityObject::ForgetAcl(const TIAcl *acl) {
  if (cachedDacl_ == acl) cachedDacl_ = nullptr;
  if (cachedSacl_ == acl) cachedSacl_ = nullptr;
}
