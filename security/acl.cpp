#include "security/acl.h"

#include <cstring>

#include "security/os_info.h"
#include "security/security_object.h"

namespace {

WORD ReadWord(const BYTE *p) { return static_cast<WORD>(p[0] | (p[1] << 8)); }
void WriteWord(BYTE *p, WORD value) { std::memcpy(p, &value, 2); }

const std::uint32_t kHeader = 8;

std::uint32_t Aligned(std::uint32_t size) { return (size + 3) & ~3u; }

}  // namespace

TIAcl::TIAcl(ISecurityObject *owner, const ACL *acl) : win9x_(OsInfo().win9x) {
  if (!win9x_ && acl && !Parse(acl)) {
    // A malformed list is refused whole, never read past its end.
    readFailed_ = true;
    SetValid(false);
    SetLastError(ERROR_INVALID_ACL, std::string());
  }
  owner_ = IPtr<ISecurityObject>(owner);
}

TIAcl::TIAcl(std::uint32_t errorNo, const std::string &errorText)
    : TICustomBasicList(errorNo, errorText), win9x_(OsInfo().win9x) {}

TIAcl::~TIAcl() = default;

IBasic *TIAcl::MainInterface() { return static_cast<IAcl *>(this); }

void *TIAcl::FindInterface(REFIID iid) {
  if (SameIid(iid, IID_IAcl)) return static_cast<IAcl *>(this);
  return TICustomBasicList::FindInterface(iid);
}

BYTE *TIAcl::AceBytes(std::int32_t index) {
  auto *buffer = reinterpret_cast<BYTE *>(acl_.data());
  std::uint32_t offset = kHeader;
  for (std::int32_t i = 0; i < index; ++i) offset += ReadWord(buffer + offset + 2);
  return buffer + offset;
}

// Checks every entry against the entry's and the list's sizes before taking
// anything, then makes the entry objects over a copy.
bool TIAcl::Parse(const ACL *acl) {
  auto *source = reinterpret_cast<const BYTE *>(acl);
  std::uint32_t size = ReadWord(source + 2), count = ReadWord(source + 4), offset = kHeader;
  if (size < kHeader) return false;
  for (std::uint32_t i = 0; i < count; ++i) {
    if (offset + 4 > size) return false;
    std::uint32_t aceSize = ReadWord(source + offset + 2);
    std::uint32_t least = source[offset] > ACCESS_ALLOWED_COMPOUND_ACE_TYPE ? 12 : 8;
    if (aceSize < least || offset + aceSize > size) return false;
    offset += aceSize;
  }
  acl_.assign((size + 3) / 4, 0);
  std::memcpy(acl_.data(), source, size);
  usedSize_ = offset;
  for (std::uint32_t i = 0; i < count; ++i) TICustomBasicList::Add(NewAceOver(AceBytes(static_cast<std::int32_t>(i))).get());
  return true;
}

IPtr<IAce> TIAcl::NewAceOver(BYTE *bytes) {
  if (bytes[0] > ACCESS_ALLOWED_COMPOUND_ACE_TYPE) return MakeObject<TIObjAce>(this, bytes);
  return MakeObject<TIAce>(this, bytes);
}

TIAce *TIAcl::AceAt(std::int32_t index) {
  return dynamic_cast<TIAce *>(TICustomBasicList::Items(index)->SelfObject());
}

void TIAcl::Repoint(std::int32_t from) {
  if (win9x_ || acl_.empty()) return;
  std::int32_t count = Count();
  for (std::int32_t i = from; i < count; ++i) AceAt(i)->Repoint(AceBytes(i));
}

