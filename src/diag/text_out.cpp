#include "diag/text_out.h"

#include <charconv>

void putNumber(FILE* out, int64_t value) {
  char digits[24];
  const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
  putText(out, std::string_view(digits, static_cast<size_t>(end - digits)));
}
