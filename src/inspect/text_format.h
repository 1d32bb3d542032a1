// Small text helpers shared by the inspector's reports.
#ifndef BDF2VBT_INSPECT_TEXT_FORMAT_H
#define BDF2VBT_INSPECT_TEXT_FORMAT_H

#include <cstdint>
#include <string>

namespace vbtdump {

// printf into a std::string.
std::string formatText(const char* format, ...) __attribute__((format(printf, 1, 2)));

// A code as reports show it: "0x" and at least four upper-case hex digits
// ("-0x0001" below zero).
std::string codeText(int64_t code);

// "1 glyph", "2 glyphs": `count` and the noun in its number.
std::string countText(int64_t count, const char* one, const char* many);

}  // namespace vbtdump

#endif  // BDF2VBT_INSPECT_TEXT_FORMAT_H
