// RegCtrl: one-call registry routines. Each opens the key named by a root and
// a backslash-separated path, does one thing, closes the key, and turns every
// failure into false or the caller's default.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <windows.h>

// Writers create every missing key along the path. Strings are REG_SZ with
// their terminator, integers REG_DWORD, booleans REG_DWORD 1 or 0.
bool WriteRegString(HKEY root, const std::string &path, const std::string &name, const std::string &text);
bool WriteRegInteger(HKEY root, const std::string &path, const std::string &name, int32_t value);
bool WriteRegBool(HKEY root, const std::string &path, const std::string &name, bool value);

// Replace the list with the key's subkey or value names in the registry's
// enumeration order; on failure the list is left as it was.
bool ReadRegKeyNames(HKEY root, const std::string &path, std::vector<std::string> &names);
bool ReadRegValueNames(HKEY root, const std::string &path, std::vector<std::string> &names);

// Whether the key opens for reading.
bool RegKeyPresent(HKEY root, const std::string &path);

// The same operations for a caller that must tell a missing key or value
// (ERROR_FILE_NOT_FOUND) from one that is there but cannot be read: each
// answers the registry's status, ERROR_SUCCESS when the operation was whole.
LSTATUS OpenRegKeyStatus(HKEY root, const std::string &path);
LSTATUS ListRegKeyNames(HKEY root, const std::string &path, std::vector<std::string> &names);
LSTATUS ListRegValueNames(HKEY root, const std::string &path, std::vector<std::string> &names);
// The value's type and all its data.
LSTATUS ReadRegValueData(HKEY root, const std::string &path, const std::string &name, DWORD &type,
                         std::vector<BYTE> &data);

// Deletes the key and all its subkeys, deepest first; true when the key did
// not exist or its own deletion succeeded.
bool DeleteRegKeyTree(HKEY root, const std::string &path);

// Readers never create a key; a missing value, a value of another type or
// size, or any failure gives the default.
int32_t ReadRegInteger(HKEY root, const std::string &path, const std::string &name, int32_t defaultValue);
// On a key the caller holds open: a value of exactly this type and size.
bool ReadRegFixedValue(HKEY key, const std::string &name, DWORD type, BYTE *data, DWORD size);
bool ReadRegBool(HKEY root, const std::string &path, const std::string &name, bool defaultValue);
// A REG_BINARY value of at most 254 bytes as two upper-case hexadecimal
// digits per byte.
std::string ReadRegBinaryHex(HKEY root, const std::string &path, const std::string &name,
                             const std::string &defaultText);
