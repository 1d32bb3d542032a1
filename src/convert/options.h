// What decides the bytes of a conversion, as values, and how it reads its
// input.
#ifndef BDF2VBT_CONVERT_OPTIONS_H
#define BDF2VBT_CONVERT_OPTIONS_H

#include <cstdint>

// How a conversion reads its input. Whichever way it reads, it gives the
// same file and the same messages. The build options of the same names set
// the defaults.
struct ReadingStrategy {
  bool usual_heads = BDF2VBT_USUAL_HEADS;  // record heads in the usual form read in one step
  bool keep_rows = BDF2VBT_KEEP_ROWS;      // rows read as a block kept decoded for the image pass
};

// What decides the bytes of a conversion.
struct ConversionOptions {
  int32_t lowest_code = 0;             // -S: lowest code converted
  int32_t code_limit = 65535;          // -E, -N: codes from here up are not converted
  int32_t code_offset = 0;             // -A: added to the first code in the header
  int16_t box_height_adjustment = 0;   // -a: added to the font box height
  int32_t baseline = 0;                // -b: baseline row; 0 = from the font box
  int32_t underline = 0;               // -u: underline row; 0 = from the font box
  bool fixed_width = false;            // -w: every code gets the largest advance
  int32_t verbose = 0;                 // -v, counted: traces and pixel dumps
};

#endif  // BDF2VBT_CONVERT_OPTIONS_H
