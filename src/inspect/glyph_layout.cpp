#include "inspect/glyph_layout.h"

#include <algorithm>

namespace vbtdump {

namespace {

PlacedGlyph emptyBox(const VbtFile& file) {
  const Extent box = fontBoxExtent(file);
  PlacedGlyph g;
  g.width = std::max<int64_t>(box.width() - 1, 2);
  g.height = std::max<int64_t>(box.above - 1, 2);
  g.top = g.height;
  g.advance = g.width + 1;
  return g;
}

}  // namespace

bool PlacedGlyph::pixel(int64_t x, int64_t y) const {
  if (x < 0 || y < 0 || x >= width || y >= height) return false;
  if (glyph) return glyph->pixel(x, y);
  return x == 0 || y == 0 || x == width - 1 || y == height - 1;
}

PlacedGlyph placeCode(const VbtFile& file, int64_t code) {
  const int64_t i = file.indexOf(code);
  std::optional<Glyph> glyph = i >= 0 ? file.glyph(i) : std::nullopt;
  if (!glyph || glyph->isFiller()) return emptyBox(file);
  PlacedGlyph g;
  g.glyph = glyph;
  g.left = glyph->metrics.x_offset;
  g.top = glyph->metrics.ascent;
  g.width = glyph->metrics.width;
  g.height = glyph->metrics.height;
  g.advance = glyph->metrics.advance;
  return g;
}

void Extent::include(const PlacedGlyph& g, int64_t pen) {
  left = std::min({left, pen + g.left, pen + g.advance});
  right = std::max({right, pen + g.left + g.width, pen + g.advance});
  above = std::max(above, g.top);
  below = std::max(below, g.height - g.top);
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
