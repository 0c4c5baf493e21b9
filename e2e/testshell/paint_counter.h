// Counts the paints of the test desktop's list view and follows its redraw
// switch (WM_SETREDRAW), so tests can tell how often a restore made the view
// repaint and whether it draws again afterwards; and counts the list-view
// messages it got (LVM_*), so the bench can tell how many a pass sends.
#pragma once

#include <windows.h>

namespace testshell {

struct PaintCounts {
  long paints = 0;     // WM_PAINT handled by the list view
  bool redraw = true;  // the last WM_SETREDRAW it got (on until told otherwise)
  long listMessages = 0;  // LVM_FIRST .. LVM_FIRST + 0xFF
};

// Subclasses the list view (on top of any earlier subclass); false on failure.
bool CountListPaints(HWND listView);
PaintCounts ListPaintCounts();

}  // namespace testshell
