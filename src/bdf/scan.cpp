#include "bdf/scan.h"

#include <cstring>

bool scanInt(const char** text, int32_t* value) {
  const char* p = skipBlanks(*text);
  bool negative = false;
  if (*p == '+' || *p == '-') negative = *p++ == '-';
  if (*p < '0' || *p > '9') return false;
  // The magnitude saturates at 2^63 so that both limits of the 64-bit range
  // can be formed; below kSafe another digit cannot overflow.
  constexpr uint64_t kLimit = uint64_t{1} << 63;
  constexpr uint64_t kSafe = kLimit / 10;
  uint64_t magnitude = 0;
  for (; *p >= '0' && *p <= '9'; ++p) {
    const unsigned digit = static_cast<unsigned>(*p - '0');
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
  *text = p;
  return true;
}

int scanKeywordInts(const char* line, const char* keyword, int32_t* const* values,
                    int count) {
  const char* p = afterKeyword(line, keyword);
  if (!p) return 0;
  int stored = 0;
  while (stored < count && scanInt(&p, values[stored])) ++stored;
  return stored;
}

bool scanWord(const char** text, char* word, size_t size) {
  const char* p = skipBlanks(*text);
  if (*p == '\0') return false;
  size_t n = 0;
  for (; *p != '\0' && !isBlank(*p); ++p) {
    if (n + 1 < size) word[n++] = *p;
  }
  word[n] = '\0';
  *text = p;
  return true;
}
