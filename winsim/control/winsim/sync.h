// Test-facing view of the simulated critical sections.
#pragma once

namespace winsim {

// Critical sections initialised and not yet deleted.
int LiveCriticalSections();

}  // namespace winsim
