#include "registry/registry_state.h"

#include <algorithm>

#include "core/component.h"
#include "registry/registry_links.h"

namespace winsim::detail {
namespace {

const struct {
  HKEY handle;
  const char *name;
} kRoots[] = {
    {HKEY_CLASSES_ROOT, "HKEY_CLASSES_ROOT"},
    {HKEY_CURRENT_USER, "HKEY_CURRENT_USER"},
    {HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE"},
    {HKEY_USERS, "HKEY_USERS"},
};

std::uintptr_t HandleValue(HKEY key) { return reinterpret_cast<std::uintptr_t>(key); }

// Upper case of a Windows-1252 character as a UTF-16 code unit, as the
// registry folds names.
char16_t FoldedChar(unsigned char c) {
  WCHAR wide = 0;
  char narrow = static_cast<char>(c);
  MultiByteToWideChar(CP_ACP, 0, &narrow, 1, &wide, 1);
  char16_t u = wide;
  if (u >= 'a' && u <= 'z') return static_cast<char16_t>(u - 0x20);
  if (u >= 0xE0 && u <= 0xFE && u != 0xF7) return static_cast<char16_t>(u - 0x20);
  switch (u) {
    case 0xFF: return 0x0178;    // ÿ
    case 0xB5: return 0x039C;    // µ
    case 0x0161: return 0x0160;  // š
    case 0x0153: return 0x0152;  // œ
    case 0x017E: return 0x017D;  // ž
    default: return u;
  }
}

int CompareNames(const std::string &a, const std::string &b) {
  size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    char16_t x = FoldedChar(static_cast<unsigned char>(a[i]));
    char16_t y = FoldedChar(static_cast<unsigned char>(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

std::shared_ptr<RegKey> NewRoot(const char *name) {
  auto root = std::make_shared<RegKey>();
  root->name = name;
  return root;
}

}  // namespace

RegistryState::RegistryState() {
  for (auto &root : kRoots) roots[HandleValue(root.handle)] = NewRoot(root.name);
  // Every profile and machine has these.
  AddSubkey(roots[HandleValue(HKEY_CURRENT_USER)], "Software");
  AddSubkey(roots[HandleValue(HKEY_LOCAL_MACHINE)], "SOFTWARE");
}

RegistryState &Registry() { return Component<RegistryState>(); }

bool SameName(const std::string &a, const std::string &b) { return CompareNames(a, b) == 0; }
bool NameLess(const std::string &a, const std::string &b) { return CompareNames(a, b) < 0; }

std::vector<std::string> SplitPath(const std::string &path) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('\\', start);
    if (end == std::string::npos) end = path.size();
    if (end > start) parts.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

std::shared_ptr<RegKey> FindSubkey(const RegKey &key, const std::string &name) {
  for (auto &subkey : key.subkeys)
    if (SameName(subkey->name, name)) return subkey;
  return nullptr;
}

std::shared_ptr<RegKey> AddSubkey(const std::shared_ptr<RegKey> &key, const std::string &name) {
  auto subkey = std::make_shared<RegKey>();
  subkey->name = name;
  subkey->parent = key;
  auto place = std::lower_bound(key->subkeys.begin(), key->subkeys.end(), name,
                                [](const std::shared_ptr<RegKey> &k, const std::string &n) { return NameLess(k->name, n); });
  key->subkeys.insert(place, subkey);
  return subkey;
}

void RemoveKey(const std::shared_ptr<RegKey> &key) {
  key->deleted = true;
  auto parent = key->parent.lock();
  if (!parent) return;
  auto &siblings = parent->subkeys;
  siblings.erase(std::remove(siblings.begin(), siblings.end(), key), siblings.end());
}

RegValue *FindValue(RegKey &key, const std::string &name) {
  for (auto &value : key.values)
    if (SameName(value.name, name)) return &value;
  return nullptr;
}

void SetValue(RegKey &key, const std::string &name, DWORD type, const BYTE *data, DWORD size) {
  RegValue *value = FindValue(key, name);
  if (!value) {
    key.values.push_back(RegValue{name, type, {}});
    value = &key.values.back();
  }
  // An existing value keeps its place and the spelling it was created with.
  value->type = type;
  value->data.assign(data, data + size);
}

bool RemoveValue(RegKey &key, const std::string &name) {
  for (auto it = key.values.begin(); it != key.values.end(); ++it)
    if (SameName(it->name, name)) {
      key.values.erase(it);
      return true;
    }
  return false;
}

std::string FullKeyPath(const RegKey &key) {
  auto parent = key.parent.lock();
  if (!parent) return key.name;
  return FullKeyPath(*parent) + "\\" + key.name;
}

std::shared_ptr<RegKey> RootKey(HKEY predefined) {
  auto &roots = Registry().roots;
  auto found = roots.find(HandleValue(predefined));
  return found == roots.end() ? nullptr : found->second;
}

std::shared_ptr<RegKey> WalkPath(std::shared_ptr<RegKey> from, const std::string &path, bool openLink) {
  auto parts = SplitPath(path);
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (!from) return nullptr;
    from = FindSubkey(*from, parts[i]);
    if (from && (i + 1 < parts.size() || !openLink)) from = FollowLinks(from);
  }
  return from;
}

}  // namespace winsim::detail
