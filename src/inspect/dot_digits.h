// A 3 x 5 dot font for the code labels of the specimen sheet.
#ifndef BDF2VBT_INSPECT_DOT_DIGITS_H
#define BDF2VBT_INSPECT_DOT_DIGITS_H

namespace vbtdump {

constexpr int kDotDigitWidth = 3;
constexpr int kDotDigitHeight = 5;

// True when dot (x, y), top row 0, of character `c` is set. Knows '0'..'9',
// 'A'..'F' and '-'; any other character has no dots.
bool dotDigitDot(char c, int x, int y);

}  // namespace vbtdump

#endif  // BDF2VBT_INSPECT_DOT_DIGITS_H
