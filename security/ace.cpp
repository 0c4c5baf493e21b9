#include "security/ace.h"

#include <cstring>

#include "security/acl.h"
#include "security/layer_error.h"
#include "security/os_info.h"
#include "security/security_object.h"

namespace {

bool Win9x() { return OsInfo().win9x; }

WORD ReadWord(const BYTE *p) { return static_cast<WORD>(p[0] | (p[1] << 8)); }

bool ObjectType(std::uint8_t type) { return type > ACCESS_ALLOWED_COMPOUND_ACE_TYPE; }

const char kInvalidObject[] = "This object is invalid.";

}  // namespace

TIAce::TIAce(TIAcl *ownerAcl, BYTE *bytes) : ace_(bytes), ownerAcl_(ownerAcl) {}

TIAce::TIAce(IAccount *account, std::uint32_t mask, std::uint8_t type, std::uint8_t flags) {
  if (!account || !account->IsValid()) {
    SetValid(false);
    SetLastError(ERROR_INVALID_PARAMETER, std::string());
    return;
  }
  account_ = IPtr<IAccount>(account);
  if (Win9x()) {
    shareMask_ = mask;
    return;
  }
  PSID sid = account->Sid();
  if (!sid) {
    SetValid(false);
    SetLastError(account->LastErrorNo(), account->LastErrorStr());
    return;
  }
  DWORD sidSize = GetLengthSid(sid);
  WORD size = static_cast<WORD>(sidSize + 8);
  ownBytes_.assign((size + 3) / 4, 0);
  ownsAce_ = true;
  ace_ = reinterpret_cast<BYTE *>(ownBytes_.data());
  ace_[0] = type;
  ace_[1] = flags;
  std::memcpy(ace_ + 2, &size, 2);
  std::memcpy(ace_ + 4, &mask, 4);
  std::memcpy(ace_ + 8, sid, sidSize);
}

TIAce::TIAce(std::uint32_t errorNo, const std::string &errorText) : TIBasic(errorNo, errorText) {}

IBasic *TIAce::MainInterface() { return static_cast<IAce *>(this); }

void *TIAce::FindInterface(REFIID iid) {
  if (SameIid(iid, IID_IAce)) return static_cast<IAce *>(this);
  return TIBasic::FindInterface(iid);
}

std::size_t TIAce::Readable() const { return ace_ ? ReadWord(ace_ + 2) : 0; }

std::size_t TIAce::SidOffset() const { return 8; }

void TIAce::MarkChanged() {
  if (ownerAcl_ && ownerAcl_->IsValid()) ownerAcl_->MarkChanged();
}

void TIAce::Detach() {
  if (ace_ && !ownsAce_) {
    std::size_t size = Readable();
    std::vector<DWORD> copy((size + 3) / 4);
    std::memcpy(copy.data(), ace_, size);
    ownBytes_ = std::move(copy);
    ace_ = reinterpret_cast<BYTE *>(ownBytes_.data());
    ownsAce_ = true;
  }
  ownerAcl_ = nullptr;
}

IPtr<IAccount> TIAce::Account() {
  if (account_) return account_;
  if (!CheckValid()) {
    account_ = MakeObject<TIAccount>(kErrorInvalidObject, std::string(kInvalidObject));
    return account_;
  }
  // The SID must lie inside the entry, whatever its header claims.
  std::size_t at = SidOffset(), size = Readable();
  if (at == 0 || at + 8 > size || at + 8 + 4u * ace_[at + 1] > size) {
    SetLastError(ERROR_INVALID_ACL, std::string());
    return MakeObject<TIAccount>(static_cast<std::uint32_t>(ERROR_INVALID_ACL), std::string());
  }
  account_ = AccountBySid(ace_ + at);
  return account_;
}

std::uint8_t TIAce::AceType() {
  if (!CheckValid() || Win9x()) return 0;
  return ace_[0];
}

void TIAce::SetAceType(std::uint8_t type) {
  if (!CheckValid() || type == AceType()) return;
  if (Win9x()) {
    SetLastError(ERROR_CALL_NOT_IMPLEMENTED, std::string());
    return;
  }
  if (ObjectType(type) != ObjectType(ace_[0])) {
    SetLastError(kErrorAceTypeBoundary, "You can't change the Ace type from IObjectAce to IAce or vice versa.");
    return;
  }
  ace_[0] = type;
  MarkChanged();
}

std::uint32_t TIAce::Access() {
  if (!CheckValid()) return 0;
  if (Win9x()) return shareMask_;
  std::uint32_t mask;
  std::memcpy(&mask, ace_ + 4, 4);
  return mask;
}

void TIAce::SetAccess(std::uint32_t mask) {
  if (!CheckValid() || mask == Access()) return;
  if (Win9x())
    shareMask_ = mask;
  else
    std::memcpy(ace_ + 4, &mask, 4);
  MarkChanged();
}

std::uint8_t TIAce::AceFlags() {
  if (!CheckValid() || Win9x()) return 0;
  return ace_[1];
}

