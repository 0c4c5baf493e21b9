// The Windows version gate: true on the Windows 9x family and on NT 4 or older.
// Each program has its own copy; only Deskplan's honours "/NOVERSION" as its
// first argument, which forces the legacy answer without asking the system.
#pragma once

namespace deskplan {
bool IsLegacyWindows();
// True from Windows 10 version 1809 (build 17763) on, where the shell keeps
// its own record of the desktop icons' positions. False with "/NOVERSION" as
// first argument, which stands for a legacy system.
bool ShellKeepsIconPositions();
}

namespace cleanslate {
bool IsLegacyWindows();
}
