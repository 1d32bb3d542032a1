// The specimen sheet: every code of a font's range in a grid of 16 codes per
// row, with its code in hex above each cell and its glyph drawn on a
// baseline, written as a PNG image.
//
// Each cell holds, from the top: a grid line, its label (dark for a code with
// a glyph, light for one the device reader finds not present), and the glyph
// area, drawn by the reader, where the space from the pen to the advance is
// shaded and the baseline is a blue line under the rows above it. Grid rows are aligned to multiples of 16; rows with no
// glyph in them are left out, and cells outside the range stay blank.
#ifndef BDF2VBT_INSPECT_PNG_SHEET_H
#define BDF2VBT_INSPECT_PNG_SHEET_H

#include <climits>
#include <cstdint>
#include <string>
#include <vector>

#include "inspect/glyph_layout.h"

namespace vbtdump {

class VbtFile;

constexpr int kDefaultScale = 2;
constexpr int kMaxScale = 16;
constexpr int kCodesPerRow = 16;
// Without --scale or --codes a sheet shows the grid rows that fit this
// height, from the first.
constexpr int64_t kDefaultMaxHeight = 4096;

// The codes a sheet shows: the grid rows with a glyph of first..last.
struct CodeSpan {
  int64_t first = INT64_MIN;
  int64_t last = INT64_MAX;
};

// What the command line asks of a sheet.
struct SheetRequest {
  int scale = 0;         // 0: the default, or the largest smaller one that fits
  bool has_codes = false;
  CodeSpan codes;        // with has_codes, the codes asked for
};

// Where the parts of the sheet lie, in pixels of the image.
struct SheetLayout {
  int64_t scale = 1;          // image pixels per glyph pixel, both ways
  int64_t dot = 1;            // image pixels per label dot, both ways
  int64_t digits = 4;         // characters per label
  Extent glyphs;              // glyph area of every cell, in glyph pixels
  int64_t cell_width = 0;     // from one grid line to the next
  int64_t cell_height = 0;
  std::vector<int64_t> rows;  // the first code of each grid row shown
  int64_t rows_left_out = 0;  // grid rows with glyphs after those, not shown

  int64_t width() const { return kCodesPerRow * cell_width + 1; }
  int64_t height() const { return static_cast<int64_t>(rows.size()) * cell_height + 1; }
  // Left edge of the content of column `col` (label and glyph area).
  int64_t contentX(int64_t col) const { return col * cell_width + 2; }
  // Top of the glyph area, from the top of its grid row.
  int64_t glyphTop() const { return 5 * dot + 4; }
  // The pen's position in column `col`.
  int64_t penX(int64_t col) const { return contentX(col) - glyphs.left * scale; }
  // The first image row below the baseline, from the top of its grid row.
  int64_t baselineY() const { return glyphTop() + glyphs.above * scale; }
};

// The sheet of the codes `span` of `file` at `scale` (1..kMaxScale). Needs a
// file checkFile() found sound.
SheetLayout layoutSheet(const VbtFile& file, int scale, const CodeSpan& span = {});

// Draws the sheet of `file` as a PNG into *png_bytes and sets *layout to
// its layout. The scale is the one asked for, or the default or the largest
// smaller one at which the sheet is not too large; without a scale or codes
// asked for, only the grid rows that fit kDefaultMaxHeight are drawn. False,
// with *error set, when there is nothing to show or the sheet would be too
// large. Needs a sound file.
bool drawSheet(const VbtFile& file, const SheetRequest& request, SheetLayout* layout,
               std::vector<uint8_t>* png_bytes, std::string* error);

}  // namespace vbtdump

#endif  // BDF2VBT_INSPECT_PNG_SHEET_H
