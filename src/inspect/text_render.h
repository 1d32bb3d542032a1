// Text set in a VBT2 font, drawn with characters.
#ifndef BDF2VBT_INSPECT_TEXT_RENDER_H
#define BDF2VBT_INSPECT_TEXT_RENDER_H

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vbtdump {

class VbtFile;

// The largest picture renderText draws, in characters.
constexpr int64_t kMaxTextCells = int64_t{1} << 24;

// `codes` set on one baseline with the font's metrics, as lines of '#' (ink)
// and '.' (no ink), each ending in a line feed. The lines span the font box
// above and below the baseline, widened to what the glyphs reach; they start
// at the pen's first position or at the leftmost pixel left of it. Codes the
// font lacks show as empty boxes. Empty for no codes; nullopt when the
// picture would exceed kMaxTextCells. Needs a file checkFile() found sound.
std::optional<std::string> renderText(const VbtFile& file, const std::vector<int32_t>& codes);

}  // namespace vbtdump

#endif  // BDF2VBT_INSPECT_TEXT_RENDER_H