bool TIAcl::EnsureSize(std::uint32_t needed) {
  if (needed < usedSize_) needed = usedSize_;
  if (needed > kLargestAcl) {
    SetLastError(ERROR_ALLOTTED_SPACE_EXCEEDED, std::string());
    return false;
  }
  if (acl_.empty()) {
    std::uint32_t size = Aligned(needed);
    acl_.assign(size / 4, 0);
    auto *buffer = reinterpret_cast<BYTE *>(acl_.data());
    buffer[0] = ACL_REVISION;
    WriteWord(buffer + 2, static_cast<WORD>(size));
    usedSize_ = kHeader;
    return true;
  }
  std::uint32_t current = AclSize();
  if (current / 4 <= needed && needed <= current) return true;
  // Grows by half again; sizes stay DWORD-aligned, as Windows requires.
  std::uint32_t size = current < needed ? needed + needed / 2 : needed;
  size = Aligned(size);
  if (size > kLargestAcl) size = kLargestAcl;
  acl_.resize(size / 4, 0);
  WriteWord(reinterpret_cast<BYTE *>(acl_.data()) + 2, static_cast<WORD>(size));
  Repoint(0);
  return true;
}

bool TIAcl::IsValidAcl() {
  if (!acl_.empty() && IsValid() && !::IsValidAcl(reinterpret_cast<PACL>(acl_.data()))) {
    SetValid(false);
    SetLastError(GetLastError(), std::string());
  }
  return IsValid();
}

IPtr<IAce> TIAcl::Placeholder(std::uint32_t errorNo, const std::string &errorText) {
  return MakeObject<TIAce>(errorNo, errorText);
}

IPtr<IAce> TIAcl::AceItems(std::int32_t index) {
  ListLock guard(*this);
  if (index < 0 || index >= Count()) return Placeholder(kErrorIndexOutOfRange, "Index out of range.");
  return IPtr<IAce>(static_cast<IAce *>(AceAt(index)));
}

IPtr<IBasic> TIAcl::Items(std::int32_t index) { return AceItems(index); }

std::int32_t TIAcl::AddAccess(IAccount *account, std::uint32_t mask, std::uint8_t aceType, std::uint8_t aceFlags) {
  if (!CheckValid()) return -1;
  IPtr<IAce> ace = NewAce(account, mask, aceType, aceFlags);
  if (!ace->IsValid()) {
    SetLastError(ace->LastErrorNo(), ace->LastErrorStr());
    return -1;
  }
  return Add(ace.get());
}

std::int32_t TIAcl::Add(IAce *ace) { return PlaceCopy(ace, -1); }

std::int32_t TIAcl::Insert(IAce *ace, std::int32_t index) {
  ListLock guard(*this);
  if (!CheckValid()) return -1;
  if (index < 0) {
    SetLastError(kErrorInvalidIndex, "Invalid index.");
    return -1;
  }
  return PlaceCopy(ace, index);
}

std::int32_t TIAcl::Add(IBasic *item) {
  IPtr<IAce> ace = InterfaceOf<IAce>(item);
  return Add(ace.get());
}

std::int32_t TIAcl::Insert(IBasic *item, std::int32_t index) {
  IPtr<IAce> ace = InterfaceOf<IAce>(item);
  return Insert(ace.get(), index);
}

// A copy of the entry at index (-1: at the end); the entry given stays outside.
std::int32_t TIAcl::PlaceCopy(IAce *ace, std::int32_t index) {
  ListLock guard(*this);
  if (!CheckValid()) return -1;
  if (!ace || !ace->IsValid()) {
    SetLastError(ERROR_INVALID_PARAMETER, std::string());
    return -1;
  }
  std::int32_t count = Count();
  if (index < 0 || index > count) index = count;
  if (win9x_) {
    auto *source = dynamic_cast<TIAce *>(ace->SelfObject());
    IPtr<TIAce> entry = MakeObject<TIAce>(ace->Account().get(), source ? source->ShareMask() : ace->Access(), 0, 0);
    entry->AttachTo(this);
    std::int32_t placed = TICustomBasicList::Insert(entry.get(), index);
    changed_ = true;
    sharePresent_ = true;
    return placed;
  }
  std::uint32_t size = ace->AceSize();
  // Copied first: the entry may lie in this very buffer, which may move.
  std::vector<BYTE> bytes(ace->RawAce(), ace->RawAce() + size);
  if (!EnsureSize(acl_.empty() ? size + kHeader : usedSize_ + size)) return -1;
  auto *buffer = reinterpret_cast<BYTE *>(acl_.data());
  std::uint32_t at = index < count ? static_cast<std::uint32_t>(AceBytes(index) - buffer) : usedSize_;
  std::memmove(buffer + at + size, buffer + at, usedSize_ - at);
  std::memcpy(buffer + at, bytes.data(), size);
  WriteWord(buffer + 4, static_cast<WORD>(count + 1));
  usedSize_ += size;
  changed_ = true;
  IPtr<IAce> entry = NewAceOver(buffer + at);
  std::int32_t placed = TICustomBasicList::Insert(entry.get(), index);
  Repoint(0);
  return placed;
}

