#include "registry/registry_rewrites.h"

#include <mutex>
#include <set>

#include "core/component.h"
#include "winsim/registry_rewrites.h"

namespace winsim::detail {
namespace {

struct RewriteState {
  std::set<std::string> paths;  // full key paths, upper case
};

RewriteState &Rewrites() { return Component<RewriteState>(); }

std::string Upper(std::string text) {
  for (auto &c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return text;
}

}  // namespace

void AfterKeyDeleted(const std::shared_ptr<RegKey> &deleted) {
  auto parent = deleted->parent.lock();
  if (!parent) return;
  std::string path = Upper(FullKeyPath(*parent) + "\\" + deleted->name);
  if (Rewrites().paths.count(path) && !FindSubkey(*parent, deleted->name)) AddSubkey(parent, deleted->name);
}

}  // namespace winsim::detail

namespace winsim {

void RecreateKeyOnDelete(HKEY root, const std::string &path) {
  std::lock_guard<std::recursive_mutex> lock(detail::MachineLock());
  auto rootKey = detail::RootKey(root);
  if (!rootKey) return;
  std::string full = rootKey->name;
  for (auto &part : detail::SplitPath(path)) full += "\\" + part;
  detail::Rewrites().paths.insert(detail::Upper(full));
}

}  // namespace winsim
