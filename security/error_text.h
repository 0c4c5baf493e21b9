// The text of a Windows error code, on one line, as the security layer shows it.
#pragma once

#include <cstdint>
#include <string>

std::string ErrorText(std::uint32_t code);
