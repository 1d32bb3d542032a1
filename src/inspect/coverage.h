// Which characters of an application's strings a font lacks, the -S/-E
// range that keeps the others, and what a file of that range weighs.
#ifndef BDF2VBT_INSPECT_COVERAGE_H
#define BDF2VBT_INSPECT_COVERAGE_H

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vbtdump {

class VbtFile;

// The code points of UTF-8 `text` and how often each occurs, control
// characters (U+0000..U+001F, U+007F..U+009F) and a leading byte-order mark
// left out. A byte that starts no UTF-8 sequence is skipped, its offset
// appended to *bad_at.
void countCodePoints(std::string_view text, std::map<int32_t, int64_t>* counts, std::vector<size_t>* bad_at);

// What a VBT2 file weighs, by its parts.
struct Weight {
  int64_t header = 0;
  int64_t name = 0;
  int64_t images = 0;    // bytes of the codes' images, fillers left out
  int64_t fillers = 0;   // one byte each
  int64_t tables = 0;
  int64_t total() const { return header + name + images + fillers + tables; }
};

// The weight of the codes first..last of a sound `file`, as a file of that
// range alone would have it.
Weight weighRange(const VbtFile& file, int64_t first, int64_t last);

// The weight of a sound `file` as it is.
Weight weighFile(const VbtFile& file);

// What a font offers a text.
struct FontGlyphs {
  std::function<bool(int32_t)> has_glyph;   // the font has a glyph of this code
  std::function<int32_t(int32_t)> advance;  // its advance (0 without a glyph)
  // The weight of a conversion with -S first -E limit, whose range is
  // range_first..range_last; nullopt when it cannot be known.
  std::function<std::optional<Weight>(int32_t first, int32_t limit, int32_t range_first, int32_t range_last)> weigh;
};

// The report on the code points `used` by the text `text_name`: a line for
// each that the font lacks ("U+00E9 'é' needed by strings.txt, 3 uses"), or
// that has a glyph without advance outside every range a conversion keeps,
// then the -S/-E range that keeps the others (reaching past a glyph without
// advance at either end to the next glyph with advance) and its weight. Sets
// *missing when any code point is lacking.
std::string coverageReport(const std::map<int32_t, int64_t>& used, const std::string& text_name,
                           const FontGlyphs& font, bool* missing);

}  // namespace vbtdump

#endif  // BDF2VBT_INSPECT_COVERAGE_H
