// The state of a conversion run: options, font-wide values, the current glyph,
// the code range and the output tables. One instance serves a whole run; the
// driver resets the per-file part before each operand.
#ifndef BDF2VBT_CONVERSION_STATE_H
#define BDF2VBT_CONVERSION_STATE_H

#include <cstdint>
#include <cstdio>
#include <string>

#include "font/vbt_format.h"

class BdfInput;
class OutputFile;

constexpr int kLineSize = 1024;        // bdfGetLine buffer: 1023 characters + terminator
constexpr int kGlyphNameSize = 100;    // glyph name: 99 characters + terminator
constexpr int kBitmapSize = 65536;     // bytes of `bitmap` and of `rast_map`
constexpr int kCodeCount = 65536;      // codes 0..65535 have table slots
constexpr int kMaxBoxSide = 32767;     // bbw, bbh must fit a signed 16-bit field

// A window of codes, empty or low..high, that covers every table entry changed
// since the tables were last reset: resetting them, and scanning them for the
// code range, then costs what one font uses, not all 65536 codes.
struct CodeWindow {
  int32_t low = kCodeCount;
  int32_t high = -1;
  void include(int32_t first, int32_t last) {
    if (first < low) low = first;
    if (last > high) high = last;
  }
  bool empty() const { return low > high; }
};

struct ConversionState {
  // Options, set once before the first operand.
  std::string fname;                  // -o: output directory with its trailing '/'
  const char* forceOname = nullptr;   // -O: output path for every operand
  int32_t ForceMinChar = 0;           // -S: lowest code converted
  int32_t ForceMaxChar = 65535;       // -E / -N: codes from here up are not converted
  int32_t ForceAsciiOffset = 0;       // -A: added to the header's first code
  int16_t bound_height_adjustment = 0;  // -a
  int32_t arg_baseline = 0;           // -b, 0 = computed
  int32_t arg_underline = 0;          // -u, 0 = computed
  uint8_t fix_width = 0;              // -w
  int32_t verbose = 0;                // number of -v

  // Where messages go: progress, warnings and traces; BDF errors.
  FILE* out = stdout;
  FILE* err = stderr;
  bool error_reported = false;        // a "BDF Error: " was printed for this operand

  // The open streams and the derived names of the current operand.
  BdfInput* infile = nullptr;
  OutputFile* outfile = nullptr;
  std::string vbtname;                // output base name with ".vbt"

  // Font-wide values from the BDF header.
  char fontname[kLineSize] = {};
  float pointSize = 0;
  int32_t resolution_x = 0, resolution_y = 0;
  int32_t bound_width = 0, bound_height = 0;
  int32_t bound_disp_x = 0, bound_disp_y = 0;

  // The current glyph record.
  int32_t swidthx = 0, swidthy = 0;
  int32_t dwidthx = 0, dwidthy = 0;
  int32_t bbw = 0, bbh = 0, bbox = 0, bboy = 0;
  int32_t bytes_per_bdf_line = 0;
  uint8_t bitmap[kBitmapSize] = {};
  uint8_t rast_map[kBitmapSize] = {};
  int32_t bitmap_dirty = 0;           // bytes of `bitmap` that may be non-zero
  int32_t rast_map_dirty = 0;         // bytes of `rast_map` that may be non-zero

  // The metrics table and the code range.
  MetricRecord MS[kCodeCount];
  CodeWindow ms_changed;                // records that may differ from the reset one
  int32_t AsciiOffset = 0x10000;
  int32_t HighestAscii = 0;
  int32_t AsciiLength = 0;

  // Image conversion and emission.
  int32_t bytes_per_rast_line = 0;
  int32_t rastbitmaplinecount = 0;
  uint32_t ImageOffsetTab[kCodeCount] = {};
  CodeWindow offsets_changed;           // entries that may be non-zero
  uint32_t previous = 0;
  int32_t largest_x = 0, largest_y = 0, largest_width = 0;

  // Final tables and header.
  int32_t metric_pos = 0, image_pos = 0;
  int32_t baseline = 0, underline = 0;
  FontHeader FS;
};

// Adds two 32-bit values with two's complement wrap-around, as the file format's
// arithmetic on input values is defined.
inline int32_t wrapAdd(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

inline int32_t wrapSub(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}

#endif  // BDF2VBT_CONVERSION_STATE_H
