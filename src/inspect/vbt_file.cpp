#include "inspect/vbt_file.h"

#include <algorithm>
#include <cstdint>
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
  // Whatever lies beyond 32-bit positions, no table of the format reaches.
  const auto reachable = static_cast<uint32_t>(std::min<size_t>(size, UINT32_MAX));
  reader_open_ = vbt_open_memory(&reader_, data, reachable) == VBT_OK;
  if (!hasHeader()) return;
  header_ = decodeFontHeader(data_);
  name_ = decodeNameRecord(data_, size);
}

bool VbtFile::inside(int64_t at, int64_t n) const {
  return at >= 0 && n >= 0 && n <= size_ && at <= size_ - n;
}

int64_t VbtFile::codeCount() const { return std::max<int64_t>(header_.code_count, 0); }

int64_t VbtFile::indexOf(int64_t code) const {
  const int64_t i = code - header_.first_code;
  return i >= 0 && i < codeCount() ? i : -1;
}

int64_t VbtFile::imageAreaBegin() const { return name_ ? name_->end : static_cast<int64_t>(kNameRecordPosition); }

const uint8_t* VbtFile::metricsBytes(int64_t i) const {
  if (i < 0 || i >= codeCount()) return nullptr;
  const int64_t at = int64_t{header_.metric_pos} + i * int64_t{kMetricRecordSize};
  return inside(at, kMetricRecordSize) ? data_ + at : nullptr;
}

std::optional<MetricRecord> VbtFile::metrics(int64_t i) const {
  const uint8_t* at = metricsBytes(i);
  if (!at) return std::nullopt;
  return decodeMetricRecord(at);
}

std::optional<uint32_t> VbtFile::imageOffset(int64_t i) const {
  if (i < 0 || i >= codeCount()) return std::nullopt;
  const int64_t at = int64_t{header_.image_pos} + i * int64_t{kOffsetEntrySize};
  if (!inside(at, kOffsetEntrySize)) return std::nullopt;
  return decodeOffsetEntry(data_ + at);
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

namespace {

// The record of a code without glyph, whatever its advance, and a zero byte.
bool emptyBut(const Glyph& g) {
  const MetricRecord& m = g.metrics;
  return m.width == 1 && m.height == 1 && m.ascent == 0 && m.x_offset == 0 && g.image[0] == 0;
}

}  // namespace

int32_t VbtFile::emptyCodeAdvance() const {
  if ((header_.flags & kFlagFixedWidth) == 0 || codeCount() == 0) return 0;
  const int32_t advance = metrics(0)->advance;
  for (int64_t i = 0; i < codeCount() && advance != 0; ++i) {
    if (emptyBut(*glyph(i))) return advance;
  }
  return 0;
}

bool VbtFile::isEmptyCode(int64_t i, int32_t empty_advance) const {
  const Glyph g = *glyph(i);
  return emptyBut(g) && (g.metrics.advance == 0 || g.metrics.advance == empty_advance);
}

}  // namespace vbtdump
