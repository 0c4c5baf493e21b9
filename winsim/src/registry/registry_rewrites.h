// Keys that another program writes back as soon as they are deleted (the
// running shell does so with its own settings).
#pragma once

#include <memory>

#include "registry/registry_state.h"

namespace winsim::detail {

// Called once a key has been deleted: writes it back, empty, when asked to.
void AfterKeyDeleted(const std::shared_ptr<RegKey> &deleted);

}  // namespace winsim::detail
