// The layout of a VBT2 font file, in one place: every record's size, order
// and position, with its encoder and decoder side by side. All integers are
// little-endian; positions are absolute file offsets.
//
// A file holds, in this order: the 44-byte header, the name record (font
// name, ',', output file name, zero byte), the glyph images (rows of
// (width + 7) / 8 bytes, top row first, most significant bit leftmost; a
// code without glyph has a one-byte image of zero), the metrics table (one
// 32-byte record per code of the range) and the image offset table (one
// 32-bit position per code of the range), which ends the file.
#ifndef BDF2VBT_VBT_FORMAT_H
#define BDF2VBT_VBT_FORMAT_H

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "vbt/byte_writer.h"

constexpr size_t kHeaderSize = 44;
constexpr size_t kNameRecordPosition = kHeaderSize;
constexpr size_t kMetricRecordSize = 32;
constexpr size_t kOffsetEntrySize = 4;
constexpr uint16_t kVbtMagic = 0x5632;         // the bytes '2', 'V'
constexpr uint16_t kFlagBase = 0x0800;
constexpr uint16_t kFlagFixedWidth = 0x1000;   // every code has the same advance
constexpr int32_t kCodeCount = 65536;          // codes 0..65535 can be stored
// File positions, the file's end included, are stored as signed 32-bit values.
constexpr int64_t kMaxFileSize = (int64_t{1} << 31) - 1;
// The count of codes the first writers stored for a font without glyphs.
constexpr int32_t kEmptyRangeCount = -65535;

// Bytes that are reserved (always zero): [offset, offset + size).
struct ReservedBytes {
  size_t offset;
  size_t size;
};
constexpr ReservedBytes kHeaderReserved[] = {{16, 4}, {24, 8}};
constexpr ReservedBytes kMetricRecordReserved = {16, 16};

// The header, written last over a placeholder at position 0. 16-bit fields
// hold the low 16 bits of the values they are computed from.
struct FontHeader {
  uint16_t magic = 0;
  uint16_t flags = 0;
  uint16_t largest_width = 0;
  uint16_t largest_height = 0;   // largest glyph height minus one
  uint16_t box_width = 0;
  uint16_t box_height = 0;       // font box height plus the -a adjustment
  int32_t image_pos = 0;         // position of the image offset table
  int32_t metric_pos = 0;        // position of the metrics table
  uint16_t underline = 0;
  uint16_t baseline = 0;         // baseline row minus one
  int32_t first_code = 0;
  int32_t code_count = 0;
};

// One code's metrics. A code without a glyph keeps the reset record: 1 x 1,
// everything else zero.
struct MetricRecord {
  int16_t width = 1;
  int16_t height = 1;
  int32_t ascent = 0;     // rows from the baseline up to the top of the box
  int32_t x_offset = 0;   // left edge of the box relative to the origin
  int32_t advance = 0;
};

// The name record: font name, ',', output file name, zero byte.
struct NameRecord {
  std::string font_name;   // up to the last ',' (everything when there is none)
  std::string file_name;   // after the last ','
  bool has_comma = false;
  int64_t end = 0;         // position after the zero byte
};

// Bytes per image row and bytes of an image of a record's width and height.
inline int64_t imageRowBytes(int32_t width) { return (int64_t{width} + 7) / 8; }
inline int64_t imageSize(int32_t width, int32_t height) { return int64_t{height} * imageRowBytes(width); }

// Stores `h` in its file layout, reserved bytes zero; returns the bytes
// written.
constexpr size_t encodeFontHeader(const FontHeader& h, uint8_t (&out)[kHeaderSize]) {
  ByteWriter w(out);
  w.put16(h.magic);
  w.put16(h.flags);
  w.put16(h.largest_width);
  w.put16(h.largest_height);
  w.put16(h.box_width);
  w.put16(h.box_height);
  w.put32(static_cast<uint32_t>(h.image_pos));
  w.putZeros(kHeaderReserved[0].size);
  w.put32(static_cast<uint32_t>(h.metric_pos));
  w.putZeros(kHeaderReserved[1].size);
  w.put16(h.underline);
  w.put16(h.baseline);
  w.put32(static_cast<uint32_t>(h.first_code));
  w.put32(static_cast<uint32_t>(h.code_count));
  return w.size();
}

// Stores `m` in its file layout, reserved bytes zero; returns the bytes
// written.
constexpr size_t encodeMetricRecord(const MetricRecord& m, uint8_t (&out)[kMetricRecordSize]) {
  ByteWriter w(out);
  w.put16(static_cast<uint16_t>(m.width));
  w.put16(static_cast<uint16_t>(m.height));
  w.put32(static_cast<uint32_t>(m.ascent));
  w.put32(static_cast<uint32_t>(m.x_offset));
  w.put32(static_cast<uint32_t>(m.advance));
  w.putZeros(kMetricRecordReserved.size);
  return w.size();
}

// Stores an image offset table entry; returns the bytes written.
constexpr size_t encodeOffsetEntry(uint32_t position, uint8_t (&out)[kOffsetEntrySize]) {
  ByteWriter w(out);
  w.put32(position);
  return w.size();
}

// Each record comes out at exactly its size (writing past it would not
// compile either).
constexpr size_t headerBytesWritten() {
  uint8_t bytes[kHeaderSize] = {};
  return encodeFontHeader(FontHeader{}, bytes);
}
constexpr size_t metricRecordBytesWritten() {
  uint8_t bytes[kMetricRecordSize] = {};
  return encodeMetricRecord(MetricRecord{}, bytes);
}
static_assert(headerBytesWritten() == kHeaderSize);
static_assert(metricRecordBytesWritten() == kMetricRecordSize);

// The bytes of a name record.
std::string encodeNameRecord(std::string_view font_name, std::string_view file_name);

// Reads a header from its file layout; reserved bytes are not looked at.
FontHeader decodeFontHeader(const uint8_t* in);
// Reads a metrics record from its file layout; reserved bytes are not looked at.
MetricRecord decodeMetricRecord(const uint8_t* in);
// Reads an image offset table entry.
uint32_t decodeOffsetEntry(const uint8_t* in);
// Reads the name record of the `size` bytes of a file at `data`: nullopt when
// no zero byte ends it.
std::optional<NameRecord> decodeNameRecord(const uint8_t* data, size_t size);

#endif  // BDF2VBT_VBT_FORMAT_H
