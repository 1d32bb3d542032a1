// Scanning of BDF lines by the rules of the C library's formatted input
// (sscanf), without its cost: literal text must match exactly, white space
// is skipped before every number and word, "%d" takes an optionally signed
// decimal integer, and values converted before a mismatch are kept.
#ifndef BDF2VBT_BDF_SCAN_H
#define BDF2VBT_BDF_SCAN_H

#include <cstdint>
#include <cstring>
#include <string_view>

// True when `line` begins with `keyword`, whatever follows. (A literal
// keyword's length is known when compiling, so the comparison is inline.)
template <size_t N>
inline bool startsWith(std::string_view line, const char (&keyword)[N]) {
  return line.size() >= N - 1 && memcmp(line.data(), keyword, N - 1) == 0;
}

// The white space of the C locale's isspace: blank, and tab to carriage
// return.
inline bool isBlank(char c) { return c == ' ' || static_cast<unsigned char>(c - '\t') <= '\r' - '\t'; }

// `text` without the white space it begins with.
inline std::string_view skipBlanks(std::string_view text) {
  size_t n = 0;
  while (n < text.size() && isBlank(text[n])) ++n;
  return text.substr(n);
}

// Reads an optionally signed decimal integer that begins *text, as "%d"
// reads one once past its white space, and moves *text past it. A value
// beyond the 64-bit range saturates there and the low 32 bits are kept, as
// glibc does. False, with *text unchanged, when no digit follows the sign.
// Up to 9 digits are read inline; more take scanLongIntHere.
bool scanLongIntHere(std::string_view* text, int32_t* value);

inline bool scanIntHere(std::string_view* text, int32_t* value) {
  const char* p = text->data();
  const char* const end = p + text->size();
  if (p == end) return false;
  const char sign = *p;
  if ((sign == '-' || sign == '+') && ++p == end) return false;
  unsigned digit = static_cast<unsigned>(*p - '0');
  if (digit > 9) return false;
  const char* const digits_end = end - p > 9 ? p + 9 : end;
  int32_t magnitude = static_cast<int32_t>(digit);
  while (++p < digits_end && (digit = static_cast<unsigned>(*p - '0')) <= 9) {
    magnitude = magnitude * 10 + static_cast<int32_t>(digit);
  }
  if (p < end && static_cast<unsigned>(*p - '0') <= 9) return scanLongIntHere(text, value);
  *value = sign == '-' ? -magnitude : magnitude;
  *text = std::string_view(p, static_cast<size_t>(end - p));
  return true;
}

// Scans one "%d" at the start of *text: skips white space, then reads a
// number as scanIntHere does. False, with *text unchanged, when no digit
// follows.
inline bool scanInt(std::string_view* text, int32_t* value) {
  std::string_view rest = skipBlanks(*text);
  if (!scanIntHere(&rest, value)) return false;
  *text = rest;
  return true;
}

// As sscanf(text, "%d %d ...", values...) with `count` numbers, and as
// sscanf(line, "<keyword> %d %d ...", values...): returns how many were
// stored; each is stored as soon as it is read.
inline int scanInts(std::string_view text, int32_t* const* values, int count) {
  int stored = 0;
  while (stored < count && scanInt(&text, values[stored])) ++stored;
  return stored;
}
template <size_t N>
int scanKeywordInts(std::string_view line, const char (&keyword)[N], int32_t* const* values, int count) {
  return startsWith(line, keyword) ? scanInts(line.substr(N - 1), values, count) : 0;
}

// Scans one "%s" at the start of *text: skips white space and takes the run
// of non-blank characters into *word, moving *text past it. False when there
// is no such run.
bool scanWord(std::string_view* text, std::string_view* word);

#endif  // BDF2VBT_BDF_SCAN_H
