#include "driver/output_naming.h"

namespace {
constexpr size_t kMaxStyleLetters = 5;
}

std::string shortenFontName(std::string_view base_name) {
  const size_t style = base_name.find_first_of("BIOR");
  if (style == std::string_view::npos) return std::string(base_name);
  std::string out(base_name.substr(0, style));
  std::string letters;
  size_t i = style;
  // The style ends at a digit, at punctuation below '9', and at bytes from
  // 0x80 up, which compare as negative.
  for (; i < base_name.size() && static_cast<signed char>(base_name[i]) > '9'; ++i) {
    const char c = base_name[i];
    const char letter = c == 'B' ? 'b' : (c == 'I' || c == 'O') ? 'i' : '\0';
    if (letter && letters.size() < kMaxStyleLetters) letters += letter;
  }
  for (; i < base_name.size() && base_name[i] >= '0' && base_name[i] <= '9'; ++i) out += base_name[i];
  return out + letters;
}

std::optional<std::string> outputNameFor(std::string_view operand) {
  const size_t slash = operand.rfind('/');
  const std::string_view base = slash == std::string_view::npos ? operand : operand.substr(slash + 1);
  const size_t dot = base.rfind('.');
  if (dot == std::string_view::npos || base.substr(dot + 1) != "bdf") return std::nullopt;
  return shortenFontName(base.substr(0, dot)) + ".vbt";
}
