#include "inspect/glyph_layout.h"

#include <algorithm>

#include "inspect/vbt_file.h"

namespace vbtdump {

void Extent::include(const vbt_glyph& g, int64_t pen) {
  left = std::min({left, pen + g.x_offset, pen + g.advance});
  right = std::max({right, pen + g.x_offset + g.width, pen + g.advance});
  above = std::max<int64_t>(above, g.ascent);
  below = std::max(below, int64_t{g.height} - g.ascent);
}

Extent fontBoxExtent(const VbtFile& file) {
  const FontHeader& h = file.header();
  Extent box;
  box.right = h.box_width;
  box.above = std::max<int64_t>(int64_t{static_cast<int16_t>(h.baseline)} + 1, 0);
  box.below = std::max<int64_t>(int64_t{h.box_height} - box.above, 0);
  return box;
}

}  // namespace vbtdump
