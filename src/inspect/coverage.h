// Which characters of an application's strings a font lacks, and what a
// font of just the characters it has would weigh.
#ifndef BDF2VBT_INSPECT_COVERAGE_H
#define BDF2VBT_INSPECT_COVERAGE_H

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace vbtdump {

class VbtFile;

// The code points of UTF-8 `text` and how often each occurs, control
// characters (U+0000..U+001F, U+007F..U+009F) left out. False, with *bad_at
// set to its byte offset, at the first sequence that is not UTF-8.
bool countCodePoints(std::string_view text, std::map<int32_t, int64_t>* counts, size_t* bad_at);

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

// The report on `used` code points: a line for each that `has_glyph` says
// the font lacks ("U+00E9 é 3": the code, the character, its count), then a
// summary with the -S/-E range of those it has and `weigh`'s weight of it.
// Sets *missing when any is lacking.
std::string coverageReport(const std::map<int32_t, int64_t>& used, const std::function<bool(int32_t)>& has_glyph,
                           const std::function<std::optional<Weight>(int32_t, int32_t)>& weigh, bool* missing);

}  // namespace vbtdump

#endif  // BDF2VBT_INSPECT_COVERAGE_H
