#include "bdf/characters.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "bdf/error.h"
#include "bdf/glyph_record.h"
#include "bdf/line_reader.h"
#include "bdf/scan.h"
#include "conversion_state.h"
#include "diag/pixel_dump.h"
#include "font/image.h"
#include "font/metrics.h"
#include "font/tables.h"

namespace {

enum class Pass { kMetrics, kImages };

// Where a pass ended: the input position and the number of glyph records.
struct PassEnd {
  int64_t position = 0;
  int64_t glyphs = 0;
  bool at_endfont = false;
  bool operator==(const PassEnd&) const = default;
};

}  // namespace

bool bdfReadCharsLine(ConversionState& st, BdfInput& in) {
  char buffer[kLineSize];
  const char* line = bdfGetLine(in, buffer, kLineSize);
  int32_t count = 0;
  int32_t* const values[] = {&count};
  if (!line || scanKeywordInts(line, "CHARS", values, 1) != 1) {
    bdfError(st, "bad 'CHARS' in bdf file\n");
    return false;
  }
  if (count < 1) {
    bdfError(st, "invalid number of CHARS in BDF file\n");
    return false;
  }
  if (st.verbose) fprintf(st.out, "encoding %d characters\n", count);
  return true;
}

namespace {

// What each pass does with a glyph record it has read. Codes without a table
// slot are passed over.
bool useGlyph(ConversionState& st, Pass pass, const GlyphRecord& glyph) {
  if (st.verbose) {
    display_bitmap(st.out, st.bitmap, st.bytes_per_bdf_line, bitmapRowsShown(st, glyph));
  }
  if (!codeHasSlot(glyph.code)) return true;
  if (pass == Pass::kMetrics) {
    setMetric(st, glyph.code);
    return true;
  }
  if (!convertBDFtoRAST(st, st.bytes_per_bdf_line, glyph.code, glyph.name)) return false;
  if (st.verbose) {
    display_bitmap(st.out, st.rast_map, st.bytes_per_rast_line, st.rastbitmaplinecount);
  }
  return true;
}

// Reads glyph records while lines begin with STARTCHAR; notes whether the
// line that ended them begins with ENDFONT.
bool runPass(ConversionState& st, BdfInput& in, Pass pass, PassEnd& end) {
  char buffer[kLineSize];
  const char* line = bdfGetLine(in, buffer, kLineSize);
  while (line && startsWith(line, "STARTCHAR")) {
    GlyphRecord glyph;
    if (!bdfReadGlyphRecord(st, in, line, glyph) || !useGlyph(st, pass, glyph)) {
      return false;
    }
    ++end.glyphs;
    line = bdfGetLine(in, buffer, kLineSize);
  }
  end.position = in.tell();
  end.at_endfont = line && startsWith(line, "ENDFONT");
  return true;
}

// A font cut off after a complete glyph record must not pass for a whole one.
bool checkEndFont(ConversionState& st, const PassEnd& end) {
  if (end.at_endfont) return true;
  bdfError(st, "missing 'ENDFONT'\n");
  return false;
}

// An empty range would give a file whose count of codes is negative.
bool checkRangeNotEmpty(ConversionState& st) {
  if (st.AsciiLength > 0) return true;
  bdfError(st, "nothing to convert in codes %d to %d\n", st.ForceMinChar, wrapSub(st.ForceMaxChar, 1));
  return false;
}

}  // namespace

int bdfReadCharacters(ConversionState& st, BdfInput& in) {
  if (!bdfReadCharsLine(st, in)) return 0;
  in.mark();
  PassEnd metrics_end;
  if (!runPass(st, in, Pass::kMetrics, metrics_end) || !checkEndFont(st, metrics_end)) return 0;
  scanCodeRange(st);
  if (!checkRangeNotEmpty(st)) return 0;
  if (!in.rewindToMark()) {
    bdfError(st, "can not read the glyph section a second time: %s\n",
             strerror(in.error() != 0 ? in.error() : ESPIPE));
    return 0;
  }
  PassEnd images_end;
  if (!runPass(st, in, Pass::kImages, images_end)) return 0;
  if (!(images_end == metrics_end)) {
    bdfError(st, "the input changed while it was read\n");
    return 0;
  }
  fillUnreachedCodes(st);
  return writeFinalTables(st) ? 1 : 0;
}
