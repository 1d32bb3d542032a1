#include "font/metrics.h"

#include <algorithm>

#include "conversion_state.h"

void resetMetricTable(ConversionState& st) {
  if (!st.ms_changed.empty()) {
    std::fill(st.MS + st.ms_changed.low, st.MS + st.ms_changed.high + 1, MetricRecord{});
  }
  st.ms_changed = CodeWindow{};
}

void setMetric(ConversionState& st, int32_t code) {
  st.ms_changed.include(code, code);
  MetricRecord& m = st.MS[code];
  m.width = static_cast<int16_t>(st.bbw);
  m.height = static_cast<int16_t>(st.bbh);
  m.ascent = wrapAdd(st.bbh, st.bboy);
  m.x_offset = st.bbox;
  m.advance = st.dwidthx;
}

void scanCodeRange(ConversionState& st) {
  // Outside the changed window every advance is zero.
  // In 64 bits: a limit of -2^31 leaves no code below it.
  const int64_t low = std::max<int64_t>(st.ForceMinChar, st.ms_changed.low);
  const int64_t high = std::min<int64_t>(int64_t{st.ForceMaxChar} - 1, st.ms_changed.high);
  for (int32_t c = static_cast<int32_t>(low); c <= high; ++c) {
    if (st.MS[c].advance == 0) continue;
    st.AsciiOffset = std::min(st.AsciiOffset, c);
    st.HighestAscii = std::max(st.HighestAscii, c);
  }
  st.AsciiLength = st.HighestAscii + 1 - st.AsciiOffset;
}
