// Cleanslate's enciphered constants: the keys and values it resets, the
// privileges it keeps, and the shell it ends.
#pragma once

#include "common/enciphered_string.h"

inline constexpr auto KeptPrivilege1 = Encipher<17>("SeBackupPrivilege");
inline constexpr auto KeptPrivilege2 = Encipher<18>("SeRestorePrivilege");
inline constexpr auto ClearedValuesKey = Encipher<24>("Control Panel\\Appearance");
inline constexpr auto ClearedValue1 = Encipher<7>("Current");
inline constexpr auto ClearedValue2 = Encipher<10>("NewCurrent");
inline constexpr auto DeletedTree1 = Encipher<37>("Software\\Microsoft\\Windows\\Shell\\Bags");
inline constexpr auto DeletedTree2 = Encipher<39>("Software\\Microsoft\\Windows\\Shell\\BagMRU");
inline constexpr auto DwordKey = Encipher<47>("Software\\Microsoft\\Windows\\Shell\\Bags\\1\\Desktop");
inline constexpr auto DwordValueName = Encipher<6>("FFlags");
inline constexpr auto ShellProcessName = Encipher<12>("explorer.exe");
