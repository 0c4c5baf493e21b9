// What the end-to-end tests know of the Wine session that the scripts start
// (scripts/wine-session): where things are and how to run a win64 program.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "child_process.h"

namespace e2e {

bool WineSessionActive();
// True when a missing session must fail the tests rather than skip them
// (DESKPLAN_REQUIRE_ALL_TESTS=1, or any CI run).
bool WineSessionRequired();

std::string Win64BinDir();                            // the win64 .exe files
std::string Win64Program(const std::string& name);    // Win64BinDir()/name
std::string FixturePath(const std::string& name);     // e2e/fixtures/name
std::string ArtifactsDir();                           // screenshots and exports, created on demand
// The Windows form of a Linux path (Wine maps Z: onto /).
std::string WindowsPath(const std::string& linuxPath);

// The command that runs a win64 program under the session's wine64.
std::vector<std::string> WineCommand(const std::string& program, const std::vector<std::string>& args);

// Runs a win64 program with arguments to its end, or kills it at the limit.
ProgramResult RunWin64(const std::string& program, const std::vector<std::string>& args,
                       std::chrono::milliseconds timeout = std::chrono::seconds(60));

// Base fixture of every end-to-end test: needs the session and the win64
// build; skips (visibly) or fails, as WineSessionRequired() says, without it.
class WineTest : public ::testing::Test {
 protected:
  void SetUp() override;
};

}  // namespace e2e
