// Date and time texts: the simulation writes them as the United States English
// locale does, which is the locale of the test's Wine prefix.
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

}  // namespace
}  // namespace velocane
