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
