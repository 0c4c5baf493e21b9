// Proof that Wine really runs the programs of a build. A Wine without its
// 32-bit half fails to start a 32-bit program yet answers an exit code (0 or
// 1 were measured), so neither the exit code nor silence proves a run. The
// probe (e2e/probe, built by both Windows builds) writes "probe 32" or
// "probe 64" to a marker file and answers the exit code it is given: only
// both together count.
#pragma once

#include <string>

namespace e2e {

struct ProbeVerdict {
  bool runs = false;
  std::string reason;  // why not, when it does not run
};

// 32 or 64 for a PE image of that kind, 0 for anything else.
int PeImageBits(const std::string& path);

// Runs `probe` through the Wine command `loader` with a marker in `workDir`
// and the exit code `code` (1..254).
ProbeVerdict ProbeWine(const std::string& loader, const std::string& probe, const std::string& workDir, int code);

// The verdict of the session's Wine on `probe`, worked out once per session
// and kept in the session folder.
ProbeVerdict SessionProbe(const std::string& probe);

}  // namespace e2e
