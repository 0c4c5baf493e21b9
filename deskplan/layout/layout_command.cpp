#include "deskplan/layout/layout_command.h"

#include <string>

#include "common/os_error.h"
#include "common/version_gate.h"
#include "deskplan/app/program_state.h"
#include "deskplan/app/reg_ctrl.h"
#include "deskplan/layout/layout_name.h"
#include "deskplan/layout/restore_layout.h"
#include "deskplan/layout/save_layout.h"
#include "deskplan/view/desktop_view_search.h"
#include "deskplan/view/shared_item_area.h"
#include "deskplan/view/virtalloc.h"

namespace {

// True when the layout may be replaced: always in quiet mode, otherwise when
// the user answers Yes.
bool ConfirmOverwrite(const std::string &layoutName) {
  if (AppOptions.quiet) return true;
  // Line feed then carriage return, in that order: the question's own bytes.
  std::string text = "Un enregistrement du bureau [" + layoutName + "] existe déjà." + "\n\r" +
                     "Voulez-vous le supprimer et le remplacer par celui-ci ?";
  return MessageBoxA(nullptr, text.c_str(), kProgramName, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

// The shell can write into a view this program mapped only where every
// process sees mapped views at one address: the Windows 9x family, told apart
// by what kernel32 exports rather than by the version it reports, which a
// compatibility mode on an NT system sets to the 9x platform.
bool MappedViewsAreShared() { return !KernelExportsVirtualAllocEx(); }

void RunSharedAreaCommand(LayoutMode mode, HWND view, const std::string &name, const std::string &path) {
  SharedItemArea area;
  if (!area.IsMapped() || (mode != kSaveLayout && mode != kRestoreLayout)) return;
  if (!MappedViewsAreShared()) {
    // Elsewhere the shell would write through this address into its own,
    // unrelated memory.
    ShowNotice(SystemMessageText(ERROR_CALL_NOT_IMPLEMENTED).c_str(), MB_ICONWARNING, false);
    return;
  }
  bool present = RegKeyPresent(HKEY_CURRENT_USER, path);
  if (mode == kSaveLayout) {
    if (present && !ConfirmOverwrite(name)) return;
    SaveLayoutShared(view, name, area);
  } else if (present) {
    RestoreLayoutShared(view, name, area);
  }
}

void RunCrossProcessCommand(LayoutMode mode, HWND view, const std::string &name, const std::string &path) {
  if (mode == kSaveLayout) {
    if (RegKeyPresent(HKEY_CURRENT_USER, path) && !ConfirmOverwrite(name)) return;
    SaveLayout(view, path);
  } else if (mode == kRestoreLayout) {
    // Two passes: icons moved early in the first can push others about. The
    // view repaints once, after both.
    RedrawGuard redraw(view);
    RestoredIcons restored;
    RestoreLayout(view, path, redraw, &restored);
    RestoreLayout(view, path, redraw, &restored);
    // Where the shell keeps its own record of the places, the moves would not
    // outlast the next refresh: place the same icons through the shell.
    if (deskplan::ShellKeepsIconPositions()) PlaceThroughFolderView(view, restored);
  }
}

}  // namespace

void RunLayoutCommand(LayoutMode mode) {
  HWND view = FindDesktopListView();
  DesktopListView = view;
  if (!view) return;
  std::string name = GetLayoutName();
  std::string path = LayoutKeyPath(name);
  if (AppOptions.legacyMode)
    RunSharedAreaCommand(mode, view, name, path);
  else
    RunCrossProcessCommand(mode, view, name, path);
}
