// Scanning of BDF lines by the rules of the C library's formatted input
// (sscanf), without its cost: literal text must match exactly, white space
// is skipped before every number and word, "%d" takes an optionally signed
// decimal integer, and values converted before a mismatch are kept.
#ifndef BDF2VBT_BDF_SCAN_H
#define BDF2VBT_BDF_SCAN_H

#include <cstdint>
#include <string_view>

// True when `line` begins with `keyword`, whatever follows.
inline bool startsWith(std::string_view line, std::string_view keyword) {
  return line.substr(0, keyword.size()) == keyword;
}

// The white space of the C locale's isspace.
inline bool isBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// `text` without the white space it begins with.
inline std::string_view skipBlanks(std::string_view text) {
  size_t n = 0;
  while (n < text.size() && isBlank(text[n])) ++n;
  return text.substr(n);
}

// Scans one "%d" at the start of *text: skips white space, reads an
// optionally signed decimal integer and moves *text past it. A value beyond
// the 64-bit range saturates there and the low 32 bits are kept, as glibc
// does. False, with *text unchanged, when no digit follows.
bool scanInt(std::string_view* text, int32_t* value);

// As sscanf(line, "<keyword> %d %d ...", values...) with `count` numbers:
// returns how many were stored; each is stored as soon as it is read.
int scanKeywordInts(std::string_view line, std::string_view keyword, int32_t* const* values, int count);

// Scans one "%s" at the start of *text: skips white space and takes the run
// of non-blank characters into *word, moving *text past it. False when there
// is no such run.
bool scanWord(std::string_view* text, std::string_view* word);

#endif  // BDF2VBT_BDF_SCAN_H
