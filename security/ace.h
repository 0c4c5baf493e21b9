// One access control entry: a view of its bytes inside an ACL's buffer, or a
// stand-alone copy; object ACEs (types above 4) have their own interface.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "security/account.h"
#include "security/basic.h"

class IAcl;
class TIAcl;

constexpr std::uint32_t kErrorAceTypeBoundary = 0x50001;
constexpr std::uint32_t kErrorAceWithoutAcl = 0x50002;
constexpr std::uint32_t kErrorAclWithoutOwner = 0x50003;

class IAce : public virtual IBasic {
 public:
  static constexpr GUID kIid = IID_IAce;

  virtual IPtr<IAccount> Account() = 0;
  virtual std::uint8_t AceType() = 0;
  virtual void SetAceType(std::uint8_t type) = 0;
  virtual std::uint32_t Access() = 0;
  virtual void SetAccess(std::uint32_t mask) = 0;
  virtual std::uint8_t AceFlags() = 0;
  virtual void SetAceFlags(std::uint8_t flags) = 0;
  virtual const BYTE *RawAce() = 0;
  virtual std::uint16_t AceSize() = 0;
  virtual IPtr<IAcl> OwnerAcl() = 0;

 protected:
  ~IAce() = default;
};

class IObjectAce : public virtual IAce {
 public:
  static constexpr GUID kIid = IID_IObjectAce;

  virtual std::uint32_t ObjectFlags() = 0;
  virtual GUID ObjectTypeGuid() = 0;
  virtual GUID InheritedObjectTypeGuid() = 0;
  virtual void SetObjectFlags(std::uint32_t flags) = 0;
  virtual void SetObjectTypeGuid(const GUID &guid) = 0;
  virtual void SetInheritedObjectTypeGuid(const GUID &guid) = 0;

 protected:
  ~IObjectAce() = default;
};

class TIAce : public TIBasic, public virtual IAce {
 public:
  // Over `bytes` (AceSize long) inside ownerAcl's buffer; not owned.
  TIAce(TIAcl *ownerAcl, BYTE *bytes);
  // A stand-alone entry built from an account (NT: its own bytes).
  TIAce(IAccount *account, std::uint32_t mask, std::uint8_t type, std::uint8_t flags);
  // An invalid placeholder.
  TIAce(std::uint32_t errorNo, const std::string &errorText);

  IPtr<IAccount> Account() override;
  std::uint8_t AceType() override;
  void SetAceType(std::uint8_t type) override;
  std::uint32_t Access() override;
  void SetAccess(std::uint32_t mask) override;
  std::uint8_t AceFlags() override;
  void SetAceFlags(std::uint8_t flags) override;
  const BYTE *RawAce() override;
  std::uint16_t AceSize() override;
  IPtr<IAcl> OwnerAcl() override;

  // For the owner ACL: where the bytes now are, and leaving the ACL.
  void Repoint(BYTE *bytes) { ace_ = bytes; }
  // Takes a private copy of the bytes; keeps the link when a placeholder owner is held.
  void Detach();
  TIAcl *OwnerAclObject() const { return ownerAcl_; }
  // An entry the ACL made for itself from an account (9x family).
  void AttachTo(TIAcl *acl) { ownerAcl_ = acl; }
  std::uint32_t ShareMask() const { return shareMask_; }

 protected:
  IBasic *MainInterface() override;
  void *FindInterface(REFIID iid) override;
  void MarkChanged();
  // The SID's offset from the ACE's start: 8 for plain ACEs.
  virtual std::size_t SidOffset() const;
  // Bytes readable at the ACE (AceSize bounded), 0 without ACE bytes.
  std::size_t Readable() const;

  BYTE *ace_ = nullptr;
  bool ownsAce_ = false;
  std::vector<DWORD> ownBytes_;  // the bytes when ownsAce_

 private:
  IPtr<IAccount> account_;
  std::uint32_t shareMask_ = 0;
  TIAcl *ownerAcl_ = nullptr;
  IPtr<IAcl> ownerAclHold_;
};

class TIObjAce : public TIAce, public virtual IObjectAce {
 public:
  using TIAce::TIAce;

  std::uint32_t ObjectFlags() override;
  GUID ObjectTypeGuid() override;
  GUID InheritedObjectTypeGuid() override;
  void SetObjectFlags(std::uint32_t flags) override;
  void SetObjectTypeGuid(const GUID &guid) override;
  void SetInheritedObjectTypeGuid(const GUID &guid) override;

 protected:
  IBasic *MainInterface() override;
  void *FindInterface(REFIID iid) override;
  std::size_t SidOffset() const override;

 private:
  // Where a GUID lies (0 when the flags say it is absent).
  std::size_t GuidOffset(bool inherited) const;
  void WriteGuid(bool inherited, const GUID &guid);
};

// A stand-alone plain ACE; an object ACE type raises the layer's exception.
IPtr<IAce> NewAce(IAccount *account, std::uint32_t mask, std::uint8_t aceType, std::uint8_t aceFlags);
