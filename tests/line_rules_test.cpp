// The rules every BDF line goes through, held against yardsticks: the line
// reader against a reading of one character at a time, the number and word
// scanners against the C library's sscanf, on tricky and random inputs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "bdf/line_reader.h"
#include "bdf/scan.h"
#include "random_rows.h"

namespace {

using Lines = std::vector<std::string>;
constexpr size_t kLineLimit = 1023;

// The line rules one character at a time: carriage returns dropped, a line
// ended by a line feed or by a character that finds it full (that character
// lost), empty and COMMENT lines skipped, the text after the last line feed
// never returned.
Lines referenceLines(const std::string& text) {
  Lines lines;
  std::string line;
  for (char c : text) {
    if (c == '\r') continue;
    if (c != '\n' && line.size() < kLineLimit) {
      line += c;
      continue;
    }
    if (!line.empty() && line.compare(0, 7, "COMMENT") != 0) lines.push_back(line);
    line.clear();
  }
  return lines;
}

// The text the stages see of lines: up to the first zero byte.
Lines cutAtZero(Lines lines) {
  for (std::string& line : lines) line = line.substr(0, line.find('\0'));
  return lines;
}

// Every line the reader returns for `text`.
Lines readerLines(const std::string& text) {
  LineReader reader(text);
  Lines lines;
  for (std::string_view line; reader.next(&line);) lines.emplace_back(line);
  return lines;
}

// Random inputs rich in what the rules tell apart: line ends, carriage
// returns, zero bytes, comment prefixes, lines just below, at and above the
// limit.
TEST(LineRules, RandomInputsReadAsTheYardstickReadsThem) {
  const Lines pieces = {"a", " ", "\t", "\r", "\n", "\r\n", "\n\n", std::string(1, '\0'), "COMMENT",
                        "COMMEN", "\nCOMMENT ", "\x80\xff"};
  std::mt19937 rng(20240611);
  for (int i = 0; i < 300; ++i) {
    std::string text;
    while (text.size() < 6000) {
      const size_t pick = rng() % 16;
      text += pick < pieces.size() ? pieces[pick] : std::string(1018 + rng() % 10, static_cast<char>('0' + pick));
    }
    if (rng() % 2) text += '\n';
    ASSERT_EQ(readerLines(text), cutAtZero(referenceLines(text))) << "input " << i;
  }
}

// The rows of one glyph one character at a time: the next `rows` pieces of
// the text, each ended by a line feed, are each `digits` hex digits.
bool referenceHexBlock(const std::string& text, size_t rows, size_t digits) {
  size_t at = 0;
  for (size_t r = 0; r < rows; ++r) {
    const size_t feed = text.find('\n', at);
    if (feed == std::string::npos || feed - at != digits || digits > kLineLimit) return false;
    for (size_t i = at; i < feed; ++i) {
      if (!isxdigit(static_cast<unsigned char>(text[i]))) return false;
    }
    at = feed + 1;
  }
  return rows > 0;
}

// Rows of one length, now and then one byte changed, taken out or added
// (the near misses a block check must refuse), are read as one block or not
// at all, exactly when the yardstick says they are one.
TEST(LineRules, RowBlocksAreTakenExactlyWhenEveryRowIsHexDigitsOfTheWidth) {
  std::mt19937 rng(20261206);
  for (int i = 0; i < 20000; ++i) {
    const size_t digits = 2 * (1 + rng() % (i % 50 == 0 ? 600 : 12)), rows = 1 + rng() % 20;
    const std::string text =
        random_rows::nearMiss(rng, random_rows::hexLines(rng, rows, digits)) + (rng() % 2 ? "ENDCHAR\n" : "");
    LineReader reader(text);
    std::string_view block;
    const bool taken = reader.takeHexLines(static_cast<int64_t>(rows), static_cast<int64_t>(digits), &block);
    ASSERT_EQ(taken, referenceHexBlock(text, rows, digits)) << "input " << i;
    ASSERT_EQ(reader.position(), taken ? rows * (digits + 1) : 0) << "input " << i;
    ASSERT_EQ(block, taken ? std::string_view(text).substr(0, reader.position()) : block) << "input " << i;
  }
}

// Lines up to the line limit rich in what the scanners tell apart: keywords
// and near misses of them, then numbers, each after some white space or
// none: signs, leading zeros, up to 22 digits (the scanners change their
// ways after 9 and 18), values around the limits of 32 and 64 bits, and
// things that only look like numbers.
Lines scanLines() {
  const Lines heads = {"BBX", "CHARS", "ENCODING", "SWIDTH", "FONTBOUNDINGBOX", "STARTPROPERTIES",
                       "BB", "BBXX", "bbx", " BBX", "\tCHARS", ""};
  const Lines gaps = {" ", " ", "  ", "\t", " \t", "", "\r", "\v\f"};
  const Lines odd = {"+", "-", "--1", "+-1", "-+1", "x", "0x10", "4.5", "1e3", "4,6", "6junk", "\xb1" "5",
                     "2147483647", "-2147483648", "2147483648", "-2147483649", "4294967296", "-4294967297",
                     "9223372036854775806", "9223372036854775807", "9223372036854775808", "-9223372036854775800",
                     "-9223372036854775808", "-9223372036854775809", "18446744073709551616", "36893488147419103232",
                     std::string(400, '9')};
  std::mt19937 rng(20240612);
  Lines lines;
  for (int i = 0; i < 3000; ++i) {
    std::string line = heads[rng() % heads.size()];
    for (size_t n = rng() % 6; n > 0; --n) {
      line += gaps[rng() % gaps.size()];
      if (rng() % 3 == 0) {
        line += odd[rng() % odd.size()];
        continue;
      }
      if (const char sign = "..-+"[rng() % 4]; sign != '.') line += sign;
      if (rng() % 4 == 0) line.append(rng() % 25, '0');
      for (size_t digits = 1 + rng() % (rng() % 2 ? 3 : 22); digits > 0; --digits) line += static_cast<char>('0' + rng() % 10);
    }
    line += rng() % 4 ? "" : gaps[rng() % gaps.size()];
    lines.push_back(line.substr(0, kLineLimit));
  }
  return lines;
}

// Every line, and every line from its first sign or digit on: scanInt,
// scanWord and, after each keyword, scanInts take what sscanf takes, and as
// many characters.
TEST(ScanRules, ScannersTakeWhatSscanfTakes) {
  const std::vector<std::pair<std::string, int>> keywords = {
      {"STARTPROPERTIES", 1}, {"CHARS", 1}, {"ENCODING", 2}, {"SWIDTH", 2}, {"BBX", 4},
      {"FONTBOUNDINGBOX", 4}, {"BBX", 2},   {"BB", 3},       {"", 4}};
  Lines texts = {"-", "+", "- 5", "--5", "+-5", "", "   ", "x1", "0x1F", "007", "12345678901234567890123 4"};
  for (const std::string& line : scanLines()) {
    if (const size_t at = line.find_first_of("+-0123456789"); at != std::string::npos) texts.push_back(line.substr(at));
    texts.push_back(line);
  }
  for (const std::string& text : texts) {
    int32_t want = 7, got = 7;
    int consumed = 0;
    std::string_view rest = text;
    const bool ok = sscanf(text.c_str(), "%d%n", &want, &consumed) == 1;
    ASSERT_EQ(scanInt(&rest, &got), ok) << text;
    ASSERT_EQ(std::pair(got, text.size() - rest.size()), std::pair(want, ok ? size_t(consumed) : 0)) << text;
    char want_word[1024] = "unset";
    std::string_view got_word = "unset";
    rest = text;
    const bool word_ok = sscanf(text.c_str(), "%1023s%n", want_word, &consumed) == 1;
    ASSERT_EQ(scanWord(&rest, &got_word), word_ok) << text;
    ASSERT_EQ(std::pair(got_word, text.size() - rest.size()),
              std::pair(std::string_view(want_word), word_ok ? size_t(consumed) : 0)) << text;
    for (const auto& [keyword, count] : keywords) {
      int32_t wants[4] = {7, 7, 7, 7}, gots[4] = {7, 7, 7, 7};
      int32_t* const values[4] = {&gots[0], &gots[1], &gots[2], &gots[3]};
      const std::string format = (keyword + " %d%d%d%d").substr(0, keyword.size() + 3 + 2 * (count - 1));
      const int assigned = sscanf(text.c_str(), format.c_str(), &wants[0], &wants[1], &wants[2], &wants[3]);
      const bool matches = text.compare(0, keyword.size(), keyword) == 0;
      // sscanf's EOF (no input for the first conversion) is "none stored".
      ASSERT_EQ(matches ? scanInts(text.substr(keyword.size()), values, count) : 0, std::max(assigned, 0))
          << "\"" << text << "\" with " << keyword;
      ASSERT_EQ(std::vector(gots, gots + 4), std::vector(wants, wants + 4)) << text;
    }
  }
}

}  // namespace
