// Screenshots of the session's whole X screen, kept as test artifacts.
#pragma once

#include <string>

namespace e2e {

// Saves the root window as <artifacts>/<name>.png; returns the path, or ""
// when ImageMagick's import failed.
std::string TakeScreenshot(const std::string& name);

}  // namespace e2e
