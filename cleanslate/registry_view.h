// Which registry view Cleanslate works in: the process's own, or the 64-bit
// one when a 32-bit build runs on 64-bit Windows.
#pragma once

using RegistryView = unsigned char;

constexpr RegistryView kDefaultRegistryView = 1;
constexpr RegistryView k64BitRegistryView = 2;

// 2 under WOW64, else 1; raises "Bad 64 bit process handle" when the system
// cannot say.
RegistryView DetectRegistryView();
