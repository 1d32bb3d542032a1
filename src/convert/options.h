// What decides the bytes of a conversion, as values, and how it reads its
// input.
#ifndef BDF2VBT_CONVERT_OPTIONS_H
#define BDF2VBT_CONVERT_OPTIONS_H

#include <cstddef>
#include <cstdint>

// How the metrics pass may read the glyph section: in stretches of at least
// `stretch_bytes` each, taken in turn by `threads` threads (0: one per core).
// Whichever way it reads, the bytes are the same.
struct ReadingPlan {
  int threads = 0;
  size_t stretch_bytes = size_t{1} << 20;
};

// What decides the bytes of a conversion, and how it reads its input.
struct ConversionOptions {
  int32_t lowest_code = 0;             // -S: lowest code converted
  int32_t code_limit = 65535;          // -E, -N: codes from here up are not converted
  int32_t code_offset = 0;             // -A: added to the first code in the header
  int16_t box_height_adjustment = 0;   // -a: added to the font box height
  int32_t baseline = 0;                // -b: baseline row; 0 = from the font box
  int32_t underline = 0;               // -u: underline row; 0 = from the font box
  bool fixed_width = false;            // -w: every code gets the largest advance
  int32_t verbose = 0;                 // -v, counted: traces and pixel dumps
  ReadingPlan reading;                 // not from the command line
};

#endif  // BDF2VBT_CONVERT_OPTIONS_H
