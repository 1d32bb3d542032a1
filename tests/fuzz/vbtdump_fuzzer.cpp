// libFuzzer entry point for vbtdump: any bytes as a VBT2 file, and as the
// text of an application's strings. Nothing may read outside the buffer;
// what the check finds sound must describe, draw, be written back as BDF and
// rebuilt from it without fault, and what the dump accepts must dump; any
// file is held against a small font's drawing as vbtdump --compare does.
#include <cstddef>
#include <cstdint>
#include <map>
#include <string_view>
#include <vector>

#include "inspect/bdf_export.h"
#include "inspect/check.h"
#include "inspect/coverage.h"
#include "inspect/drawing_check.h"
#include "inspect/field_dump.h"
#include "inspect/font_drawing.h"
#include "inspect/png_sheet.h"
#include "inspect/summary.h"
#include "inspect/text_render.h"
#include "inspect/vbt_file.h"

namespace {

// Glyphs 0x41 (5 x 6) and 0x42 (10 x 2, picture rows) to hold files against.
const vbtdump::FontDrawing& smallFont() {
  static const vbtdump::FontDrawing font = [] {
    vbtdump::FontDrawing drawing;
    std::string error;
    vbtdump::readFontDrawing(
        "STARTFONT 2.1\nFONT f\nSIZE 8 75 75\nFONTBOUNDINGBOX 8 8 0 -2\nSTARTPROPERTIES 0\nENDPROPERTIES\nCHARS 2\n"
        "STARTCHAR A\nENCODING 65\nSWIDTH 500 0\nDWIDTH 6 0\nBBX 5 6 0 0\nBITMAP\n20\n50\n88\nF8\n88\n88\nENDCHAR\n"
        "STARTCHAR B\nENCODING 66\nSWIDTH 500 0\nDWIDTH 11 0\nBBX 10 2 0 0\nBITMAP\n#.#.#.#.#.#\n..........#\nENDCHAR\n"
        "ENDFONT\n", &drawing, &error);
    return drawing;
  }();
  return font;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::map<int32_t, int64_t> used;
  std::vector<size_t> bad_at;
  vbtdump::countCodePoints(std::string_view(reinterpret_cast<const char*>(data), size), &used, &bad_at);
  const vbtdump::VbtFile file(data, size);
  vbtdump::checkDrawing(smallFont(), file, {size > 0 ? data[0] : 0, size % 2 == 0});
  if (vbtdump::canDumpFields(file)) vbtdump::dumpFields(file);
  if (!vbtdump::checkFile(file).empty()) return 0;
  vbtdump::describeHeader(file, "fuzz.vbt");
  vbtdump::describeContents(file);
  vbtdump::renderText(file, "Ag\xE2\x82\xAC\xFF");
  if (file.codeCount() > 0) vbtdump::layoutSheet(file, 1);
  vbtdump::BdfExport exported;
  std::string error;
  int64_t mismatches = 0;
  if (vbtdump::exportBdf(file, &exported, &error)) vbtdump::checkRebuild(file, exported, "fuzz.vbt", &mismatches);
  return 0;
}
