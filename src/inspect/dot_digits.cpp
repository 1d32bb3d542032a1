#include "inspect/dot_digits.h"

#include <cstring>

namespace vbtdump {

namespace {

// Rows of 3 dots, leftmost dot in the highest bit, in the order of kChars.
constexpr char kChars[] = "0123456789ABCDEF-";
constexpr unsigned char kRows[][kDotDigitHeight] = {
    {7, 5, 5, 5, 7}, {2, 6, 2, 2, 7}, {7, 1, 7, 4, 7}, {7, 1, 7, 1, 7}, {5, 5, 7, 1, 1},
    {7, 4, 7, 1, 7}, {7, 4, 7, 5, 7}, {7, 1, 1, 1, 1}, {7, 5, 7, 5, 7}, {7, 5, 7, 1, 7},
    {2, 5, 7, 5, 5}, {6, 5, 6, 5, 6}, {3, 4, 4, 4, 3}, {6, 5, 5, 5, 6}, {7, 4, 7, 4, 7},
    {7, 4, 7, 4, 4}, {0, 0, 7, 0, 0},
};

}  // namespace

bool dotDigitDot(char c, int x, int y) {
  const char* at = c != '\0' ? strchr(kChars, c) : nullptr;
  if (!at || x < 0 || y < 0 || x >= kDotDigitWidth || y >= kDotDigitHeight) return false;
  return (kRows[at - kChars][y] >> (kDotDigitWidth - 1 - x)) & 1;
}

}  // namespace vbtdump
