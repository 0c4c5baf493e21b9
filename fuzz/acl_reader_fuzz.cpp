// The binary ACL reader from any bytes: header, sizes, counts, entry types,
// object entries with or without their GUIDs, SIDs of any form. The reader
// refuses a list whose entries do not fit, takes every list the system calls
// valid, never reads outside the list's AclSize bytes or outside an entry's
// AceSize bytes, and answers each entry's fields from its own bytes. A list it
// took is written back byte for byte: as read, entry by entry into a new list,
// and after an entry is taken out and put back.
#include <cstring>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "security/acl.h"
#include "winsim/machine.h"

namespace {

WORD WordAt(const BYTE *p) { return static_cast<WORD>(p[0] | (p[1] << 8)); }
DWORD DwordAt(const BYTE *p) {
  DWORD value;
  std::memcpy(&value, p, 4);
  return value;
}
void PutWord(std::vector<BYTE> &bytes, std::size_t at, WORD value) { std::memcpy(&bytes[at], &value, 2); }

const BYTE kLastPlainType = ACCESS_ALLOWED_COMPOUND_ACE_TYPE;

// An entry built from the input: its real size, and a header that may lie.
std::vector<BYTE> BuiltAce(FuzzInput &input) {
  const BYTE type = input.Byte() % 10;
  std::vector<BYTE> ace(8);
  ace[0] = type;
  ace[1] = input.Byte();
  const DWORD mask = input.Word32();
  std::memcpy(&ace[4], &mask, 4);
  if (type > kLastPlainType) {
    const DWORD objectFlags = input.Byte() & 3;
    ace.resize(12);
    std::memcpy(&ace[8], &objectFlags, 4);
    const int guids = ((objectFlags & 1) != 0) + ((objectFlags & 2) != 0);
    for (int g = 0; g < guids; ++g) {
      std::string guid = input.Bytes(16);
      guid.resize(16, '\x5A');
      ace.insert(ace.end(), guid.begin(), guid.end());
    }
  }
  // The SID: mostly well formed, sometimes of another revision or too long.
  const BYTE form = input.Byte();
  const BYTE count = form & 0x0F;
  ace.push_back((form & 0x30) == 0x30 ? input.Byte() : SID_REVISION);
  ace.push_back((form & 0xC0) == 0xC0 ? input.Byte() : count);
  for (int i = 0; i < 6; ++i) ace.push_back(input.Byte());
  for (int i = 0; i < count; ++i) {
    const DWORD sub = input.Word32();
    const auto *bytes = reinterpret_cast<const BYTE *>(&sub);
    ace.insert(ace.end(), bytes, bytes + 4);
  }
  // Trailing bytes (an entry size need not be a multiple of four), or a cut.
  const BYTE end = input.Byte();
  if (end & 0x80)
    ace.resize(ace.size() > (end & 0x3F) ? ace.size() - (end & 0x3F) : 0);
  else
    ace.resize(ace.size() + (end & 7), 0);
  WORD size = static_cast<WORD>(ace.size());
  if (ace.size() < 4) ace.resize(4, 0);
  if ((end & 0x40) != 0) size = static_cast<WORD>(input.Byte());  // a header that lies
  PutWord(ace, 2, size);
  return ace;
}

// An ACL of AclSize bytes exactly, its header from the input or made consistent.
std::vector<BYTE> BuiltAcl(FuzzInput &input) {
  const BYTE shape = input.Byte();
  std::vector<BYTE> acl(8);
  acl[0] = (shape & 1) ? input.Byte() : ACL_REVISION;
  const int count = input.Byte() % 9;
  for (int i = 0; i < count; ++i) {
    std::vector<BYTE> ace = BuiltAce(input);
    acl.insert(acl.end(), ace.begin(), ace.end());
  }
  acl.resize(acl.size() + (input.Byte() & 15), 0);
  PutWord(acl, 2, static_cast<WORD>(acl.size()));
  PutWord(acl, 4, static_cast<WORD>((shape & 2) ? input.Byte() : count));
  return acl;
}

// Raw bytes: the buffer is as long as the header's AclSize says (at least the
// header), the bytes beyond the input zero.
std::vector<BYTE> RawAcl(FuzzInput &input) {
  std::string bytes = input.Rest();
  bytes.resize(bytes.size() < 8 ? 8 : bytes.size(), '\0');
  std::size_t size = WordAt(reinterpret_cast<const BYTE *>(bytes.data()) + 2);
  bytes.resize(size < 8 ? 8 : size, '\0');
  return std::vector<BYTE>(bytes.begin(), bytes.end());
}

GUID GuidAt(const BYTE *ace, std::size_t at, std::size_t aceSize) {
  GUID guid = {};
  if (at != 0 && at + sizeof guid <= aceSize) std::memcpy(&guid, ace + at, sizeof guid);
  return guid;
}

bool SameGuid(const GUID &a, const GUID &b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// The text of a well-formed SID as the account layer writes it: revision 1
// and the last authority byte.
std::string SidText(const BYTE *sid) {
  std::string text = "S-1-" + std::to_string(sid[7]);
  for (BYTE i = 0; i < sid[1]; ++i) text += "-" + std::to_string(DwordAt(sid + 8 + 4 * i));
  return text;
}

// Every field of the entry at `ace` (aceSize bytes, inside the list) through
// the entry's interface, against the bytes themselves.
void CheckEntry(IAce &entry, const BYTE *ace) {
  const std::size_t aceSize = WordAt(ace + 2);
  FUZZ_CHECK(entry.IsValid());
  FUZZ_CHECK(entry.AceType() == ace[0]);
  FUZZ_CHECK(entry.AceFlags() == ace[1]);
  FUZZ_CHECK(entry.AceSize() == aceSize);
  FUZZ_CHECK(entry.Access() == DwordAt(ace + 4));
  std::size_t sidAt = 8;
  if (ace[0] > kLastPlainType) {
    IPtr<IObjectAce> object = InterfaceOf<IObjectAce>(&entry);
    FUZZ_CHECK(static_cast<bool>(object));
    const DWORD flags = DwordAt(ace + 8);
    FUZZ_CHECK(object->ObjectFlags() == flags);
    // A GUID is there when the flags say so and it lies inside the entry.
    const std::size_t objectAt = (flags & ACE_OBJECT_TYPE_PRESENT) ? 12 : 0;
    const std::size_t inheritedAt =
        (flags & ACE_INHERITED_OBJECT_TYPE_PRESENT) ? ((flags & ACE_OBJECT_TYPE_PRESENT) ? 28 : 12) : 0;
    FUZZ_CHECK(SameGuid(object->ObjectTypeGuid(), GuidAt(ace, objectAt, aceSize)));
    FUZZ_CHECK(SameGuid(object->InheritedObjectTypeGuid(), GuidAt(ace, inheritedAt, aceSize)));
    sidAt = 12 + ((flags & ACE_OBJECT_TYPE_PRESENT) ? 16 : 0) + ((flags & ACE_INHERITED_OBJECT_TYPE_PRESENT) ? 16 : 0);
  } else {
    FUZZ_CHECK(!InterfaceOf<IObjectAce>(&entry));
  }
  // The account exists exactly when a valid SID lies whole inside the entry.
  const bool sidInside = sidAt + 8 <= aceSize && sidAt + 8 + 4u * ace[sidAt + 1] <= aceSize;
  const bool sidValid = sidInside && ace[sidAt] == SID_REVISION && ace[sidAt + 1] <= SID_MAX_SUB_AUTHORITIES;
  IPtr<IAccount> account = entry.Account();
  FUZZ_CHECK(static_cast<bool>(account));
  FUZZ_CHECK(account->IsValid() == sidValid);
  if (sidValid) FUZZ_CHECK(account->SidString() == SidText(ace + sidAt));
}

// The entries' bytes, from the first one to the end of the last one.
std::vector<BYTE> EntryBytes(IAcl &acl) {
  const BYTE *bytes = reinterpret_cast<const BYTE *>(acl.RawAcl());
  if (!bytes) return {};
  return std::vector<BYTE>(bytes + 8, bytes + acl.UsedSize());
}

// Whether every entry's size is a multiple of four (walking by the sizes).
bool WellFormedSizes(const std::vector<BYTE> &entries) {
  for (std::size_t at = 0; at < entries.size();) {
    const WORD size = WordAt(&entries[at + 2]);
    if (size % 4 != 0) return false;
    at += size;
  }
  return true;
}

// Each object entry's GUIDs set anew: where the entry holds one, exactly its
// sixteen bytes change; where it holds none, the set is refused and no byte
// of the list changes.
void CheckGuidWrites(IAcl &acl) {
  const GUID fresh = {0xA1B2C3D4u, 0xE5F6, 0x0718, {0x29, 0x3A, 0x4B, 0x5C, 0x6D, 0x7E, 0x8F, 0x90}};
  const BYTE *list = reinterpret_cast<const BYTE *>(acl.RawAcl());
  for (std::int32_t i = 0; i < acl.Count(); ++i) {
    IPtr<IObjectAce> entry = InterfaceOf<IObjectAce>(acl.AceItems(i).get());
    if (!entry) continue;
    const std::size_t offset = static_cast<std::size_t>(entry->RawAce() - list);
    const std::size_t aceSize = entry->AceSize();
    const DWORD flags = entry->ObjectFlags();
    const std::size_t objectAt = (flags & ACE_OBJECT_TYPE_PRESENT) ? 12 : 0;
    const std::size_t inheritedAt =
        (flags & ACE_INHERITED_OBJECT_TYPE_PRESENT) ? ((flags & ACE_OBJECT_TYPE_PRESENT) ? 28 : 12) : 0;
    for (const bool inherited : {false, true}) {
      const std::size_t at = inherited ? inheritedAt : objectAt;
      std::vector<BYTE> expected(list, list + acl.UsedSize());
      const bool present = at != 0 && at + sizeof fresh <= aceSize;
      if (present) std::memcpy(&expected[offset + at], &fresh, sizeof fresh);
      if (inherited)
        entry->SetInheritedObjectTypeGuid(fresh);
      else
        entry->SetObjectTypeGuid(fresh);
      FUZZ_CHECK(std::vector<BYTE>(list, list + acl.UsedSize()) == expected);
      if (present) FUZZ_CHECK(SameGuid(inherited ? entry->InheritedObjectTypeGuid() : entry->ObjectTypeGuid(), fresh));
      else FUZZ_CHECK(entry->LastErrorNo() == ERROR_INVALID_PARAMETER);
    }
  }
}

// A list taken whole: written back as read, rebuilt entry by entry, and the
// same after an entry is taken out (kept alive elsewhere) and put back.
void CheckRoundTrips(TIAcl &acl, const std::vector<BYTE> &source, std::size_t used, FuzzInput &input) {
  const WORD count = WordAt(&source[4]);
  FUZZ_CHECK(acl.RawAcl() != nullptr);
  FUZZ_CHECK(acl.AclSize() == source.size());
  FUZZ_CHECK(std::memcmp(acl.RawAcl(), source.data(), source.size()) == 0);
  FUZZ_CHECK(acl.UsedSize() == used);
  const std::vector<BYTE> entries(source.begin() + 8, source.begin() + static_cast<std::ptrdiff_t>(used));
  FUZZ_CHECK(EntryBytes(acl) == entries);
  // A list as long as the 16-bit size allows cannot take any edit.
  if (used > kLargestAcl) return;

  IPtr<TIAcl> copy = MakeObject<TIAcl>(nullptr, nullptr);
  copy->MakeExists();
  for (WORD i = 0; i < count; ++i) FUZZ_CHECK(copy->Add(acl.AceItems(i).get()) == i);
  FUZZ_CHECK(copy->Count() == count);
  FUZZ_CHECK(EntryBytes(*copy) == entries);
  const BYTE *written = reinterpret_cast<const BYTE *>(copy->RawAcl());
  FUZZ_CHECK(written[0] == ACL_REVISION && WordAt(written + 4) == count);
  FUZZ_CHECK(copy->UsedSize() <= copy->AclSize() && copy->AclSize() % 4 == 0);
  // Entries of four-byte multiples make a list the system takes.
  if (WellFormedSizes(entries)) FUZZ_CHECK(copy->IsValidAcl());
  CheckGuidWrites(*copy);
  copy.reset();

  if (count == 0) return;
  const std::int32_t index = input.Byte() % count;
  IPtr<IAce> kept = acl.AceItems(index);
  const std::vector<BYTE> keptBytes(kept->RawAce(), kept->RawAce() + kept->AceSize());
  FUZZ_CHECK(acl.Delete(index));
  FUZZ_CHECK(acl.Count() == count - 1);
  FUZZ_CHECK(acl.UsedSize() == used - keptBytes.size());
  // The entry taken out still answers from its own copy, and has no list.
  FUZZ_CHECK(std::vector<BYTE>(kept->RawAce(), kept->RawAce() + kept->AceSize()) == keptBytes);
  CheckEntry(*kept, keptBytes.data());
  FUZZ_CHECK(!kept->OwnerAcl()->IsValid());
  for (std::int32_t i = 0; i < acl.Count(); ++i)
    FUZZ_CHECK(acl.AceItems(i)->RawAce() >= reinterpret_cast<const BYTE *>(acl.RawAcl()) + 8);
  FUZZ_CHECK(acl.Insert(kept.get(), index) == index);
  FUZZ_CHECK(EntryBytes(acl) == entries);
  FUZZ_CHECK(acl.Changed());
}

// Reads the list and checks it entry by entry, then its round trips.
void CheckList(const std::vector<BYTE> &source, FuzzInput &input) {
  // Where the entries end when they all fit, walked here by their sizes.
  const std::size_t aclSize = source.size();
  const WORD count = WordAt(&source[4]);
  bool fits = WordAt(&source[2]) >= 8;
  std::size_t used = 8;
  for (WORD i = 0; fits && i < count; ++i) {
    if (used + 4 > aclSize) {
      fits = false;
      break;
    }
    const std::size_t aceSize = WordAt(&source[used + 2]);
    if (aceSize < (source[used] > kLastPlainType ? 12u : 8u) || used + aceSize > aclSize) fits = false;
    used += aceSize;
  }
  // The system's verdict on the same bytes, from an aligned copy.
  std::vector<DWORD> aligned((aclSize + 3) / 4);
  std::memcpy(aligned.data(), source.data(), aclSize);
  const bool systemValid = IsValidAcl(reinterpret_cast<PACL>(aligned.data())) != FALSE;

  IPtr<TIAcl> acl = MakeObject<TIAcl>(nullptr, reinterpret_cast<const ACL *>(source.data()));
  // Entries too short for their own fields (the mask, an object entry's
  // flags) are refused even where the system's check lets them pass.
  FUZZ_CHECK(acl->IsValid() == fits);
  if (!fits) {
    FUZZ_CHECK(acl->ReadFailed());
    FUZZ_CHECK(acl->LastErrorNo() == ERROR_INVALID_ACL);
    FUZZ_CHECK(acl->Count() == 0);
    FUZZ_CHECK(!acl->AceItems(0)->IsValid());
    return;
  }
  FUZZ_CHECK(acl->Count() == count);
  std::size_t at = 8;
  for (WORD i = 0; i < count; ++i) {
    IPtr<IAce> entry = acl->AceItems(i);
    FUZZ_CHECK(entry->RawAce() == reinterpret_cast<const BYTE *>(acl->RawAcl()) + at);
    CheckEntry(*entry, source.data() + at);
    at += WordAt(&source[at + 2]);
  }
  FUZZ_CHECK(!acl->AceItems(count)->IsValid());
  // The layer's copy gets the system's verdict on the bytes given.
  FUZZ_CHECK(acl->IsValidAcl() == systemValid);
  if (systemValid) CheckRoundTrips(*acl, source, used, input);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  FuzzInput input(data, size);
  winsim::Reset();
  CheckList((input.Byte() & 1) ? RawAcl(input) : BuiltAcl(input), input);
  // The machine lets go of what the run left in it, so that libFuzzer finds
  // no growth to search for leaks after every input.
  winsim::Reset();
  return 0;
}
