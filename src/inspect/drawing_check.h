// Where a VBT2 file draws something other than its BDF font: every code of
// the file's range held against the font's own glyph for it, as
// readFontDrawing read it. Nothing in the file is trusted, so files of any
// origin, sound or not, can be checked.
#ifndef BDF2VBT_INSPECT_DRAWING_CHECK_H
#define BDF2VBT_INSPECT_DRAWING_CHECK_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vbtdump {

struct FontDrawing;
class VbtFile;

// The conversion options that change what a code draws.
struct DrawingOptions {
  int32_t code_offset = 0;   // -A: the file's codes are the font's plus this
  bool fixed_width = false;  // -w: every code has the largest advance of the range
};

// Codes drawn wrong that a check lists; the rest are counted.
constexpr size_t kListedWrongCodes = 20;

struct DrawingCheck {
  std::vector<std::string> listed;   // the first codes drawn wrong, one sentence each
  int64_t wrong = 0;                 // codes drawn wrong, or whose tables are not in the file
  int64_t unlisted = 0;              // of those, the codes no sentence names
  int64_t glyphs = 0;                // codes of the range the font has a glyph for
  int64_t empty_codes = 0;           // codes of the range it has none for
};

// Checks every code of `file`'s range. A code draws wrong when its metrics
// record differs from what the font's last record of that code gives (under
// fixed_width its advance from the largest of the range), when the pixels of
// its image, within its width, differ from that record's rows, or, for a code
// the font has no glyph for, when it is not 1 x 1 with a zero image byte. An
// image must lie between the name record and the metrics table.
DrawingCheck checkDrawing(const FontDrawing& font, const VbtFile& file, const DrawingOptions& options);

}  // namespace vbtdump

#endif  // BDF2VBT_INSPECT_DRAWING_CHECK_H
