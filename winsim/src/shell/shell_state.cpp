#include "shell/shell_state.h"

#include "core/component.h"

namespace winsim::detail {

ShellState &Shell() { return Component<ShellState>(); }

std::string UpperName(const std::string &name) {
  std::string upper = name;
  CharUpperBuffA(upper.data(), static_cast<DWORD>(upper.size()));
  return upper;
}

}  // namespace winsim::detail
