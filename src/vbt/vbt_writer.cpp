#include "vbt/vbt_writer.h"

#include <algorithm>

#include "io/output_stream.h"

void ImageOffsetTable::reset() {
  if (!changed_.empty()) {
    std::fill(positions_.begin() + changed_.low, positions_.begin() + changed_.high + 1, 0u);
  }
  changed_ = CodeWindow{};
}

void ImageOffsetTable::setRun(uint32_t first, uint32_t last, uint32_t position) {
  changed_.include(static_cast<int32_t>(first), static_cast<int32_t>(last));
  for (uint32_t c = first; c <= last; ++c) positions_[c] = position++;
}

VbtWriter::VbtWriter(OutputStream& out, ImageOffsetTable& offsets) : out_(out), offsets_(offsets) {
  offsets_.reset();
}

void VbtWriter::begin(std::string_view font_name, std::string_view file_name, bool has_name) {
  const uint8_t placeholder[kHeaderSize] = {};
  out_.putBytes(placeholder, sizeof placeholder);
  if (!has_name) return;
  const std::string record = encodeNameRecord(font_name, file_name);
  out_.putBytes(reinterpret_cast<const uint8_t*>(record.data()), record.size());
}

bool VbtWriter::roomForImage(uint32_t code, size_t size) const {
  return out_.position() + fillersBefore(code) + static_cast<int64_t>(size) <= kMaxFileSize;
}

int64_t VbtWriter::fillersBefore(uint32_t code) const {
  if (range_first_ > next_code_ || code <= next_code_) return 0;
  if (highest_image_ < static_cast<int64_t>(next_code_)) return code - next_code_;
  int64_t fillers = 0;
  for (uint32_t k = next_code_; k < code; ++k) fillers += has_image_[k] ? 0 : 1;
  return fillers;
}

// A filler never takes the place of a glyph's image: after a record out of
// code order the codes skipped may include some that were written before.
void VbtWriter::writeFillers(uint32_t code) {
  if (highest_image_ < static_cast<int64_t>(next_code_)) {
    offsets_.setRun(next_code_, code - 1, static_cast<uint32_t>(out_.position()));
    for (uint32_t k = next_code_; k < code; ++k) out_.put8(0);
    return;
  }
  for (uint32_t k = next_code_; k < code; ++k) {
    if (has_image_[k]) continue;
    offsets_.set(k, static_cast<uint32_t>(out_.position()));
    out_.put8(0);
  }
}

void VbtWriter::addImage(uint32_t code, const uint8_t* image, size_t size, const MetricRecord& record) {
  if (range_first_ <= next_code_ && code > next_code_) writeFillers(code);
  next_code_ = code + 1;
  has_image_[code] = true;
  highest_image_ = std::max<int64_t>(highest_image_, code);
  largest_width_ = std::max<int32_t>(largest_width_, record.width);
  largest_height_ = std::max<int32_t>(largest_height_, record.height);
  largest_advance_ = std::max(largest_advance_, record.advance);
  offsets_.set(code, static_cast<uint32_t>(out_.position()));
  out_.putBytes(image, size);
}

void VbtWriter::pointUnreachedCodes(const CodeRange& range) {
  offsets_.touch(range);
  int64_t filler = -1;
  for (int32_t c = range.first; c <= range.last; ++c) {
    if (offsets_.at(c) != 0) continue;
    if (filler < 0) {
      filler = out_.position();
      out_.put8(0);
    }
    offsets_.set(static_cast<uint32_t>(c), static_cast<uint32_t>(filler));
  }
}

bool VbtWriter::finish(const MetricsTable& metrics, const CodeRange& range, FontHeader header) {
  const int64_t codes = std::max(range.count(), 0);
  if (out_.position() + codes * static_cast<int64_t>(kMetricRecordSize + kOffsetEntrySize) > kMaxFileSize) {
    return false;
  }
  header.metric_pos = static_cast<int32_t>(out_.position());
  uint8_t record[kMetricRecordSize];
  for (int32_t c = range.first; c <= range.last; ++c) {
    encodeMetricRecord(metrics.at(c), record);
    out_.putBytes(record, sizeof record);
  }
  header.image_pos = static_cast<int32_t>(out_.position());
  uint8_t entry[kOffsetEntrySize];
  for (int32_t c = range.first; c <= range.last; ++c) {
    encodeOffsetEntry(offsets_.at(c), entry);
    out_.putBytes(entry, sizeof entry);
  }
  header.magic = kVbtMagic;
  header.flags = kFlagBase | (metrics.advancesEqual(range) ? kFlagFixedWidth : 0);
  header.largest_width = static_cast<uint16_t>(largest_width_);
  header.largest_height = static_cast<uint16_t>(largest_height_ - 1);
  header.code_count = range.count();
  uint8_t bytes[kHeaderSize];
  encodeFontHeader(header, bytes);
  out_.rewriteStart(bytes, sizeof bytes);
  return true;
}
