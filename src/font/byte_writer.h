// Little-endian stores into a fixed byte array, built from shifts so that the
// layout does not depend on the host.
#ifndef BDF2VBT_FONT_BYTE_WRITER_H
#define BDF2VBT_FONT_BYTE_WRITER_H

#include <cstddef>
#include <cstdint>
#include <cstring>

class ByteWriter {
 public:
  ByteWriter(uint8_t* data, size_t size) : data_(data), size_(size) {}

  void put8(uint8_t v) {
    if (pos_ < size_) data_[pos_] = v;
    ++pos_;
  }
  void put16(uint16_t v) {
    put8(static_cast<uint8_t>(v));
    put8(static_cast<uint8_t>(v >> 8));
  }
  void put32(uint32_t v) {
    put16(static_cast<uint16_t>(v));
    put16(static_cast<uint16_t>(v >> 16));
  }
  void putZeros(size_t n) {
    for (size_t i = 0; i < n; ++i) put8(0);
  }
  // True when exactly the whole array was written.
  bool full() const { return pos_ == size_; }

 private:
  uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
};

#endif  // BDF2VBT_FONT_BYTE_WRITER_H
