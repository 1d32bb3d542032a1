// One glyph record of the glyph section, STARTCHAR to ENDCHAR.
#ifndef BDF2VBT_BDF_GLYPH_RECORD_H
#define BDF2VBT_BDF_GLYPH_RECORD_H

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

class BdfReport;
class LineReader;

constexpr int32_t kBitmapCapacity = 65536;   // bytes of one glyph's bitmap
constexpr int32_t kMaxBoxSide = 32767;       // widths and heights fit 16 bits
constexpr size_t kMaxGlyphName = 99;         // characters of a glyph name kept

// The glyph being read.
struct GlyphRecord {
  // Only the name's first character is cleared: a record is made for every
  // glyph, and its name is written before anything reads it.
  GlyphRecord() { name[0] = '\0'; }

  char name[kMaxGlyphName + 1];        // STARTCHAR word, for messages
  int32_t code = 0;                    // ENCODING, or its alternative after -1
  int32_t swidth_x = 0;                // SWIDTH
  int32_t swidth_y = 0;
  int32_t advance = 0;                 // DWIDTH x
  int32_t dwidth_y = 0;
  int32_t width = 0;                   // BBX
  int32_t height = 0;
  int32_t x_offset = 0;
  int32_t y_offset = 0;
  int32_t row_bytes = 0;               // bytes per bitmap row: (width + 7) / 8
  int64_t rows = 0;                    // bitmap rows read
  size_t start = 0;                    // where its STARTCHAR line starts
  size_t rows_start = 0;               // where the line after BITMAP starts
  bool rows_in_block = false;          // the rows were `height` lines of 2 * row_bytes hex
                                       // digits each, then ENDCHAR
};

// The bitmap rows of the glyph being read, decoded: top row first, most
// significant bit leftmost. Rows longer than the glyph run on into the bytes
// of the rows after them. Kept from glyph to glyph: only the bytes a glyph
// set are cleared for the next.
class GlyphBitmap {
 public:
  const uint8_t* bytes() const { return bytes_.data(); }
  // Bytes from here on are zero.
  int32_t used() const { return used_; }
  // Rows of `glyph` to show: those read, as far as they fit.
  int32_t rowsShown(const GlyphRecord& glyph) const;

 private:
  friend class RowDecoder;
  std::array<uint8_t, kBitmapCapacity> bytes_{};
  int32_t used_ = 0;   // bytes that may not be zero
};

// True for codes that have a place in a font's tables.
inline bool codeHasSlot(int32_t code) { return code >= 0 && code <= 65535; }

// Reads the record whose STARTCHAR line is `startchar`: ENCODING, SWIDTH,
// DWIDTH, BBX and BITMAP in this order (with `usual_heads`, in one step when
// they are in the usual form; they read alike either way), then the rows up
// to ENDCHAR. The rows are decoded into `bitmap` when one is given, else
// only checked; their problems (odd hex rows, bad hex characters) are
// reported either way and the record goes on. Returns false after reporting
// the first bad line.
bool readGlyphRecord(LineReader& reader, BdfReport& report, std::string_view startchar, bool usual_heads,
                     GlyphRecord* glyph, GlyphBitmap* bitmap);

// Reads the rows of a record once more, from glyph->rows_start on, for a
// glyph whose width is known: as readGlyphRecord reads them.
bool readGlyphRows(LineReader& reader, BdfReport& report, GlyphRecord* glyph, GlyphBitmap* bitmap);

// Bytes past its rows that decodeRowsInBlock may write.
constexpr size_t kRowSpill = 8;

// Decodes the rows of a record that readGlyphRecord found in a block, from
// glyph.rows_start in `text` on, without checking them again: height rows of
// row_bytes bytes into `to`, which must have room for kRowSpill bytes more.
void decodeRowsInBlock(std::string_view text, const GlyphRecord& glyph, uint8_t* to);

#endif  // BDF2VBT_BDF_GLYPH_RECORD_H
