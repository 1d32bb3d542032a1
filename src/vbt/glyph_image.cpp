#include "vbt/glyph_image.h"

#include <algorithm>
#include <cstring>

#include "vbt/format.h"

namespace {

// Keeps the pixels of byte k of a row that lie inside a glyph `width` wide.
uint8_t widthMask(int32_t width, int32_t k) {
  const int32_t beyond = 8 * (k + 1) - width;
  if (beyond <= 0) return 0xFF;
  if (beyond >= 8) return 0;
  return static_cast<uint8_t>(0xFF << beyond);
}

}  // namespace

void makeGlyphImage(const BitmapRows& source, int32_t record_width, uint8_t* image) {
  const int32_t image_row = static_cast<int32_t>(imageRowBytes(record_width));
  const int32_t shared = std::min(image_row, source.row_bytes);
  for (int32_t r = 0; r < source.rows; ++r) {
    const uint8_t* from = source.bytes + int64_t{r} * source.row_bytes;
    uint8_t* to = image + int64_t{r} * image_row;
    for (int32_t k = 0; k < shared; ++k) to[k] = from[k] & widthMask(source.width, k);
    if (shared < image_row) memset(to + std::max(shared, 0), 0, static_cast<size_t>(image_row - std::max(shared, 0)));
  }
}
