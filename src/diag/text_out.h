// Text for one output stream, gathered in a buffer and handed on in large
// pieces: the verbose traces of a large font are millions of short pieces,
// and a stream's own per-call cost would be most of the work.
#ifndef BDF2VBT_DIAG_TEXT_OUT_H
#define BDF2VBT_DIAG_TEXT_OUT_H

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string_view>

class TextOut {
 public:
  explicit TextOut(FILE* stream) : stream_(stream), data_(new char[kFlushSize]), capacity_(kFlushSize) {}
  TextOut(const TextOut&) = delete;
  TextOut& operator=(const TextOut&) = delete;
  ~TextOut() { flush(); }

  TextOut& operator<<(std::string_view text) {
    memcpy(extend(text.size()), text.data(), text.size());
    return *this;
  }
  TextOut& operator<<(char c) {
    *extend(1) = c;
    return *this;
  }
  // `value` in decimal, as "%d" or "%lld" prints it.
  TextOut& operator<<(int64_t value);
  TextOut& operator<<(int32_t value) { return *this << static_cast<int64_t>(value); }

  // Room for `n` more characters, to be written there at once; they count
  // as written.
  char* extend(size_t n) {
    if (size_ + n > capacity_) makeRoom(n);
    char* at = data_.get() + size_;
    size_ += n;
    return at;
  }

  // printf-style.
  void print(const char* format, ...) __attribute__((format(printf, 2, 3)));

  // Hands everything gathered to the stream.
  void flush();
  // Hands everything gathered on to the stream's file. Returns 0, or the
  // errno of the first write to the stream that failed so far.
  int flushStream();

 private:
  static constexpr size_t kFlushSize = size_t{1} << 16;
  // Flushes, and grows the buffer when `n` would not fit an empty one.
  void makeRoom(size_t n);

  FILE* stream_;
  std::unique_ptr<char[]> data_;
  size_t size_ = 0;
  size_t capacity_;
  int error_ = 0;
};

#endif  // BDF2VBT_DIAG_TEXT_OUT_H
