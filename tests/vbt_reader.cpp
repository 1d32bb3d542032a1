#include "vbt_reader.h"

namespace {

uint32_t le16(const std::vector<uint8_t>& b, size_t at) {
  return static_cast<uint32_t>(b[at] | (b[at + 1] << 8));
}

uint32_t le32(const std::vector<uint8_t>& b, size_t at) {
  return le16(b, at) | (le16(b, at + 2) << 16);
}

bool zeros(const std::vector<uint8_t>& b, size_t at, size_t n) {
  for (size_t i = 0; i < n; ++i) {
    if (b[at + i] != 0) return false;
  }
  return true;
}

}  // namespace

std::optional<VbtFile> VbtFile::parse(const std::string& bytes) {
  return parse(std::vector<uint8_t>(bytes.begin(), bytes.end()));
}

std::optional<VbtFile> VbtFile::parse(const std::vector<uint8_t>& bytes) {
  if (bytes.size() < 44) return std::nullopt;
  VbtFile f;
  f.bytes = bytes;
  f.magic = static_cast<uint16_t>(le16(bytes, 0));
  f.flags = static_cast<uint16_t>(le16(bytes, 2));
  f.largest_width = static_cast<uint16_t>(le16(bytes, 4));
  f.largest_height = static_cast<uint16_t>(le16(bytes, 6));
  f.box_width = static_cast<uint16_t>(le16(bytes, 8));
  f.box_height = static_cast<uint16_t>(le16(bytes, 10));
  f.image_pos = le32(bytes, 12);
  f.metric_pos = le32(bytes, 20);
  f.underline = static_cast<uint16_t>(le16(bytes, 32));
  f.baseline = static_cast<uint16_t>(le16(bytes, 34));
  f.first_code = static_cast<int32_t>(le32(bytes, 36));
  f.code_count = static_cast<int32_t>(le32(bytes, 40));
  f.reserved_zero = zeros(bytes, 16, 4) && zeros(bytes, 24, 8);

  size_t comma = 44;
  while (comma < bytes.size() && bytes[comma] != ',') ++comma;
  size_t end = comma;
  while (end < bytes.size() && bytes[end] != 0) ++end;
  if (end >= bytes.size()) return std::nullopt;
  f.font_name.assign(bytes.begin() + 44, bytes.begin() + static_cast<long>(comma));
  f.file_name.assign(bytes.begin() + static_cast<long>(comma) + 1,
                     bytes.begin() + static_cast<long>(end));

  const size_t count = f.code_count > 0 ? static_cast<size_t>(f.code_count) : 0;
  if (f.metric_pos + 32 * count > bytes.size() || f.image_pos + 4 * count > bytes.size()) {
    return std::nullopt;
  }
  for (size_t i = 0; i < count; ++i) {
    size_t at = f.metric_pos + 32 * i;
    VbtMetrics m;
    m.width = static_cast<int16_t>(le16(bytes, at));
    m.height = static_cast<int16_t>(le16(bytes, at + 2));
    m.ascent = static_cast<int32_t>(le32(bytes, at + 4));
    m.x_offset = static_cast<int32_t>(le32(bytes, at + 8));
    m.advance = static_cast<int32_t>(le32(bytes, at + 12));
    m.reserved_zero = zeros(bytes, at + 16, 16);
    f.metrics.push_back(m);
    f.offsets.push_back(le32(bytes, f.image_pos + 4 * i));
  }
  return f;
}

size_t VbtFile::index(int32_t code, int32_t shift) const {
  return static_cast<size_t>(code - (first_code - shift));
}

std::vector<uint8_t> VbtFile::image(size_t i) const {
  const VbtMetrics& m = metrics.at(i);
  size_t size = static_cast<size_t>(m.height) * static_cast<size_t>((m.width + 7) / 8);
  size_t at = offsets.at(i);
  if (at + size > bytes.size()) return {};
  return std::vector<uint8_t>(bytes.begin() + static_cast<long>(at),
                              bytes.begin() + static_cast<long>(at + size));
}

bool VbtFile::pixel(size_t i, int x, int y) const {
  const VbtMetrics& m = metrics.at(i);
  size_t row_bytes = static_cast<size_t>((m.width + 7) / 8);
  size_t at = offsets.at(i) + static_cast<size_t>(y) * row_bytes + static_cast<size_t>(x / 8);
  return (bytes.at(at) & (0x80 >> (x % 8))) != 0;
}
