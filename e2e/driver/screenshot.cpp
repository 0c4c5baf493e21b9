#include "screenshot.h"

#include <chrono>

#include "child_process.h"
#include "wine_session.h"

namespace e2e {

std::string TakeScreenshot(const std::string& name) {
  const std::string path = ArtifactsDir() + "/" + name + ".png";
  const ProgramResult result = RunProgram({"import", "-window", "root", path}, std::chrono::seconds(30));
  return !result.timedOut && result.exitCode == 0 ? path : std::string();
}

}  // namespace e2e
