#include "convert/glyph_list.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "convert/wrap_add.h"

namespace {

// The metrics record a glyph gives its code.
MetricRecord metricRecordOf(const GlyphRecord& glyph) {
  MetricRecord record;
  record.width = static_cast<int16_t>(glyph.width);
  record.height = static_cast<int16_t>(glyph.height);
  record.ascent = wrapAdd(glyph.height, glyph.y_offset);
  record.x_offset = glyph.x_offset;
  record.advance = glyph.advance;
  return record;
}

// Clears the pixels of each decoded row beyond the glyph's width, as its
// image has them.
void clearBeyondWidth(const GlyphRecord& glyph, uint8_t* rows) {
  if (glyph.width % 8 == 0) return;
  const uint8_t mask = static_cast<uint8_t>(0xFF << (8 - glyph.width % 8));
  const size_t row_bytes = static_cast<size_t>(glyph.row_bytes);
  uint8_t* const end = rows + static_cast<size_t>(glyph.height) * row_bytes;
  for (uint8_t* last = rows + row_bytes - 1; last < end; last += row_bytes) *last &= mask;
}

}  // namespace

void GlyphList::clear(size_t bytes) {
  places_.clear();
  rows_size_ = 0;
  // Room for what the glyph sections of real fonts hold: a record of some
  // 150 bytes, a fifth of them rows. It is only taken, not touched; without
  // it, or beyond it, the list grows as it fills.
  try {
    places_.reserve(bytes / 128);
    reserveRows(bytes / 4);
  } catch (const std::bad_alloc&) {
  }
}

void GlyphList::reserveRows(size_t more) {
  const size_t wanted = rows_size_ + more + kRowSpill;
  if (wanted <= rows_room_) return;
  const size_t room = std::max(wanted, 2 * rows_room_);
  std::unique_ptr<uint8_t[]> grown(new uint8_t[room]);
  if (rows_size_ > 0) memcpy(grown.get(), rows_.get(), rows_size_);
  rows_ = std::move(grown);
  rows_room_ = room;
}

void GlyphList::add(std::string_view text, const GlyphRecord& glyph, bool keep_rows) {
  const bool kept = glyph.rows_in_block && keep_rows;
  GlyphPlace place{static_cast<uint32_t>(glyph.rows_start), 0, glyph.code, kept, metricRecordOf(glyph)};
  if (kept) {
    const size_t size = static_cast<size_t>(glyph.height) * static_cast<size_t>(glyph.row_bytes);
    reserveRows(size);
    place.rows_at = static_cast<uint32_t>(rows_size_);
    decodeRowsInBlock(text, glyph, rows_.get() + rows_size_);
    clearBeyondWidth(glyph, rows_.get() + rows_size_);
    rows_size_ += size;
  }
  places_.push_back(place);
}
