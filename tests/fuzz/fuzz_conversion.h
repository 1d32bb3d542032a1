// One fuzzed conversion: the whole converter run on an in-memory BDF text,
// twice on the same state as for two operands of one run. A text that begins
// with STARTFONT is converted with the default options; any other input takes
// its first 8 bytes as options:
//   byte 0: bit 0 -v, bit 1 -w;  bytes 1-2: -S;  bytes 3-4: -E (0: default);
//   byte 5: -A in units of 256;  byte 6: -a;  byte 7: -b and -u.
#ifndef BDF2VBT_TESTS_FUZZ_FUZZ_CONVERSION_H
#define BDF2VBT_TESTS_FUZZ_FUZZ_CONVERSION_H

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <vector>
#include <string>

#include "bdf/line_reader.h"
#include "conversion_state.h"
#include "driver/convert_loop.h"
#include "font/output_file.h"

inline void applyFuzzedOptions(ConversionState& st, const uint8_t* o) {
  st.verbose = o[0] & 1;
  st.fix_width = (o[0] >> 1) & 1;
  st.ForceMinChar = static_cast<int16_t>(o[1] | (o[2] << 8));
  if (int32_t end = static_cast<int16_t>(o[3] | (o[4] << 8))) st.ForceMaxChar = end;
  st.ForceAsciiOffset = static_cast<int8_t>(o[5]) * 256;
  st.bound_height_adjustment = static_cast<int8_t>(o[6]);
  st.arg_baseline = static_cast<int8_t>(o[7]) >> 4;
  st.arg_underline = static_cast<int8_t>(o[7] << 4) >> 4;
}

// Returns true when both conversions gave the same bytes.
inline bool runFuzzedConversion(const uint8_t* data, size_t size) {
  static FILE* sink = fopen("/dev/null", "w");
  // One state, made afresh in place for every input: allocating its 1.4 MB
  // each time would dominate the run.
  static ConversionState* const st = new ConversionState;
  st->~ConversionState();
  new (st) ConversionState;
  st->out = st->err = sink;
  constexpr char kStart[] = "STARTFONT";
  const bool plain = size >= strlen(kStart) && memcmp(data, kStart, strlen(kStart)) == 0;
  if (!plain) {
    if (size < 8) return true;
    applyFuzzedOptions(*st, data);
    data += 8;
    size -= 8;
  }
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::vector<uint8_t> first;
  for (int round = 0; round < 2; ++round) {
    resetPerFileState(*st);
    st->vbtname = "fuzz.vbt";
    BdfInput in(text);
    OutputFile out;
    const bool completed = convertStream(*st, in, out);
    out.flush();
    if (round == 0) first = out.contents();
    if (round == 1 && completed && out.contents() != first) return false;
  }
  return true;
}

#endif  // BDF2VBT_TESTS_FUZZ_FUZZ_CONVERSION_H
