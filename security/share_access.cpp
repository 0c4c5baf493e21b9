// The DACL of a file or printer on the Windows 9x family: its share-level
// access list, read and written through svrApi.dll. Records are packed: a
// header (name pointer, attributes, entry count), then (name pointer, access)
// entries; pointers have the program's own width.
#include <cstring>
#include <vector>

#include "security/os_info.h"
#include "security/security_api.h"
#include "security/security_object.h"

namespace {

const unsigned kNoAccessList = 2222;  // NERR_ResourceNotFound
const std::size_t kHeaderSize = sizeof(char *) + 2 * sizeof(WORD);
const std::size_t kEntrySize = sizeof(char *) + sizeof(WORD);
const WORD kGroupBit = 0x8000;

}  // namespace

IPtr<IAcl> TISecurityObject::ReadShareAccess() {
  const SecurityApiTable &api = SecurityApi(true);
  if (!api.netAccessGetInfo) {
    SetLastError(ERROR_PROC_NOT_FOUND, std::string());
    return MakeObject<TIAcl>(LastErrorNo(), LastErrorStr());
  }
  std::string name = NarrowText(name_);
  unsigned short total = 0;
  unsigned status = api.netAccessGetInfo(nullptr, &name[0], 12, nullptr, 0, &total);
  if (total == 0 && status == kNoAccessList) {
    IPtr<TIAcl> empty = MakeObject<TIAcl>(static_cast<ISecurityObject *>(this), nullptr);
    cachedDacl_ = empty.get();
    return empty;
  }
  if (total == 0) {
    SetLastError(status, std::string());
    return MakeObject<TIAcl>(LastErrorNo(), LastErrorStr());
  }
  std::vector<char> buffer(total);
  status = api.netAccessGetInfo(nullptr, &name[0], 12, buffer.data(), total, &total);
  if (status != 0) {
    SetLastError(status, std::string());
    return MakeObject<TIAcl>(LastErrorNo(), LastErrorStr());
  }
  IPtr<TIAcl> acl = MakeObject<TIAcl>(static_cast<ISecurityObject *>(this), nullptr);
  WORD count = 0;
  if (buffer.size() >= kHeaderSize) std::memcpy(&count, buffer.data() + sizeof(char *) + 2, 2);
  for (std::size_t i = 0; i < count && kHeaderSize + (i + 1) * kEntrySize <= buffer.size(); ++i) {
    const char *entry = buffer.data() + kHeaderSize + i * kEntrySize;
    char *accountName = nullptr;
    WORD access = 0;
    std::memcpy(&accountName, entry, sizeof accountName);
    std::memcpy(&access, entry + sizeof accountName, 2);
    if (!accountName || access == 0) continue;
    IPtr<IAccount> account = AccountByName(accountName, (access & kGroupBit) ? 1 : 0);
    acl->AddAccess(account.get(), access & 0xFF, ACCESS_ALLOWED_ACE_TYPE, 0);
  }
  acl->MarkLoaded();
  cachedDacl_ = acl.get();
  return acl;
}

void TISecurityObject::WriteShareAccess(TIAcl *acl) {
  const SecurityApiTable &api = SecurityApi(true);
  if (!api.netAccessDel || !api.netAccessAdd) {
    SetLastError(ERROR_PROC_NOT_FOUND, std::string());
    return;
  }
  std::vector<std::pair<std::string, WORD>> entries;
  if (!acl->Exists()) {
    entries.push_back({"*", 0x80B7});
  } else {
    for (std::int32_t i = 0; i < acl->Count(); ++i) {
      IPtr<IAce> ace = acl->AceItems(i);
      IPtr<IAccount> account = ace->Account();
      WORD access = static_cast<WORD>(ace->Access());
      if (account->AccountType() == SidTypeGroup) access |= kGroupBit;
      entries.push_back({account->Name(), access});
    }
  }
  std::string name = NarrowText(name_);
  unsigned status = api.netAccessDel(nullptr, &name[0]);
  if (!entries.empty()) {
    std::vector<char> list(kHeaderSize + entries.size() * kEntrySize);
    char *resource = &name[0];
    WORD attributes = 0, count = static_cast<WORD>(entries.size());
    std::memcpy(list.data(), &resource, sizeof resource);
    std::memcpy(list.data() + sizeof resource, &attributes, 2);
    std::memcpy(list.data() + sizeof resource + 2, &count, 2);
    for (std::size_t i = 0; i < entries.size(); ++i) {
      char *entry = list.data() + kHeaderSize + i * kEntrySize;
      char *accountName = &entries[i].first[0];
      std::memcpy(entry, &accountName, sizeof accountName);
      std::memcpy(entry + sizeof accountName, &entries[i].second, 2);
    }
    status = api.netAccessAdd(nullptr, 2, list.data(), static_cast<unsigned short>(list.size()));
  }
  if (status != 0) SetLastError(status, std::string());
}
