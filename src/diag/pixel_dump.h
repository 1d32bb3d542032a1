// The verbose pixel dump: bitmaps shown as rows of '*' and ' '.
#ifndef BDF2VBT_DIAG_PIXEL_DUMP_H
#define BDF2VBT_DIAG_PIXEL_DUMP_H

#include <cstdint>

class TextOut;

// Prints `rows` rows of `bytes_per_row` bytes from `data`: each row on a line
// of its own, after a line feed, as its number ("%2u:") and 8 pixel
// characters per byte, leftmost (most significant bit) first, '*' for a set
// bit; then a final line feed. An empty bitmap prints one line feed.
void printBitmap(TextOut& out, const uint8_t* data, int32_t bytes_per_row, int32_t rows);

#endif  // BDF2VBT_DIAG_PIXEL_DUMP_H
