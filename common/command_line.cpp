#include "common/command_line.h"

namespace {
bool IsSeparator(char c) {
  auto code = static_cast<unsigned char>(c);
  return code >= 1 && code <= 32;
}
}  // namespace

std::vector<std::string> CommandArguments(const char *commandLine) {
  std::vector<std::string> tokens;
  const char *p = commandLine ? commandLine : "";
  while (true) {
    while (IsSeparator(*p)) ++p;
    if (*p == '\0') break;
    std::string token;
    bool quoted = false;
    for (; *p != '\0' && (quoted || !IsSeparator(*p)); ++p) {
      if (*p == '"')
        quoted = !quoted;
      else
        token += *p;
    }
    tokens.push_back(token);
  }
  if (!tokens.empty()) tokens.erase(tokens.begin());  // the program name
  return tokens;
}
