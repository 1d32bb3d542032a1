// What the metrics pass keeps of the glyph section: every glyph record read
// once, in order, and of each whose code has a place in the tables its
// metrics, where its rows are and, when they were read as a block, the rows
// decoded, so that the image pass needs no second look at them.
#ifndef BDF2VBT_CONVERT_GLYPH_LIST_H
#define BDF2VBT_CONVERT_GLYPH_LIST_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "bdf/glyph_record.h"
#include "vbt/format.h"

// A glyph record whose code has a place in the tables, as the metrics pass
// found it.
struct GlyphPlace {
  uint32_t rows_start;    // the input position of its first row (inputs stay below 4 GiB)
  uint32_t rows_at;       // where its decoded rows start in its list, when they are kept
  int32_t code;
  bool rows_kept;         // its rows are in the list, decoded
  MetricRecord metrics;   // the record it gives its code; its width and height are the glyph's
};

// The glyphs of the glyph section, in the order of their records, and the
// rows kept among them decoded, the pixels beyond each glyph's width
// cleared: the image of the glyph when its code's record has its width.
class GlyphList {
 public:
  // Empties the list for a glyph section of `bytes` bytes, keeping its room.
  void clear(size_t bytes);
  // Adds `glyph`, whose record in `text` was just read, keeping its rows
  // decoded when they were read as a block and `keep_rows` says so.
  void add(std::string_view text, const GlyphRecord& glyph, bool keep_rows = true);

  const std::vector<GlyphPlace>& places() const { return places_; }
  // The decoded rows of a place whose rows are kept.
  const uint8_t* rows(const GlyphPlace& place) const { return rows_.get() + place.rows_at; }

 private:
  // Room for `more` bytes of rows after those there.
  void reserveRows(size_t more);

  std::vector<GlyphPlace> places_;
  std::unique_ptr<uint8_t[]> rows_;
  size_t rows_size_ = 0;
  size_t rows_room_ = 0;
};

#endif  // BDF2VBT_CONVERT_GLYPH_LIST_H
