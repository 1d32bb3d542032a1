// One BDF glyph record, STARTCHAR to ENDCHAR.
#ifndef BDF2VBT_BDF_GLYPH_RECORD_H
#define BDF2VBT_BDF_GLYPH_RECORD_H

#include <cstdint>

#include "conversion_state.h"

class BdfInput;

// What a pass keeps of the record it read; the rest is in the state.
struct GlyphRecord {
  char name[kGlyphNameSize] = "";   // first 99 characters of the STARTCHAR word
  int32_t code = 0;                 // ENCODING, or its alternative after -1
  int64_t rows = 0;                 // bitmap rows read
};

// True for codes that have slots in the metrics and image offset tables.
inline bool codeHasSlot(int32_t code) { return code >= 0 && code < kCodeCount; }

// Reads the record whose STARTCHAR line is `startchar`: ENCODING, SWIDTH,
// DWIDTH, BBX and BITMAP in this order, then the rows up to ENDCHAR, decoded
// into st.bitmap. The widths and box go to the state. Returns false after
// reporting the first bad line; a bad hex character or an odd hex row is
// reported and the record goes on.
bool bdfReadGlyphRecord(ConversionState& st, BdfInput& in, const char* startchar,
                        GlyphRecord& glyph);

// Rows of st.bitmap to show for `glyph`: those read, as far as they fit.
int32_t bitmapRowsShown(const ConversionState& st, const GlyphRecord& glyph);

#endif  // BDF2VBT_BDF_GLYPH_RECORD_H
