#include "diag/text_out.h"

#include <cerrno>
#include <charconv>
#include <cstdarg>

TextOut& TextOut::operator<<(int64_t value) {
  char digits[24];
  const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
  return *this << std::string_view(digits, static_cast<size_t>(end - digits));
}

void TextOut::print(const char* format, ...) {
  char text[512];
  va_list args;
  va_start(args, format);
  const int n = vsnprintf(text, sizeof text, format, args);
  va_end(args);
  if (n >= 0 && static_cast<size_t>(n) < sizeof text) {
    *this << std::string_view(text, static_cast<size_t>(n));
    return;
  }
  // Longer than the buffer above (a long operand name): straight through.
  flush();
  va_start(args, format);
  vfprintf(stream_, format, args);
  va_end(args);
}

void TextOut::flush() {
  if (size_ > 0 && fwrite(data_.get(), 1, size_, stream_) != size_ && error_ == 0) error_ = errno != 0 ? errno : EIO;
  size_ = 0;
}

int TextOut::flushStream() {
  flush();
  if (fflush(stream_) != 0 && error_ == 0) error_ = errno != 0 ? errno : EIO;
  // A write that failed inside stdio, before any of these calls saw it.
  if (error_ == 0 && ferror(stream_)) error_ = EIO;
  return error_;
}

void TextOut::makeRoom(size_t n) {
  flush();
  if (n <= capacity_) return;
  data_.reset(new char[n]);
  capacity_ = n;
}
