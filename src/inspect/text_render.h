// Text set in a VBT2 font, drawn with characters by the device reader.
#ifndef BDF2VBT_INSPECT_TEXT_RENDER_H
#define BDF2VBT_INSPECT_TEXT_RENDER_H

#include <cstdint>
#include <optional>
#include <string>

namespace vbtdump {

class VbtFile;

// The largest picture renderText draws, in characters.
constexpr int64_t kMaxTextCells = int64_t{1} << 24;

// The UTF-8 `text` as the reader draws it from a pen on one baseline
// (vbt_draw_text, missing glyphs as boxes), as lines of '#' (ink) and '.'
// (no ink), each ending in a line feed. The lines span what the reader
// measures: the font box above and below the baseline, widened to what the
// glyphs reach, from the pen's first position or the leftmost pixel left of
// it. Empty for an empty text; nullopt when the picture would exceed
// kMaxTextCells. Needs a file checkFile() found sound.
std::optional<std::string> renderText(const VbtFile& file, const std::string& text);

}  // namespace vbtdump

#endif  // BDF2VBT_INSPECT_TEXT_RENDER_H
