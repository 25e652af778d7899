#include "app/translation_servers.h"

namespace velocane {

namespace {

constexpr const char* kServer1Pairs =
    "de_fr en_de en_es en_fr en_it en_pt es_en es_fr fr_de fr_en fr_es fr_it fr_pt it_en it_fr "
    "pt_en de_en";

struct TServerPrefix {
  const char* port;  // with its colon; empty for the default port
  const char* path;
};

constexpr std::array<TServerPrefix, kTranslationServers> kPrefixes = {{
    {"", "/systran/cgi?partner=demo-SystranSoft&&f=32&&urltext="},
    {"", "/tr?"},
    {"", "/url_b.html?lp="},
    {":5081", "/?sequence=core&&language="},
    {"", "/translate_c?"},
    {"", "/?partner=Lycos2-en&&submit=Translate&&"},
    {":2000", "/Translate/index.shtml?type=url&&"},
}};

struct TPairNames {
  const char* source;
  const char* target;
  const char* names;
};

constexpr std::array<TPairNames, 10> kServer4Names = {{
    {"es", "en", "Spanish/English"},
    {"fr", "en", "French/English"},
    {"de", "en", "German/English"},
    {"it", "en", "Italian/English"},
    {"pt", "en", "Portuguese/English"},
    {"en", "es", "English/Spanish"},
    {"en", "fr", "English/French"},
    {"en", "de", "English/German"},
    {"en", "it", "English/Italian"},
    {"en", "pt", "English/Portuguese"},
}};

}  // namespace

const std::array<TLanguage, 10> kLanguages = {{
    {"English", "en", "eng"},
    {"French", "fr", "fre"},
    {"German", "de", "ger"},
    {"Italian", "it", "ita"},
    {"Portuguese", "pt", "poe"},
    {"Chinese", "zh", ""},
    {"Japanese", "ja", "jpn"},
    {"Korean", "ko", ""},
    {"Russian", "ru", "rus"},
    {"Spanish", "es", "spa"},
}};

const std::array<const char*, 6> kServerPairs = {
    kServer1Pairs,
    "en_zh en_fr en_de en_it en_ja en_ko en_pt en_es zh_en fr_en fr_de de_en de_fr it_en ja_en "
    "ko_en pt_en ru_en es_en",
    "en_fr en_ge en_it en_pt en_es fr_en fr_ge ge_en ge_fr it_en pt_en es_en de_en",
    "es_en fr_en de_en it_en pt_en en_es en_fr en_de en_it en_pt de_en",
    kServer1Pairs,
    kServer1Pairs,
};

const char* const kServer2Tail = "&&doit=done&&tt=url&&urltext=";

std::string ServerBase(int server) {
  if (server < 1 || server > kTranslationServers) return {};
  const auto index = static_cast<std::size_t>(server - 1);
  return std::string("http://") + kTranslationHosts[index] + kPrefixes[index].port +
         kPrefixes[index].path;
}

std::string LanguageCode(const std::string& name) {
  for (const TLanguage& language : kLanguages) {
    if (name == language.name) return language.code;
  }
  return name;
}

std::string Server7Code(const std::string& code) {
  for (const TLanguage& language : kLanguages) {
    if (code == language.code) return language.server7_code;
  }
  return {};
}

std::string PairCodeOf(const std::string& source, const std::string& target) {
  return source + "_" + target;
}

std::string PairNamesOf(const std::string& source, const std::string& target) {
  for (const TPairNames& row : kServer4Names) {
    if (source == row.source && target == row.target) return row.names;
  }
  return {};
}

std::string FromToQueryOf(const std::string& source, const std::string& target) {
  return "from=" + Server7Code(source) + "&&" + "to=" + Server7Code(target);
}

std::string EncodeQueryData(std::string_view bytes) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string encoded;
  encoded.reserve(bytes.size() * 3);
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    const bool unreserved = (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
                            (byte >= '0' && byte <= '9') || byte == '-' || byte == '.' ||
                            byte == '_' || byte == '~';
    if (unreserved) {
      encoded.push_back(c);
    } else {
      encoded.push_back('%');
      encoded.push_back(kHex[byte >> 4]);
      encoded.push_back(kHex[byte & 0xF]);
    }
  }
  return encoded;
}

TTranslationRequest BuildTranslationRequest(const TTranslationSettings& s,
                                            std::string_view page_utf8,
                                            const std::string& wording) {
  const int server = s.ServerNumber;
  const std::string pair = PairCodeOf(s.SourceCode, s.TargetCode);
  if (server != 7) {
    const bool listed =
        server >= 1 && server <= 6 &&
        s.Pairs[static_cast<std::size_t>(server - 1)].find(pair) != std::string::npos;
    if (!listed) {
      return {true, s.SourceText + "->" + s.TargetText +
                        " Translation are not supported by Server " + std::to_string(server) +
                        "\r" + wording};
    }
  }
  // The page's own address is data in the request's query: encoded, so that
  // its "&", "?", "#" and blanks stay its own.
  const std::string p = EncodeQueryData(page_utf8);
  const std::string& base = s.Bases[static_cast<std::size_t>(server - 1)];
  std::string address;
  switch (server) {
    case 1:
      address = base + p + "&&lp=" + pair;
      break;
    case 2:
      address = base + "lp=" + pair + "&&url=" + p + s.Server2Tail;
      break;
    case 3:
      address = base + pair + "&&url=" + p;
      break;
    case 4:
      address = base + PairNamesOf(s.SourceCode, s.TargetCode) + "&&url=" + p;
      break;
    case 5:
      address = base + "sl=" + s.SourceCode + "&&hl=" + s.TargetCode + "&&u=" + p;
      break;
    case 6:
      address = base + "lp=" + pair + "&&urltext=" + p;
      break;
    default:
      address = base + FromToQueryOf(s.SourceCode, s.TargetCode) + "&&url=" + p;
      break;
  }
  return {false, address};
}

}  // namespace velocane
