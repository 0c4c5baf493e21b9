#include "paint_counter.h"

#include <commctrl.h>

namespace testshell {
namespace {

const UINT_PTR kPaintCounterId = 0x5041;  // "PA"
PaintCounts counts;

LRESULT CALLBACK PaintCounterProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  if (message == WM_PAINT) ++counts.paints;
  if (message == WM_SETREDRAW) counts.redraw = wParam != 0;
  if (message >= LVM_FIRST && message < LVM_FIRST + 0x100) ++counts.listMessages;
  return DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace

bool CountListPaints(HWND listView) {
  return SetWindowSubclass(listView, PaintCounterProc, kPaintCounterId, 0) != FALSE;
}

PaintCounts ListPaintCounts() { return counts; }

}  // namespace testshell
