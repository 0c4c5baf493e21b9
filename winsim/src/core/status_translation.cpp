// ntdll's translation of NTSTATUS codes to Win32 error codes, for the few
// status codes the programs can meet. Like Windows, HRESULTs that wrap a Win32
// code give that code back and anything unknown gives ERROR_MR_MID_NOT_FOUND.
#include <map>

#include "optional_api.h"

ULONG WINAPI RtlNtStatusToDosError(LONG status) {
  static const std::map<DWORD, ULONG> known = {
      {0x00000000, ERROR_SUCCESS},          {0xC0000001, 31},  // STATUS_UNSUCCESSFUL: ERROR_GEN_FAILURE
      {0xC0000002, ERROR_INVALID_FUNCTION}, {0xC0000008, ERROR_INVALID_HANDLE},
      {0xC000000D, ERROR_INVALID_PARAMETER}, {0xC0000017, ERROR_NOT_ENOUGH_MEMORY},
      {0xC0000022, ERROR_ACCESS_DENIED},    {0xC0000034, ERROR_FILE_NOT_FOUND},
      {0xC000003A, ERROR_PATH_NOT_FOUND},   {0xC0000061, ERROR_PRIVILEGE_NOT_HELD},
      {0xC0000073, ERROR_NONE_MAPPED},      {0xC0000023, ERROR_INSUFFICIENT_BUFFER},
      {0xC0000121, ERROR_ACCESS_DENIED},  // STATUS_CANNOT_DELETE
  };
  DWORD code = static_cast<DWORD>(status);
  if ((code & 0xFFFF0000u) == 0x80070000u) return code & 0xFFFFu;
  auto found = known.find(code);
  return found == known.end() ? 317 : found->second;  // ERROR_MR_MID_NOT_FOUND
}
