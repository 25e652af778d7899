#pragma once
// The seven translation services: their hosts, request prefixes and language
// pairs, the language codes, and the request address for a page. All of it is
// string work on its inputs alone.
#include <array>
#include <string>
#include <string_view>

namespace velocane {

constexpr int kTranslationServers = 7;

// The hosts of the services, Server 1 to Server 7. Ports and paths are the
// services' own and fixed; the hosts are ours to choose.
constexpr std::array<const char*, kTranslationServers> kTranslationHosts = {
    "translate-1.example", "translate-2.example", "translate-3.example", "translate-4.example",
    "translate-5.example", "translate-6.example", "translate-7.example",
};

// The language names the selection handlers know, in the order they compare
// them, with their codes and Server 7's codes (empty where it has none).
struct TLanguage {
  const char* name;
  const char* code;
  const char* server7_code;
};
extern const std::array<TLanguage, 10> kLanguages;

// The pair lists of servers 1 to 6, as the main window starts with them.
extern const std::array<const char*, 6> kServerPairs;
// The request prefixes of servers 1 to 7, each with its host and port.
std::string ServerBase(int server);
extern const char* const kServer2Tail;

// The closing sentences of a refusal: translating in the page's own window,
// or in a new one.
constexpr const char* kInPlaceWording = "Try Server another please.";
constexpr const char* kNewWindowWording = "Try another server please.";

// A language name's code; a text that is no name is its own code.
std::string LanguageCode(const std::string& name);
// A code's Server 7 code; empty for a code without one.
std::string Server7Code(const std::string& code);
std::string PairCodeOf(const std::string& source, const std::string& target);
// Server 4's pair of English language names; empty for a pair it does not know.
std::string PairNamesOf(const std::string& source, const std::string& target);
// Server 7's language part: from=...&&to=...
std::string FromToQueryOf(const std::string& source, const std::string& target);

// Every byte outside A-Z a-z 0-9 - . _ ~ as %XX.
std::string EncodeQueryData(std::string_view bytes);

// What a request is built from.
struct TTranslationSettings {
  std::string SourceCode;
  std::string TargetCode;
  int ServerNumber = 5;
  // The texts of the two language boxes, which a refusal names.
  std::string SourceText;
  std::string TargetText;
  std::array<std::string, 6> Pairs;  // servers 1 to 6
  std::array<std::string, kTranslationServers> Bases;
  std::string Server2Tail;
};

struct TTranslationRequest {
  bool Refused = false;
  // The request address, or the refusal text. The address is in the ANSI code
  // page, as its pieces are; the page address in it is percent-encoded.
  std::string Text;
};

// The request for a page, given as the UTF-8 form of its address, or the
// refusal when the server does not offer the pair; `wording` closes a refusal.
TTranslationRequest BuildTranslationRequest(const TTranslationSettings& settings,
                                            std::string_view page_utf8, const std::string& wording);

}  // namespace velocane
