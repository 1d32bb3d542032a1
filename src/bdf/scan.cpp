#include "bdf/scan.h"

bool scanLongIntHere(std::string_view* text, int32_t* value) {
  const char* p = text->data();
  const char* const end = p + text->size();
  bool negative = false;
  if (p < end && (*p == '+' || *p == '-')) negative = *p++ == '-';
  if (p == end || static_cast<unsigned>(*p - '0') > 9) return false;
  // The magnitude saturates at 2^63 so that both limits of the 64-bit range
  // can be formed; the first 18 digits cannot overflow.
  constexpr uint64_t kLimit = uint64_t{1} << 63;
  constexpr uint64_t kSafe = kLimit / 10;
  uint64_t magnitude = 0;
  const char* const quick_end = end - p > 18 ? p + 18 : end;
  for (unsigned digit; p < quick_end && (digit = static_cast<unsigned>(*p - '0')) <= 9; ++p) {
    magnitude = magnitude * 10 + digit;
  }
  for (unsigned digit; p < end && (digit = static_cast<unsigned>(*p - '0')) <= 9; ++p) {
    if (magnitude < kSafe || magnitude <= (kLimit - digit) / 10) {
      magnitude = magnitude * 10 + digit;
    } else {
      magnitude = kLimit;
    }
  }
  uint64_t bits;
  if (negative) {
    bits = ~magnitude + 1;                                   // -2^63 at the limit
  } else {
    bits = magnitude == kLimit ? kLimit - 1 : magnitude;     // 2^63 - 1 at the limit
  }
  *value = static_cast<int32_t>(static_cast<uint32_t>(bits));
  *text = std::string_view(p, static_cast<size_t>(end - p));
  return true;
}

bool scanWord(std::string_view* text, std::string_view* word) {
  const std::string_view t = skipBlanks(*text);
  size_t n = 0;
  while (n < t.size() && !isBlank(t[n])) ++n;
  if (n == 0) return false;
  *word = t.substr(0, n);
  *text = t.substr(n);
  return true;
}
