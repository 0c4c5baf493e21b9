// Duplicate naming: every caption of a pass gets a value name no other icon of
// the pass has, by the system's case-insensitive comparison.
#include <vector>

#include "deskplan/layout/used_names.h"
#include "fuzz_check.h"
#include "winsim/machine.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  FuzzInput input(data, size);
  winsim::Reset();
  UsedNames used;
  std::vector<std::string> names;
  // Captions of up to 255 bytes, each preceded by its length.
  for (int icon = 0; icon < 64 && !input.Empty(); ++icon) {
    // A caption ends at its first zero byte, as both methods read it.
    std::string caption = input.Bytes(input.Byte()).c_str();
    std::string name = UniqueValueName(caption, used);
    FUZZ_CHECK(name.compare(0, caption.size(), caption) == 0);
    FUZZ_CHECK(!used.Contains(name));
    used.Add(name);
    FUZZ_CHECK(used.Contains(name));
    names.push_back(name);
  }
  // Taking names never forgets one taken before.
  for (const std::string &name : names) FUZZ_CHECK(used.Contains(name));
  // The machine lets go of what the run left in it, so that libFuzzer finds
  // no growth to search for leaks after every input.
  winsim::Reset();
  return 0;
}
