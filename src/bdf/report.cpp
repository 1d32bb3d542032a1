#include "bdf/report.h"

#include <algorithm>
#include <cstdarg>
#include <string_view>

#include "bdf/line_reader.h"
#include "diag/text_out.h"

void BdfReport::error(const char* format, ...) {
  ++errors_;
  if (findings_) {
    char text[1024];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof text, format, args);
    va_end(args);
    std::string message = text;
    if (!message.empty() && message.back() == '\n') message.pop_back();
    findings_->push_back({lines_ ? lines_->lineStart() : 0, glyph_ ? glyph_ : "", message});
  }
  if (!err_) return;
  // What came before the error on the output stream comes before it in a
  // log of both streams.
  if (out_) out_->flushStream();
  fputs("BDF Error: ", err_);
  va_list args;
  va_start(args, format);
  vfprintf(err_, format, args);
  va_end(args);
}

void BdfReport::warning(const char* format, ...) {
  if (!out_) return;
  char text[256];
  va_list args;
  va_start(args, format);
  const int n = vsnprintf(text, sizeof text, format, args);
  va_end(args);
  if (n > 0) *out_ << std::string_view(text, std::min(static_cast<size_t>(n), sizeof text - 1));
}
