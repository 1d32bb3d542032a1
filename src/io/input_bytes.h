// The whole of an input, read into memory once: both passes over a font walk
// the same bytes, whatever kind of file (regular file, pipe, FIFO, device)
// they came from.
#ifndef BDF2VBT_IO_INPUT_BYTES_H
#define BDF2VBT_IO_INPUT_BYTES_H

#include <cstddef>
#include <memory>
#include <string_view>

// Inputs are refused beyond this size ("File too large").
constexpr size_t kMaxInputSize = size_t{1} << 30;

class InputBytes {
 public:
  // Reads everything `fd` gives up to its end. Returns 0, or the errno of a
  // failed read (EFBIG beyond kMaxInputSize); the bytes read before a
  // failure are kept.
  int readAll(int fd);

  std::string_view text() const { return {data_.get(), size_}; }

 private:
  // Makes room for at least `wanted` bytes in all.
  void reserve(size_t wanted);

  std::unique_ptr<char[]> data_;
  size_t size_ = 0;
  size_t capacity_ = 0;
};

#endif  // BDF2VBT_IO_INPUT_BYTES_H
