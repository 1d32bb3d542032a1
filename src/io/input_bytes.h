// The whole of an input, held in memory once: both passes over a font walk
// the same bytes, whatever kind of file they came from. A regular file of
// 1 MiB or more is mapped; anything else (a smaller file, a pipe, a FIFO, a
// device) is read to its end.
#ifndef BDF2VBT_IO_INPUT_BYTES_H
#define BDF2VBT_IO_INPUT_BYTES_H

#include <cstddef>
#include <memory>
#include <string_view>

// BDF inputs of this size or more are refused ("File too large").
constexpr size_t kMaxInputSize = size_t{1} << 30;

class InputBytes {
 public:
  InputBytes() = default;
  InputBytes(const InputBytes&) = delete;
  InputBytes& operator=(const InputBytes&) = delete;
  ~InputBytes() { unmap(); }

  // Takes in everything `fd` gives up to its end, in place of what was
  // there. Returns 0, or the errno of a failed read (EFBIG for `limit`
  // bytes or more); the bytes read before a failure are kept. A mapped file
  // that shrinks while it is used ends the process with a message; one whose
  // bytes another process changes meanwhile converts to what the two passes
  // saw, and no byte outside the input is read either way.
  int readAll(int fd, size_t limit = kMaxInputSize);

  std::string_view text() const { return text_; }

 private:
  // Maps a regular file of `size` bytes; false when it cannot be mapped.
  bool map(int fd, size_t size);
  void unmap();
  // Makes room for at least `wanted` bytes in all.
  void reserve(size_t wanted);

  std::string_view text_;
  void* mapped_ = nullptr;   // the mapping text_ views, if any
  std::unique_ptr<char[]> data_;
  size_t capacity_ = 0;
};

#endif  // BDF2VBT_IO_INPUT_BYTES_H
