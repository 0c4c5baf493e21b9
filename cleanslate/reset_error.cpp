#include "cleanslate/reset_error.h"

#include "common/application_error_box.h"

// Kept out of line so that its return address is the place that failed.
__attribute__((noinline)) void RaiseResetError(const char *text) {
  throw ResetError(text, __builtin_return_address(0));
}

std::string ResetErrorText(const ResetError &error) {
  return ApplicationErrorText("ResetError", error.RaisedAt(), error.what());
}

void ShowResetErrorBox(const ResetError &error) { ShowApplicationErrorText(ResetErrorText(error)); }
