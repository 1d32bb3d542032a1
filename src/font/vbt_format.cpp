#include "font/vbt_format.h"

#include <cassert>

#include "font/byte_writer.h"

void encodeFontHeader(const FontHeader& h, uint8_t (&out)[kHeaderSize]) {
  ByteWriter w(out, sizeof out);
  w.put16(h.magic);
  w.put16(h.flags);
  w.put16(h.largest_width);
  w.put16(h.largest_height);
  w.put16(h.box_width);
  w.put16(h.box_height);
  w.put32(static_cast<uint32_t>(h.image_pos));
  w.putZeros(4);
  w.put32(static_cast<uint32_t>(h.metric_pos));
  w.putZeros(8);
  w.put16(h.underline);
  w.put16(h.baseline);
  w.put32(static_cast<uint32_t>(h.first_code));
  w.put32(static_cast<uint32_t>(h.code_count));
  assert(w.full());
}

void encodeMetricRecord(const MetricRecord& m, uint8_t (&out)[kMetricRecordSize]) {
  ByteWriter w(out, sizeof out);
  w.put16(static_cast<uint16_t>(m.width));
  w.put16(static_cast<uint16_t>(m.height));
  w.put32(static_cast<uint32_t>(m.ascent));
  w.put32(static_cast<uint32_t>(m.x_offset));
  w.put32(static_cast<uint32_t>(m.advance));
  w.putZeros(16);
  assert(w.full());
}

namespace {

uint16_t le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

uint32_t le32(const uint8_t* p) { return le16(p) | (uint32_t{le16(p + 2)} << 16); }

}  // namespace

FontHeader decodeFontHeader(const uint8_t (&in)[kHeaderSize]) {
  FontHeader h;
  h.magic = le16(in + 0);
  h.flags = le16(in + 2);
  h.largest_width = le16(in + 4);
  h.largest_height = le16(in + 6);
  h.box_width = le16(in + 8);
  h.box_height = le16(in + 10);
  h.image_pos = static_cast<int32_t>(le32(in + 12));
  h.metric_pos = static_cast<int32_t>(le32(in + 20));
  h.underline = le16(in + 32);
  h.baseline = le16(in + 34);
  h.first_code = static_cast<int32_t>(le32(in + 36));
  h.code_count = static_cast<int32_t>(le32(in + 40));
  return h;
}

MetricRecord decodeMetricRecord(const uint8_t (&in)[kMetricRecordSize]) {
  MetricRecord m;
  m.width = static_cast<int16_t>(le16(in + 0));
  m.height = static_cast<int16_t>(le16(in + 2));
  m.ascent = static_cast<int32_t>(le32(in + 4));
  m.x_offset = static_cast<int32_t>(le32(in + 8));
  m.advance = static_cast<int32_t>(le32(in + 12));
  return m;
}
