#include "deskplan/app/error_box.h"

#include "common/application_error_box.h"

std::string ApplicationErrorText(const OsError &error) {
  return ApplicationErrorText("OsError", error.RaisedAt(), error.what());
}

void ShowApplicationErrorBox(const OsError &error) { ShowApplicationErrorText(ApplicationErrorText(error)); }
