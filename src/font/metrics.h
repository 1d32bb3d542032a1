// The metrics table MS (one record per 16-bit code) and the output code range.
#ifndef BDF2VBT_FONT_METRICS_H
#define BDF2VBT_FONT_METRICS_H

#include <cstdint>

struct ConversionState;

// Gives every code the record of a code without glyph: 1 x 1, advance 0.
void resetMetricTable(ConversionState& st);

// Stores the current glyph's box and advance as the record of `code`
// (0..65535), replacing an earlier glyph's.
void setMetric(ConversionState& st, int32_t code);

// Sets AsciiOffset, HighestAscii and AsciiLength to the lowest and highest
// code in [ForceMinChar, ForceMaxChar) whose advance is not zero. With no such
// code the range is empty: 65536..0, length -65535.
void scanCodeRange(ConversionState& st);

#endif  // BDF2VBT_FONT_METRICS_H
