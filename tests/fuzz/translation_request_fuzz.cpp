// Request addresses for any page address, language codes, server number and
// pair lists: a refusal exactly when the server lacks the pair, otherwise the
// server's base followed by pieces in which the page's address is encoded so
// that it decodes to the same bytes and carries none of the query's own
// separators.
#include <string>

#include "app/translation_servers.h"
#include "tests/fuzz/fuzz_input.h"

namespace {

bool IsHex(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); }

int HexValue(char c) { return c <= '9' ? c - '0' : c - 'A' + 10; }

// The bytes of an encoded text, or a trap when it is not one.
std::string Decode(const std::string& encoded) {
  std::string bytes;
  for (std::size_t i = 0; i < encoded.size(); ++i) {
    const char c = encoded[i];
    if (c == '%') {
      if (i + 2 >= encoded.size()) __builtin_trap();
      if (!IsHex(encoded[i + 1]) || !IsHex(encoded[i + 2])) __builtin_trap();
      bytes.push_back(static_cast<char>(HexValue(encoded[i + 1]) * 16 + HexValue(encoded[i + 2])));
      i += 2;
    } else {
      const bool unreserved = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                              (c >= '0' && c <= '9') || c == '-' || c == '.' || c == '_' ||
                              c == '~';
      if (!unreserved) __builtin_trap();
      bytes.push_back(c);
    }
  }
  return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace velocane;
  fuzz::Input input(data, size);
  TTranslationSettings s;
  // Mostly the servers there are, now and then a number outside them.
  const int pick = input.Byte();
  s.ServerNumber = pick < 224 ? pick % kTranslationServers + 1 : pick % 12 - 2;
  s.SourceCode = input.Line();
  s.TargetCode = input.Line();
  s.SourceText = input.Line();
  s.TargetText = input.Line();
  const bool own_pairs = (input.Byte() & 1) != 0;
  for (std::size_t i = 0; i < s.Pairs.size(); ++i) {
    s.Pairs[i] = own_pairs ? input.Line() : kServerPairs[i];
  }
  for (int i = 0; i < kTranslationServers; ++i) {
    s.Bases[static_cast<std::size_t>(i)] = ServerBase(i + 1);
  }
  s.Server2Tail = kServer2Tail;
  const std::string page = input.Bytes(4096);
  const std::string wording = (pick & 1) != 0 ? kInPlaceWording : kNewWindowWording;

  const TTranslationRequest request = BuildTranslationRequest(s, page, wording);

  const std::string pair = PairCodeOf(s.SourceCode, s.TargetCode);
  const int server = s.ServerNumber;
  const bool offered = server == 7 || (server >= 1 && server <= 6 &&
                                       s.Pairs[static_cast<std::size_t>(server - 1)].find(pair) !=
                                           std::string::npos);
  if (request.Refused == offered) __builtin_trap();
  if (request.Refused) {
    const std::string tail = "\r" + wording;
    if (request.Text.size() < tail.size() ||
        request.Text.compare(request.Text.size() - tail.size(), tail.size(), tail) != 0 ||
        request.Text.find("Server " + std::to_string(server)) == std::string::npos) {
      __builtin_trap();
    }
    return 0;
  }
  const std::string& base = s.Bases[static_cast<std::size_t>(server - 1)];
  if (request.Text.compare(0, base.size(), base) != 0) __builtin_trap();
  const std::string encoded = EncodeQueryData(page);
  if (Decode(encoded) != page) __builtin_trap();
  if (encoded.find_first_of("&?# ") != std::string::npos) __builtin_trap();
  if (request.Text.find(encoded, base.size()) == std::string::npos) __builtin_trap();
  return 0;
}
