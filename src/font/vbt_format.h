// The records of a VBT2 font file and their little-endian byte layout.
//
// A file holds, in this order: the 44-byte header, the name record (font name,
// ',', output base name, zero byte), the glyph images, the metrics table (one
// 32-byte record per code of the range) and the image offset table (one 32-bit
// file position per code of the range).
#ifndef BDF2VBT_FONT_VBT_FORMAT_H
#define BDF2VBT_FONT_VBT_FORMAT_H

#include <cstddef>
#include <cstdint>

constexpr size_t kHeaderSize = 44;
constexpr size_t kMetricRecordSize = 32;
constexpr uint16_t kVbtMagic = 0x5632;         // the bytes '2', 'V'
constexpr uint16_t kFlagBase = 0x0800;
constexpr uint16_t kFlagFixedWidth = 0x1000;   // every code has the same advance

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

// One glyph's metrics. A code without a glyph keeps the reset record: 1 x 1,
// everything else zero.
struct MetricRecord {
  int16_t width = 1;
  int16_t height = 1;
  int32_t ascent = 0;     // rows from the baseline up to the top of the box
  int32_t x_offset = 0;   // left edge of the box relative to the origin
  int32_t advance = 0;
};

// Stores `h` in its file layout (kHeaderSize bytes, reserved bytes zero).
void encodeFontHeader(const FontHeader& h, uint8_t (&out)[kHeaderSize]);

// Stores `m` in its file layout (kMetricRecordSize bytes, reserved bytes zero).
void encodeMetricRecord(const MetricRecord& m, uint8_t (&out)[kMetricRecordSize]);

// Reads a header from its file layout; reserved bytes are not looked at.
FontHeader decodeFontHeader(const uint8_t (&in)[kHeaderSize]);

// Reads a metrics record from its file layout; reserved bytes are not looked at.
MetricRecord decodeMetricRecord(const uint8_t (&in)[kMetricRecordSize]);

#endif  // BDF2VBT_FONT_VBT_FORMAT_H
