// Glyphs placed on a baseline, as the text rendering and the specimen sheet
// draw them: the box of a glyph lies x offset pixels right of the pen and
// reaches ascent rows above the baseline; the pen then moves on by the
// advance. A code that the font lacks (outside the range, or a one-byte
// filler) is drawn as an empty box.
#ifndef BDF2VBT_INSPECT_GLYPH_LAYOUT_H
#define BDF2VBT_INSPECT_GLYPH_LAYOUT_H

#include <cstdint>
#include <optional>

#include "inspect/vbt_file.h"

namespace vbtdump {

// What a code looks like on the baseline.
struct PlacedGlyph {
  std::optional<Glyph> glyph;   // nullopt: the empty box
  int64_t left = 0;             // box's left edge, pixels right of the pen
  int64_t top = 0;              // rows of the box above the baseline
  int64_t width = 0;
  int64_t height = 0;
  int64_t advance = 0;

  // Pixel (x, y) of the box, top row 0.
  bool pixel(int64_t x, int64_t y) const;
};

// The glyph of `code`, or the empty box when the font has none.
PlacedGlyph placeCode(const VbtFile& file, int64_t code);

// The smallest area that holds everything drawn around one baseline, in
// pixels relative to the starting pen position.
struct Extent {
  int64_t left = 0;    // leftmost column (0 or less)
  int64_t right = 0;   // one past the rightmost column
  int64_t above = 0;   // rows above the baseline
  int64_t below = 0;   // rows below it

  int64_t width() const { return right - left; }
  int64_t height() const { return above + below; }
  // Widens the area to hold `g` drawn with its pen at `pen`.
  void include(const PlacedGlyph& g, int64_t pen);
};

// The font box around the baseline: width, rows above and rows below, from
// the header.
Extent fontBoxExtent(const VbtFile& file);

}  // namespace vbtdump

#endif  // BDF2VBT_INSPECT_GLYPH_LAYOUT_H
