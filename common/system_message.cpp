#include "common/system_message.h"

#include "common/unique_any.h"

std::string SystemMessageWithoutStops(DWORD code, DWORD flags, DWORD capacity) {
  std::string text(capacity, '\0');
  DWORD length = FormatMessageA(flags, nullptr, code, 0, &text[0], capacity, nullptr);
  if (length >= capacity) length = capacity - 1;
  while (length > 0) {
    const unsigned char last = static_cast<unsigned char>(text[length - 1]);
    if (last > ' ' && last != '.') break;
    --length;
  }
  text.resize(length);
  return text;
}

std::string SystemMessage(DWORD code, DWORD flags, HMODULE module, DWORD language) {
  if (module) flags |= FORMAT_MESSAGE_FROM_HMODULE;
  UniqueLocal text;
  const DWORD length = FormatMessageA(flags | FORMAT_MESSAGE_ALLOCATE_BUFFER, module, code, language,
                                      reinterpret_cast<LPSTR>(text.Put()), 0, nullptr);
  return length != 0 && text ? std::string(static_cast<const char *>(text.Get()), length) : std::string();
}
