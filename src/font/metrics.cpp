#include "font/metrics.h"

#include <algorithm>

#include "conversion_state.h"

void resetMetricTable(ConversionState& st) {
  std::fill(std::begin(st.MS), std::end(st.MS), MetricRecord{});
}

void setMetric(ConversionState& st, int32_t code) {
  MetricRecord& m = st.MS[code];
  m.width = static_cast<int16_t>(st.bbw);
  m.height = static_cast<int16_t>(st.bbh);
  m.ascent = wrapAdd(st.bbh, st.bboy);
  m.x_offset = st.bbox;
  m.advance = st.dwidthx;
}

void scanCodeRange(ConversionState& st) {
  int32_t low = std::max(st.ForceMinChar, 0);
  int32_t high = std::min(st.ForceMaxChar, kCodeCount);
  for (int32_t c = low; c < high; ++c) {
    if (st.MS[c].advance == 0) continue;
    st.AsciiOffset = std::min(st.AsciiOffset, c);
    st.HighestAscii = std::max(st.HighestAscii, c);
  }
  st.AsciiLength = st.HighestAscii + 1 - st.AsciiOffset;
}
