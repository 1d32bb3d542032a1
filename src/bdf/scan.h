// Scanning of BDF lines with the rules of the C library's formatted input
// (sscanf), without its cost: literal text must match exactly, white space is
// skipped before every number and word, "%d" takes an optionally signed
// decimal integer, and values converted before a mismatch are kept.
#ifndef BDF2VBT_BDF_SCAN_H
#define BDF2VBT_BDF_SCAN_H

#include <cstddef>
#include <cstdint>

// The text after `keyword` when `line` begins with it, else nullptr.
inline const char* afterKeyword(const char* line, const char* keyword) {
  for (; *keyword != '\0'; ++line, ++keyword) {
    if (*line != *keyword) return nullptr;
  }
  return line;
}

// True when `line` begins with `keyword`, whatever follows.
inline bool startsWith(const char* line, const char* keyword) {
  return afterKeyword(line, keyword) != nullptr;
}

// The white space of the C locale's isspace.
inline bool isBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Scans one "%d" at *text: skips white space, reads an optionally signed
// decimal integer and advances *text past it. A value beyond the 64-bit range
// saturates there and the low 32 bits are kept, as glibc does. False, with
// *text unchanged, when no digit follows.
bool scanInt(const char** text, int32_t* value);

// As sscanf(line, "<keyword> %d %d ...", values...) with `count` numbers:
// returns how many were stored; each is stored as soon as it is read.
int scanKeywordInts(const char* line, const char* keyword, int32_t* const* values,
                    int count);

// Scans one "%s" at *text into `word` (`size` bytes): skips white space and
// takes the run of non-blank characters, keeping the first size - 1 of them.
// False when there is no such run.
bool scanWord(const char** text, char* word, size_t size);

// Skips the white space at *text.
inline const char* skipBlanks(const char* text) {
  while (isBlank(*text)) ++text;
  return text;
}

#endif  // BDF2VBT_BDF_SCAN_H
