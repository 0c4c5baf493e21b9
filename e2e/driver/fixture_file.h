// A desktop fixture read from e2e/fixtures, as the test shell shows it.
#pragma once

#include <string>
#include <vector>

#include "../protocol/fixture_format.h"

namespace e2e {

// The fixture's icons; a file that does not parse fails the calling test.
std::vector<FixtureIcon> LoadFixture(const std::string &name);

}  // namespace e2e
