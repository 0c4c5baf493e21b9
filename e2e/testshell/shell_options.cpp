#include "shell_options.h"

#include <cstdlib>
#include <cstring>

namespace testshell {
namespace {

bool ParseCount(const char* text, int& value) {
  char* end = nullptr;
  const long parsed = std::strtol(text, &end, 10);
  if (*text == '\0' || *end != '\0' || parsed < 0 || parsed > 100000) return false;
  value = static_cast<int>(parsed);
  return true;
}

// The options that take one count, and where each one goes.
struct CountOptionName {
  const char* name;
  int ShellOptions::*field;
};

const CountOptionName kCountOptions[] = {
    {"--late-desktop-ms", &ShellOptions::lateDesktopMs}, {"--batch-size", &ShellOptions::batchSize},
    {"--batch-ms", &ShellOptions::batchMs},              {"--relayout-ms", &ShellOptions::relayoutMs},
    {"--relayout-steps", &ShellOptions::relayoutSteps},  {"--relayout-step-ms", &ShellOptions::relayoutStepMs},
};

// Null when the name is none of them.
int* CountOptionField(ShellOptions& options, const std::string& name) {
  for (const CountOptionName& option : kCountOptions)
    if (name == option.name) return &(options.*option.field);
  return nullptr;
}

}  // namespace

bool ParseShellOptions(int argc, char** argv, ShellOptions& options, std::string& error) {
  for (int i = 1; i < argc; ++i) {
    const std::string name = argv[i];
    const bool hasValue = i + 1 < argc;
    if (name == "--fixture" && hasValue) {
      options.fixturePath = argv[++i];
    } else if (name == "--host" && hasValue) {
      const std::string host = argv[++i];
      if (host == "progman") {
        options.host = HostKind::Progman;
      } else if (host == "workerw") {
        options.host = HostKind::WorkerW;
      } else {
        error = "unknown host " + host;
        return false;
      }
    } else if (name == "--decoys" && hasValue) {
      if (!ParseCount(argv[++i], options.decoyWorkers)) {
        error = "bad --decoys count";
        return false;
      }
    } else if (name == "--settle-ms" && hasValue) {
      if (!ParseCount(argv[++i], options.settleMilliseconds)) {
        error = "bad --settle-ms value";
        return false;
      }
    } else if (int* field = CountOptionField(options, name)) {
      if (!hasValue || !ParseCount(argv[++i], *field)) {
        error = "bad " + name + " value";
        return false;
      }
    } else if (name == "--empty-progman") {
      options.emptyProgman = true;
    } else if (name == "--autoarrange") {
      options.autoArrange = true;
    } else if (name == "--editlabels") {
      options.editLabels = true;
    } else if (name == "--shared-arena") {
      options.sharedArena = true;
    } else if (ParseHostileOption(argc, argv, i, options.hostile, error)) {
      if (!error.empty()) return false;
    } else {
      error = "unknown option " + name;
      return false;
    }
  }
  if (options.relayoutSteps < 1) {
    error = "--relayout-steps must be at least 1";
    return false;
  }
  if (options.fixturePath.empty()) {
    error = "--fixture is required";
    return false;
  }
  return true;
}

}  // namespace testshell
