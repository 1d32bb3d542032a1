// What the device reader draws, held against a plain reading of the BDF
// font (inspect/font_drawing.h): every code, through both ways of reaching
// the file's bytes, pixel for pixel.
#ifndef BDF2VBT_TESTS_READER_DIFFERENTIAL_H
#define BDF2VBT_TESTS_READER_DIFFERENTIAL_H

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Codes drawn wrong that a result lists; the rest are counted.
constexpr size_t kListedWrongDrawings = 10;

struct ReaderDifferential {
  int64_t glyphs = 0;                 // codes the file has a glyph of the font for
  int64_t empty_glyphs = 0;           // glyphs of the font that look like an empty record
  int64_t empty_codes = 0;            // codes checked that the file has no glyph for
  int64_t wrong = 0;                  // codes answered or drawn wrong, each way counted
  std::vector<std::string> listed;    // the first of them, one sentence each
};

// The bytes of the file at `path`; empty when it cannot be read.
std::string readWholeFile(const std::string& path);

// The VBT2 file bdf2vbt writes from `bdf` (with -w when `fixed_width`), or
// nullopt when it refuses the font.
std::optional<std::vector<uint8_t>> convertForReader(std::string_view bdf, bool fixed_width);

// Opens `file` in memory and through a read callback and checks every code
// 0..65536 and one beyond 31 bits against what `bdf` draws: a code of the
// file's range that the font has a glyph for must be found with its
// metrics (its advance the largest of the range under -w) and draw its
// pixels with its box at each of the 8 bit positions of a byte; any other
// code, and a glyph that looks like an empty record, must be not present.
ReaderDifferential checkReaderDraws(std::string_view bdf, const std::vector<uint8_t>& file, bool fixed_width);

#endif  // BDF2VBT_TESTS_READER_DIFFERENTIAL_H
