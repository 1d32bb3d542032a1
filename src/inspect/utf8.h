// UTF-8 decoding of command-line text.
#ifndef BDF2VBT_INSPECT_UTF8_H
#define BDF2VBT_INSPECT_UTF8_H

#include <cstdint>
#include <string>
#include <vector>

namespace vbtdump {

constexpr int32_t kReplacementCharacter = 0xFFFD;

// The code points of `text`. A byte that does not start a well-formed
// sequence (overlong forms, surrogates and values above 0x10FFFF included)
// gives U+FFFD and decoding resumes at the next byte.
std::vector<int32_t> decodeUtf8(const std::string& text);

}  // namespace vbtdump

#endif  // BDF2VBT_INSPECT_UTF8_H
