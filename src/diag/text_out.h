// Plain pieces of text written to a stream without printf's parsing: the
// verbose traces print millions of them for a large font.
#ifndef BDF2VBT_DIAG_TEXT_OUT_H
#define BDF2VBT_DIAG_TEXT_OUT_H

#include <cstdint>
#include <cstdio>
#include <string_view>

inline void putText(FILE* out, std::string_view text) { fwrite_unlocked(text.data(), 1, text.size(), out); }

// `value` in decimal, as "%d" or "%lld" prints it.
void putNumber(FILE* out, int64_t value);

#endif  // BDF2VBT_DIAG_TEXT_OUT_H
