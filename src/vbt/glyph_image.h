// A glyph's image as the file stores it, made from the rows of its bitmap.
#ifndef BDF2VBT_VBT_GLYPH_IMAGE_H
#define BDF2VBT_VBT_GLYPH_IMAGE_H

#include <cstdint>

// The rows of a glyph's bitmap: `rows` rows of `row_bytes` bytes, top row
// first, the most significant bit of a byte its leftmost pixel; the glyph is
// `width` pixels wide.
struct BitmapRows {
  const uint8_t* bytes;
  int32_t row_bytes;
  int32_t width;
  int32_t rows;
};

// Writes the image of `source` with rows of (record_width + 7) / 8 bytes,
// the width of the code's metrics record (a later glyph of the same code may
// have given it another): each row takes the bytes the two row sizes share,
// with the pixels beyond the glyph's width cleared, and zeros after them.
// `image` must hold imageSize(record_width, rows) bytes.
void makeGlyphImage(const BitmapRows& source, int32_t record_width, uint8_t* image);

#endif  // BDF2VBT_VBT_GLYPH_IMAGE_H
