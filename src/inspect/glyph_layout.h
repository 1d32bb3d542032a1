// The area glyphs take around one baseline, as the specimen sheet lays its
// cells out: the box of a glyph lies x offset pixels right of the pen and
// reaches ascent rows above the baseline; the pen then moves on by the
// advance.
#ifndef BDF2VBT_INSPECT_GLYPH_LAYOUT_H
#define BDF2VBT_INSPECT_GLYPH_LAYOUT_H

#include <cstdint>

#include "vbt_reader.h"

namespace vbtdump {

class VbtFile;

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
  void include(const vbt_glyph& g, int64_t pen);
};

// The font box around the baseline: width, rows above and rows below, from
// the header.
Extent fontBoxExtent(const VbtFile& file);

}  // namespace vbtdump

#endif  // BDF2VBT_INSPECT_GLYPH_LAYOUT_H
