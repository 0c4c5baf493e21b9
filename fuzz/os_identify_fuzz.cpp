// OS identification from any version record the system could answer: the
// family follows the platform, the description names a system, and both
// programs' version gates answer without fault.
#include "common/version_gate.h"
#include "fuzz_check.h"
#include "security/os_info.h"
#include "winsim/machine.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  FuzzInput input(data, size);
  winsim::Reset();
  winsim::OsVersion version;
  version.platformId = input.Byte() % 4;
  version.major = input.Byte() % 12;
  version.minor = input.Byte() % 100;
  version.build = input.Word32();
  std::uint8_t flags = input.Byte();
  version.servicePackMajor = input.Byte();
  version.servicePackMinor = input.Byte();
  version.productType = input.Byte() % 4;
  version.acceptsExtendedInfo = flags & 1;
  // The service-pack text: at most 127 bytes, as the record holds.
  version.csdVersion = input.Bytes(127).c_str();
  winsim::SetOsVersion(version);
  if (flags & 2) winsim::SetCommandLine(flags & 4 ? "Deskplan.exe /NOVERSION" : "Deskplan.exe");

  TOS os = IdentifyOs();
  FUZZ_CHECK(!(os.win9x && os.winNT));
  FUZZ_CHECK(!os.description.empty());
  FUZZ_CHECK(os.description.find('\0') == std::string::npos);
  FUZZ_CHECK(os.servicePack.size() <= 128);
  FUZZ_CHECK(os.version == os.win9xVersion || os.version == os.winNTVersion);
  FUZZ_CHECK(OsVersionText(os.version) != nullptr);
  bool deskplanLegacy = deskplan::IsLegacyWindows();
  bool cleanslateLegacy = cleanslate::IsLegacyWindows();
  // Windows 2000 and later are never legacy for either program (unless forced).
  if (version.platformId == VER_PLATFORM_WIN32_NT && version.major >= 5 && !(flags & 4))
    FUZZ_CHECK(!deskplanLegacy);
  if (version.platformId == VER_PLATFORM_WIN32_NT && version.major >= 5) FUZZ_CHECK(!cleanslateLegacy);
  // The machine lets go of what the run left in it, so that libFuzzer finds
  // no growth to search for leaks after every input.
  winsim::Reset();
  return 0;
}
