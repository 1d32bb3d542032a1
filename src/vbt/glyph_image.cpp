#include "vbt/glyph_image.h"

#include <algorithm>
#include <cstring>

#include "vbt/format.h"

void makeGlyphImage(const BitmapRows& source, int32_t record_width, uint8_t* image) {
  const int32_t image_row = static_cast<int32_t>(imageRowBytes(record_width));
  const int32_t shared = std::max(std::min(image_row, source.row_bytes), 0);
  // Bytes wholly inside the glyph's width are copied; the byte its width
  // ends in keeps its leftmost pixels; the rest are zero.
  const int32_t whole = std::min(shared, source.width / 8);
  const bool partial = source.width % 8 != 0 && whole < shared;
  const uint8_t mask = static_cast<uint8_t>(0xFF << (8 - source.width % 8));
  if (image_row == source.row_bytes && whole + (partial ? 1 : 0) == image_row) {
    // The usual case: the rows as they are, the last byte of each masked.
    memcpy(image, source.bytes, static_cast<size_t>(int64_t{source.rows} * image_row));
    if (partial) {
      for (int32_t r = 0; r < source.rows; ++r) image[int64_t{r} * image_row + whole] &= mask;
    }
    return;
  }
  for (int32_t r = 0; r < source.rows; ++r) {
    const uint8_t* from = source.bytes + int64_t{r} * source.row_bytes;
    uint8_t* to = image + int64_t{r} * image_row;
    memcpy(to, from, static_cast<size_t>(whole));
    if (partial) to[whole] = from[whole] & mask;
    memset(to + whole + (partial ? 1 : 0), 0, static_cast<size_t>(image_row - whole - (partial ? 1 : 0)));
  }
}
