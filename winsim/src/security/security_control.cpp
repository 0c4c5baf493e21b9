#include <mutex>
#include <stdexcept>

#include "core/component.h"
#include "registry/registry_security.h"
#include "winsim/registry.h"
#include "winsim/security.h"

namespace winsim {

using namespace detail;

namespace {

SidBytes Parse(const std::string &text) {
  auto sid = ParseSidText(text);
  if (!sid) throw std::invalid_argument("malformed SID text: " + text);
  return *sid;
}

SecurityAce ToControl(const AceEntry &ace) { return {ace.type, ace.flags, ace.mask, SidToText(ace.sid)}; }

}  // namespace

std::vector<BYTE> SidBytesOf(const std::string &text) { return Parse(text); }
std::string SidTextOf(const void *sid) { return SidToText(SidAt(sid)); }

std::string ProgramUserSid() {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  return SidToText(Security().tokenUser);
}

void AddAccount(const std::string &name, const std::string &domain, const std::string &sid, SID_NAME_USE use) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  SidBytes bytes = Parse(sid);
  auto &accounts = Security().accounts;
  for (auto &account : accounts)
    if (account.sid == bytes) {
      account = Account{name, domain, bytes, use};
      return;
    }
  accounts.push_back(Account{name, domain, bytes, use});
}

void SetProgramUser(const std::string &name, const std::string &sid) {
  AddAccount(name, Security().computerName, sid, SidTypeUser);
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  Security().tokenUser = Parse(sid);
  Security().userName = name;
}

void SetTokenPrivileges(const std::vector<PrivilegeState> &privileges) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  auto &held = Security().privileges;
  held.clear();
  for (auto &privilege : privileges) {
    auto luid = PrivilegeLuid(privilege.name);
    if (!luid) throw std::invalid_argument("unknown privilege: " + privilege.name);
    held.push_back({*luid, privilege.attributes});
  }
}

std::vector<PrivilegeState> TokenPrivilegeStates() {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  std::vector<PrivilegeState> states;
  for (auto &entry : Security().privileges) states.push_back({PrivilegeName(entry.luid), entry.attributes});
  return states;
}

void RefuseOpenProcessToken(DWORD error) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  Security().tokenRefusal = error;
}

void SetKeySecurity(HKEY root, const std::string &path, const std::string &owner, const std::vector<SecurityAce> &ownAces,
                    bool daclProtected) {
  CreateRegistryKey(root, path);
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  auto key = WalkPath(RootKey(root), path);
  KeySecurity &own = OwnSecurity(*key);
  own.owner = Parse(owner);
  own.nullDacl = false;
  own.ownAces.clear();
  for (auto &ace : ownAces) own.ownAces.push_back(MakeAce(ace.type, ace.flags, ace.mask, Parse(ace.sid)));
  own.daclProtected = daclProtected;
}

KeySecurityState KeySecurityOf(HKEY root, const std::string &path) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  auto key = WalkPath(RootKey(root), path);
  if (!key) throw std::invalid_argument("no such key: " + path);
  KeySecurityState state;
  state.owner = SidToText(KeyOwner(*key));
  state.group = SidToText(KeyGroup(*key));
  auto dacl = EffectiveDacl(*key);
  state.nullDacl = !dacl;
  if (dacl)
    for (auto &ace : *dacl) state.dacl.push_back(ToControl(ace));
  state.daclProtected = KeyDaclProtected(*key);
  return state;
}

void SetShareAccess(const std::string &resource, const ShareAccessList &entries) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  std::string key = resource;
  for (auto &c : key)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  auto &list = Security().shareAccess[key];
  list.clear();
  for (auto &entry : entries) list.push_back({entry.first, entry.second});
}

std::optional<ShareAccessList> ShareAccessOf(const std::string &resource) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  std::string key = resource;
  for (auto &c : key)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  auto found = Security().shareAccess.find(key);
  if (found == Security().shareAccess.end()) return std::nullopt;
  ShareAccessList list;
  for (auto &entry : found->second) list.push_back({entry.name, entry.access});
  return list;
}

}  // namespace winsim
