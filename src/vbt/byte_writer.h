// Little-endian stores into a byte array of a fixed size, field by field:
// the layout does not depend on the host.
#ifndef BDF2VBT_VBT_BYTE_WRITER_H
#define BDF2VBT_VBT_BYTE_WRITER_H

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>

#if defined(BDF2VBT_SCALAR)
inline constexpr bool kStoreAtOnce = false;
#else
inline constexpr bool kStoreAtOnce = true;
#endif

template <size_t kSize>
class ByteWriter {
 public:
  constexpr explicit ByteWriter(uint8_t (&data)[kSize]) : data_(data) {}

  constexpr void put8(uint8_t v) { data_[pos_++] = v; }
  constexpr void put16(uint16_t v) { putLittleEndian(v); }
  constexpr void put32(uint32_t v) { putLittleEndian(v); }
  constexpr void putZeros(size_t n) {
    for (size_t i = 0; i < n; ++i) data_[pos_ + i] = 0;
    pos_ += n;
  }
  // The bytes written so far.
  constexpr size_t size() const { return pos_; }

 private:
  // The bytes of `v`, lowest first: on a little-endian host its own bytes,
  // copied at once (the metrics table is two million of them).
  template <typename T>
  constexpr void putLittleEndian(T v) {
    if (kStoreAtOnce && std::endian::native == std::endian::little && !std::is_constant_evaluated()) {
      memcpy(data_ + pos_, &v, sizeof v);
    } else {
      for (size_t i = 0; i < sizeof v; ++i) data_[pos_ + i] = static_cast<uint8_t>(v >> (8 * i));
    }
    pos_ += sizeof v;
  }

  uint8_t (&data_)[kSize];
  size_t pos_ = 0;
};

#endif  // BDF2VBT_VBT_BYTE_WRITER_H
