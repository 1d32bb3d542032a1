// Little-endian stores into a byte array of a fixed size, built from shifts
// so that the layout does not depend on the host.
#ifndef BDF2VBT_VBT_BYTE_WRITER_H
#define BDF2VBT_VBT_BYTE_WRITER_H

#include <cstddef>
#include <cstdint>

template <size_t kSize>
class ByteWriter {
 public:
  constexpr explicit ByteWriter(uint8_t (&data)[kSize]) : data_(data) {}

  constexpr void put8(uint8_t v) { data_[pos_++] = v; }
  constexpr void put16(uint16_t v) {
    put8(static_cast<uint8_t>(v));
    put8(static_cast<uint8_t>(v >> 8));
  }
  constexpr void put32(uint32_t v) {
    put16(static_cast<uint16_t>(v));
    put16(static_cast<uint16_t>(v >> 16));
  }
  constexpr void putZeros(size_t n) {
    for (size_t i = 0; i < n; ++i) put8(0);
  }
  // The bytes written so far.
  constexpr size_t size() const { return pos_; }

 private:
  uint8_t (&data_)[kSize];
  size_t pos_ = 0;
};

#endif  // BDF2VBT_VBT_BYTE_WRITER_H
