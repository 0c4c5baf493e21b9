// The probe's verdicts, with stand-in Wine commands (small shell scripts) in
// place of the session's Wine: a Wine that cannot run the program, whatever it
// answers, is refused; only the marker and the chosen exit code together pass.
// These need no Wine session.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "wine_probe.h"
#include "wine_session.h"

namespace e2e {
namespace {

class TemporaryFolder {
 public:
  TemporaryFolder() {
    char pattern[] = "/tmp/wine-probe-test.XXXXXX";
    const char* made = mkdtemp(pattern);
    path_ = made == nullptr ? std::string() : std::string(made);
  }
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;
  ~TemporaryFolder() {
    if (!path_.empty()) std::system(("rm -rf '" + path_ + "'").c_str());
  }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

// A PE image header of the given machine, enough for the bitness.
void WritePeImage(const std::string& path, unsigned machine) {
  std::string bytes(64, '\0');
  bytes[0] = 'M';
  bytes[1] = 'Z';
  bytes[60] = 64;
  bytes += std::string("PE\0\0", 4);
  bytes += static_cast<char>(machine & 0xFF);
  bytes += static_cast<char>(machine >> 8);
  bytes += std::string(200, '\0');
  std::ofstream(path, std::ios::binary) << bytes;
}

// A stand-in for the Wine command: a script called as "<script> PROBE MARKER CODE",
// MARKER in Windows form. $MARKER is its Linux form, $CODE the code asked for.
std::string WriteLoader(const std::string& folder, const std::string& name, const std::string& body) {
  const std::string path = folder + "/" + name;
  std::ofstream(path) << "#!/bin/sh\n"
                      << "MARKER=$(printf '%s' \"$2\" | sed -e 's/^Z://' -e 's|\\\\|/|g')\n"
                      << "CODE=$3\n"
                      << body << "\n";
  chmod(path.c_str(), 0755);
  return path;
}

class WineProbeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(folder_.Path().empty());
    probe32_ = folder_.Path() + "/probe32.exe";
    probe64_ = folder_.Path() + "/probe64.exe";
    WritePeImage(probe32_, 0x014C);
    WritePeImage(probe64_, 0x8664);
  }
  std::string Loader(const std::string& name, const std::string& body) {
    return WriteLoader(folder_.Path(), name, body);
  }

