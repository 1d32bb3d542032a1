// Random rows of hex digits and near misses of them, for the tests that hold
// the ways of telling rows apart and decoding them against one another.
#ifndef BDF2VBT_TESTS_RANDOM_ROWS_H
#define BDF2VBT_TESTS_RANDOM_ROWS_H

#include <random>
#include <string>

namespace random_rows {

// `count` hex digits, in both cases.
inline std::string hexDigits(std::mt19937& rng, size_t count) {
  std::string text;
  for (size_t i = 0; i < count; ++i) text += "0123456789abcdefABCDEF"[rng() % 22];
  return text;
}

// `rows` lines of `digits` hex digits, each ended by a line feed.
inline std::string hexLines(std::mt19937& rng, size_t rows, size_t digits) {
  std::string text;
  for (size_t r = 0; r < rows; ++r) text += hexDigits(rng, digits) + "\n";
  return text;
}

// `text` with, three times in four, one character changed, taken out or
// added; what comes in is a character next to the digits' ranges, a line
// end, a zero byte, a blank, a high byte or a digit.
inline std::string nearMiss(std::mt19937& rng, std::string text) {
  static const std::string kOdd("/:@G`g\n\r\0\x80\xb0\xc1 ZC", 15);
  if (text.empty()) return text;
  const size_t at = rng() % text.size();
  switch (rng() % 4) {
    case 0: text[at] = kOdd[rng() % kOdd.size()]; break;
    case 1: text.erase(at, 1); break;
    case 2: text.insert(at, 1, kOdd[rng() % kOdd.size()]); break;
    default: break;
  }
  return text;
}

}  // namespace random_rows

#endif  // BDF2VBT_TESTS_RANDOM_ROWS_H
