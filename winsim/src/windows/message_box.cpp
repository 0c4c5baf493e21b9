// MessageBoxA: recorded, answered from the test's script or by the default
// button, as if the user pressed Enter.
#include "core/component.h"
#include "core/trace.h"
#include "windows/ui_state.h"
#include "windows/window_state.h"

using namespace winsim::detail;

int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  if (unsigned fault = InjectedFault("MessageBoxA")) {
    SetLastError(fault);
    return 0;
  }
  if (owner && !FindWindowRecord(owner)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  auto &ui = Ui();
  winsim::MessageBoxCall call;
  call.owner = owner;
  call.text = text ? text : "";
  call.caption = caption ? caption : "Error";
  call.type = type;
  if (ui.messageBoxAnswers.empty()) {
    call.answer = winsim::DefaultButton(type);
  } else {
    call.answer = ui.messageBoxAnswers.front();
    ui.messageBoxAnswers.pop_front();
  }
  Record("MessageBoxA", call.caption + ": " + call.text);
  ui.messageBoxes.push_back(call);
  return call.answer;
}

namespace winsim {

int DefaultButton(UINT type) {
  static const std::vector<std::vector<int>> buttons = {
      {IDOK},                       // MB_OK
      {IDOK, IDCANCEL},             // MB_OKCANCEL
      {IDABORT, IDRETRY, IDIGNORE}, // MB_ABORTRETRYIGNORE
      {IDYES, IDNO, IDCANCEL},      // MB_YESNOCANCEL
      {IDYES, IDNO},                // MB_YESNO
      {IDRETRY, IDCANCEL},          // MB_RETRYCANCEL
      {IDCANCEL, IDTRYAGAIN, IDCONTINUE},  // MB_CANCELTRYCONTINUE
  };
  size_t kind = type & MB_TYPEMASK;
  if (kind >= buttons.size()) kind = 0;
  size_t index = (type & MB_DEFMASK) >> 8;
  // A default button beyond the box's buttons falls back to the first.
  const auto &row = buttons[kind];
  return index < row.size() ? row[index] : row.front();
}

void AnswerMessageBoxes(const std::vector<int> &answers) {
  std::lock_guard<std::recursive_mutex> lock(detail::MachineLock());
  auto &queue = detail::Ui().messageBoxAnswers;
  queue.insert(queue.end(), answers.begin(), answers.end());
}

size_t UnusedMessageBoxAnswers() {
  std::lock_guard<std::recursive_mutex> lock(detail::MachineLock());
  return detail::Ui().messageBoxAnswers.size();
}

std::vector<MessageBoxCall> MessageBoxes() {
  std::lock_guard<std::recursive_mutex> lock(detail::MachineLock());
  return detail::Ui().messageBoxes;
}

}  // namespace winsim
