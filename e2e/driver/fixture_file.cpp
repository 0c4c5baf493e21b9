#include "fixture_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "wine_session.h"

namespace e2e {

std::vector<FixtureIcon> LoadFixture(const std::string &name) {
  std::ifstream stream(FixturePath(name), std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
  std::vector<FixtureIcon> icons;
  std::string error;
  EXPECT_TRUE(ParseFixture(text, icons, error)) << error;
  return icons;
}

}  // namespace e2e
