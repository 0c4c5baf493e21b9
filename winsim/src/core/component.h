// Process-wide state of one part of the simulated machine. Every part keeps its
// state in a Component<T>; winsim::Reset() puts all of them back to T{}.
#pragma once

#include <functional>
#include <mutex>

namespace winsim::detail {

void RegisterReset(std::function<void()> reset);

// One lock serialises the machine; simulated calls are short and tests that use
// threads only need the machine to stay consistent.
std::recursive_mutex &MachineLock();

template <class T>
T &Component() {
  static T *instance = [] {
    static T state;
    RegisterReset([] { state = T(); });
    return &state;
  }();
  return *instance;
}

}  // namespace winsim::detail