IPtr<IAce> TIAcl::FindAce(IAccount *account, std::int32_t first) {
  ListLock guard(*this);
  if (!CheckValid()) return Placeholder(LastErrorNo(), LastErrorStr());
  if (first < 0) {
    SetLastError(kErrorInvalidIndex, "Invalid index.");
    return Placeholder(LastErrorNo(), LastErrorStr());
  }
  for (std::int32_t i = first; i < Count(); ++i) {
    TIAce *ace = AceAt(i);
    if (ace->Account()->IsEqual(account)) return IPtr<IAce>(static_cast<IAce *>(ace));
  }
  SetLastError(ERROR_FILE_NOT_FOUND, std::string());
  return Placeholder(LastErrorNo(), LastErrorStr());
}

bool TIAcl::Delete(std::int32_t index) {
  ListLock guard(*this);
  if (!CheckValid()) return false;
  if (index < 0 || index >= Count()) {
    SetLastError(kErrorInvalidIndex, "Invalid index.");
    return false;
  }
  TIAce *ace = AceAt(index);
  // An entry still referenced elsewhere keeps its bytes and leaves the ACL.
  ace->Detach();
  if (!win9x_ && !acl_.empty()) {
    auto *buffer = reinterpret_cast<BYTE *>(acl_.data());
    std::uint32_t at = static_cast<std::uint32_t>(AceBytes(index) - buffer), size = ReadWord(buffer + at + 2);
    std::memmove(buffer + at, buffer + at + size, usedSize_ - at - size);
    WriteWord(buffer + 4, static_cast<WORD>(ReadWord(buffer + 4) - 1));
    usedSize_ -= size;
  }
  changed_ = true;
  TICustomBasicList::Delete(index);
  Repoint(index);
  return true;
}

bool TIAcl::DeleteAccount(IAccount *account) {
  ListLock guard(*this);
  if (!CheckValid()) return false;
  if (!account || !account->IsValid()) {
    SetLastError(ERROR_INVALID_PARAMETER, std::string());
    return false;
  }
  bool deleted = false;
  for (std::int32_t i = Count() - 1; i >= 0; --i)
    if (AceAt(i)->Account()->IsEqual(account)) deleted = Delete(i) || deleted;
  if (!deleted) SetLastError(ERROR_FILE_NOT_FOUND, std::string());
  return deleted;
}

bool TIAcl::Exists() { return win9x_ ? sharePresent_ : !acl_.empty(); }

void TIAcl::MakeExists() {
  ListLock guard(*this);
  if (!CheckValid()) return;
  if (!Exists()) {
    if (win9x_)
      sharePresent_ = true;
    else
      EnsureSize(kHeader);
  }
  changed_ = true;
}

void TIAcl::Remove() {
  ListLock guard(*this);
  if (!CheckValid()) return;
  for (std::int32_t i = Count() - 1; i >= 0; --i) Delete(i);
  acl_.clear();
  usedSize_ = 0;
  sharePresent_ = false;
  changed_ = true;
}

