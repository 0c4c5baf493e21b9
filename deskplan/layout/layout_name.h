// Layouts are named after the display size: one layout per screen size.
#pragma once

#include <string>

// "Software\Ostrafen\Deskplan" under HKEY_CURRENT_USER.
extern const char ProductKeyPath[];

// "%dx%d" of the virtual screen (all monitors), or of the primary screen where
// the system has no multi-monitor support.
std::string GetLayoutName();

// The layout's key path under HKEY_CURRENT_USER.
std::string LayoutKeyPath(const std::string &layoutName);
