// Number and word scanning of BDF lines, held side by side with the C
// library's sscanf, whose rules (glibc's) the scanners promise.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bdf/scan.h"

namespace {

constexpr int32_t kUnset = 0x5A5A5A5A;

// Lines of every kind real BDF fonts hold, and the ways numbers in them go
// wrong.
std::vector<std::string> trickyLines() {
  std::vector<std::string> lines = {
      "STARTFONT 2.1",
      "FONT -Misc-Fixed-Medium-R-Normal--6-60-75-75-C-40-ISO10646-1",
      "SIZE 6 75 75",
      "FONTBOUNDINGBOX 4 6 0 -1",
      "STARTPROPERTIES 25",
      "FONT_ASCENT 5",
      "COPYRIGHT \"Public domain font.  Share and enjoy.\"",
      "ENDPROPERTIES",
      "CHARS 919",
      "STARTCHAR space",
      "ENCODING 32",
      "ENCODING -1 65",
      "ENCODING -1",
      "SWIDTH 640 0",
      "DWIDTH 4 0",
      "BBX 4 6 0 -1",
      "BITMAP",
      "F0",
      "ENDCHAR",
      "ENDFONT",
      // Blanks.
      "BBX  4\t6 \t0  -1  ",
      "BBX\t4 6 0 -1",
      "BBX \v1 \f2 \r3 \n4",
      " BBX 4 6 0 -1",
      "\tCHARS 3",
      "BBX \xa0" "5",
      // Keyword followed directly by digits or by more letters.
      "BBX4 6 0 -1",
      "CHARS12",
      "BBX-4-6-0-1",
      "ENCODINGS 5",
      "ENCODING5",
      "CHARSET 1",
      "BBXX 1 2 3 4",
      "bbx 1 2 3 4",
      // Signs.
      "BBX +4 +6 -0 -1",
      "BBX +",
      "BBX -",
      "BBX - 5",
      "BBX 4 - 5",
      "BBX 4 6 0 --1",
      "BBX 4 6 0 +-1",
      "BBX 4 6 0 -+1",
      "BBX 4 6 + 1",
      // Partial scans: a bad second, third or fourth number.
      "BBX 4 x 0 -1",
      "BBX 4 6 x -1",
      "BBX 4 6 0 x",
      "BBX 4 6 0",
      "BBX 4,6,0,-1",
      "BBX 4.5 6 0 -1",
      "BBX 0x10 1 2 3",
      "BBX 010 011 1e3 4",
      "DWIDTH 8",
      "SWIDTH 500 x",
      "FONTBOUNDINGBOX 8 16 x",
      "FONTBOUNDINGBOX 8 16 0 -2 junk",
      "FONTBOUNDINGBOX 8 16 0 -2junk",
      // The 32-bit and 64-bit limits and beyond.
      "BBX 2147483647 -2147483648 2147483648 -2147483649",
      "BBX 4294967295 4294967296 4294967297 -4294967296",
      "BBX 9223372036854775807 9223372036854775808 -9223372036854775808 -9223372036854775809",
      "BBX 99999999999999999999 -99999999999999999999 18446744073709551615 18446744073709551616",
      "BBX 18446744073709551617 36893488147419103232 -18446744073709551617 9223372036854775806",
      "ENCODING 9223372036854775808 1",
      "CHARS 4294967297",
      "STARTPROPERTIES 2147483648",
      "BBX 000000000000000000000000000000012 -0 +0 00",
      "BBX 0000000000000000000009223372036854775808 -00000000000000000000009223372036854775808 1 2",
      // Nothing after the keyword.
      "CHARS",
      "CHARS ",
      "CHARS\t\t",
      "BB",
      "",
  };
  lines.push_back("BBX " + std::string(1000, '9') + " 1 " + std::string(1000, '0') + "7 -" +
                  std::string(500, '1'));
  lines.push_back("CHARS 1" + std::string(30, '0'));
  return lines;
}

struct Keyword {
  const char* keyword;
  int count;
};

const Keyword kKeywords[] = {
    {"STARTPROPERTIES", 1}, {"CHARS", 1},  {"ENCODING", 1}, {"ENCODING", 2},
    {"SWIDTH", 2},          {"DWIDTH", 2}, {"BBX", 4},      {"FONTBOUNDINGBOX", 4},
    {"BBX", 2},             {"BB", 3},     {"", 4},
};

TEST(Scan, KeywordNumbersAreScannedAsSscanfScansThem) {
  for (const std::string& line : trickyLines()) {
    for (const Keyword& k : kKeywords) {
      SCOPED_TRACE("line \"" + line + "\", keyword \"" + k.keyword + "\" with " +
                   std::to_string(k.count) + " numbers");
      std::string format = std::string(k.keyword) + " %d";
      for (int i = 1; i < k.count; ++i) format += "%d";
      int32_t want[4] = {kUnset, kUnset, kUnset, kUnset};
      const int assigned =
          sscanf(line.c_str(), format.c_str(), &want[0], &want[1], &want[2], &want[3]);

      int32_t got[4] = {kUnset, kUnset, kUnset, kUnset};
      int32_t* const values[4] = {&got[0], &got[1], &got[2], &got[3]};
      // sscanf's EOF (no input for the first conversion) is "none stored".
      EXPECT_EQ(scanKeywordInts(line.c_str(), k.keyword, values, k.count), std::max(assigned, 0));
      EXPECT_EQ(std::vector<int32_t>(got, got + 4), std::vector<int32_t>(want, want + 4));
    }
  }
}

TEST(Scan, OneIntegerIsScannedAndSkippedAsSscanfDoes) {
  std::vector<std::string> texts = {
      "0", "7", "-7", "+7", " \t\n\v\f\r12 3", "12abc", "-", "+", "- 5", "--5", "+-5", "",
      "   ", "x1", "0x1F", "007", "2147483647", "2147483648", "-2147483648", "-2147483649",
      "4294967295", "4294967296", "-4294967296", "9223372036854775807", "9223372036854775808",
      "-9223372036854775808", "-9223372036854775809", "99999999999999999999",
      "-99999999999999999999", "18446744073709551616", "12345678901234567890123 4",
  };
  for (const std::string& line : trickyLines()) {
    // The numbers of each line, from their first digit or sign on.
    const size_t at = line.find_first_of("+-0123456789");
    if (at != std::string::npos) texts.push_back(line.substr(at));
  }
  for (const std::string& text : texts) {
    SCOPED_TRACE("text \"" + text + "\"");
    int32_t want = kUnset;
    int consumed = -1;
    const bool want_ok = sscanf(text.c_str(), "%d%n", &want, &consumed) == 1;

    int32_t got = kUnset;
    const char* p = text.c_str();
    EXPECT_EQ(scanInt(&p, &got), want_ok);
    EXPECT_EQ(got, want);
    if (want_ok) {
      EXPECT_EQ(p - text.c_str(), consumed);
    } else {
      EXPECT_EQ(p, text.c_str());
    }
  }
}

TEST(Scan, OutOfRangeNumbersKeepTheLowBitsOfTheSaturatedValue) {
  // Spelled out, so that the rule stands even where sscanf is not glibc's.
  const std::vector<std::pair<std::string, int32_t>> cases = {
      {"2147483648", INT32_MIN},
      {"4294967296", 0},
      {"4294967297", 1},
      {"-4294967297", -1},
      {"9223372036854775807", -1},
      {"9223372036854775808", -1},
      {"99999999999999999999", -1},
      {"-9223372036854775808", 0},
      {"-9223372036854775809", 0},
      {"-99999999999999999999", 0},
  };
  for (const auto& [text, value] : cases) {
    int32_t got = kUnset;
    const char* p = text.c_str();
    EXPECT_TRUE(scanInt(&p, &got)) << text;
    EXPECT_EQ(got, value) << text;
    EXPECT_EQ(*p, '\0') << text;
  }
}

TEST(Scan, WordsAreScannedAsSscanfScansThem) {
  const std::vector<std::string> texts = {
      "FONT_ASCENT 5", "  \tname value", "\"Public domain font.  Share and enjoy.\"",
      "ENDPROPERTIES", " \t ", "", "\v\fword\rnext", "a", "\xa0x y", "x\xa0y z",
  };
  for (const std::string& text : texts) {
    SCOPED_TRACE("text \"" + text + "\"");
    char want[1024] = "unset";
    int consumed = -1;
    const bool want_ok = sscanf(text.c_str(), "%1023s%n", want, &consumed) == 1;

    char got[1024] = "unset";
    const char* p = text.c_str();
    EXPECT_EQ(scanWord(&p, got, sizeof got), want_ok);
    EXPECT_STREQ(got, want);
    if (want_ok) {
      EXPECT_EQ(p - text.c_str(), consumed);
    }
  }
}

TEST(Scan, KeywordPrefixTestIgnoresWhatFollows) {
  EXPECT_TRUE(startsWith("ENDPROPERTIES", "ENDPROPERTIES"));
  EXPECT_TRUE(startsWith("ENDPROPERTIESX 1", "ENDPROPERTIES"));
  EXPECT_TRUE(startsWith("SIZEX 12 75 75", "SIZE"));
  EXPECT_FALSE(startsWith(" ENDPROPERTIES", "ENDPROPERTIES"));
  EXPECT_FALSE(startsWith("ENDPROPERTIE", "ENDPROPERTIES"));
  EXPECT_FALSE(startsWith("", "CHARS"));
  EXPECT_TRUE(startsWith("", ""));
}

}  // namespace
