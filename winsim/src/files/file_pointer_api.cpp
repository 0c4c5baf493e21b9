// kernel32's file pointer and end of file over the simulated file system.
#include <sys/types.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

#include "core/component.h"
#include "core/trace.h"
#include "files/file_system.h"

using namespace winsim::detail;

DWORD WINAPI SetFilePointer(HANDLE file, LONG distance, PLONG distanceHigh, DWORD moveMethod) {
  Record("SetFilePointer", std::to_string(distance) + "|" + std::to_string(moveMethod));
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  auto fail = [](DWORD error) {
    SetLastError(error);
    return INVALID_SET_FILE_POINTER;
  };
  if (unsigned fault = InjectedFault("SetFilePointer")) return fail(fault);
  auto object = HandleObject<FileObject>(file);
  if (!object) return fail(ERROR_INVALID_HANDLE);
  // Without a high part the distance is a signed 32-bit value; with one, the
  // two make a signed 64-bit value.
  std::int64_t move = distance;
  if (distanceHigh)
    move = static_cast<std::int64_t>((static_cast<std::uint64_t>(static_cast<std::uint32_t>(*distanceHigh)) << 32) |
                                     static_cast<std::uint32_t>(distance));
  std::int64_t base = 0;
  if (moveMethod == FILE_CURRENT) {
    base = lseek(object->descriptor, 0, SEEK_CUR);
  } else if (moveMethod == FILE_END) {
    base = lseek(object->descriptor, 0, SEEK_END);
  } else if (moveMethod != FILE_BEGIN) {
    return fail(ERROR_INVALID_PARAMETER);
  }
  if (base < 0) return fail(ErrorForErrno(errno, object->hostPath));
  const std::int64_t target = base + move;
  if (target < 0) return fail(ERROR_NEGATIVE_SEEK);
  if (lseek(object->descriptor, static_cast<off_t>(target), SEEK_SET) < 0)
    return fail(ErrorForErrno(errno, object->hostPath));
  if (distanceHigh) *distanceHigh = static_cast<LONG>(target >> 32);
  SetLastError(ERROR_SUCCESS);
  return static_cast<DWORD>(target & 0xFFFFFFFF);
}

BOOL WINAPI SetEndOfFile(HANDLE file) {
  Record("SetEndOfFile");
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  auto fail = [](DWORD error) {
    SetLastError(error);
    return FALSE;
  };
  if (unsigned fault = InjectedFault("SetEndOfFile")) return fail(fault);
  auto object = HandleObject<FileObject>(file);
  if (!object) return fail(ERROR_INVALID_HANDLE);
  if (!(object->access & GENERIC_WRITE)) return fail(ERROR_ACCESS_DENIED);
  const off_t at = lseek(object->descriptor, 0, SEEK_CUR);
  if (at < 0 || ftruncate(object->descriptor, at) != 0) return fail(ErrorForErrno(errno, object->hostPath));
  return TRUE;
}
