#include "inspect/bdf_font.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

#include "bdf/characters.h"
#include "bdf/glyph_record.h"
#include "bdf/header.h"
#include "bdf/line_reader.h"
#include "bdf/properties.h"
#include "bdf/scan.h"
#include "conversion_state.h"
#include "font/output_file.h"

namespace vbtdump {

bool BdfGlyph::pixel(int64_t x, int64_t y) const {
  if (x < 0 || y < 0 || x >= width || y >= height) return false;
  const int64_t at = y * row_bytes + x / 8;
  if (at >= static_cast<int64_t>(bitmap.size())) return false;
  return (bitmap[static_cast<size_t>(at)] & (0x80 >> (x % 8))) != 0;
}

namespace {

// The glyph the reader has just decoded into the state.
BdfGlyph keepGlyph(const ConversionState& st, const GlyphRecord& record) {
  BdfGlyph g;
  g.name = record.name;
  g.width = st.bbw;
  g.height = st.bbh;
  g.x_offset = st.bbox;
  g.y_offset = st.bboy;
  g.advance = st.dwidthx;
  g.row_bytes = st.bytes_per_bdf_line;
  const int64_t bytes = std::min<int64_t>(int64_t{g.height} * g.row_bytes, kBitmapSize);
  g.bitmap.assign(st.bitmap, st.bitmap + bytes);
  return g;
}

// Reads glyph records while lines begin with STARTCHAR, as a conversion pass
// does.
bool readGlyphs(ConversionState& st, BdfInput& in, BdfFont* font) {
  char buffer[kLineSize];
  const char* line = bdfGetLine(in, buffer, kLineSize);
  while (line && startsWith(line, "STARTCHAR")) {
    GlyphRecord record;
    if (!bdfReadGlyphRecord(st, in, line, record)) return false;
    if (codeHasSlot(record.code)) font->glyphs[record.code] = keepGlyph(st, record);
    line = bdfGetLine(in, buffer, kLineSize);
  }
  return true;
}

// Header, properties, CHARS and the glyph records, as a conversion reads them.
bool readStages(ConversionState& st, BdfInput& in, BdfFont* font) {
  OutputFile name_record;
  st.outfile = &name_record;
  const bool header_ok = bdfReadHeader(st, in) == 1;
  st.outfile = nullptr;
  if (!header_ok) return false;
  font->font_name = st.fontname;
  font->box_width = st.bound_width;
  font->box_height = st.bound_height;
  font->box_y_offset = st.bound_disp_y;
  bdfReadProperties(st, in);
  return bdfReadCharsLine(st, in) && readGlyphs(st, in, font);
}

}  // namespace

bool readBdfFont(ConversionState& st, const std::string& path, BdfFont* font,
                 std::string* error) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    *error = strerror(errno);
    return false;
  }
  BdfInput in(fd);
  bool ok = readStages(st, in, font);
  if (in.error() != 0) {
    *error = strerror(in.error());
    ok = false;
  } else if (!ok) {
    *error = "the BDF font has errors; nothing was compared";
  }
  close(fd);
  return ok;
}

}  // namespace vbtdump
