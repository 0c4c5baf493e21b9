// The shipped Deskplan.exe carries its icon groups as the tray and Explorer
// need them: "MAINICON" with 48, 32 and 16 pixels in true colour with alpha,
// 256 and 16 colours; "MAINICON9X" with one 16-pixel, 16-colour image.
// Read back from the image with icoutils (wrestool, icotool).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <sys/stat.h>
#include <tuple>

namespace statics {
namespace {

using Image = std::tuple<int, int>;  // width (= height), bits per pixel

std::string Shell(const std::string& command) {
  std::string output;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe)) output += buffer;
    pclose(pipe);
  }
  return output;
}

// The images of one icon group, as icotool lists the icon wrestool rebuilds.
std::multiset<Image> GroupImages(const std::string& program, const std::string& group) {
  const std::string icon = testing::TempDir() + "/" + group + ".ico";
  Shell("wrestool -x --type=14 --name=" + group + " -o " + icon + " " + program);
  std::multiset<Image> images;
  std::string listing = Shell("icotool -l " + icon);
  for (std::size_t start = 0; start < listing.size();) {
    std::size_t end = listing.find('\n', start);
    const std::string line = listing.substr(start, end - start);
    int width = 0;
    int height = 0;
    int depth = 0;
    const char* size = std::strstr(line.c_str(), "--width=");
    const char* bits = std::strstr(line.c_str(), "--bit-depth=");
    if (size && bits && std::sscanf(size, "--width=%d --height=%d", &width, &height) == 2 &&
        std::sscanf(bits, "--bit-depth=%d", &depth) == 1 && width == height)
      images.insert({width, depth});
    if (end == std::string::npos) break;
    start = end + 1;
  }
  std::remove(icon.c_str());
  return images;
}

bool Required() {
  const char* all = std::getenv("DESKPLAN_REQUIRE_ALL_TESTS");
  const char* ci = std::getenv("CI");
  return (all != nullptr && std::string(all) == "1") || (ci != nullptr && std::string(ci) == "true");
}

class DeskplanIcons : public ::testing::Test {
 protected:
  void SetUp() override {
    program_ = std::string(DESKPLAN_WIN32_BIN) + "/Deskplan.exe";
    struct stat info;
    std::string missing;
    if (stat(program_.c_str(), &info) != 0) missing = program_ + " is missing: build the win32 preset first";
    if (Shell("wrestool --version").empty() || Shell("icotool --version").empty())
      missing = "icoutils is missing (scripts/setup installs it)";
    if (missing.empty()) return;
    if (Required()) FAIL() << missing;
    GTEST_SKIP() << missing;
  }
  std::string program_;
};

TEST_F(DeskplanIcons, ProgramIconHasThreeSizesInThreeColourDepths) {
  std::multiset<Image> expected;
  for (int size : {48, 32, 16})
    for (int depth : {32, 8, 4}) expected.insert({size, depth});
  EXPECT_EQ(GroupImages(program_, "MAINICON"), expected);
}

TEST_F(DeskplanIcons, TrayIconIsOneSixteenPixelSixteenColourImage) {
  EXPECT_EQ(GroupImages(program_, "MAINICON9X"), (std::multiset<Image>{{16, 4}}));
}

}  // namespace
}  // namespace statics
