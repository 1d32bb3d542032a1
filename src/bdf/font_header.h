// The first reader stage: the BDF header lines.
#ifndef BDF2VBT_BDF_FONT_HEADER_H
#define BDF2VBT_BDF_FONT_HEADER_H

#include <cstdint>
#include <string>

class BdfReport;
class LineReader;

// The font-wide values of the header.
struct BdfFontHeader {
  bool has_font_name = false;   // the FONT line was read
  std::string font_name;        // the rest of the FONT line
  float point_size = 0;         // SIZE
  int32_t resolution_x = 0;
  int32_t resolution_y = 0;
  int32_t box_width = 0;        // FONTBOUNDINGBOX
  int32_t box_height = 0;
  int32_t box_x_offset = 0;
  int32_t box_y_offset = 0;
};

// Reads STARTFONT 2.1, FONT, SIZE and FONTBOUNDINGBOX, which must follow one
// another, into *header. Returns false after reporting the first bad line;
// values scanned from a bad line before the mismatch are kept.
bool readFontHeader(LineReader& reader, BdfReport& report, BdfFontHeader* header);

#endif  // BDF2VBT_BDF_FONT_HEADER_H
