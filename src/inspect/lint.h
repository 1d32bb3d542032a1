// vbtdump --lint: what bdf2vbt reports of a BDF font, and what it converts
// but leaves out or bends, each with the line it comes from.
#ifndef BDF2VBT_INSPECT_LINT_H
#define BDF2VBT_INSPECT_LINT_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "convert/options.h"

namespace vbtdump {

struct LintFinding {
  size_t line = 0;      // the text line it is about (from 1); 0: the whole font
  bool error = false;   // bdf2vbt fails on it; else it converts, but loses or bends something
  std::string text;
};

struct LintResult {
  std::vector<LintFinding> findings;   // in line order
  int errors = 0;
  int warnings = 0;
  std::string summary;                 // what the font gives, and the findings counted by kind
};

// Lints the BDF text `bdf` as bdf2vbt converts it with `options`. Its errors
// are those the converter itself reports, each once, with the glyph's name
// where there is one: there are errors exactly when bdf2vbt fails on the
// text. Its warnings come from a reading of its own: glyph records out of
// code order, codes given twice, glyphs without a place in the file (no
// encoding, above U+FFFF, outside -S/-E) or without advance beyond the ends
// of the range, pixels beyond a glyph's box, a CHARS count unlike the
// records, lines cut at 1,023 characters, a last line without a line feed.
// `file_name` is the name bdf2vbt gives the output, which its name record
// holds.
LintResult lintFont(const ConversionOptions& options, std::string_view bdf, const std::string& file_name);

}  // namespace vbtdump

#endif  // BDF2VBT_INSPECT_LINT_H
