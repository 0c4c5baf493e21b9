// Deskplan.exe declares the systems it was written for: without Windows 10 in
// its manifest, GetVersionExA reports Windows 8 (6.2) on Windows 10 and 11,
// and the program could not tell that the shell keeps its own icon positions.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <sys/stat.h>

#include "pe_image.h"

namespace statics {
namespace {

TEST(DeskplanManifest, DeclaresWindowsTenCompatibility) {
  const std::string path = std::string(DESKPLAN_WIN32_BIN) + "/Deskplan.exe";
  struct stat info;
  if (stat(path.c_str(), &info) != 0) {
    const char *all = std::getenv("DESKPLAN_REQUIRE_ALL_TESTS");
    const char *ci = std::getenv("CI");
    if ((all && std::string(all) == "1") || (ci && std::string(ci) == "true")) FAIL() << path << " is missing";
    GTEST_SKIP() << path << " is missing: build the win32 preset first";
  }
  PeImage image = LoadPeImage(path);
  ASSERT_TRUE(image.loaded) << image.error;
  const std::string manifest = EmbeddedManifest(image);
  EXPECT_NE(manifest.find("urn:schemas-microsoft-com:compatibility.v1"), std::string::npos) << manifest;
  EXPECT_NE(manifest.find("{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"), std::string::npos) << manifest;
}

}  // namespace
}  // namespace statics
