// The restore passes: every icon whose caption has a stored value goes back to
// the stored place; and, where the shell keeps its own record of the places,
// the same icons placed through the shell.
#pragma once

#include <map>
#include <string>

#include <windows.h>

#include "deskplan/layout/item_walk.h"
#include "deskplan/layout/redraw_guard.h"

class SharedItemArea;

// What the passes of one restore share: the names a pass accepted and, for
// the icons it moved, the stored place each was sent to; and the captions the
// first pass read, which the next one uses while the view's count holds.
class RestoredIcons {
 public:
  void Clear() { names_.clear(); }
  // A stored value was found under `name`; the icon stays where it is.
  void Accept(const std::string &name);
  // A stored value was found under `name` and the icon sent to `at`.
  void Place(const std::string &name, POINT at);

  bool Accepted(const std::string &name) const { return names_.count(name) != 0; }
  // The place the icon of `name` was sent to, or null.
  const POINT *PlaceOf(const std::string &name) const;
  bool Empty() const { return names_.empty(); }
  KeptCaptions &Captions() { return captions_; }

 private:
  struct Entry {
    bool placed = false;
    POINT at = {0, 0};
  };
  std::map<std::string, Entry> names_;
  KeptCaptions captions_;
};

// Cross-process method. A failed memory copy in the shell's process raises
// OsError after the pass has released everything it took. The pass turns the
// view's redraw off through `redraw` before it moves anything; the caller's
// guard turns it back on once, after all its passes. When `restored` is given,
// a pass that reaches the icons records there the names it accepted and where
// it sent each icon (what an earlier pass recorded is dropped), and a later
// pass reads no caption again while the view holds as many items.
void RestoreLayout(HWND view, const std::string &keyPath, RedrawGuard &redraw, RestoredIcons *restored = nullptr);

// Shared-area method; the layout key is known to exist. The view repaints once,
// after the pass.
void RestoreLayoutShared(HWND view, const std::string &layoutName, SharedItemArea &area);

// Icons that the view arranges itself would not stay where they are put:
// switch the arrangement off, after telling the user.
void PrepareViewForRestore(HWND view);
void ShowAutoArrangeNotice();

// From Windows 10 version 1809 on, icons moved through the desktop list view
// show where they were put but the shell keeps its own record of the places
// and goes back to it at the next refresh or log-on. This sends every icon the
// restore moved to the same place through the desktop's folder view, in one
// call. The desktop's items are named by the same rule as the layout's values,
// so icons with equal captions are matched as the restore matched them. Does
// nothing when any step fails: what the restore did stands. Nor when `view`
// is not the running shell's: that shell's folder view shows another desktop,
// and asking for it can take seconds (a shell window list started on demand).
void PlaceThroughFolderView(HWND view, const RestoredIcons &restored);
