#include "bdf/scan.h"

#include <cstring>

bool startsWith(const char* line, const char* keyword) {
  return strncmp(line, keyword, strlen(keyword)) == 0;
}

const char* skipBlanks(const char* text) {
  while (isBlank(*text)) ++text;
  return text;
}

bool scanInt(const char** text, int32_t* value) {
  const char* p = skipBlanks(*text);
  bool negative = false;
  if (*p == '+' || *p == '-') negative = *p++ == '-';
  if (*p < '0' || *p > '9') return false;
  // Accumulate the magnitude, saturating at 2^63 so that both limits of the
  // 64-bit range can be formed.
  constexpr uint64_t kLimit = uint64_t{1} << 63;
  uint64_t magnitude = 0;
  for (; *p >= '0' && *p <= '9'; ++p) {
    if (magnitude > (kLimit - static_cast<unsigned>(*p - '0')) / 10) {
      magnitude = kLimit;
    } else if (magnitude != kLimit) {
      magnitude = magnitude * 10 + static_cast<unsigned>(*p - '0');
    }
  }
  uint64_t bits;
  if (negative) {
    bits = ~magnitude + 1;                       // -2^63 at the saturation limit
  } else {
    bits = magnitude == kLimit ? kLimit - 1 : magnitude;   // 2^63 - 1
  }
  *value = static_cast<int32_t>(static_cast<uint32_t>(bits));
  *text = p;
  return true;
}

int scanKeywordInts(const char* line, const char* keyword, int32_t* const* values,
                    int count) {
  if (!startsWith(line, keyword)) return 0;
  const char* p = line + strlen(keyword);
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