void TIAce::SetAceFlags(std::uint8_t flags) {
  if (!CheckValid()) return;
  if (Win9x()) {
    SetLastError(ERROR_CALL_NOT_IMPLEMENTED, std::string());
    return;
  }
  if (flags == ace_[1]) return;
  ace_[1] = flags;
  MarkChanged();
}

const BYTE *TIAce::RawAce() { return ace_; }

std::uint16_t TIAce::AceSize() {
  if (!CheckValid() || Win9x()) return 0;
  return static_cast<std::uint16_t>(Readable());
}

IPtr<IAcl> TIAce::OwnerAcl() {
  if (ownerAcl_) return IPtr<IAcl>(static_cast<IAcl *>(ownerAcl_));
  const std::string text = "The Ace has no valid owner Acl.";
  if (!ownerAclHold_) ownerAclHold_ = MakeObject<TIAcl>(kErrorAceWithoutAcl, text);
  SetLastError(kErrorAceWithoutAcl, text);
  return ownerAclHold_;
}

IBasic *TIObjAce::MainInterface() { return static_cast<IObjectAce *>(this); }

void *TIObjAce::FindInterface(REFIID iid) {
  if (SameIid(iid, IID_IObjectAce)) return static_cast<IObjectAce *>(this);
  return TIAce::FindInterface(iid);
}

// Flags at 8, then each GUID the flags say is present, then the SID. A GUID
// that the flags announce but that does not lie whole inside the entry is
// absent: nothing past the entry's AceSize bytes is read or written.
std::size_t TIObjAce::GuidOffset(bool inherited) const {
  const std::size_t size = Readable();
  if (size < 12) return 0;
  std::uint32_t flags;
  std::memcpy(&flags, ace_ + 8, 4);
  std::size_t at = 12;
  if (flags & ACE_OBJECT_TYPE_PRESENT) {
    if (!inherited) return at + sizeof(GUID) <= size ? at : 0;
    at += sizeof(GUID);
  } else if (!inherited) {
    return 0;
  }
  if (!(flags & ACE_INHERITED_OBJECT_TYPE_PRESENT)) return 0;
  return at + sizeof(GUID) <= size ? at : 0;
}

std::size_t TIObjAce::SidOffset() const {
  if (Readable() < 12) return 0;
  std::uint32_t flags;
  std::memcpy(&flags, ace_ + 8, 4);
  std::size_t at = 12;
  if (flags & ACE_OBJECT_TYPE_PRESENT) at += 16;
  if (flags & ACE_INHERITED_OBJECT_TYPE_PRESENT) at += 16;
  return at;
}

std::uint32_t TIObjAce::ObjectFlags() {
  if (!CheckValid() || Win9x() || Readable() < 12) return 0;
  std::uint32_t flags;
  std::memcpy(&flags, ace_ + 8, 4);
  return flags;
}

GUID TIObjAce::ObjectTypeGuid() {
  GUID guid = {};
  if (!CheckValid() || Win9x()) return guid;
  if (std::size_t at = GuidOffset(false)) std::memcpy(&guid, ace_ + at, sizeof guid);
  return guid;
}

GUID TIObjAce::InheritedObjectTypeGuid() {
  GUID guid = {};
  if (!CheckValid() || Win9x()) return guid;
  if (std::size_t at = GuidOffset(true)) std::memcpy(&guid, ace_ + at, sizeof guid);
  return guid;
}

void TIObjAce::SetObjectFlags(std::uint32_t flags) {
  if (!CheckValid() || Win9x() || flags == ObjectFlags()) return;
  // The presence bits decide where the GUIDs and the SID lie: they stay.
  const std::uint32_t presence = ACE_OBJECT_TYPE_PRESENT | ACE_INHERITED_OBJECT_TYPE_PRESENT;
  if ((flags & presence) != (ObjectFlags() & presence)) {
    SetLastError(ERROR_INVALID_PARAMETER, std::string());
    return;
  }
  std::memcpy(ace_ + 8, &flags, 4);
  MarkChanged();
}

void TIObjAce::WriteGuid(bool inherited, const GUID &guid) {
  if (!CheckValid() || Win9x()) return;
  std::size_t at = GuidOffset(inherited);
  if (!at) {
    SetLastError(ERROR_INVALID_PARAMETER, std::string());
    return;
  }
  if (std::memcmp(ace_ + at, &guid, sizeof guid) == 0) return;
  std::memcpy(ace_ + at, &guid, sizeof guid);
  MarkChanged();
}

void TIObjAce::SetObjectTypeGuid(const GUID &guid) { WriteGuid(false, guid); }
void TIObjAce::SetInheritedObjectTypeGuid(const GUID &guid) { WriteGuid(true, guid); }

IPtr<IAce> NewAce(IAccount *account, std::uint32_t mask, std::uint8_t aceType, std::uint8_t aceFlags) {
  if (ObjectType(aceType)) throw SecurityLayerError("You can't create a new IObjectAce interface with this function.");
  return MakeObject<TIAce>(account, mask, aceType, aceFlags);
}
