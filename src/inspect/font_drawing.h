// What a BDF font draws, read as plainly as the format allows: line by line,
// one character at a time, numbers by sscanf, no fast path and no code shared
// with the converter's reader. It is the yardstick that converted files are
// held against, so it must stay simple enough to be right by reading it.
#ifndef BDF2VBT_INSPECT_FONT_DRAWING_H
#define BDF2VBT_INSPECT_FONT_DRAWING_H

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "vbt/format.h"

namespace vbtdump {

// One code's glyph as its last record in the font gives it.
struct DrawnGlyph {
  std::string name;              // the STARTCHAR word
  MetricRecord metrics;          // width, height, ascent, x offset, advance
  std::vector<uint8_t> rows;     // height rows of (width + 7) / 8 bytes, top row
                                 // first, the pixels beyond the width clear
};

// The glyphs of a font by code, 0..65535.
struct FontDrawing {
  std::map<int32_t, DrawnGlyph> glyphs;
};

// Reads what the BDF text draws, by bdf2vbt's line rules: a line ends at a
// line feed, carriage returns are dropped, a line is cut after 1,023
// characters (the next one is lost and the rest is a line of its own), empty
// and COMMENT lines are skipped, a line's text ends at its first zero byte,
// and text after the last line feed is not a line. Rows
// are hex or picture rows; a long row runs on into the rows after it. False,
// with *error set, when the text is not laid out as a font bdf2vbt converts.
bool readFontDrawing(std::string_view text, FontDrawing* drawing, std::string* error);

}  // namespace vbtdump

#endif  // BDF2VBT_INSPECT_FONT_DRAWING_H
