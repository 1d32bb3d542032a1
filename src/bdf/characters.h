// The third reader stage: the glyph section, read twice.
#ifndef BDF2VBT_BDF_CHARACTERS_H
#define BDF2VBT_BDF_CHARACTERS_H

struct ConversionState;
class BdfInput;

// Reads the CHARS line that opens the glyph section: true when it holds a
// count of at least 1, else false after reporting it.
bool bdfReadCharsLine(ConversionState& st, BdfInput& in);

// Reads CHARS, then the glyph records up to the first line that does not begin
// with STARTCHAR, twice: the metrics pass fills the metrics table and fixes the
// code range, the image pass writes the images. Then writes the tables and the
// final header. Returns 1 when all of it completed, 0 after reporting an error.
int bdfReadCharacters(ConversionState& st, BdfInput& in);

#endif  // BDF2VBT_BDF_CHARACTERS_H
