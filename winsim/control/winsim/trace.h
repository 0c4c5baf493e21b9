// The ordered trace of the calls the program made, and fault injection.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace winsim {

struct Call {
  std::string function;
  std::string detail;
};

// Every recorded call since the last Reset, in order.
std::vector<Call> Trace();
// The recorded calls of one function, in order.
std::vector<Call> CallsTo(const std::string &function);
size_t CountCalls(const std::string &function);
// Names of the recorded calls, in order, keeping only those in `functions`
// (all when empty).
std::vector<std::string> CallSequence(const std::vector<std::string> &functions = {});

// The next call of `function` fails with `code` (after `skip` calls that succeed).
void FailNext(const std::string &function, unsigned code, int skip = 0);
// Every call of `function` fails with `code` until Reset.
void FailAlways(const std::string &function, unsigned code);
// Just before the next call of `function` (after `skip` calls) does its work,
// `change` runs once: what another program does to the machine at that
// moment (it may call the control API; the call then goes on as usual).
void BeforeNext(const std::string &function, std::function<void()> change, int skip = 0);

}  // namespace winsim
