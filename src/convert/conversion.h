// One conversion of a BDF text into a VBT2 file, from the first line to the
// header written last. The one place that decides what a failed step means.
#ifndef BDF2VBT_CONVERT_CONVERSION_H
#define BDF2VBT_CONVERT_CONVERSION_H

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "convert/options.h"

class BdfReport;
class OutputStream;
struct ConversionTables;

// Converts fonts one after the other, keeping its tables from font to font
// so that each font resets only what the one before it used.
class FontConverter {
 public:
  FontConverter();
  ~FontConverter();
  FontConverter(const FontConverter&) = delete;
  FontConverter& operator=(const FontConverter&) = delete;

  // Converts `bdf` as `options` say into a VBT2 file written to `out`, whose
  // name record holds `file_name`, reading as `strategy` says (tracing reads
  // line by line whatever it says). BDF problems and traces go through
  // `report`, the out-of-sequence warning to report.out(). Returns true when
  // the conversion completed with nothing reported: only then is the output
  // whole and to be kept.
  bool convert(const ConversionOptions& options, const ReadingStrategy& strategy, std::string_view bdf,
               std::string_view file_name, OutputStream& out, BdfReport& report);

  // The codes, in ascending order, of the glyph records the last conversion
  // read that have a place in the tables (codes 0..65535), in or out of its
  // range.
  std::vector<int32_t> glyphCodes() const;

 private:
  std::unique_ptr<ConversionTables> tables_;
};

#endif  // BDF2VBT_CONVERT_CONVERSION_H
