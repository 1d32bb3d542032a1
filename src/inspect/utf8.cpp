#include "inspect/utf8.h"

namespace vbtdump {

namespace {

// Length of the sequence that `lead` starts and the bits it carries; 0 for a
// byte that starts none.
int sequenceLength(uint8_t lead, int32_t* bits) {
  if (lead < 0x80) { *bits = lead; return 1; }
  if (lead >= 0xC2 && lead < 0xE0) { *bits = lead & 0x1F; return 2; }
  if (lead >= 0xE0 && lead < 0xF0) { *bits = lead & 0x0F; return 3; }
  if (lead >= 0xF0 && lead < 0xF5) { *bits = lead & 0x07; return 4; }
  return 0;
}

bool wellFormed(int32_t code, int length) {
  static const int32_t kLowest[] = {0, 0, 0x80, 0x800, 0x10000};
  return code >= kLowest[length] && code <= 0x10FFFF && !(code >= 0xD800 && code <= 0xDFFF);
}

}  // namespace

std::optional<int32_t> decodeUtf8At(std::string_view text, size_t at, size_t* length) {
  int32_t code = 0;
  const int n = sequenceLength(static_cast<uint8_t>(text[at]), &code);
  if (n == 0 || at + static_cast<size_t>(n) > text.size()) return std::nullopt;
  for (int k = 1; k < n; ++k) {
    const uint8_t byte = static_cast<uint8_t>(text[at + static_cast<size_t>(k)]);
    if ((byte & 0xC0) != 0x80) return std::nullopt;
    code = (code << 6) | (byte & 0x3F);
  }
  if (!wellFormed(code, n)) return std::nullopt;
  *length = static_cast<size_t>(n);
  return code;
}

}  // namespace vbtdump
