// libFuzzer entry point for vbtdump: any bytes as a VBT2 file. The check must
// never read outside the buffer, and whatever it finds sound must describe
// and draw without fault.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "inspect/check.h"
#include "inspect/png_sheet.h"
#include "inspect/summary.h"
#include "inspect/text_render.h"
#include "inspect/vbt_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string report;
  if (vbtdump::checkVbt(data, size, &report) != 0) return 0;
  const vbtdump::VbtFile file(data, size);
  vbtdump::describeHeader(file, "fuzz.vbt");
  vbtdump::describeContents(file);
  vbtdump::renderText(file, {0x41, 0x67, 0x20AC, -1});
  if (file.codeCount() > 0) vbtdump::layoutSheet(file, 1);
  return 0;
}
