#include "cleanslate/error_box.h"

#include "common/application_error_box.h"

std::string ResetErrorText(const ResetError &error) {
  return ApplicationErrorText("ResetError", error.RaisedAt(), error.what());
}

void ShowResetErrorBox(const ResetError &error) { ShowApplicationErrorText(ResetErrorText(error)); }
