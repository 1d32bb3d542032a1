#include "bdf/error.h"

#include <cstdarg>
#include <cstdio>

#include "conversion_state.h"

void bdfError(ConversionState& st, const char* format, ...) {
  st.error_reported = true;
  fputs("BDF Error: ", st.err);
  va_list args;
  va_start(args, format);
  vfprintf(st.err, format, args);
  va_end(args);
}

namespace {

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

int bdfHexByte(ConversionState& st, const char* text) {
  int value = 0;
  for (int i = 0; i < 2; ++i) {
    int digit = hexDigit(text[i]);
    if (digit < 0) {
      bdfError(st, "bad hex char '%c'", text[i]);
    } else {
      value = value * 16 + digit;
    }
  }
  return value;
}
