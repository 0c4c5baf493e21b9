// The SID text parser from any text: it accepts exactly "S-1-", an authority
// of at most 255 and up to eight sub-authorities, all decimal numbers within
// 32 bits joined by single dashes; what it accepts is a valid SID whose text
// form reads back as the same SID. A SID made from any numbers goes the
// other way round: text, parse, the same SID.
#include <cstring>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "security/account.h"
#include "winsim/machine.h"

namespace {

// The numbers of a text of the accepted form, found without the layer's
// routines; false for any other text.
bool ExpectedNumbers(const std::string &text, std::vector<std::uint32_t> &numbers) {
  if (text.size() < 5 || (text[0] != 'S' && text[0] != 's') || text[1] != '-' || text[2] != '1' || text[3] != '-')
    return false;
  std::uint64_t number = 0;
  std::size_t digits = 0;
  for (std::size_t i = 4; i <= text.size(); ++i) {
    if (i == text.size() || text[i] == '-') {
      if (digits == 0) return false;
      numbers.push_back(static_cast<std::uint32_t>(number));
      number = 0;
      digits = 0;
    } else if (text[i] >= '0' && text[i] <= '9') {
      number = number * 10 + static_cast<std::uint64_t>(text[i] - '0');
      if (number > 0xFFFFFFFFu) return false;
      ++digits;
    } else {
      return false;
    }
  }
  return numbers.size() <= 9 && numbers[0] <= 255;
}

std::string CanonicalText(const std::vector<std::uint32_t> &numbers) {
  std::string text = "S-1";
  for (std::uint32_t number : numbers) text += "-" + std::to_string(number);
  return text;
}

// The SID's authority (last byte) and sub-authorities, read from its bytes.
std::vector<std::uint32_t> NumbersOf(PSID sid) {
  const auto *bytes = static_cast<const BYTE *>(sid);
  std::vector<std::uint32_t> numbers = {bytes[7]};
  for (BYTE i = 0; i < bytes[1]; ++i) {
    std::uint32_t sub;
    std::memcpy(&sub, bytes + 8 + 4 * i, 4);
    numbers.push_back(sub);
  }
  return numbers;
}

// Owns a SID from the parser.
class ParsedSid {
 public:
  explicit ParsedSid(PSID sid) : sid_(sid) {}
  ~ParsedSid() {
    if (sid_) FreeSid(sid_);
  }
  ParsedSid(const ParsedSid &) = delete;
  ParsedSid &operator=(const ParsedSid &) = delete;
  PSID Get() const { return sid_; }

 private:
  PSID sid_;
};

// The parsed SID is whole and valid, carries the numbers, and its text form
// from the account layer parses back to an equal SID.
void CheckParsed(PSID sid, const std::vector<std::uint32_t> &numbers) {
  FUZZ_CHECK(IsValidSid(sid));
  const auto *bytes = static_cast<const BYTE *>(sid);
  FUZZ_CHECK(bytes[0] == SID_REVISION);
  FUZZ_CHECK(bytes[2] == 0 && bytes[3] == 0 && bytes[4] == 0 && bytes[5] == 0 && bytes[6] == 0);
  FUZZ_CHECK(GetLengthSid(sid) == 8 + 4 * (numbers.size() - 1));
  FUZZ_CHECK(NumbersOf(sid) == numbers);
  IPtr<IAccount> account = AccountBySid(sid);
  FUZZ_CHECK(account->IsValid());
  const std::string text = account->SidString();
  FUZZ_CHECK(text == CanonicalText(numbers));
  ParsedSid again(ParseSidString(text));
  FUZZ_CHECK(again.Get() != nullptr);
  FUZZ_CHECK(EqualSid(sid, again.Get()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  FuzzInput input(data, size);
  winsim::Reset();
  if (input.Byte() & 1) {
    // Any text.
    const std::string text = input.Rest();
    std::vector<std::uint32_t> numbers;
    const bool accepted = ExpectedNumbers(text, numbers);
    ParsedSid sid(ParseSidString(text));
    FUZZ_CHECK((sid.Get() != nullptr) == accepted);
    if (sid.Get()) CheckParsed(sid.Get(), numbers);
  } else {
    // Any numbers the text form can carry: text, then parse.
    std::vector<std::uint32_t> numbers = {input.Byte()};
    const int count = input.Byte() % 9;
    for (int i = 0; i < count; ++i) numbers.push_back(input.Word32());
    ParsedSid sid(ParseSidString(CanonicalText(numbers)));
    FUZZ_CHECK(sid.Get() != nullptr);
    CheckParsed(sid.Get(), numbers);
  }
  // The machine lets go of what the run left in it, so that libFuzzer finds
  // no growth to search for leaks after every input.
  winsim::Reset();
  return 0;
}
