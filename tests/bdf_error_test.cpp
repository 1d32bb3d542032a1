// Error reports and hexadecimal bitmap bytes.
#include <gtest/gtest.h>

#include <string>

#include "bdf/error.h"
#include "test_support.h"

namespace {

TEST(BdfError, PrefixesTheFormattedMessageAndAddsNoLineFeed) {
  auto st = newState();
  CapturedMessages messages(*st);
  bdfError(*st, "bad '%s' %d\n", "SIZE", -3);
  bdfError(*st, "bad ENCODING value");
  bdfError(*st, "%s", "");
  EXPECT_EQ(messages.err(), "BDF Error: bad 'SIZE' -3\nBDF Error: bad ENCODING valueBDF Error: ");
  EXPECT_EQ(messages.out(), "");
}

struct HexCase {
  const char* text;
  int value;
  const char* err;
};

TEST(BdfHexByte, DecodesTwoDigitsAndReportsEachBadCharacter) {
  const HexCase cases[] = {
      {"a5", 0xA5, ""},
      {"A5", 0xA5, ""},
      {"00", 0x00, ""},
      {"ff", 0xFF, ""},
      {"FF", 0xFF, ""},
      {"9F", 0x9F, ""},
      {"fA", 0xFA, ""},
      {"a5ff", 0xA5, ""},   // only the first two characters count
      {"0G", 0x00, "BDF Error: bad hex char 'G'"},
      // A bad character adds no digit: the good one is not shifted.
      {"1Z", 0x01, "BDF Error: bad hex char 'Z'"},
      {"Z1", 0x01, "BDF Error: bad hex char 'Z'"},
      {"ZZ", 0x00, "BDF Error: bad hex char 'Z'BDF Error: bad hex char 'Z'"},
      {"f ", 0x0F, "BDF Error: bad hex char ' '"},
      // The neighbours of the digit ranges.
      {"/0", 0x00, "BDF Error: bad hex char '/'"},
      {":0", 0x00, "BDF Error: bad hex char ':'"},
      {"@0", 0x00, "BDF Error: bad hex char '@'"},
      {"`a", 0x0A, "BDF Error: bad hex char '`'"},
      {"gB", 0x0B, "BDF Error: bad hex char 'g'"},
  };
  for (const HexCase& c : cases) {
    SCOPED_TRACE(c.text);
    auto st = newState();
    CapturedMessages messages(*st);
    EXPECT_EQ(bdfHexByte(*st, c.text), c.value);
    EXPECT_EQ(messages.err(), c.err);
    EXPECT_EQ(messages.out(), "");
  }
}

TEST(BdfHexByte, AgreesWithStrtolOnEveryDigitPair) {
  const std::string digits = "0123456789abcdefABCDEF";
  auto st = newState();
  CapturedMessages messages(*st);
  for (char high : digits) {
    for (char low : digits) {
      const char text[3] = {high, low, '\0'};
      EXPECT_EQ(bdfHexByte(*st, text), strtol(text, nullptr, 16)) << text;
    }
  }
  EXPECT_EQ(messages.err(), "");
}

}  // namespace
