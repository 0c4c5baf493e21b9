// Registry links: following them, creating them for tests, and NtDeleteKey,
// the one way to delete a link key itself (RegDeleteKey follows the link and
// deletes its target).
#include "registry/registry_links.h"

#include <mutex>

#include "core/component.h"
#include "core/trace.h"
#include "optional_api_reset.h"
#include "registry/registry_handles.h"
#include "registry/registry_rewrites.h"
#include "winsim/registry_links.h"

using namespace winsim::detail;

namespace {

const char kLinkValueName[] = "SymbolicLinkValue";
const int kMostLinksInARow = 16;
const LONG kStatusSuccess = 0;
const LONG kStatusAccessDenied = static_cast<LONG>(0xC0000022);
const LONG kStatusInvalidHandle = static_cast<LONG>(0xC0000008);
const LONG kStatusCannotDelete = static_cast<LONG>(0xC0000121);

const struct {
  const char *nativeName;
  HKEY root;
} kNativeRoots[] = {{"\\REGISTRY\\MACHINE", HKEY_LOCAL_MACHINE}, {"\\REGISTRY\\USER", HKEY_USERS}};

// The target's native name, as the link's REG_LINK value holds it: UTF-16LE
// without a terminator. Only ASCII names are modelled.
std::string LinkTargetName(const RegKey &link) {
  auto &values = const_cast<RegKey &>(link);
  const RegValue *value = FindValue(values, kLinkValueName);
  if (!value || value->type != REG_LINK) return "";
  std::string name;
  for (std::size_t i = 0; i + 1 < value->data.size(); i += 2) name += static_cast<char>(value->data[i]);
  return name;
}

std::shared_ptr<RegKey> KeyByNativeName(const std::string &name) {
  for (auto &native : kNativeRoots) {
    std::string prefix = native.nativeName;
    if (name.size() < prefix.size() || !SameName(name.substr(0, prefix.size()), prefix)) continue;
    if (name.size() > prefix.size() && name[prefix.size()] != '\\') continue;
    return WalkPath(RootKey(native.root), name.substr(prefix.size()), true);
  }
  return nullptr;
}

std::string NativeName(HKEY root, const std::string &path) {
  for (auto &native : kNativeRoots)
    if (native.root == root) return std::string(native.nativeName) + "\\" + path;
  return "";
}

}  // namespace

namespace winsim::detail {

std::shared_ptr<RegKey> FollowLinks(std::shared_ptr<RegKey> key) {
  for (int i = 0; key && key->link; ++i) {
    if (i == kMostLinksInARow) return nullptr;
    key = KeyByNativeName(LinkTargetName(*key));
  }
  return key;
}

}  // namespace winsim::detail

LONG WINAPI NtDeleteKey(HANDLE handle) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  HKEY key = reinterpret_cast<HKEY>(handle);
  Record("NtDeleteKey", DescribeTarget(key, nullptr));
  if (unsigned fault = InjectedFault("NtDeleteKey")) return static_cast<LONG>(fault);
  if (IsPredefinedKey(key)) return kStatusAccessDenied;
  auto target = ResolveHandle(key, DELETE);
  if (target.status == ERROR_ACCESS_DENIED) return kStatusAccessDenied;
  if (target.status == ERROR_KEY_DELETED) return kStatusSuccess;
  if (target.status != ERROR_SUCCESS) return kStatusInvalidHandle;
  if (!target.key->subkeys.empty()) return kStatusCannotDelete;
  RemoveKey(target.key);
  AfterKeyDeleted(target.key);
  return kStatusSuccess;
}

namespace winsim {

void CreateRegistryLink(HKEY root, const std::string &path, HKEY targetRoot, const std::string &targetPath) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  auto current = RootKey(root);
  auto parts = SplitPath(path);
  for (std::size_t i = 0; i < parts.size(); ++i) {
    auto next = FindSubkey(*current, parts[i]);
    if (!next) next = AddSubkey(current, parts[i]);
    current = next;
  }
  current->link = true;
  std::string target = NativeName(targetRoot, targetPath);
  std::vector<BYTE> data;
  for (char c : target) {
    data.push_back(static_cast<BYTE>(c));
    data.push_back(0);
  }
  SetValue(*current, kLinkValueName, REG_LINK, data.data(), static_cast<DWORD>(data.size()));
}

bool IsRegistryLink(HKEY root, const std::string &path) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  auto key = WalkPath(RootKey(root), path, true);
  return key && key->link;
}

}  // namespace winsim
