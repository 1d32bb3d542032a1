// vbtdump --compare: a VBT2 file held against its BDF font twice. What it
// draws, code by code, against a plain reading of the font (font_drawing.h,
// drawing_check.h), which works on files of any origin; and its bytes,
// against what bdf2vbt writes from the font with the same options.
#ifndef BDF2VBT_INSPECT_COMPARE_H
#define BDF2VBT_INSPECT_COMPARE_H

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "convert/options.h"

namespace vbtdump {

class VbtFile;

// What converting a BDF font gives.
struct ExpectedFont {
  std::vector<uint8_t> bytes;            // the VBT2 file
  std::vector<int32_t> glyph_codes;      // the codes with a glyph, ascending
};

// Converts the BDF text `bdf` in memory, as bdf2vbt would with `options`
// into a file whose name record holds `file_name`. Its problems are reported
// on standard error as the converter reports them; false after any.
bool convertText(const ConversionOptions& options, std::string_view bdf, std::string_view file_name,
                 ExpectedFont* expected);

// Reads the BDF font at `path` into *text; false, with *error set, when it
// cannot be read.
bool readFontFile(const std::string& path, std::string* text, std::string* error);

// Where `file` first differs from `expected`, the bytes bdf2vbt writes, in
// words: the header field, the name record, the image area, or the code
// whose table entry it is. Empty when the two are the same bytes.
std::string firstByteDifference(const VbtFile& expected, const VbtFile& file);

// The header values of `file` that differ from those of `expected`, but for
// the table positions, and its font name when it differs, one sentence each.
std::vector<std::string> headerDifferences(const VbtFile& expected, const VbtFile& file);

// Both verdicts on `file` (read from `file_path`) against the BDF text `bdf`
// (read from `bdf_path`) converted with `options`: the codes drawn wrong
// (the first few, then their number), then a line "draws: ..." and a line
// "bytes: ...". Sets *ok when the file draws every code as the font does
// and holds the bytes bdf2vbt writes.
std::string compareReport(const ConversionOptions& options, std::string_view bdf, const std::string& bdf_path,
                          const VbtFile& file, const std::string& file_path, bool* ok);

}  // namespace vbtdump

#endif  // BDF2VBT_INSPECT_COMPARE_H
