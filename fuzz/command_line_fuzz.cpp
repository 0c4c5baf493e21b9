// The command-line splitter and Deskplan's switches, from any command line.
#include <algorithm>
#include <cstring>

#include "common/command_line.h"
#include "deskplan/app/command_line_switches.h"
#include "deskplan/app/program_state.h"
#include "fuzz_check.h"
#include "winsim/machine.h"
#include "winsim/registry.h"

namespace {

std::string Upper(std::string text) {
  for (char &c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  FuzzInput input(data, size);
  const std::string line = input.Rest().c_str();  // a command line ends at its first zero
  const std::vector<std::string> arguments = CommandArguments(line.c_str());
  std::size_t total = 0;
  for (const std::string &argument : arguments) {
    // Quotes are dropped and never end up in an argument; nothing is invented.
    FUZZ_CHECK(argument.find('"') == std::string::npos);
    FUZZ_CHECK(argument.find('\0') == std::string::npos);
    total += argument.size();
  }
  FUZZ_CHECK(total <= line.size());
  // Unquoted arguments never hold a separator.
  if (line.find('"') == std::string::npos)
    for (const std::string &argument : arguments)
      FUZZ_CHECK(std::none_of(argument.begin(), argument.end(),
                              [](char c) { return c >= 1 && static_cast<unsigned char>(c) <= 32; }));

  // The switches, on a machine without a desktop: nothing to save or restore.
  winsim::Reset();
  ResetProgramState();
  winsim::SetCommandLine(line);
  CommandLineOutcome outcome;
  const int exitCode = winsim::RunProgram([&] {
    outcome = ProcessCommandLine();
    return 0;
  });
  bool expectQuiet = false;
  bool expectAction = false;
  bool expectProtection = false;
  for (const std::string &argument : arguments) {
    // The switches are upper-cased by the system's rules before comparison;
    // an argument with other bytes than ASCII cannot be one of them.
    std::string upper = Upper(argument);
    expectQuiet = expectQuiet || upper == "/NOPROMPT";
    expectProtection = expectProtection || upper == "/PROTECTED";
    expectAction = expectAction || upper == "/AUTOLOAD" || upper == "/AUTOSAVE" || upper == "/PROTECTED" ||
                   upper == "/EXPORT";
  }
  FUZZ_CHECK(AppOptions.quiet == expectQuiet);
  // Every switch runs to its end; without a desktop only the protection
  // cannot do its job, and an export finds nothing it cannot read.
  FUZZ_CHECK(exitCode == 0 && outcome.actionRan == expectAction);
  FUZZ_CHECK(outcome.failed == expectProtection);
  FUZZ_CHECK(winsim::OpenRegistryHandleCount() == 0);
  // The machine lets go of what the run left in it, so that libFuzzer finds
  // no growth to search for leaks after every input.
  winsim::Reset();
  return 0;
}
