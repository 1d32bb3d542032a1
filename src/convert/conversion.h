// One conversion of a BDF text into a VBT2 file, from the first line to the
// header written last. The one place that decides what a failed step means.
#ifndef BDF2VBT_CONVERT_CONVERSION_H
#define BDF2VBT_CONVERT_CONVERSION_H

#include <array>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "bdf/glyph_record.h"
#include "convert/metrics_pass.h"
#include "convert/options.h"
#include "vbt/metrics_table.h"
#include "vbt/vbt_writer.h"

class BdfReport;
class OutputStream;

// The tables of one output, kept by a run from font to font so that each
// font resets only what the one before it used.
struct ConversionTables {
  MetricsTable metrics;
  std::vector<GlyphList> glyphs;                 // the metrics pass's, a list a stretch
  ImageOffsetTable offsets;
  GlyphBitmap bitmap;                            // the glyph being read
  std::array<uint8_t, kBitmapCapacity> image;    // its image as the file stores it
};

// Told of every glyph record the metrics pass reads whose code has a place
// in the tables (vbtdump --compare names the codes it compares by them).
using GlyphSeen = std::function<void(const GlyphRecord&)>;

// Converts `bdf` as `options` say into a VBT2 file written to `out`, whose
// name record holds `file_name`. BDF problems and traces go through
// `report`, the out-of-sequence warning to report.out(). Returns true when
// the conversion completed with nothing reported: only then is the output
// whole and to be kept.
bool convertFont(const ConversionOptions& options, std::string_view bdf, std::string_view file_name,
                 ConversionTables& tables, OutputStream& out, BdfReport& report,
                 const GlyphSeen& seen = {});

#endif  // BDF2VBT_CONVERT_CONVERSION_H
