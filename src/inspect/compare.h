// The round-trip check: does a VBT2 file hold what converting a BDF font
// with given options must give?
#ifndef BDF2VBT_INSPECT_COMPARE_H
#define BDF2VBT_INSPECT_COMPARE_H

#include <cstdint>
#include <string>
#include <vector>

struct ConversionState;

namespace vbtdump {

struct BdfFont;
class VbtFile;

struct Comparison {
  std::vector<std::string> mismatches;   // one sentence each
  int64_t glyphs = 0;                    // codes of the range with a BDF glyph
  int64_t empty_codes = 0;               // codes of the range without one
};

// Compares `file` with what the conversion options in `options` (-S, -E,
// -N, -A, -a, -b, -u, -w) make of `font`: the range of codes and the header
// values, the font name, every code's metrics record, every glyph's pixels
// within its width against the BDF rows, and a 1 x 1 record with one zero
// byte for every code without glyph. Needs a file checkFile() found sound.
Comparison compareFont(const BdfFont& font, const ConversionState& options, const VbtFile& file);

}  // namespace vbtdump

#endif  // BDF2VBT_INSPECT_COMPARE_H
