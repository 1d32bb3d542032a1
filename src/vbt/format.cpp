#include "vbt/format.h"

#include <algorithm>

namespace {

uint16_t le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t le32(const uint8_t* p) { return le16(p) | (uint32_t{le16(p + 2)} << 16); }

}  // namespace

std::string encodeNameRecord(std::string_view font_name, std::string_view file_name) {
  std::string record(font_name);
  record += ',';
  record += file_name;
  record += '\0';
  return record;
}

FontHeader decodeFontHeader(const uint8_t* in) {
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

MetricRecord decodeMetricRecord(const uint8_t* in) {
  MetricRecord m;
  m.width = static_cast<int16_t>(le16(in + 0));
  m.height = static_cast<int16_t>(le16(in + 2));
  m.ascent = static_cast<int32_t>(le32(in + 4));
  m.x_offset = static_cast<int32_t>(le32(in + 8));
  m.advance = static_cast<int32_t>(le32(in + 12));
  return m;
}

uint32_t decodeOffsetEntry(const uint8_t* in) { return le32(in); }

std::optional<NameRecord> decodeNameRecord(const uint8_t* data, size_t size) {
  if (size < kNameRecordPosition) return std::nullopt;
  const uint8_t* begin = data + kNameRecordPosition;
  const uint8_t* end = data + size;
  const uint8_t* zero = std::find(begin, end, uint8_t{0});
  if (zero == end) return std::nullopt;
  const std::string text(begin, zero);
  NameRecord name;
  const size_t comma = text.rfind(',');
  name.has_comma = comma != std::string::npos;
  name.font_name = text.substr(0, name.has_comma ? comma : text.size());
  if (name.has_comma) name.file_name = text.substr(comma + 1);
  name.end = (zero - data) + 1;
  return name;
}
