// Deskplan's enciphered constants.
#pragma once

#include "common/enciphered_string.h"

// Class of a top-level window that hosts the desktop's icon view when the
// Program Manager window does not (newer shells put it under such a window).
inline constexpr auto DesktopHostClassConstant = Encipher<7>("WorkerW");
// The maker's web site, without its scheme.
inline constexpr auto WebSiteAddress = Encipher<15>("www.ostrafen.fr");
