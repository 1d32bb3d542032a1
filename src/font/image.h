// Glyph image conversion and emission.
#ifndef BDF2VBT_FONT_IMAGE_H
#define BDF2VBT_FONT_IMAGE_H

#include <cstdint>

struct ConversionState;

// Converts the glyph in st.bitmap (rows of `bytes_per_bdf_line` bytes) into
// st.rast_map, with the row size of the width in record `code` (0..65535) of
// MS and the pixels beyond st.bbw cleared. When the code lies in
// [ForceMinChar, ForceMaxChar) the image is then appended to the output, after
// one-byte fillers for the codes skipped since the previous glyph, and the
// font maxima are updated. Returns false after reporting a converted image too
// large for st.rast_map (`name` names the glyph) or an output too large for
// 32-bit positions.
bool convertBDFtoRAST(ConversionState& st, int32_t bytes_per_bdf_line, int32_t code,
                      const char* name);

// Points every code of the range that received no image at one zero byte
// written at the current output position (only glyphs out of ascending order
// leave such codes).
void fillUnreachedCodes(ConversionState& st);

#endif  // BDF2VBT_FONT_IMAGE_H
