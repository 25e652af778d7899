// Date and time texts and the ANSI code page: the simulation writes and reads
// them as the United States English locale and Windows-1252 do, which are the
// locale and code page of the test's Wine prefix.
#include <gtest/gtest.h>

#include "platform/framework/datetime.h"
#include "tests/contract/backend.h"

namespace velocane {
namespace {

TEST(ProcessContract, ShortDateAndLongTimeOfTheLocale) {
  Process& process = contract::Backend().process;
  struct Case {
    LocalTime time;
    const char* date;
    const char* time_text;
    const char* both;
  };
  const Case cases[] = {
      {{2024, 3, 9, 14, 5, 7, 0}, "3/9/2024", "2:05:07 PM", "3/9/2024 2:05:07 PM"},
      {{2024, 12, 31, 0, 0, 0, 0}, "12/31/2024", "12:00:00 AM", "12/31/2024"},
      {{2025, 1, 1, 0, 0, 1, 0}, "1/1/2025", "12:00:01 AM", "1/1/2025 12:00:01 AM"},
      {{1999, 10, 2, 12, 30, 0, 0}, "10/2/1999", "12:30:00 PM", "10/2/1999 12:30:00 PM"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(process.ShortDateText(c.time), c.date);
    EXPECT_EQ(process.LongTimeText(c.time), c.time_text);
    EXPECT_EQ(DateTimeToStr(process, c.time), c.both);
  }
}

TEST(ProcessContract, NowIsAValidMoment) {
  const LocalTime now = contract::Backend().process.Now();
  EXPECT_GE(now.year, 2000);
  EXPECT_GE(now.month, 1);
  EXPECT_LE(now.month, 12);
  EXPECT_GE(now.day, 1);
  EXPECT_LE(now.day, 31);
  EXPECT_LT(now.hour, 24);
  EXPECT_LT(now.minute, 60);
  EXPECT_LT(now.second, 62);
  EXPECT_LT(now.millisecond, 1000);
}

TEST(ProcessContract, AnsiTextInUtf8) {
  Process& process = contract::Backend().process;
  const std::pair<std::string, std::string> cases[] = {
      {"plain ASCII ~", "plain ASCII ~"},
      {"caf\xE9", "caf\xC3\xA9"},
      {"\x80", "\xE2\x82\xAC"},
      {"\x9F", "\xC5\xB8"},
      {"\xFF", "\xC3\xBF"},
      {"\xA0", "\xC2\xA0"},
      // The five bytes Windows-1252 leaves undefined.
      {"\x81\x8D\x8F\x90\x9D", "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D"},
      {std::string("a\0b", 3), std::string("a\0b", 3)},
      {"", ""},
  };
  for (const auto& [ansi, utf8] : cases) EXPECT_EQ(process.AnsiToUtf8(ansi), utf8);
  std::string every_byte;
  for (int b = 1; b < 256; ++b) every_byte.push_back(static_cast<char>(b));
  // One character for each byte: count the bytes that begin one.
  int characters = 0;
  for (const char c : process.AnsiToUtf8(every_byte)) {
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++characters;
  }
  EXPECT_EQ(characters, 255);
}

}  // namespace
}  // namespace velocane
