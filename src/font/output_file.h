// The output stream of a conversion: a buffered, write-only byte stream to a
// file descriptor or to memory. It keeps the stream position itself (the count
// of bytes written so far), and remembers the first failure instead of
// reporting it, so a conversion runs to its end and the caller decides.
#ifndef BDF2VBT_FONT_OUTPUT_FILE_H
#define BDF2VBT_FONT_OUTPUT_FILE_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// File positions, the file's end included, are stored as signed 32-bit values.
constexpr int64_t kMaxFileSize = (int64_t{1} << 31) - 1;

class OutputFile {
 public:
  // Writes into memory; see contents().
  OutputFile();
  // Writes to `fd`, which the caller opened and closes.
  explicit OutputFile(int fd);
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  void put8(uint8_t v) {
    if (buffer_.size() == buffer_.capacity()) flush();
    buffer_.push_back(v);
    ++position_;
  }
  void put16(uint16_t v);
  void put32(uint32_t v);
  void putBytes(const uint8_t* data, size_t n);

  // Bytes written so far: the position the next byte lands at.
  int64_t tell() const { return position_; }

  // The largest size the file may reach (kMaxFileSize unless lowered).
  int64_t sizeLimit() const { return size_limit_; }
  void setSizeLimit(int64_t limit) { size_limit_ = limit; }

  // Writes `n` bytes at position 0 over what is there. On a stream that cannot
  // seek this fails and writes nothing.
  void rewriteStart(const uint8_t* data, size_t n);

  // Hands everything buffered to the file descriptor.
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
  int64_t size_limit_ = kMaxFileSize;
  std::vector<uint8_t> buffer_;
  std::vector<uint8_t> memory_;
};

#endif  // BDF2VBT_FONT_OUTPUT_FILE_H