void TIAcl::Clear() {
  ListLock guard(*this);
  Remove();
  MakeExists();
}

void TIAcl::SetFileAccess(IAccount *account, bool full) {
  if (!CheckValid()) return;
  if (!account || !account->IsValid()) {
    SetLastError(ERROR_INVALID_PARAMETER, std::string());
    return;
  }
  DeleteAccount(account);
  std::uint32_t mask = win9x_ ? (full ? 0xB7 : 0x81) : (full ? FILE_ALL_ACCESS : FILE_GENERIC_READ | FILE_EXECUTE);
  AddAccess(account, mask, ACCESS_ALLOWED_ACE_TYPE, OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE);
}

void TIAcl::SetPrinterAccess(IAccount *account, bool full) {
  if (!CheckValid()) return;
  if (!account || !account->IsValid()) {
    SetLastError(ERROR_INVALID_PARAMETER, std::string());
    return;
  }
  if (win9x_) {
    IPtr<IAce> found = FindAce(account, 0);
    if (found->IsValid())
      found->SetAccess(0xB7);
    else
      AddAccess(account, 0xB7, ACCESS_ALLOWED_ACE_TYPE, 0);
    return;
  }
  DeleteAccount(account);
  if (full) {
    AddAccess(account, 0xF000C, ACCESS_ALLOWED_ACE_TYPE, 0);
    AddAccess(account, 0xF0010, ACCESS_ALLOWED_ACE_TYPE, OBJECT_INHERIT_ACE | INHERIT_ONLY_ACE);
  } else {
    AddAccess(account, 0x20008, ACCESS_ALLOWED_ACE_TYPE, 0);
  }
}

bool TIAcl::Changed() { return changed_; }

bool TIAcl::Flush() {
  if (!CheckValid()) return false;
  bool written = true;
  if (changed_ && owner_ && owner_->IsValid()) {
    auto *owner = dynamic_cast<TISecurityObject *>(owner_->SelfObject());
    bool dacl = owner && owner->IsCachedDacl(this), sacl = owner && owner->IsCachedSacl(this);
    if (dacl) owner_->SetDacl(this);
    if (sacl) owner_->SetSacl(this);
    if (dacl || sacl) {
      written = owner_->Success();
      if (!written) SetLastError(owner_->LastErrorNo(), owner_->LastErrorStr());
    }
  }
  // Cleared also after a failed write: a failed write-back is not retried.
  changed_ = false;
  return written;
}

const ACL *TIAcl::RawAcl() { return acl_.empty() ? nullptr : reinterpret_cast<const ACL *>(acl_.data()); }

std::uint16_t TIAcl::AclSize() { return acl_.empty() ? 0 : ReadWord(reinterpret_cast<BYTE *>(acl_.data()) + 2); }

std::uint32_t TIAcl::UsedSize() { return usedSize_; }

IPtr<ISecurityObject> TIAcl::OwnerSecurityObject() {
  if (!owner_) {
    const std::string text = "The Acl has no valid owner security object.";
    owner_ = MakeObject<TISecurityObject>(kErrorAclWithoutOwner, text);
    SetLastError(kErrorAclWithoutOwner, text);
  }
  return owner_;
}

void TIAcl::LinkOwner(ISecurityObject *owner) { owner_ = IPtr<ISecurityObject>(owner); }

void TIAcl::DropOwner() { owner_.reset(); }

void TIAcl::BeforeDestroy() {
  if (IsValid() && changed_) Flush();
  if (owner_)
    if (auto *owner = dynamic_cast<TISecurityObject *>(owner_->SelfObject())) owner->ForgetAcl(this);
  // Entries still referenced elsewhere keep their bytes, even when the list
  // itself became invalid and refuses to delete them one by one.
  for (std::int32_t i = 0; i < Count(); ++i) AceAt(i)->Detach();
  TICustomBasicList::BeforeDestroy();
  acl_.clear();
}
