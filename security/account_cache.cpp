#include "security/account_cache.h"

#include <memory>
#include <vector>

#include "security/critical_section.h"

namespace AccountCache {
namespace {

struct CacheState {
  // Created with the cache, before any thread can ask it.
  IPtr<ICriticalSection> lock = MakeObject<TICriticalSection>();
  std::vector<IPtr<IAccount>> entries;
};

// The cache lives as long as the process and is never torn down: its entries
// and its lock must outlast every other static that might still ask it. Its
// creation, lock included, is the one initialisation of a function's static,
// which the language makes safe against threads.
CacheState &State() {
  static CacheState *state = std::make_unique<CacheState>().release();
  return *state;
}

class CacheLock {
 public:
  explicit CacheLock(ICriticalSection *lock) : lock_(lock) { lock_->Enter(); }
  ~CacheLock() { lock_->Leave(); }
  CacheLock(const CacheLock &) = delete;
  CacheLock &operator=(const CacheLock &) = delete;

 private:
  ICriticalSection *lock_;
};

template <class Match>
IPtr<IAccount> Find(Match match) {
  CacheState &state = State();
  CacheLock guard(state.lock.get());
  for (auto &entry : state.entries)
    if (match(entry.get())) return entry;
  return nullptr;
}

}  // namespace

IPtr<IAccount> FindBySid(PSID sid) {
  return Find([sid](IAccount *entry) {
    PSID known = entry->Sid();
    return known && sid && EqualSid(known, sid);
  });
}

IPtr<IAccount> FindByName(const std::string &name) {
  return Find([&name](IAccount *entry) { return entry->Name() == name; });
}

void Insert(IAccount *account) {
  CacheState &state = State();
  CacheLock guard(state.lock.get());
  for (auto &entry : state.entries)
    if (entry.get() == account) return;
  state.entries.emplace_back(account);
}

int Size() {
  CacheState &state = State();
  CacheLock guard(state.lock.get());
  return static_cast<int>(state.entries.size());
}

}  // namespace AccountCache
