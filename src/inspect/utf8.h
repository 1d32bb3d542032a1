// UTF-8 decoding of command-line text.
#ifndef BDF2VBT_INSPECT_UTF8_H
#define BDF2VBT_INSPECT_UTF8_H

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace vbtdump {

// The code point of the well-formed sequence at text[at], with *length set
// to its bytes; nullopt for a byte that does not start one.
std::optional<int32_t> decodeUtf8At(std::string_view text, size_t at, size_t* length);

}  // namespace vbtdump

#endif  // BDF2VBT_INSPECT_UTF8_H
