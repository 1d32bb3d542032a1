// A BDF font read with the converter's own reader, kept as the glyphs a
// conversion would take from it.
#ifndef BDF2VBT_INSPECT_BDF_FONT_H
#define BDF2VBT_INSPECT_BDF_FONT_H

#include <cstdint>
#include <map>
#include <string>
#include <vector>

struct ConversionState;

namespace vbtdump {

// One glyph record as the reader decoded it.
struct BdfGlyph {
  std::string name;             // STARTCHAR word
  int32_t width = 0;            // BBX
  int32_t height = 0;
  int32_t x_offset = 0;
  int32_t y_offset = 0;
  int32_t advance = 0;          // DWIDTH x
  int32_t row_bytes = 0;        // (width + 7) / 8
  std::vector<uint8_t> bitmap;  // the decoded rows, top row first

  // Pixel (x, y), top row 0, as the rows set it; false outside the box.
  bool pixel(int64_t x, int64_t y) const;
};

struct BdfFont {
  std::string font_name;        // the text of the FONT line
  int32_t box_width = 0;        // FONTBOUNDINGBOX
  int32_t box_height = 0;
  int32_t box_y_offset = 0;
  std::map<int32_t, BdfGlyph> glyphs;   // by code 0..65535; a later record replaces an earlier
};

// Reads the BDF file at `path` with the converter's header, properties and
// glyph record readers, on `st` (whose options are left as they are). The
// reader reports BDF problems on st.err as it does in a conversion; a record
// or header error ends the reading. False, with *error set, when the file
// cannot be read or a stage failed.
bool readBdfFont(ConversionState& st, const std::string& path, BdfFont* font,
                 std::string* error);

}  // namespace vbtdump

#endif  // BDF2VBT_INSPECT_BDF_FONT_H
