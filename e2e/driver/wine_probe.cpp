#include "wine_probe.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>

#include "child_process.h"
#include "wine_session.h"

namespace e2e {
namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream stream(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
}

unsigned LittleEndian(const std::string& bytes, std::size_t offset, int size) {
  unsigned value = 0;
  for (int i = size - 1; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes[offset + i]);
  return value;
}

std::string Trimmed(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  return text;
}

}  // namespace

int PeImageBits(const std::string& path) {
  std::ifstream stream(path, std::ios::binary);
  std::string head(4096, '\0');
  stream.read(&head[0], static_cast<std::streamsize>(head.size()));
  head.resize(static_cast<std::size_t>(stream.gcount()));
  if (head.size() < 64 || head.compare(0, 2, "MZ") != 0) return 0;
  const unsigned offset = LittleEndian(head, 60, 4);
  if (offset > head.size() - 6 || head.compare(offset, 4, std::string("PE\0\0", 4)) != 0) return 0;
  switch (LittleEndian(head, offset + 4, 2)) {
    case 0x014C:
      return 32;
    case 0x8664:
      return 64;
    default:
      return 0;
  }
}

ProbeVerdict ProbeWine(const std::string& loader, const std::string& probe, const std::string& workDir, int code) {
  ProbeVerdict verdict;
  const int bits = PeImageBits(probe);
  if (bits == 0) {
    verdict.reason = probe + " is not a Windows program (build its preset)";
    return verdict;
  }
  const std::string marker = workDir + "/probe-marker-" + std::to_string(getpid());
  std::remove(marker.c_str());
  const ProgramResult result =
      RunProgram({loader, probe, WindowsPath(marker), std::to_string(code)}, std::chrono::seconds(120));
  const std::string written = Trimmed(ReadFile(marker));
  std::remove(marker.c_str());
  const std::string expected = "probe " + std::to_string(bits);
  if (!result.timedOut && result.exitCode == code && written == expected) {
    verdict.runs = true;
    return verdict;
  }
  const std::string kind = std::to_string(bits) + "-bit";
  if (result.timedOut) {
    verdict.reason = "Wine did not end the " + kind + " probe in time";
  } else if (written.empty()) {
    verdict.reason = "Wine did not run the " + kind + " probe (exit code " + std::to_string(result.exitCode) +
                     " instead of " + std::to_string(code) + ", no marker written)";
  } else {
    verdict.reason = "the " + kind + " probe answered " + std::to_string(result.exitCode) + " instead of " +
                     std::to_string(code) + ", marker \"" + written + "\"";
  }
  if (bits == 32) verdict.reason += "; does this machine execute 32-bit code, with wine32:i386 installed (scripts/setup)?";
  return verdict;
}

ProbeVerdict SessionProbe(const std::string& probe) {
  const char* session = std::getenv("DESKPLAN_WINE_SESSION");
  const std::string folder = session == nullptr ? std::string("/tmp") : std::string(session);
  const std::string cache = folder + "/probe-verdict-" + std::to_string(std::hash<std::string>()(probe));
  const std::string kept = ReadFile(cache);
  if (kept.compare(0, 5, "runs\n") == 0) return ProbeVerdict{true, ""};
  if (kept.compare(0, 8, "refused\n") == 0) return ProbeVerdict{false, kept.substr(8)};

  std::random_device random;
  const int code = 20 + static_cast<int>(random() % 200);
  const ProbeVerdict verdict = ProbeWine(WineLoaderFor(probe), probe, folder, code);
  std::ofstream(cache) << (verdict.runs ? "runs\n" : "refused\n" + verdict.reason);
  return verdict;
}

}  // namespace e2e
