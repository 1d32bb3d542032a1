// libFuzzer entry point for vbtdump: any bytes as a VBT2 file, and as the
// text of an application's strings. Nothing may read outside the buffer;
// what the check finds sound must describe, draw, be written back as BDF and
// rebuilt from it without fault, and what the dump accepts must dump.
#include <cstddef>
#include <cstdint>
#include <map>
#include <string_view>

#include "inspect/bdf_export.h"
#include "inspect/check.h"
#include "inspect/coverage.h"
#include "inspect/field_dump.h"
#include "inspect/png_sheet.h"
#include "inspect/summary.h"
#include "inspect/text_render.h"
#include "inspect/vbt_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::map<int32_t, int64_t> used;
  size_t bad_at = 0;
  vbtdump::countCodePoints(std::string_view(reinterpret_cast<const char*>(data), size), &used, &bad_at);
  const vbtdump::VbtFile file(data, size);
  if (vbtdump::canDumpFields(file)) vbtdump::dumpFields(file);
  if (!vbtdump::checkFile(file).empty()) return 0;
  vbtdump::describeHeader(file, "fuzz.vbt");
  vbtdump::describeContents(file);
  vbtdump::renderText(file, {0x41, 0x67, 0x20AC, -1});
  if (file.codeCount() > 0) vbtdump::layoutSheet(file, 1);
  vbtdump::BdfExport exported;
  std::string error;
  int64_t mismatches = 0;
  if (vbtdump::exportBdf(file, &exported, &error)) vbtdump::checkRebuild(file, exported, "fuzz.vbt", &mismatches);
  return 0;
}
