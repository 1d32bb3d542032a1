#include "inspect/text_render.h"

#include "inspect/glyph_layout.h"
#include "inspect/vbt_file.h"

namespace vbtdump {

namespace {

// Rows of characters, one more than the width per row for the line feed.
class CharCanvas {
 public:
  explicit CharCanvas(const Extent& area)
      : area_(area), stride_(area.width() + 1),
        text_(static_cast<size_t>(stride_ * area.height()), '.') {
    for (int64_t y = 0; y < area.height(); ++y) text_[static_cast<size_t>(y * stride_ + area.width())] = '\n';
  }

  void draw(const PlacedGlyph& g, int64_t pen) {
    const int64_t x0 = pen + g.left - area_.left;
    const int64_t y0 = area_.above - g.top;
    for (int64_t y = 0; y < g.height; ++y) {
      for (int64_t x = 0; x < g.width; ++x) {
        if (g.pixel(x, y)) text_[static_cast<size_t>((y0 + y) * stride_ + x0 + x)] = '#';
      }
    }
  }

  std::string text() const { return text_; }

 private:
  Extent area_;
  int64_t stride_;
  std::string text_;
};

}  // namespace

std::optional<std::string> renderText(const VbtFile& file, const std::vector<int32_t>& codes) {
  if (codes.empty()) return std::string();
  std::vector<PlacedGlyph> glyphs;
  Extent area = fontBoxExtent(file);
  area.right = 0;
  int64_t pen = 0;
  for (int32_t code : codes) {
    glyphs.push_back(placeCode(file, code));
    area.include(glyphs.back(), pen);
    pen += glyphs.back().advance;
  }
  const int64_t columns = area.width() + 1;
  if (columns > kMaxTextCells || area.height() > kMaxTextCells ||
      columns * area.height() > kMaxTextCells) {
    return std::nullopt;
  }
  CharCanvas canvas(area);
  pen = 0;
  for (const PlacedGlyph& g : glyphs) {
    canvas.draw(g, pen);
    pen += g.advance;
  }
  return canvas.text();
}

}  // namespace vbtdump
