#include "core/trace.h"

#include <map>

#include "core/component.h"

namespace winsim {
namespace {

struct FaultPlan {
  struct Entry {
    unsigned code = 0;
    int skip = 0;
    bool always = false;
  };
  std::map<std::string, std::vector<Entry>> entries;
};

struct ChangePlan {
  struct Entry {
    std::function<void()> change;
    int skip = 0;
  };
  std::map<std::string, std::vector<Entry>> entries;
};

struct TraceState {
  std::vector<Call> calls;
};

}  // namespace

namespace detail {

void Record(const char *function, std::string detail) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  Component<TraceState>().calls.push_back(Call{function, std::move(detail)});
}

unsigned InjectedFault(const char *function) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  auto &changes = Component<ChangePlan>().entries;
  auto planned = changes.find(function);
  if (planned != changes.end() && !planned->second.empty()) {
    auto &next = planned->second.front();
    if (next.skip > 0) {
      --next.skip;
    } else {
      std::function<void()> change = std::move(next.change);
      planned->second.erase(planned->second.begin());
      change();
    }
  }
  auto &plan = Component<FaultPlan>().entries;
  auto found = plan.find(function);
  if (found == plan.end() || found->second.empty()) return 0;
  auto &entry = found->second.front();
  if (entry.always) return entry.code;
  if (entry.skip > 0) {
    --entry.skip;
    return 0;
  }
  unsigned code = entry.code;
  found->second.erase(found->second.begin());
  return code;
}

}  // namespace detail

std::vector<Call> Trace() {
  std::lock_guard<std::recursive_mutex> lock(detail::MachineLock());
  return detail::Component<TraceState>().calls;
}

std::vector<Call> CallsTo(const std::string &function) {
  std::vector<Call> result;
  for (auto &call : Trace())
    if (call.function == function) result.push_back(call);
  return result;
}

size_t CountCalls(const std::string &function) { return CallsTo(function).size(); }

std::vector<std::string> CallSequence(const std::vector<std::string> &functions) {
  std::vector<std::string> result;
  for (auto &call : Trace()) {
    bool wanted = functions.empty();
    for (auto &name : functions) wanted = wanted || name == call.function;
    if (wanted) result.push_back(call.function);
  }
  return result;
}

void FailNext(const std::string &function, unsigned code, int skip) {
  std::lock_guard<std::recursive_mutex> lock(detail::MachineLock());
  detail::Component<FaultPlan>().entries[function].push_back({code, skip, false});
}

void FailAlways(const std::string &function, unsigned code) {
  std::lock_guard<std::recursive_mutex> lock(detail::MachineLock());
  auto &entries = detail::Component<FaultPlan>().entries[function];
  entries.clear();
  entries.push_back({code, 0, true});
}

void BeforeNext(const std::string &function, std::function<void()> change, int skip) {
  std::lock_guard<std::recursive_mutex> lock(detail::MachineLock());
  detail::Component<ChangePlan>().entries[function].push_back({std::move(change), skip});
}

}  // namespace winsim
