// Test-facing control of the registry: arrange keys and values directly, read
// them back, refuse rights to the program, and count the key handles it holds.
// None of these calls is traced or subject to injected faults.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include <windows.h>

namespace winsim {

// Keys are named by a predefined root and a backslash-separated path.
void CreateRegistryKey(HKEY root, const std::string &path);
// Creates the key when missing; the value keeps its place if it existed.
void SetRegistryValue(HKEY root, const std::string &path, const std::string &name, DWORD type,
                      const std::vector<BYTE> &data);
void SetRegistryString(HKEY root, const std::string &path, const std::string &name, const std::string &text);
void SetRegistryDword(HKEY root, const std::string &path, const std::string &name, DWORD value);
// Deletes the key with its whole tree; false when it did not exist.
bool DeleteRegistryKey(HKEY root, const std::string &path);

struct RegistryValue {
  DWORD type = REG_NONE;
  std::vector<BYTE> data;
};

bool RegistryKeyExists(HKEY root, const std::string &path);
std::optional<RegistryValue> ReadRegistryValue(HKEY root, const std::string &path, const std::string &name);
// In the registry's enumeration order; empty when the key does not exist.
std::vector<std::string> RegistryValueNames(HKEY root, const std::string &path);
std::vector<std::string> RegistrySubkeyNames(HKEY root, const std::string &path);

// The program is refused these rights on the key (an open asking for any of
// them fails with ERROR_ACCESS_DENIED); 0 lifts the refusal.
void DenyRegistryAccess(HKEY root, const std::string &path, REGSAM rights);

// Key handles the program opened or created and has not closed.
int OpenRegistryHandleCount();

}  // namespace winsim
