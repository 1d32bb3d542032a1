// The round-trip check: does a VBT2 file hold what converting a BDF font
// with given options gives? The expected file is made by the converter's own
// code, then the two are compared field by field.
#ifndef BDF2VBT_INSPECT_COMPARE_H
#define BDF2VBT_INSPECT_COMPARE_H

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "convert/options.h"

namespace vbtdump {

class VbtFile;

// What converting a BDF font gives.
struct ExpectedFont {
  std::vector<uint8_t> bytes;            // the VBT2 file
  std::map<int32_t, std::string> names;  // the glyph name of every code with a glyph
};

// Converts the BDF text `bdf` in memory, as bdf2vbt would with `options`
// into a file whose name record holds `file_name`. Its problems are reported
// on standard error as the converter reports them; false after any.
bool convertText(const ConversionOptions& options, std::string_view bdf, std::string_view file_name,
                 ExpectedFont* expected);

// Converts the BDF font at `path` in memory, as bdf2vbt would with
// `options`; its problems are reported on standard error as the converter
// reports them. False, with *error set, when the font cannot be read or the
// conversion reported a problem.
bool convertForComparison(const ConversionOptions& options, const std::string& path, ExpectedFont* expected,
                          std::string* error);

struct Comparison {
  std::vector<std::string> mismatches;   // one sentence each
  int64_t glyphs = 0;                    // codes of the range with a BDF glyph
  int64_t empty_codes = 0;               // codes of the range without one
};

// Compares `file` with `expected`: the range of codes and the header values
// that do not depend on where things lie, the font name, every code's
// metrics record, every glyph's pixels within its box, and a zero byte for
// every code without glyph. `code_offset` is the -A of the conversion. Needs
// a file checkFile() found sound.
Comparison compareWith(const ExpectedFont& expected, int32_t code_offset, const VbtFile& file);

}  // namespace vbtdump

#endif  // BDF2VBT_INSPECT_COMPARE_H
