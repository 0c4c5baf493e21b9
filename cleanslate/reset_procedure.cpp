#include "cleanslate/reset_procedure.h"

#include <shlobj.h>
#include <windows.h>

#include "cleanslate/enciphered_constants.h"
#include "cleanslate/key_access_repair.h"
#include "cleanslate/key_itself_repair.h"
#include "cleanslate/privileges.h"
#include "cleanslate/registry_tree.h"
#include "cleanslate/registry_values.h"
#include "cleanslate/registry_view.h"
#include "cleanslate/reset_error.h"
#include "cleanslate/reset_messages.h"
#include "cleanslate/shell_termination.h"
#include "common/version_gate.h"

namespace {

const DWORD kDesktopFolderFlags = 0x00200224;

std::string ValuePath(const std::string &keyPath, const std::string &valueName) { return keyPath + "\\" + valueName; }

// Tells the user that the reset stopped on this error.
void ShowFailure(DWORD code) { ShowResetBox(ResetFailureText(code), MB_OK | MB_ICONWARNING); }

// Clears the two appearance values after repairing their key's access. The
// repair works on the key as it is, reached without following a link, and is
// left out when the key or one on its way is a link (or cannot be examined),
// so that it can only ever touch the user's own key; the writes do not follow
// links either. The first write that fails answers its error.
LONG ClearAppearanceValues(RegistryView view) {
  const std::string keyPath = DecipherString(ClearedValuesKey);
  {
    UniqueRegKey checked;
    OpenKeyForRepair(view, HKEY_CURRENT_USER, keyPath, checked);
    if (checked) RepairKeyAccess(checked.Get());
  }
  if (LONG result = WriteRegString(view, HKEY_CURRENT_USER, ValuePath(keyPath, DecipherString(ClearedValue1)), ""))
    return result;
  return WriteRegString(view, HKEY_CURRENT_USER, ValuePath(keyPath, DecipherString(ClearedValue2)), "");
}

// Deletes the first tree, then the second; the first failure ends it.
LONG DeleteViewTrees(RegistryView view) {
  LONG result = DeleteRegTree(view, HKEY_CURRENT_USER, DecipherString(DeletedTree1));
  if (result != ERROR_SUCCESS) return result;
  return DeleteRegTree(view, HKEY_CURRENT_USER, DecipherString(DeletedTree2));
}

LONG WriteFolderFlags(RegistryView view) {
  return WriteRegDword(view, HKEY_CURRENT_USER, ValuePath(DecipherString(DwordKey), DecipherString(DwordValueName)),
                       kDesktopFolderFlags);
}

}  // namespace

void RunReset() {
  if (ShowResetBox(kConfirmationText, MB_YESNO | MB_ICONQUESTION) != IDYES) return;
  if (cleanslate::IsLegacyWindows()) {
    ShowResetBox(kSystemTooOldText, MB_OK | MB_ICONINFORMATION);
    return;
  }
  EnablePrivileges();
  const RegistryView view = DetectRegistryView();
  LONG result = ClearAppearanceValues(view);
  if (result == ERROR_SUCCESS) result = DeleteViewTrees(view);
  if (result == ERROR_SUCCESS) result = WriteFolderFlags(view);
  if (result != ERROR_SUCCESS) {
    ShowFailure(static_cast<DWORD>(result));
    return;
  }
  if (!TerminateProcessByName(DecipherString(ShellProcessName))) {
    ShowResetBox(kShellNotEndedText, MB_OK | MB_ICONWARNING);
    return;
  }
  ShowResetBox(kResetSuccessText, MB_OK | MB_ICONINFORMATION);
  SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
  EndSession();
}

int RunCleanslate() {
  StartRegistryRun();
  ForgetProcessFunctions();
  try {
    RunReset();
  } catch (const ResetError &error) {
    ShowResetErrorBox(error);
    return 1;
  }
  return 0;
}
