// Registry links: where a link key leads.
#pragma once

#include <memory>

#include "registry/registry_state.h"

namespace winsim::detail {

// The key a link leads to, through further links (at most 16 in a row, as on
// Windows); the key itself when it is no link; null when the target is
// missing or cannot be named.
std::shared_ptr<RegKey> FollowLinks(std::shared_ptr<RegKey> key);

}  // namespace winsim::detail
