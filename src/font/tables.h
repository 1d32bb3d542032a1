// The end of a conversion: metrics table, image offset table, final header.
#ifndef BDF2VBT_FONT_TABLES_H
#define BDF2VBT_FONT_TABLES_H

struct ConversionState;

// Appends the metrics records and the image offsets of the codes AsciiOffset..
// HighestAscii, computes baseline, underline and the fixed-width flag, and
// writes the header over the placeholder at position 0. Returns false, writing
// nothing, after reporting tables that would end beyond 32-bit positions.
bool writeFinalTables(ConversionState& st);

#endif  // BDF2VBT_FONT_TABLES_H
