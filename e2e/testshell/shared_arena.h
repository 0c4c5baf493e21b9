// The Windows 9x shared arena, played under Wine. On that family a named
// mapping is seen at one address by every process, so Deskplan hands the
// desktop list view addresses inside its "Deskplan" area. Under Wine they are
// meaningless here; in this mode the list view is subclassed and the three
// messages that carry such addresses, when another process sends them, are
// served against this process's own view of the area at the same offsets.
// While no such area exists they reach the list view as they came (the
// cross-process method's addresses are valid here).
#pragma once

#include <windows.h>

namespace testshell {

// Offsets in the 309-byte area: caption text, a 32-bit LVITEMA, a POINT.
const DWORD kArenaSize = 309;
const DWORD kArenaTextOffset = 0;
const DWORD kArenaTextCapacity = 260;
const DWORD kArenaItemOffset = 261;
const DWORD kArenaPointOffset = 301;

struct ArenaCounters {
  long served = 0;    // messages answered from the area
  long passed = 0;    // messages passed on while no "Deskplan" area existed
};

// Subclasses the list view; false when the window procedure cannot be replaced.
bool ServeSharedArena(HWND listView);
ArenaCounters SharedArenaCounters();

// True while the shell itself calls its list view (an OwnListCall lives).
bool InOwnListCall();

// Marks the shell's own calls to its list view for as long as it lives, so
// they reach the control untouched even while a cross-thread message runs.
class OwnListCall {
 public:
  OwnListCall();
  ~OwnListCall();
  OwnListCall(const OwnListCall&) = delete;
  OwnListCall& operator=(const OwnListCall&) = delete;
};

}  // namespace testshell
