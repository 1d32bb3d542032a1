// A VBT2 file held in memory, and bounds-checked access to its parts.
//
// Nothing here trusts the file: every position and size read from it is
// checked against the buffer in 64-bit arithmetic before a byte is touched,
// so any sequence of bytes can be handed over.
#ifndef BDF2VBT_INSPECT_VBT_FILE_H
#define BDF2VBT_INSPECT_VBT_FILE_H

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "vbt/format.h"
#include "vbt_reader.h"

namespace vbtdump {

// One code's metrics record and a view of its image.
struct Glyph {
  MetricRecord metrics;
  const uint8_t* image = nullptr;   // height rows of rowBytes() bytes

  // Bytes per image row: (width + 7) / 8.
  int64_t rowBytes() const { return imageRowBytes(metrics.width); }
  // Bytes of the image.
  int64_t imageSize() const { return ::imageSize(metrics.width, metrics.height); }
  // Pixel (x, y), top row 0; false outside the box.
  bool pixel(int64_t x, int64_t y) const;
  // True for a code without glyph: the reset record 1 x 1, everything else
  // zero, and one zero byte as image.
  bool isFiller() const;
};

class VbtFile {
 public:
  // Views `size` bytes at `data`, which must outlive the object.
  VbtFile(const uint8_t* data, size_t size);

  // The bytes of the whole file.
  const uint8_t* data() const { return data_; }
  // The number of bytes of the file.
  int64_t size() const { return size_; }
  // True when the file holds the 44 bytes of a header.
  bool hasHeader() const { return size_ >= static_cast<int64_t>(kHeaderSize); }
  // The header (all zero without one).
  const FontHeader& header() const { return header_; }

  // True when bytes [at, at + n) lie inside the file.
  bool inside(int64_t at, int64_t n) const;
  // The file opened by the device reader, which vbtdump draws through;
  // nullptr when the reader refuses its header.
  const vbt_font* reader() const { return reader_open_ ? &reader_ : nullptr; }
  // The name record, or nullopt when no zero byte ends it.
  const std::optional<NameRecord>& nameRecord() const { return name_; }

  // Codes in the tables: the header's count, 0 when it is zero or negative.
  int64_t codeCount() const;
  // The code at table index `i`.
  int64_t codeAt(int64_t i) const { return int64_t{header_.first_code} + i; }
  // Table index of `code`, or -1 outside the range.
  int64_t indexOf(int64_t code) const;

  // The first byte where images may lie: after the name record (after the
  // header when there is none).
  int64_t imageAreaBegin() const;
  // One past the last byte where images may lie: the metrics table.
  int64_t imageAreaEnd() const { return header_.metric_pos; }

  // The bytes of metrics record `i`, or nullptr when they are outside the file.
  const uint8_t* metricsBytes(int64_t i) const;
  // Metrics record `i`, when it lies inside the file.
  std::optional<MetricRecord> metrics(int64_t i) const;
  // Image offset `i`, when it lies inside the file.
  std::optional<uint32_t> imageOffset(int64_t i) const;
  // Record and image of index `i`, when both are sound: the sizes are not
  // negative and the image lies inside the image area.
  std::optional<Glyph> glyph(int64_t i) const;

  // The advance bdf2vbt -w gave the codes without glyph of a fixed-width
  // file, when they have the records of codes without glyph but for it; 0
  // otherwise. Needs a sound file.
  int32_t emptyCodeAdvance() const;
  // True when index `i` is a code without glyph: a filler, or one with the
  // advance `empty_advance` (from emptyCodeAdvance()). Needs a sound file.
  bool isEmptyCode(int64_t i, int32_t empty_advance) const;

 private:
  const uint8_t* data_;
  int64_t size_;
  FontHeader header_;
  std::optional<NameRecord> name_;
  vbt_font reader_{};
  bool reader_open_ = false;
};

}  // namespace vbtdump

#endif  // BDF2VBT_INSPECT_VBT_FILE_H
