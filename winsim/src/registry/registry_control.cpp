#include <mutex>
#include <stdexcept>

#include "core/component.h"
#include "registry/registry_state.h"
#include "winsim/registry.h"

namespace winsim {
namespace {

using detail::RegKey;

std::shared_ptr<RegKey> Find(HKEY root, const std::string &path) {
  return detail::WalkPath(detail::RootKey(root), path);
}

std::shared_ptr<RegKey> FindOrCreate(HKEY root, const std::string &path) {
  auto current = detail::RootKey(root);
  if (!current) throw std::invalid_argument("not a predefined registry root");
  for (auto &part : detail::SplitPath(path)) {
    auto next = detail::FindSubkey(*current, part);
    current = next ? next : detail::AddSubkey(current, part);
  }
  return current;
}

void DeleteTree(const std::shared_ptr<RegKey> &key) {
  while (!key->subkeys.empty()) DeleteTree(key->subkeys.back());
  detail::RemoveKey(key);
}

}  // namespace

void CreateRegistryKey(HKEY root, const std::string &path) {
  std::lock_guard<std::recursive_mutex> lock(detail::MachineLock());
  FindOrCreate(root, path);
}

void SetRegistryValue(HKEY root, const std::string &path, const std::string &name, DWORD type,
                      const std::vector<BYTE> &data) {
  std::lock_guard<std::recursive_mutex> lock(detail::MachineLock());
  detail::SetValue(*FindOrCreate(root, path), name, type, data.data(), static_cast<DWORD>(data.size()));
}

void SetRegistryString(HKEY root, const std::string &path, const std::string &name, const std::string &text) {
  std::vector<BYTE> data(text.begin(), text.end());
  data.push_back(0);
  SetRegistryValue(root, path, name, REG_SZ, data);
}

void SetRegistryDword(HKEY root, const std::string &path, const std::string &name, DWORD value) {
  std::vector<BYTE> data;
  for (int shift = 0; shift < 32; shift += 8) data.push_back(static_cast<BYTE>(value >> shift));
  SetRegistryValue(root, path, name, REG_DWORD, data);
}

bool DeleteRegistryKey(HKEY root, const std::string &path) {
  std::lock_guard<std::recursive_mutex> lock(detail::MachineLock());
  auto key = Find(root, path);
  if (!key || key->parent.expired()) return false;
  DeleteTree(key);
  return true;
}

bool RegistryKeyExists(HKEY root, const std::string &path) {
  std::lock_guard<std::recursive_mutex> lock(detail::MachineLock());
  return Find(root, path) != nullptr;
}

std::optional<RegistryValue> ReadRegistryValue(HKEY root, const std::string &path, const std::string &name) {
  std::lock_guard<std::recursive_mutex> lock(detail::MachineLock());
  auto key = Find(root, path);
  const detail::RegValue *value = key ? detail::FindValue(*key, name) : nullptr;
  if (!value) return std::nullopt;
  return RegistryValue{value->type, value->data};
}

std::vector<std::string> RegistryValueNames(HKEY root, const std::string &path) {
  std::lock_guard<std::recursive_mutex> lock(detail::MachineLock());
  std::vector<std::string> names;
  if (auto key = Find(root, path))
    for (auto &value : key->values) names.push_back(value.name);
  return names;
}

std::vector<std::string> RegistrySubkeyNames(HKEY root, const std::string &path) {
  std::lock_guard<std::recursive_mutex> lock(detail::MachineLock());
  std::vector<std::string> names;
  if (auto key = Find(root, path))
    for (auto &subkey : key->subkeys) names.push_back(subkey->name);
  return names;
}

void DenyRegistryAccess(HKEY root, const std::string &path, REGSAM rights) {
  std::lock_guard<std::recursive_mutex> lock(detail::MachineLock());
  FindOrCreate(root, path)->deniedRights = rights;
}

int OpenRegistryHandleCount() {
  std::lock_guard<std::recursive_mutex> lock(detail::MachineLock());
  return static_cast<int>(detail::Registry().handles.size());
}

}  // namespace winsim
