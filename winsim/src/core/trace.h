// Internal side of the call trace: simulated functions record what matters.
#pragma once

#include <string>

#include "winsim/trace.h"

namespace winsim::detail {

void Record(const char *function, std::string detail = std::string());

// Answers the error code injected for this call of the function, or 0.
unsigned InjectedFault(const char *function);

}  // namespace winsim::detail
