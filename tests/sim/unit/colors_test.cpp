// Colour values written as names or integers, as colour lists hold them.
#include "platform/framework/colors.h"

#include <gtest/gtest.h>

#include "platform/framework/exceptions.h"

namespace velocane {
namespace {

TEST(StringToColor, NamesDecimalAndHexadecimal) {
  const struct {
    const char* text;
    Color value;
  } cases[] = {
      {"clRed", 0x0000FF},        {"CLRED", 0x0000FF},    {"clSkyBlue", 0xF0CAA6},
      {"clBtnFace", 0x8000000F},  {"clNone", 0x1FFFFFFF}, {"255", 255},
      {"16711680", 0xFF0000},     {"$00FF00", 0x00FF00},  {"$ff", 0xFF},
      {"0x8000000F", 0x8000000F}, {"-1", 0xFFFFFFFF},     {"$FFFFFFFF", 0xFFFFFFFF},
  };
  for (const auto& c : cases) EXPECT_EQ(StringToColor(c.text), c.value) << c.text;
}

TEST(StringToColor, AnythingElseIsAConversionError) {
  for (const char* text : {"", "red", "clRedd", "12x", "$", "$G0", "4294967296", "1 2"}) {
    try {
      StringToColor(text);
      ADD_FAILURE() << "'" << text << "' read as a colour";
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.what(), "'" + std::string(text) + "' is not a valid integer value");
    }
  }
}

}  // namespace
}  // namespace velocane
