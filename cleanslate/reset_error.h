// The one error that ends Cleanslate through the top-level error box: a text
// and the code address that raised it, and that box.
#pragma once

#include <exception>
#include <string>

class ResetError : public std::exception {
 public:
  ResetError(std::string text, const void *raisedAt) : text_(std::move(text)), raisedAt_(raisedAt) {}
  const char *what() const noexcept override { return text_.c_str(); }
  const void *RaisedAt() const { return raisedAt_; }

 private:
  std::string text_;
  const void *raisedAt_;
};

// Raises a ResetError whose address is the caller's.
[[noreturn]] void RaiseResetError(const char *text);

// "Exception ResetError dans le module <file> dans <address>.\r\n<text>[.]\r\n"
std::string ResetErrorText(const ResetError &error);
void ShowResetErrorBox(const ResetError &error);
