// The first reader stage: the BDF header lines.
#ifndef BDF2VBT_BDF_HEADER_H
#define BDF2VBT_BDF_HEADER_H

struct ConversionState;
class BdfInput;

// Reads STARTFONT 2.1, FONT, SIZE and FONTBOUNDINGBOX, which must follow one
// another, into the state, and writes the name record to the output after the
// FONT line. Returns 1, or 0 after reporting the first bad line; values
// scanned from a bad line before the mismatch are kept.
int bdfReadHeader(ConversionState& st, BdfInput& in);

#endif  // BDF2VBT_BDF_HEADER_H
