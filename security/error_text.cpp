#include "security/error_text.h"

#include <windows.h>
#include <winternl.h>

#include <cstdio>

#include "common/enciphered_string.h"
#include "common/proc_lookup.h"
#include "common/system_message.h"
#include "common/unique_any.h"

namespace {

constexpr auto StatusModuleName = Encipher<9>("ntdll.dll");
constexpr auto StatusTranslationName = Encipher<21>("RtlNtStatusToDosError");
constexpr auto NetworkMessageModuleName = Encipher<10>("netmsg.dll");
constexpr auto UnknownErrorPrefix = Encipher<15>("Erreur inconnue");

constexpr DWORD kNoMessageForCode = 317;  // ERROR_MR_MID_NOT_FOUND

using StatusTranslationFn = decltype(&::RtlNtStatusToDosError);

// Status codes and HRESULTs become the Win32 code they stand for, when the
// system knows one.
std::uint32_t TranslatedCode(std::uint32_t code) {
  if (code <= 0x3FFFFFFF) return code;
  HMODULE module = GetModuleHandleA(DecipherString(StatusModuleName).c_str());
  if (!module) return code;
  auto translate = LookupProc<StatusTranslationFn>(module, DecipherString(StatusTranslationName).c_str());
  if (!translate) return code;
  std::uint32_t translated = translate(static_cast<LONG>(code));
  // An untranslatable code keeps its own number, which says more.
  return translated == kNoMessageForCode ? code : translated;
}

std::string OneLine(const std::string &text) {
  std::string line;
  for (const char *c = text.c_str(); *c; ++c) {
    if (*c == '\r')
      line += ' ';
    else if (*c != '\n')
      line += *c;
  }
  return line;
}

}  // namespace

std::string ErrorText(std::uint32_t code) {
  code = TranslatedCode(code);
  const bool network = code >= 2100 && code <= 2999;
  const std::string moduleName = DecipherString(NetworkMessageModuleName);
  const UniqueModule messages = LoadModule(network ? moduleName.c_str() : nullptr, LOAD_LIBRARY_AS_DATAFILE);
  const std::string text = SystemMessage(code, FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_FROM_SYSTEM,
                                         messages.Get(), MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT));
  if (!text.empty()) return OneLine(text);
  char hex[16];
  std::snprintf(hex, sizeof hex, "$%lx", static_cast<unsigned long>(code));
  return DecipherString(UnknownErrorPrefix) + " " + hex;
}
