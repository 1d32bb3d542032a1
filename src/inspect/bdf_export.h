// A VBT2 file written back as a BDF font, with the bdf2vbt options that
// rebuild the file from it.
//
// Every code of the range that is not a one-byte filler gets a glyph record
// (named uniXXXX) with its metrics and its rows in hex. What a BDF cannot
// carry goes into options: -A for a first code whose range does not fit the
// codes 0..65535, -u for an underline row that is not the one below the
// baseline, -w for a fixed width given to codes without glyph, -E 65536 for
// code 65535. Bytes of the image area that no code points at (the images of
// glyphs without advance outside the range) and the header's largest glyph
// are kept by glyphs without advance just outside the range.
#ifndef BDF2VBT_INSPECT_BDF_EXPORT_H
#define BDF2VBT_INSPECT_BDF_EXPORT_H

#include <cstdint>
#include <string>
#include <vector>

namespace vbtdump {

class VbtFile;

struct BdfExport {
  std::string text;                   // the BDF font
  std::vector<std::string> options;   // the bdf2vbt options of the rebuild
  int64_t glyphs = 0;                 // glyph records of codes of the range
  int64_t kept = 0;                   // glyph records outside the range
};

// The BDF text of `file` and the options that rebuild it. False, with
// *error set, for a file whose codes cannot all be BDF codes. Needs a file
// checkFile() found sound.
bool exportBdf(const VbtFile& file, BdfExport* result, std::string* error);

// What the rebuild of `file` from `exported` gives, its name record holding
// `file_name`: the same bytes, or the same glyphs in another layout (records
// that were out of code order, or given twice), or something else, with
// *mismatches the number of differences vbtdump --compare would list.
enum class Rebuild { kSameBytes, kSameGlyphs, kDiffers };
Rebuild checkRebuild(const VbtFile& file, const BdfExport& exported, const std::string& file_name,
                     int64_t* mismatches);

}  // namespace vbtdump

#endif  // BDF2VBT_INSPECT_BDF_EXPORT_H
