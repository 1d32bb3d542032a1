#include "inspect/vbt_file.h"

#include <algorithm>
#include <cstring>

namespace vbtdump {

bool Glyph::pixel(int64_t x, int64_t y) const {
  if (x < 0 || y < 0 || x >= metrics.width || y >= metrics.height) return false;
  const uint8_t byte = image[y * rowBytes() + x / 8];
  return (byte & (0x80 >> (x % 8))) != 0;
}

bool Glyph::isFiller() const {
  const MetricRecord& m = metrics;
  return m.width == 1 && m.height == 1 && m.ascent == 0 && m.x_offset == 0 &&
         m.advance == 0 && image[0] == 0;
}

VbtFile::VbtFile(const uint8_t* data, size_t size)
    : data_(data), size_(static_cast<int64_t>(size)) {
  if (!hasHeader()) return;
  uint8_t bytes[kHeaderSize];
  memcpy(bytes, data_, kHeaderSize);
  header_ = decodeFontHeader(bytes);
  readNameRecord();
}

void VbtFile::readNameRecord() {
  const uint8_t* begin = data_ + kNameRecordPos;
  const uint8_t* end = data_ + size_;
  const uint8_t* zero = std::find(begin, end, uint8_t{0});
  if (zero == end) return;
  std::string text(begin, zero);
  NameRecord name;
  const size_t comma = text.rfind(',');
  name.has_comma = comma != std::string::npos;
  name.font_name = text.substr(0, name.has_comma ? comma : text.size());
  if (name.has_comma) name.file_name = text.substr(comma + 1);
  name.end = (zero - data_) + 1;
  name_ = name;
}

bool VbtFile::inside(int64_t at, int64_t n) const {
  return at >= 0 && n >= 0 && n <= size_ && at <= size_ - n;
}

int64_t VbtFile::codeCount() const { return std::max<int64_t>(header_.code_count, 0); }

int64_t VbtFile::indexOf(int64_t code) const {
  const int64_t i = code - header_.first_code;
  return i >= 0 && i < codeCount() ? i : -1;
}

int64_t VbtFile::imageAreaBegin() const { return name_ ? name_->end : kNameRecordPos; }

const uint8_t* VbtFile::metricsBytes(int64_t i) const {
  if (i < 0 || i >= codeCount()) return nullptr;
  const int64_t at = int64_t{header_.metric_pos} + i * int64_t{kMetricRecordSize};
  return inside(at, kMetricRecordSize) ? data_ + at : nullptr;
}

std::optional<MetricRecord> VbtFile::metrics(int64_t i) const {
  const uint8_t* at = metricsBytes(i);
  if (!at) return std::nullopt;
  uint8_t bytes[kMetricRecordSize];
  memcpy(bytes, at, kMetricRecordSize);
  return decodeMetricRecord(bytes);
}

std::optional<uint32_t> VbtFile::imageOffset(int64_t i) const {
  if (i < 0 || i >= codeCount()) return std::nullopt;
  const int64_t at = int64_t{header_.image_pos} + i * kOffsetEntrySize;
  if (!inside(at, kOffsetEntrySize)) return std::nullopt;
  const uint8_t* p = data_ + at;
  return uint32_t{p[0]} | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) |
         (uint32_t{p[3]} << 24);
}

std::optional<Glyph> VbtFile::glyph(int64_t i) const {
  const std::optional<MetricRecord> m = metrics(i);
  const std::optional<uint32_t> offset = imageOffset(i);
  if (!m || !offset || m->width < 0 || m->height < 0) return std::nullopt;
  Glyph g{*m, nullptr};
  const int64_t at = *offset;
  const int64_t end = std::min(imageAreaEnd(), size_);
  if (at < imageAreaBegin() || at > end || g.imageSize() > end - at) return std::nullopt;
  g.image = data_ + at;
  return g;
}

}  // namespace vbtdump
