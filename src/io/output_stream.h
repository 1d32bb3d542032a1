// A buffered, write-only byte stream to a file descriptor or to memory. It
// keeps its position itself (the count of bytes written so far) and
// remembers the first failure instead of reporting it, so that a conversion
// runs to its end and its owner decides.
#ifndef BDF2VBT_IO_OUTPUT_STREAM_H
#define BDF2VBT_IO_OUTPUT_STREAM_H

#include <cstddef>
#include <cstdint>
#include <vector>

class OutputStream {
 public:
  // Writes into memory; see contents().
  OutputStream();
  // Writes to `fd`, which the caller opened and closes.
  explicit OutputStream(int fd);
  OutputStream(const OutputStream&) = delete;
  OutputStream& operator=(const OutputStream&) = delete;

  void put8(uint8_t v) {
    if (buffer_.size() == buffer_.capacity()) flush();
    buffer_.push_back(v);
    ++position_;
  }
  void putBytes(const uint8_t* data, size_t n);

  // Bytes written so far: the position the next byte lands at.
  int64_t position() const { return position_; }

  // Writes `n` bytes at position 0 over what is there. On a stream that
  // cannot seek this fails and writes nothing.
  void rewriteStart(const uint8_t* data, size_t n);

  // Hands everything buffered on.
  void flush();

  // errno of the first failed write or seek, 0 while all succeeded.
  int error() const { return error_; }

  // What a memory stream holds.
  const std::vector<uint8_t>& contents() const { return memory_; }

 private:
  void writeOut(const uint8_t* data, size_t n);

  int fd_ = -1;
  int error_ = 0;
  int64_t position_ = 0;
  std::vector<uint8_t> buffer_;
  std::vector<uint8_t> memory_;
};

#endif  // BDF2VBT_IO_OUTPUT_STREAM_H
