// The simulated registry: a tree of keys per predefined root, and the table of
// key handles the program holds.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <windows.h>

namespace winsim::detail {

struct KeySecurity;

struct RegValue {
  std::string name;  // ANSI bytes as written; "" is the key's default value
  DWORD type = REG_NONE;
  std::vector<BYTE> data;
};

struct RegKey {
  std::string name;
  std::weak_ptr<RegKey> parent;
  std::vector<std::shared_ptr<RegKey>> subkeys;  // kept in enumeration order
  std::vector<RegValue> values;                  // creation order
  bool deleted = false;
  // A link key (REG_OPTION_CREATE_LINK): paths through it lead to the key its
  // "SymbolicLinkValue" names.
  bool link = false;
  // Rights the program is refused on this key whatever it asks for.
  REGSAM deniedRights = 0;
  // The key's own security; null while it has only what it inherits (its
  // owner then is the program's user). See registry_security.h.
  std::shared_ptr<KeySecurity> security;
};

struct RegHandle {
  std::shared_ptr<RegKey> key;
  REGSAM granted = 0;
  // KEY_WOW64_64KEY / KEY_WOW64_32KEY as asked when the handle was opened.
  REGSAM view = 0;
};

struct RegistryState {
  RegistryState();
  std::map<std::uintptr_t, std::shared_ptr<RegKey>> roots;  // by predefined handle value
  std::map<std::uintptr_t, RegHandle> handles;
  std::uintptr_t nextHandle = 0x3000100;
};

RegistryState &Registry();

// Windows compares key and value names without regard to case, by the upper
// case of their UTF-16 form; names sort in that order.
bool SameName(const std::string &a, const std::string &b);
bool NameLess(const std::string &a, const std::string &b);

// Splits "A\B\C" into its components; empty components are dropped.
std::vector<std::string> SplitPath(const std::string &path);

std::shared_ptr<RegKey> FindSubkey(const RegKey &key, const std::string &name);
// Adds a subkey at its sorted place and answers it.
std::shared_ptr<RegKey> AddSubkey(const std::shared_ptr<RegKey> &key, const std::string &name);
// Unlinks a key (which must have no subkeys) from its parent and marks it deleted.
void RemoveKey(const std::shared_ptr<RegKey> &key);

RegValue *FindValue(RegKey &key, const std::string &name);
void SetValue(RegKey &key, const std::string &name, DWORD type, const BYTE *data, DWORD size);
bool RemoveValue(RegKey &key, const std::string &name);

// "HKEY_CURRENT_USER\Software\..." for traces and messages.
std::string FullKeyPath(const RegKey &key);

// The root behind a predefined handle, or null.
std::shared_ptr<RegKey> RootKey(HKEY predefined);
// Walks a path without creating anything; null when a component is missing.
// Links on the way are followed; the last key too unless `openLink` is set.
std::shared_ptr<RegKey> WalkPath(std::shared_ptr<RegKey> from, const std::string &path, bool openLink = false);

}  // namespace winsim::detail
