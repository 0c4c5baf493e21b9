// The Windows version gate: true on the Windows 9x family and on NT 4 or older.
// Each program has its own copy; only Deskplan's honours "/NOVERSION" as its
// first argument, which forces the legacy answer without asking the system.
#pragma once

namespace deskplan {
bool IsLegacyWindows();
}

namespace cleanslate {
bool IsLegacyWindows();
}
