// libFuzzer entry point for vbtdump: any bytes as a VBT2 file. Nothing may
// read outside the buffer; what the check finds sound must describe and draw
// without fault, and what the dump accepts must dump.
#include <cstddef>
#include <cstdint>

#include "inspect/check.h"
#include "inspect/field_dump.h"
#include "inspect/png_sheet.h"
#include "inspect/summary.h"
#include "inspect/text_render.h"
#include "inspect/vbt_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const vbtdump::VbtFile file(data, size);
  if (vbtdump::canDumpFields(file)) vbtdump::dumpFields(file);
  if (!vbtdump::checkFile(file).empty()) return 0;
  vbtdump::describeHeader(file, "fuzz.vbt");
  vbtdump::describeContents(file);
  vbtdump::renderText(file, {0x41, 0x67, 0x20AC, -1});
  if (file.codeCount() > 0) vbtdump::layoutSheet(file, 1);
  return 0;
}
