// UTF-8 decoding of command-line text.
#ifndef BDF2VBT_INSPECT_UTF8_H
#define BDF2VBT_INSPECT_UTF8_H

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vbtdump {

constexpr int32_t kReplacementCharacter = 0xFFFD;

// The code points of `text`. A byte that does not start a well-formed
// sequence (overlong forms, surrogates and values above 0x10FFFF included)
// gives U+FFFD and decoding resumes at the next byte.
std::vector<int32_t> decodeUtf8(const std::string& text);

// The code point of the well-formed sequence at text[at], with *length set
// to its bytes; nullopt for a byte that does not start one.
std::optional<int32_t> decodeUtf8At(std::string_view text, size_t at, size_t* length);

}  // namespace vbtdump

#endif  // BDF2VBT_INSPECT_UTF8_H
