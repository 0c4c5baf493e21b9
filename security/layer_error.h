// The one exception type of the security layer. It signals programming errors
// only; failed system calls are recorded in the objects instead.
#pragma once

#include <exception>
#include <string>

class SecurityLayerError : public std::exception {
 public:
  explicit SecurityLayerError(std::string message) : message_(std::move(message)) {}
  const char *what() const noexcept override { return message_.c_str(); }

 private:
  std::string message_;
};
