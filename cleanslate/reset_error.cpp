#include "cleanslate/reset_error.h"

// Kept out of line so that its return address is the place that failed.
__attribute__((noinline)) void RaiseResetError(const char *text) {
  throw ResetError(text, __builtin_return_address(0));
}
