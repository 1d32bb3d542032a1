// A buffered, write-only byte stream to a file descriptor or to memory. It
// keeps its position itself (the count of bytes written so far) and
// remembers the first failure instead of reporting it, so that a conversion
// runs to its end and its owner decides.
#ifndef BDF2VBT_IO_OUTPUT_STREAM_H
#define BDF2VBT_IO_OUTPUT_STREAM_H

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
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
    if (buffered_ == kBufferSize) flush();
    buffer_[buffered_++] = v;
    ++position_;
  }
  void putBytes(const uint8_t* data, size_t n) {
    if (n > kBufferSize - buffered_) return putBytesFlushing(data, n);
    memcpy(buffer_.get() + buffered_, data, n);
    buffered_ += n;
    position_ += static_cast<int64_t>(n);
  }

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
  static constexpr size_t kBufferSize = size_t{1} << 16;

  // putBytes when the bytes do not fit what is left of the buffer.
  void putBytesFlushing(const uint8_t* data, size_t n);
  void writeOut(const uint8_t* data, size_t n);

  int fd_ = -1;
  int error_ = 0;
  int64_t position_ = 0;
  std::unique_ptr<uint8_t[]> buffer_;
  size_t buffered_ = 0;
  std::vector<uint8_t> memory_;
};

#endif  // BDF2VBT_IO_OUTPUT_STREAM_H
