// The translation servers' request addresses and refusals, the language
// codes and the selection handlers of the language and server boxes.
#include <algorithm>
#include <cctype>
#include <string>
#include <tuple>

#include "app/translation_servers.h"
#include "tests/support/program_fixture.h"

namespace velocane::testing {
namespace {

const std::string kPage = "http://page.example/a";
const std::string kPageEncoded = "http%3A%2F%2Fpage.example%2Fa";

// The start-up settings with another pair and server.
TTranslationSettings Settings(const std::string& source, const std::string& target, int server,
                              const std::string& source_text = "French",
                              const std::string& target_text = "English") {
  TTranslationSettings s;
  s.SourceCode = source;
  s.TargetCode = target;
  s.ServerNumber = server;
  s.SourceText = source_text;
  s.TargetText = target_text;
  for (std::size_t i = 0; i < s.Pairs.size(); ++i) s.Pairs[i] = kServerPairs[i];
  for (int n = 1; n <= kTranslationServers; ++n) s.Bases[n - 1] = ServerBase(n);
  s.Server2Tail = kServer2Tail;
  return s;
}

TEST(TranslationData, BasesCarryTheFixedPortsAndPrefixes) {
  const char* const bases[] = {
      "http://translate-1.example/systran/cgi?partner=demo-SystranSoft&&f=32&&urltext=",
      "http://translate-2.example/tr?",
      "http://translate-3.example/url_b.html?lp=",
      "http://translate-4.example:5081/?sequence=core&&language=",
      "http://translate-5.example/translate_c?",
      "http://translate-6.example/?partner=Lycos2-en&&submit=Translate&&",
      "http://translate-7.example:2000/Translate/index.shtml?type=url&&",
  };
  for (int n = 1; n <= 7; ++n) EXPECT_EQ(ServerBase(n), bases[n - 1]) << n;
  EXPECT_STREQ(kServer2Tail, "&&doit=done&&tt=url&&urltext=");
}

TEST(TranslationData, PairListsCharacterForCharacter) {
  const std::string first =
      "de_fr en_de en_es en_fr en_it en_pt es_en es_fr fr_de fr_en fr_es fr_it fr_pt it_en it_fr "
      "pt_en de_en";
  EXPECT_EQ(kServerPairs[0], first);
  EXPECT_EQ(std::string(kServerPairs[1]),
            "en_zh en_fr en_de en_it en_ja en_ko en_pt en_es zh_en fr_en fr_de de_en de_fr it_en "
            "ja_en ko_en pt_en ru_en es_en");
  EXPECT_EQ(std::string(kServerPairs[2]),
            "en_fr en_ge en_it en_pt en_es fr_en fr_ge ge_en ge_fr it_en pt_en es_en de_en");
  EXPECT_EQ(std::string(kServerPairs[3]),
            "es_en fr_en de_en it_en pt_en en_es en_fr en_de en_it en_pt de_en");
  EXPECT_EQ(kServerPairs[4], first);
  EXPECT_EQ(kServerPairs[5], first);
}

TEST(TranslationData, LanguageCodesAndServer7Codes) {
  const std::tuple<const char*, const char*, const char*> table[] = {
      {"English", "en", "eng"},  {"French", "fr", "fre"},     {"German", "de", "ger"},
      {"Italian", "it", "ita"},  {"Portuguese", "pt", "poe"}, {"Chinese", "zh", ""},
      {"Japanese", "ja", "jpn"}, {"Korean", "ko", ""},        {"Russian", "ru", "rus"},
      {"Spanish", "es", "spa"},
  };
  for (const auto& [name, code, server7] : table) {
    EXPECT_EQ(LanguageCode(name), code);
    EXPECT_EQ(Server7Code(code), server7) << code;
  }
  // Exact and case-sensitive; anything else is its own code.
  EXPECT_EQ(LanguageCode("english"), "english");
  EXPECT_EQ(LanguageCode("English "), "English ");
  EXPECT_EQ(LanguageCode(""), "");
  EXPECT_EQ(Server7Code("english"), "");
}

TEST(TranslationData, PairNamesForServer4) {
  const std::tuple<const char*, const char*, const char*> table[] = {
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
      {"ru", "en", ""},
      {"en", "en", ""},
  };
  for (const auto& [source, target, names] : table) {
    EXPECT_EQ(PairNamesOf(source, target), names) << source << "_" << target;
  }
  EXPECT_EQ(FromToQueryOf("zh", "en"), "from=&&to=eng");
  EXPECT_EQ(FromToQueryOf("pt", "ko"), "from=poe&&to=");
}

struct RequestCase {
  const char* name;
  const char* source;
  const char* target;
  int server;
  std::string request;
};

const RequestCase kRequests[] = {
    {"StartUpOnServer5", "fr", "en", 5,
     "http://translate-5.example/translate_c?sl=fr&&hl=en&&u=" + kPageEncoded},
    {"Server1", "fr", "en", 1,
     "http://translate-1.example/systran/cgi?partner=demo-SystranSoft&&f=32&&urltext=" +
         kPageEncoded + "&&lp=fr_en"},
    {"Server2", "fr", "en", 2,
     "http://translate-2.example/tr?lp=fr_en&&url=" + kPageEncoded +
         "&&doit=done&&tt=url&&urltext="},
    {"GermanToEnglishOnServer3", "de", "en", 3,
     "http://translate-3.example/url_b.html?lp=de_en&&url=" + kPageEncoded},
    {"EnglishToSpanishOnServer4", "en", "es", 4,
     "http://translate-4.example:5081/?sequence=core&&language=English/Spanish&&url=" +
         kPageEncoded},
    {"Server6", "fr", "en", 6,
     "http://translate-6.example/?partner=Lycos2-en&&submit=Translate&&lp=fr_en&&urltext=" +
         kPageEncoded},
    {"JapaneseToEnglishOnServer7", "ja", "en", 7,
     "http://translate-7.example:2000/Translate/index.shtml?type=url&&from=jpn&&to=eng&&url=" +
         kPageEncoded},
    {"ChineseToEnglishOnServer7", "zh", "en", 7,
     "http://translate-7.example:2000/Translate/index.shtml?type=url&&from=&&to=eng&&url=" +
         kPageEncoded},
    {"EnglishToEnglishOnServer7", "en", "en", 7,
     "http://translate-7.example:2000/Translate/index.shtml?type=url&&from=eng&&to=eng&&url=" +
         kPageEncoded},
    {"KoreanToEnglishOnServer2", "ko", "en", 2,
     "http://translate-2.example/tr?lp=ko_en&&url=" + kPageEncoded +
         "&&doit=done&&tt=url&&urltext="},
};

class Request : public ::testing::TestWithParam<RequestCase> {};

TEST_P(Request, PiecesInTheServersOrder) {
  const RequestCase& c = GetParam();
  const TTranslationRequest r =
      BuildTranslationRequest(Settings(c.source, c.target, c.server), kPage, kInPlaceWording);
  EXPECT_FALSE(r.Refused) << r.Text;
  EXPECT_EQ(r.Text, c.request);
}

INSTANTIATE_TEST_SUITE_P(Table, Request, ::testing::ValuesIn(kRequests),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Refusal, BothWordingsWithACarriageReturn) {
  TTranslationRequest r =
      BuildTranslationRequest(Settings("ru", "de", 1, "Russian", "German"), kPage, kInPlaceWording);
  EXPECT_TRUE(r.Refused);
  EXPECT_EQ(
      r.Text,
      "Russian->German Translation are not supported by Server 1\rTry Server another please.");
  r = BuildTranslationRequest(Settings("ru", "de", 4, "Russian", "German"), kPage,
                              kNewWindowWording);
  EXPECT_EQ(
      r.Text,
      "Russian->German Translation are not supported by Server 4\rTry another server please.");
}

TEST(Refusal, WhichServersOfferWhichPairs) {
  struct Case {
    const char* source;
    const char* target;
    const char* offered_by;  // server digits
  };
  const Case cases[] = {
      {"de", "en", "1234567"},  // every list ends with de_en
      {"en", "de",
       "12456"
       "7"},
      {"en", "en", "7"},
      {"ko", "en", "27"},
      {"en", "ko", "27"},
      {"ru", "en", "27"},
      {"ge", "en", "37"},  // Server 3 names German "ge"; no language box gives that code
      {"es", "fr", "1567"},
  };
  for (const Case& c : cases) {
    std::string offered;
    for (int server = 1; server <= 7; ++server) {
      if (!BuildTranslationRequest(Settings(c.source, c.target, server), kPage, kInPlaceWording)
               .Refused) {
        offered += std::to_string(server);
      }
    }
    EXPECT_EQ(offered, c.offered_by) << c.source << "_" << c.target;
  }
}

TEST(Refusal, AServerNumberOutsideTheSevenIsRefused) {
  for (int server : {0, 8, -1, 1000}) {
    const TTranslationRequest r =
        BuildTranslationRequest(Settings("fr", "en", server), kPage, kInPlaceWording);
    EXPECT_TRUE(r.Refused) << server;
  }
}

TEST(EncodeQueryData, EveryByteOutsideTheUnreservedSet) {
  const std::pair<std::string, std::string> cases[] = {
      {"AZaz09-._~", "AZaz09-._~"},
      {"a&b?c#d=e", "a%26b%3Fc%23d%3De"},
      {"%41", "%2541"},
      {"my page", "my%20page"},
      {"/:+,;@!*'()[]", "%2F%3A%2B%2C%3B%40%21%2A%27%28%29%5B%5D"},
      {"caf\xC3\xA9", "caf%C3%A9"},
      {std::string(1, '\0') + "\x7F\xFF", "%00%7F%FF"},
      {"", ""},
  };
  for (const auto& [raw, encoded] : cases) EXPECT_EQ(EncodeQueryData(raw), encoded) << raw;
}

TEST(EncodeQueryData, APageWithItsOwnQueryStaysOneParameter) {
  const TTranslationRequest r = BuildTranslationRequest(
      Settings("fr", "en", 5), "http://shop.example/list?cat=a b&page=2#top", kInPlaceWording);
  EXPECT_EQ(r.Text,
            "http://translate-5.example/translate_c?sl=fr&&hl=en&&u="
            "http%3A%2F%2Fshop.example%2Flist%3Fcat%3Da%20b%26page%3D2%23top");
}

// The selection handlers on the main window.
class TranslationSettingsTest : public ProgramTest {
 protected:
  // Shown, as the message loop shows it: the hidden combo boxes have their windows.
  void SetUp() override { Start().Show(); }
  void Pick(TComboBox* combo, const std::string& item) {
    const auto& items = combo->Items();
    const auto at = std::find(items.begin(), items.end(), item);
    ASSERT_NE(at, items.end()) << item;
    static_cast<sim::SimComboBox*>(combo->Peer())->Pick(static_cast<int>(at - items.begin()));
  }
};

TEST_F(TranslationSettingsTest, StartUpGivesFrenchEnglishOnServer5) {
  EXPECT_EQ(form->SourceCode, "fr");
  EXPECT_EQ(form->TargetCode, "en");
  EXPECT_EQ(form->ServerNumber, 5);
  EXPECT_EQ(form->PairCode(), "fr_en");
  EXPECT_EQ(form->Server1Pairs, kServerPairs[0]);
  EXPECT_EQ(form->Server3Pairs, kServerPairs[2]);
  EXPECT_EQ(form->Server6Pairs, kServerPairs[5]);
  EXPECT_EQ(form->Server4Base, "http://translate-4.example:5081/?sequence=core&&language=");
  EXPECT_EQ(form->Server7Base, "http://translate-7.example:2000/Translate/index.shtml?type=url&&");
  EXPECT_EQ(form->Server2Tail, "&&doit=done&&tt=url&&urltext=");
  const TTranslationRequest r = form->BuildRequest(kPage, kInPlaceWording);
  EXPECT_EQ(r.Text, "http://translate-5.example/translate_c?sl=fr&&hl=en&&u=" + kPageEncoded);
}

TEST_F(TranslationSettingsTest, PickingLanguagesAndServersSetsTheCodes) {
  Pick(form->CB1, "Japanese");
  Pick(form->CB2, "English");
  Pick(form->CBServer, "Server  7");
  EXPECT_EQ(form->SourceCode, "ja");
  EXPECT_EQ(form->TargetCode, "en");
  EXPECT_EQ(form->ServerNumber, 7);
  EXPECT_EQ(form->FromToQuery(), "from=jpn&&to=eng");
  Pick(form->CB1, "English");
  Pick(form->CB2, "Spanish");
  Pick(form->CBServer, "Server  4");
  EXPECT_EQ(form->PairNames(), "English/Spanish");
  EXPECT_EQ(form->ServerNumber, 4);
}

TEST_F(TranslationSettingsTest, TextsThatAreNoNamePassThroughAndUnknownServersLeaveTheNumber) {
  form->CB1->SetText("Klingon");
  form->CB1Select(*form->CB1);
  EXPECT_EQ(form->SourceCode, "Klingon");
  for (const char* text : {"Server 1", "Server  8", "server  1", ""}) {
    form->CBServer->SetText(text);
    form->CBServerSelect(*form->CBServer);
    EXPECT_EQ(form->ServerNumber, 5) << text;
  }
  form->CBServer->SetText("Server  3");
  form->CBServerSelect(*form->CBServer);
  EXPECT_EQ(form->ServerNumber, 3);
}

TEST_F(TranslationSettingsTest, AnyPageAddressGivesAWellFormedRequest) {
  std::string every_byte;
  for (int b = 0; b < 256; ++b) every_byte.push_back(static_cast<char>(b));
  const std::string pages[] = {"", std::string(65536, 'x'), every_byte, "????", "http://a/?q=%41"};
  for (int server = 1; server <= 7; ++server) {
    form->ServerNumber = server;
    for (const std::string& page : pages) {
      const TTranslationRequest r = form->BuildRequest(page, kInPlaceWording);
      ASSERT_FALSE(r.Refused) << server;
      const std::string& base = ServerBase(server);
      ASSERT_EQ(r.Text.compare(0, base.size(), base), 0);
      // Nothing but the characters an address may carry as they are.
      for (const char c : r.Text) {
        ASSERT_TRUE(std::isalnum(static_cast<unsigned char>(c)) ||
                    std::string("-._~:/?#[]@!$&'()*+,;=%").find(c) != std::string::npos)
            << "server " << server << " carries byte " << static_cast<int>(c);
      }
    }
  }
}

}  // namespace
}  // namespace velocane::testing
