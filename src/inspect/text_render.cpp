#include "inspect/text_render.h"

#include "inspect/vbt_file.h"

namespace vbtdump {

namespace {

// Rows of characters, one more than the width per row for the line feed.
struct CharPicture {
  int64_t columns;
  std::string text;
};

void setInk(void* context, int32_t x, int32_t y) {
  auto* picture = static_cast<CharPicture*>(context);
  picture->text[static_cast<size_t>(y * picture->columns + x)] = '#';
}

}  // namespace

std::optional<std::string> renderText(const VbtFile& file, const std::string& text) {
  if (text.empty()) return std::string();
  const vbt_font& font = *file.reader();
  vbt_extent extent;
  if (vbt_measure_text(&font, text.c_str(), VBT_NO_REPLACEMENT, &extent) != VBT_OK) return std::nullopt;
  const int64_t width = int64_t{extent.right} - extent.left, height = int64_t{extent.above} + extent.below;
  CharPicture picture{width + 1, ""};
  if (picture.columns > kMaxTextCells || height > kMaxTextCells || picture.columns * height > kMaxTextCells) {
    return std::nullopt;
  }
  picture.text.assign(static_cast<size_t>(picture.columns * height), '.');
  for (int64_t y = 0; y < height; ++y) picture.text[static_cast<size_t>(y * picture.columns + width)] = '\n';
  const vbt_canvas canvas{nullptr, 0, static_cast<int32_t>(width), static_cast<int32_t>(height), setInk, &picture};
  if (vbt_draw_text(&font, &canvas, -extent.left, extent.above, text.c_str(), VBT_NO_REPLACEMENT) != VBT_OK) {
    return std::nullopt;
  }
  return picture.text;
}

}  // namespace vbtdump