  TemporaryFolder folder_;
  std::string probe32_;
  std::string probe64_;
};

TEST_F(WineProbeTest, TellsTheBitnessOfPeImagesAndRefusesAnythingElse) {
  EXPECT_EQ(PeImageBits(probe32_), 32);
  EXPECT_EQ(PeImageBits(probe64_), 64);
  const std::string arm = folder_.Path() + "/arm.exe";
  WritePeImage(arm, 0xAA64);
  EXPECT_EQ(PeImageBits(arm), 0);
  const std::string text = folder_.Path() + "/text.exe";
  std::ofstream(text) << "MZ but nothing after it";
  EXPECT_EQ(PeImageBits(text), 0);
  EXPECT_EQ(PeImageBits(folder_.Path() + "/missing.exe"), 0);
}

TEST_F(WineProbeTest, AWineThatCannotRunTheProgramIsRefusedWhateverItAnswers) {
  // wine64 without its 32-bit half: an error, and exit code 0 (or 1).
  const std::string trap = Loader("wine64-trap",
                                  "echo 'err:environ:init_peb starting in experimental wow64 mode' >&2\nexit 0");
  ProbeVerdict verdict = ProbeWine(trap, probe32_, folder_.Path(), 57);
  EXPECT_FALSE(verdict.runs);
  EXPECT_NE(verdict.reason.find("did not run the 32-bit probe (exit code 0 instead of 57, no marker written)"),
            std::string::npos)
      << verdict.reason;
  EXPECT_NE(verdict.reason.find("wine32"), std::string::npos) << verdict.reason;

  const std::string failing = Loader("wine-fails", "exit 1");
  EXPECT_FALSE(ProbeWine(failing, probe32_, folder_.Path(), 57).runs);
  // Even the chosen exit code proves nothing without the marker.
  const std::string echo = Loader("wine-echoes-code", "exit $CODE");
  verdict = ProbeWine(echo, probe32_, folder_.Path(), 57);
  EXPECT_FALSE(verdict.runs);
  EXPECT_NE(verdict.reason.find("no marker"), std::string::npos) << verdict.reason;
}

TEST_F(WineProbeTest, TheMarkerMustNameTheProbesBitnessAndTheCodeMustMatch) {
  const std::string wrongBits = Loader("wine-wrong-bits", "echo 'probe 64' > \"$MARKER\"\nexit $CODE");
  ProbeVerdict verdict = ProbeWine(wrongBits, probe32_, folder_.Path(), 57);
  EXPECT_FALSE(verdict.runs);
  EXPECT_NE(verdict.reason.find("marker \"probe 64\""), std::string::npos) << verdict.reason;

  const std::string wrongCode = Loader("wine-wrong-code", "echo 'probe 32' > \"$MARKER\"\nexit 0");
  verdict = ProbeWine(wrongCode, probe32_, folder_.Path(), 57);
  EXPECT_FALSE(verdict.runs);
  EXPECT_NE(verdict.reason.find("answered 0 instead of 57"), std::string::npos) << verdict.reason;
}

TEST_F(WineProbeTest, ARealRunOfEitherBitnessPasses) {
  const std::string runs = Loader("wine-runs",
                                  "case $1 in *probe32*) b=32 ;; *) b=64 ;; esac\n"
                                  "printf 'probe %s\\r\\n' $b > \"$MARKER\"\nexit $CODE");
  ProbeVerdict verdict = ProbeWine(runs, probe32_, folder_.Path(), 57);
  EXPECT_TRUE(verdict.runs) << verdict.reason;
  EXPECT_TRUE(verdict.reason.empty());
  EXPECT_TRUE(ProbeWine(runs, probe64_, folder_.Path(), 201).runs);
  EXPECT_FALSE(ProbeWine(runs, folder_.Path() + "/missing.exe", folder_.Path(), 57).runs);
}

TEST_F(WineProbeTest, SixtyFourBitProgramsSkipThe32BitLoaderWhereTheSessionNamesA64BitOne) {
  setenv("DESKPLAN_WINE", "/loaders/wine", 1);
  unsetenv("DESKPLAN_WINE64");
  EXPECT_EQ("/loaders/wine", WineCommand(probe64_, {})[0]) << "without a 64-bit loader, one loader for all";
  setenv("DESKPLAN_WINE64", "/loaders/wine64", 1);
  EXPECT_EQ("/loaders/wine", WineCommand(probe32_, {"x"})[0]);
  EXPECT_EQ("/loaders/wine64", WineCommand(probe64_, {"x"})[0]);
  EXPECT_EQ("/loaders/wine64", WineLoaderFor("reg")) << "Wine's own programs are 64-bit in a 64-bit prefix";
  unsetenv("DESKPLAN_WINE64");
  unsetenv("DESKPLAN_WINE");
}

TEST_F(WineProbeTest, TheSessionKeepsItsVerdictWithTheReason) {
  unsetenv("DESKPLAN_WINE64");
  setenv("DESKPLAN_WINE_SESSION", folder_.Path().c_str(), 1);
  setenv("DESKPLAN_WINE", Loader("wine64-trap", "exit 0").c_str(), 1);
  const ProbeVerdict refused = SessionProbe(probe32_);
  EXPECT_FALSE(refused.runs);
  EXPECT_FALSE(refused.reason.empty());

  // Within one session (one prefix, one Wine) the verdict stands: a changed
  // command is not asked again, and the reason is kept word for word.
  setenv("DESKPLAN_WINE",
         Loader("wine-runs",
                "case $1 in *probe32*) b=32 ;; *) b=64 ;; esac\necho \"probe $b\" > \"$MARKER\"\nexit $CODE")
             .c_str(),
         1);
  const ProbeVerdict again = SessionProbe(probe32_);
  EXPECT_FALSE(again.runs);
  EXPECT_EQ(again.reason, refused.reason);
  EXPECT_TRUE(SessionProbe(probe64_).runs) << "a 64-bit probe is judged on its own";
  unsetenv("DESKPLAN_WINE_SESSION");
  unsetenv("DESKPLAN_WINE");
}

}  // namespace
}  // namespace e2e
