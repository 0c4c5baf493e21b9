// An access control list in its Windows binary form, presented as a list of
// IAce objects over its bytes. Edits are collected in memory and written back
// through the owning security object when flushed or when the last reference
// goes. On the Windows 9x family entries are account and share-mask pairs.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "security/ace.h"
#include "security/custom_basic_list.h"

class ISecurityObject;

// The largest ACL the 16-bit size field can describe, DWORD-aligned.
constexpr std::uint32_t kLargestAcl = 0xFFFC;

class IAcl : public virtual ICustomBasicList {
 public:
  static constexpr GUID kIid = IID_IAcl;

  virtual bool IsValidAcl() = 0;
  // Items: the entry at an index, typed (the list's Items answers the same
  // entry as IBasic); outside the list an invalid placeholder entry.
  virtual IPtr<IAce> AceItems(std::int32_t index) = 0;
  virtual std::int32_t AddAccess(IAccount *account, std::uint32_t mask, std::uint8_t aceType,
                                 std::uint8_t aceFlags) = 0;
  virtual std::int32_t Add(IAce *ace) = 0;
  virtual std::int32_t Insert(IAce *ace, std::int32_t index) = 0;
  virtual IPtr<IAce> FindAce(IAccount *account, std::int32_t first) = 0;
  virtual bool Delete(std::int32_t index) = 0;
  virtual bool DeleteAccount(IAccount *account) = 0;
  virtual bool Exists() = 0;
  virtual void MakeExists() = 0;
  virtual void Clear() = 0;
  virtual void Remove() = 0;
  virtual void SetFileAccess(IAccount *account, bool full) = 0;
  virtual void SetPrinterAccess(IAccount *account, bool full) = 0;
  virtual bool Changed() = 0;
  virtual bool Flush() = 0;
  virtual const ACL *RawAcl() = 0;
  virtual std::uint16_t AclSize() = 0;
  virtual std::uint32_t UsedSize() = 0;
  virtual IPtr<ISecurityObject> OwnerSecurityObject() = 0;

 protected:
  ~IAcl() = default;
};

class TIAcl : public TICustomBasicList, public virtual IAcl {
 public:
  // A valid ACL owned by `owner` (may be null), over a copy of `acl` (null: no ACL).
  TIAcl(ISecurityObject *owner, const ACL *acl);
  // An invalid placeholder.
  TIAcl(std::uint32_t errorNo, const std::string &errorText);
  ~TIAcl() override;

  bool IsValidAcl() override;
  IPtr<IBasic> Items(std::int32_t index) override;
  IPtr<IAce> AceItems(std::int32_t index) override;
  std::int32_t AddAccess(IAccount *account, std::uint32_t mask, std::uint8_t aceType, std::uint8_t aceFlags) override;
  std::int32_t Add(IAce *ace) override;
  std::int32_t Insert(IAce *ace, std::int32_t index) override;
  // Items of the base list's kind are accepted when they are entries.
  std::int32_t Add(IBasic *item) override;
  std::int32_t Insert(IBasic *item, std::int32_t index) override;
  IPtr<IAce> FindAce(IAccount *account, std::int32_t first) override;
  bool Delete(std::int32_t index) override;
  bool DeleteAccount(IAccount *account) override;
  bool Exists() override;
  void MakeExists() override;
  void Clear() override;
  void Remove() override;
  void SetFileAccess(IAccount *account, bool full) override;
  void SetPrinterAccess(IAccount *account, bool full) override;
  bool Changed() override;
  bool Flush() override;
  const ACL *RawAcl() override;
  std::uint16_t AclSize() override;
  std::uint32_t UsedSize() override;
  IPtr<ISecurityObject> OwnerSecurityObject() override;

  // Set by the entries when they are edited.
  void MarkChanged() { changed_ = true; }
  // The owning security object takes the ACL up, or gives it up for another one.
  void LinkOwner(ISecurityObject *owner);
  void DropOwner();
  // A share-level list just read from the system: present and unchanged.
  void MarkLoaded() {
    changed_ = false;
    sharePresent_ = true;
  }
  // Whether the binary ACL read at construction was well formed.
  bool ReadFailed() const { return readFailed_; }

 protected:
  IBasic *MainInterface() override;
  void *FindInterface(REFIID iid) override;
  void BeforeDestroy() override;

 private:
  bool Win9x() const { return win9x_; }
  bool Parse(const ACL *acl);
  bool EnsureSize(std::uint32_t needed);
  void Repoint(std::int32_t from);
  BYTE *AceBytes(std::int32_t index);
  TIAce *AceAt(std::int32_t index);
  IPtr<IAce> NewAceOver(BYTE *bytes);
  std::int32_t PlaceCopy(IAce *ace, std::int32_t index);
  IPtr<IAce> Placeholder(std::uint32_t errorNo, const std::string &errorText);

  std::vector<DWORD> acl_;  // the binary ACL (AclSize bytes); empty: no ACL
  std::uint32_t usedSize_ = 0;
  IPtr<ISecurityObject> owner_;
  bool changed_ = false;
  bool sharePresent_ = false;
  bool win9x_ = false;
  bool readFailed_ = false;
};
