// libFuzzer entry point: the whole conversion of one BDF text, with fuzzed
// options, twice on the same tables as for two operands of one run, first
// read line by line, then with every fast way of reading on: both must end
// alike and give the same file, and a file written
// must draw every code as a plain reading of the text draws it; vbtdump
// --lint must find errors exactly when the conversion fails. A text that
// begins with STARTFONT is converted
// with the default options; any other input takes its first 8 bytes as
// options: byte 0 bit 0 -v, bit 1 -w; bytes 1-2 -S and 3-4 -E (16-bit
// signed, little endian; 0: no -E); byte 5 -A in units of 256; byte 6 -a;
// byte 7 -b (high 4 bits) and -u (low 4 bits), signed.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "bdf/report.h"
#include "convert/conversion.h"
#include "diag/text_out.h"
#include "inspect/drawing_check.h"
#include "inspect/font_drawing.h"
#include "inspect/lint.h"
#include "inspect/vbt_file.h"
#include "io/output_stream.h"

namespace {

ConversionOptions fuzzedOptions(const uint8_t* o) {
  ConversionOptions options;
  options.verbose = o[0] & 1;
  options.fixed_width = (o[0] >> 1) & 1;
  options.lowest_code = static_cast<int16_t>(o[1] | (o[2] << 8));
  if (const int32_t limit = static_cast<int16_t>(o[3] | (o[4] << 8))) options.code_limit = limit;
  options.code_offset = static_cast<int8_t>(o[5]) * 256;
  options.box_height_adjustment = static_cast<int8_t>(o[6]);
  options.baseline = static_cast<int8_t>(o[7]) >> 4;
  options.underline = static_cast<int8_t>(o[7] << 4) >> 4;
  return options;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static FILE* const sink = fopen("/dev/null", "w");
  static TextOut* const traces = new TextOut(sink);
  static FontConverter* const converter = new FontConverter;
  ConversionOptions options;
  if (size < 9 || memcmp(data, "STARTFONT", 9) != 0) {
    if (size < 8) return 0;
    options = fuzzedOptions(data);
    data += 8, size -= 8;
  }
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  BdfReport report(traces, sink, options.verbose != 0);
  OutputStream outputs[2];
  bool completed[2];
  for (const bool fast : {false, true}) {
    const ReadingStrategy strategy = fast ? ReadingStrategy() : ReadingStrategy{.usual_heads = false, .keep_rows = false};
    completed[fast] = converter->convert(options, strategy, text, "fuzz.vbt", outputs[fast], report);
    outputs[fast].flush();
  }
  if (completed[0] != completed[1] || (completed[0] && outputs[0].contents() != outputs[1].contents())) abort();
  vbtdump::FontDrawing font;
  std::string error;
  if (completed[0]) {
    const vbtdump::VbtFile file(outputs[0].contents().data(), outputs[0].contents().size());
    if (!vbtdump::readFontDrawing(text, &font, &error)) abort();
    if (vbtdump::checkDrawing(font, file, {options.code_offset, options.fixed_width}).wrong != 0) abort();
  }
  if ((vbtdump::lintFont(options, text, "fuzz.vbt").errors == 0) != completed[0]) abort();
  return 0;
}
