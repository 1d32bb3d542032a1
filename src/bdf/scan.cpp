#include "bdf/scan.h"

bool scanInt(std::string_view* text, int32_t* value) {
  const std::string_view t = skipBlanks(*text);
  size_t i = 0;
  bool negative = false;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) negative = t[i++] == '-';
  if (i == t.size() || t[i] < '0' || t[i] > '9') return false;
  // The magnitude saturates at 2^63 so that both limits of the 64-bit range
  // can be formed; below kSafe another digit cannot overflow.
  constexpr uint64_t kLimit = uint64_t{1} << 63;
  constexpr uint64_t kSafe = kLimit / 10;
  uint64_t magnitude = 0;
  for (; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i) {
    const unsigned digit = static_cast<unsigned>(t[i] - '0');
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
  *text = t.substr(i);
  return true;
}

int scanKeywordInts(std::string_view line, std::string_view keyword, int32_t* const* values, int count) {
  if (!startsWith(line, keyword)) return 0;
  std::string_view rest = line.substr(keyword.size());
  int stored = 0;
  while (stored < count && scanInt(&rest, values[stored])) ++stored;
  return stored;
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
