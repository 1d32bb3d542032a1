#include "bdf/report.h"

#include <cstdarg>

void BdfReport::error(const char* format, ...) {
  ++errors_;
  fputs("BDF Error: ", err_);
  va_list args;
  va_start(args, format);
  vfprintf(err_, format, args);
  va_end(args);
}

void BdfReport::warning(const char* format, ...) {
  if (!out_) return;
  va_list args;
  va_start(args, format);
  vfprintf(out_, format, args);
  va_end(args);
}
